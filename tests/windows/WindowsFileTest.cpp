// Saving on Windows: a file replaced whole, CRLF kept byte for byte, a
// read-only file refused, and a save that cannot be put in place leaving the
// old file and no temporary one behind.

#include "FileIo.h"
#include "TempDir.h"
#include "ThemeFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <windows.h>

namespace {

std::wstring WidePath(const std::string& path) { return std::filesystem::u8path(path).wstring(); }

std::string Entries(const TempDir& dir)
{
    std::string names;
    for (const auto& e : std::filesystem::directory_iterator(dir.Path()))
        names += (names.empty() ? "" : " ") + e.path().filename().u8string();
    return names;
}

TEST(WindowsFiles, SavesReplaceKeepBytesAndRespectReadOnly)
{
    TempDir dir;
    const std::string path = dir.File("t.lsth");
    // CRLF, a ^Z and a lone LF: text mode anywhere would change them.
    const std::string original = "; keep\r\n[Main]\r\nMain_Dom=$0001\r\n; \x1A stays\n";
    WriteText(path, original);
    TPackedTheme packed{};
    TThemeColorTable colors{};
    LoadDefaultTheme(colors);
    std::string name;
    ASSERT_TRUE(SaveTheme(path, colors, packed, false, name));
    const std::string saved = ReadText(path);
    EXPECT_EQ(saved.substr(0, 16), original.substr(0, 16));
    EXPECT_NE(saved.find("Main_Dom=$FFFF\r\n"), std::string::npos);
    EXPECT_NE(saved.find("; \x1A stays\n"), std::string::npos);
    EXPECT_EQ(Entries(dir), "t.lsth");

    std::string bytes;
    ASSERT_EQ(ReadFileLimited(path, MaxIniFileSize, bytes), FileReadStatus::Ok);
    EXPECT_EQ(bytes, saved);

    // Read-only: refused, unchanged.
    SetFileAttributesW(WidePath(path).c_str(), FILE_ATTRIBUTE_READONLY);
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(path, "other", &error));
    EXPECT_NE(error.find("read-only"), std::string::npos) << error;
    EXPECT_EQ(ReadText(path), saved);
    SetFileAttributesW(WidePath(path).c_str(), FILE_ATTRIBUTE_NORMAL);

    // Held open by another program that shares nothing: the new file cannot
    // take its place, and the old one stays as it was.
    HANDLE held = CreateFileW(WidePath(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(WriteFileAtomically(path, "other", &error));
    CloseHandle(held);
    EXPECT_EQ(ReadText(path), saved);
    EXPECT_EQ(Entries(dir), "t.lsth") << "no temporary file left behind";
}

}  // namespace
