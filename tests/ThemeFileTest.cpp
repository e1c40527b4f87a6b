#include "FileSizeLimit.h"
#include "TempDir.h"
#include "ThemeFile.h"
#include "ThemeSlots.h"
#include "FileIo.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

TThemeColorTable Defaults()
{
    TThemeColorTable colors{};
    LoadDefaultTheme(colors);
    return colors;
}

// Loads into a packed theme filled with a marker, reporting the display switch.
struct Loaded {
    bool ok = false;
    TPackedTheme packed;
    int display = -1;  // -1: not switched
    std::string name = "old.lsth";
    ThemeFileError error;
};

Loaded Load(const std::string& path)
{
    Loaded l;
    l.packed.fill(0xABCD);
    l.ok = LoadTheme(path, l.packed, [&](bool small) { l.display = small ? 1 : 0; }, l.name, &l.error);
    return l;
}

std::string DefaultFileText()
{
    std::string text;
    const char* section = "";
    for (const ThemeSlot& slot : ThemeSlots) {
        if (std::string(section) != slot.section) {
            section = slot.section;
            text += "[" + std::string(section) + "]\r\n";
        }
        char value[8];
        std::snprintf(value, sizeof value, "$%04X", slot.defaultWord);
        text += std::string(slot.key) + "=" + value + "\r\n";
    }
    return text + "[Common]\r\nDisplay=0\r\n";
}

TEST(ThemeFile, SavingTheDefaultThemeWritesEveryKeyInOrder)
{
    TempDir dir;
    TPackedTheme packed{};
    std::string name;
    ASSERT_TRUE(SaveTheme(dir.File("new.lsth"), Defaults(), packed, false, name));
    EXPECT_EQ(name, dir.File("new.lsth"));
    const std::string text = ReadText(dir.File("new.lsth"));
    EXPECT_EQ(text, DefaultFileText());
    EXPECT_NE(text.find("[Main]\r\nMain_Background=$0000\r\nMain_Divider=$2965\r\n"), std::string::npos);
    EXPECT_NE(text.find("[Charge]\r\nCharge_Background=$0000\r\n"), std::string::npos);
}

TEST(ThemeFile, SavingKeepsForeignLinesAndKeyOrder)
{
    TempDir dir;
    const std::string before =
        "; my theme\r\n[Common]\r\nDisplay=1\r\nAuthor=me\r\n\r\n[Main]\r\nMain_Dom=$0001\r\nMain_Background=$0002\r\n"
        "Extra=keep\r\n[Mine]\r\nx=1\r\n";
    WriteText(dir.File("t.lsth"), before);
    TPackedTheme packed{};
    std::string name;
    ASSERT_TRUE(SaveTheme(dir.File("t.lsth"), Defaults(), packed, false, name));
    const std::string after = ReadText(dir.File("t.lsth"));
    EXPECT_EQ(after.substr(0, after.find("Main_Divider")),
              "; my theme\r\n[Common]\r\nDisplay=0\r\nAuthor=me\r\n\r\n[Main]\r\nMain_Dom=$FFFF\r\n"
              "Main_Background=$0000\r\nExtra=keep\r\n");
    EXPECT_NE(after.find("[Mine]\r\nx=1\r\n[Menu]\r\n"), std::string::npos);
    const Loaded l = Load(dir.File("t.lsth"));
    ASSERT_TRUE(l.ok);
    TPackedTheme expected{};
    PackTheme(Defaults(), expected);
    EXPECT_EQ(l.packed, expected);
}

struct LoadCase {
    const char* what;
    std::string content;
    bool ok;
    int display;                     // expected switch, -1 none
    std::vector<std::pair<int, TRGB565>> words;  // slots to check
};

TEST(ThemeFile, LoadingFollowsTheFileRules)
{
    const LoadCase cases[] = {
        {"only Common", "[Common]\r\nDisplay=1\r\n", true, 1, {{0, 0x0000}, {9, 0xFAC4}, {41, 0xC618}}},
        {"empty file gives defaults", "", true, 0, {{1, 0x2965}, {38, 0xD6A0}}},
        {"five hex digits keep the low 16 bits", "[Main]\r\nMain_Dom=$12345\r\n", true, 0, {{8, 0x2345}}},
        {"65535", "[Main]\r\nMain_Dom=65535\r\n", true, 0, {{8, 0xFFFF}}},
        {"$ffff", "[Main]\r\nMain_Dom=$ffff\r\n", true, 0, {{8, 0xFFFF}}},
        {"0xFFFF", "[Main]\r\nMain_Dom=0xFFFF\r\n", true, 0, {{8, 0xFFFF}}},
        {"-1", "[Main]\r\nMain_Dom=-1\r\n", true, 0, {{8, 0xFFFF}}},
        {"upper-case names", "[MAIN]\r\nMAIN_DOM=$0042\r\n", true, 0, {{8, 0x0042}}},
        {"spaces around =", "[Main]\r\n  Main_Dom  =  $0043  \r\n", true, 0, {{8, 0x0043}}},
        {"quoted value", "[Main]\r\nMain_Dom=\"$0044\"\r\n", true, 0, {{8, 0x0044}}},
        {"LF only", "[Menu]\nMenu_Cursor=$0045\n", true, 0, {{23, 0x0045}}},
        {"byte-order mark", "\xEF\xBB\xBF[Main]\r\nMain_Background=$0046\r\n", true, 0, {{0, 0x0046}}},
        {"Display yes", "[Common]\r\nDisplay=yes\r\n", true, 0, {}},
        {"Display 2", "[Common]\r\nDisplay=2\r\n", true, 0, {}},
        {"Display $1", "[Common]\r\nDisplay=$1\r\n", true, 1, {}},
        {"Display empty", "[Common]\r\nDisplay=\r\n", true, 0, {}},
        {"white fails at slot 5",
         "[Main]\r\nMain_Background=$0001\r\nMain_Divider=$0002\r\nMain_DivSq=$0003\r\nMain_Batts=$0004\r\n"
         "Main_BattsNum=$0005\r\nMain_Clock=white\r\nMain_Dom=$0009\r\n[Common]\r\nDisplay=1\r\n",
         false, -1, {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 0xABCD}, {8, 0xABCD}, {41, 0xABCD}}},
        {"empty colour value fails", "[Saver]\r\nSaver_Time=\r\n", false, -1, {{26, 0x0000}, {27, 0xABCD}}},
    };
    TempDir dir;
    for (const LoadCase& c : cases) {
        SCOPED_TRACE(c.what);
        WriteText(dir.File("t.lsth"), c.content);
        const Loaded l = Load(dir.File("t.lsth"));
        EXPECT_EQ(l.ok, c.ok);
        EXPECT_EQ(l.display, c.display);
        EXPECT_EQ(l.name, c.ok ? dir.File("t.lsth") : "old.lsth");
        for (const auto& [slot, word] : c.words)
            EXPECT_EQ(l.packed[slot], word) << "slot " << slot;
    }
    WriteText(dir.File("t.lsth"), "[Main]\r\nMain_Clock=white\r\n");
    const Loaded bad = Load(dir.File("t.lsth"));
    EXPECT_EQ(bad.error.key, "Main_Clock");
}

TEST(ThemeFile, UnreadableFilesFailWithoutChangingAnything)
{
    TempDir dir;
    std::filesystem::create_directory(dir.File("folder.lsth"));
    WriteText(dir.File("huge.lsth"), "[Main]\r\n" + std::string(MaxIniFileSize, ';'));
    for (const std::string& path : {dir.File("missing.lsth"), dir.File("folder.lsth"), dir.File("huge.lsth")}) {
        const Loaded l = Load(path);
        EXPECT_FALSE(l.ok) << path;
        EXPECT_EQ(l.display, -1) << path;
        EXPECT_EQ(l.name, "old.lsth") << path;
        EXPECT_EQ(l.packed[0], 0xABCD) << path;
        EXPECT_FALSE(l.error.reason.empty()) << path;
    }
}

// A save that fails leaves the old file byte for byte and the name alone.
TEST(ThemeFile, FailedSavesLeaveTheOldFile)
{
    TempDir dir;
    const std::string original = "; keep me\r\n[Main]\r\nMain_Dom=$0001\r\n";
    TPackedTheme packed{};

    // The target is a folder.
    std::filesystem::create_directory(dir.File("folder.lsth"));
    std::string name = "before";
    EXPECT_FALSE(SaveTheme(dir.File("folder.lsth"), Defaults(), packed, false, name));
    EXPECT_EQ(name, "before");

    // The folder does not exist.
    EXPECT_FALSE(SaveTheme(dir.File("nowhere/t.lsth"), Defaults(), packed, false, name));
    EXPECT_FALSE(std::filesystem::exists(dir.File("nowhere")));

    // The disk "fills up" half-way: a file-size limit below the new content's size.
    WriteText(dir.File("t.lsth"), original);
    bool saved = true;
    {
        FileSizeLimit small(200);
        if (!small.Active())
            GTEST_SKIP() << "this system has no file-size limit";
        saved = SaveTheme(dir.File("t.lsth"), Defaults(), packed, false, name);
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(ReadText(dir.File("t.lsth")), original);
    EXPECT_EQ(name, "before");
    // No temporary file is left behind.
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Path()))
        ++entries;
    EXPECT_EQ(entries, 2);
}

TEST(ThemeFile, SavingKeepsLinksAndPermissions)
{
#if defined(_WIN32)
    GTEST_SKIP() << "symbolic links and POSIX permission bits: Windows has its own tests";
#endif
    TempDir dir;
    std::filesystem::create_directory(dir.File("real"));
    WriteText(dir.File("real/t.lsth"), "[Main]\r\nMain_Dom=$0001\r\n");
    chmod(dir.File("real/t.lsth").c_str(), 0640);
    std::filesystem::create_symlink("real/t.lsth", dir.File("link.lsth"));

    TPackedTheme packed{};
    std::string name;
    ASSERT_TRUE(SaveTheme(dir.File("link.lsth"), Defaults(), packed, true, name));
    EXPECT_EQ(name, dir.File("link.lsth"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link.lsth")));
    EXPECT_NE(ReadText(dir.File("real/t.lsth")).find("Main_Dom=$FFFF"), std::string::npos);
    EXPECT_NE(ReadText(dir.File("real/t.lsth")).find("Display=1"), std::string::npos);
    struct stat st {};
    ASSERT_EQ(stat(dir.File("real/t.lsth").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(ThemeFile, EveryWordRoundTripsThroughAFile)
{
    TempDir dir;
    TThemeColorTable colors{};
    for (int i = 0; i < ThemeSlotCount; ++i)
        colors[i] = RGB565ToColor(static_cast<TRGB565>(i * 1561 + 7));
    TPackedTheme packed{};
    std::string name;
    ASSERT_TRUE(SaveTheme(dir.File("r.lsth"), colors, packed, true, name));
    const Loaded l = Load(dir.File("r.lsth"));
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.display, 1);
    TThemeColorTable back{};
    UnpackTheme(l.packed, back);
    EXPECT_EQ(back, colors);
}

}  // namespace

// Locks live in a section of the editor's own: read in slot order whatever
// the file's spelling, written only while some slot is locked, and a file
// keeps every other byte through a load and a save.
TEST(ThemeFile, LocksRoundTripAndLeaveTheRestAlone)
{
    TempDir dir;
    const std::string path = dir.File("locked.lsth");
    TThemeColorTable colors{};
    LoadDefaultTheme(colors);
    TPackedTheme packed{};
    std::string name;
    ASSERT_TRUE(SaveTheme(path, colors, packed, true, name));
    const std::string plain = ReadText(path);
    const std::string withLocks =
        plain + "; mine\r\n[Editor]\r\nLocked= menu_cursor , Main_Dom,Nonsense,Main_Dom\r\nOther=kept\r\n";
    WriteText(path, withLocks);
    const auto load = [&] {
        ThemeLoadReport report;
        TPackedTheme words{};
        EXPECT_TRUE(LoadTheme(path, words, nullptr, name, nullptr, &report));
        return report.locked;
    };
    const std::vector<int> locked = load();
    const std::vector<int> expected = {SlotIndex(SlotId::Main_Dom), SlotIndex(SlotId::Menu_Cursor)};
    ASSERT_EQ(locked, expected);
    // Saved as loaded: the same bytes but the one line, now in file spelling.
    ASSERT_TRUE(SaveTheme(path, colors, packed, true, name, nullptr, &locked));
    std::string again = withLocks;
    const std::string oldLine = "Locked= menu_cursor , Main_Dom,Nonsense,Main_Dom";
    again.replace(again.find(oldLine), oldLine.size(), "Locked=Main_Dom,Menu_Cursor");
    EXPECT_EQ(ReadText(path), again);
    ASSERT_TRUE(SaveTheme(path, colors, packed, true, name, nullptr, &locked));
    EXPECT_EQ(ReadText(path), again);
    // Without locks the key goes and nothing else; a save that says nothing of
    // locks leaves them as the file has them.
    const std::vector<int> none;
    ASSERT_TRUE(SaveTheme(path, colors, packed, true, name, nullptr, &none));
    std::string unlocked = again;
    unlocked.erase(unlocked.find("Locked=Main_Dom,Menu_Cursor\r\n"), std::string("Locked=Main_Dom,Menu_Cursor\r\n").size());
    EXPECT_EQ(ReadText(path), unlocked);
    EXPECT_TRUE(load().empty());
    WriteText(path, plain);
    ASSERT_TRUE(SaveTheme(path, colors, packed, true, name, nullptr, &none));
    EXPECT_EQ(ReadText(path), plain);
    ASSERT_TRUE(SaveTheme(path, colors, packed, true, name, nullptr, &expected));
    EXPECT_EQ(ReadText(path), plain + "[Editor]\r\nLocked=Main_Dom,Menu_Cursor\r\n");
    ASSERT_TRUE(SaveTheme(path, colors, packed, true, name));
    EXPECT_EQ(load(), expected);
}
