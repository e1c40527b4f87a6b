// The theme-file loader on arbitrary bytes: it must return, never crash, and on
// success have switched the display exactly once.
#include "ThemeFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = "/tmp/larkspur-fuzz-theme-" + std::to_string(getpid()) + ".lsth";
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    TPackedTheme packed{};
    std::string name;
    int switches = 0;
    const bool ok = LoadTheme(path, packed, [&](bool) { ++switches; }, name);
    if (ok != (switches == 1) || (ok && name != path))
        std::abort();
    return 0;
}
