#include "ExecutablePath.h"

#if defined(_WIN32)
#include "WindowsText.h"
#else
#include <climits>
#include <unistd.h>
#endif

std::string ExecutablePath()
{
#if defined(_WIN32)
    wchar_t wide[32768];
    const DWORD n = GetModuleFileNameW(nullptr, wide, 32768);
    if (n == 0 || n >= 32768)
        return {};
    return Utf8FromUtf16(wide, n);
#else
    char self[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    return n > 0 ? std::string(self, static_cast<std::size_t>(n)) : std::string();
#endif
}
