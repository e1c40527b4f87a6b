#include "SettingsFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>


namespace {

std::string TempPath(const char* name) { return testing::TempDir() + "/" + name + std::to_string(getpid()); }

TEST(SettingsFile, PathReplacesTheExtension)
{
    EXPECT_EQ(SettingsPathForExecutable("/opt/x/larkspur-theme-editor"), "/opt/x/larkspur-theme-editor.ini");
    EXPECT_EQ(SettingsPathForExecutable("/opt/x/Editor.exe"), "/opt/x/Editor.ini");
    EXPECT_EQ(SettingsPathForExecutable("/opt/x.d/editor"), "/opt/x.d/editor.ini");
    EXPECT_EQ(SettingsPathForExecutable("/opt/x/.hidden"), "/opt/x/.hidden.ini");
}

TEST(SettingsFile, OverrideIsReadOrEmpty)
{
    const struct {
        const char* content;  // nullptr: no file
        const char* expected;
    } cases[] = {
        {nullptr, ""},
        {"", ""},
        {"[Other]\r\nOverride=ABCD\r\n", ""},
        {"[Application]\r\nSomething=1\r\n", ""},
        {"[application]\r\noverride = ABCDEFG \r\n", "ABCDEFG"},
        {"[Application]\nOverride=\"SIMS LSX1\"\n", "SIMS LSX1"},
    };
    for (const auto& c : cases) {
        const std::string path = TempPath("settings");
        std::remove(path.c_str());
        if (c.content)
            std::ofstream(path, std::ios::binary) << c.content;
        EXPECT_EQ(ReadOverrideText(path), c.expected) << (c.content ? c.content : "(no file)");
        std::remove(path.c_str());
    }
}

}  // namespace
