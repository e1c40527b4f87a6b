#pragma once
// Text between this program's UTF-8 and the UTF-16 of the Windows API.

#if defined(_WIN32)

#include <windows.h>

#include <string>

inline std::wstring Utf16FromUtf8(const std::string& utf8)
{
    if (utf8.empty())
        return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return wide;
}

inline std::string Utf8FromUtf16(const wchar_t* wide, std::size_t length)
{
    if (length == 0)
        return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(length), utf8.data(), n, nullptr, nullptr);
    return utf8;
}

inline std::string Utf8FromUtf16(const std::wstring& wide) { return Utf8FromUtf16(wide.data(), wide.size()); }

#endif
