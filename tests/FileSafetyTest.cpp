// Saves that respect whose file it is, and theme files in every encoding
// users have them in. Run as root and, when the suite runs as root, again as
// an unprivileged user, where permissions are what decides.

#include "FileIo.h"
#include "FileNames.h"
#include "FileSizeLimit.h"
#include "TempDir.h"
#include "ThemeFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>
#if !defined(_WIN32)
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

TThemeColorTable Colors(TColor dom)
{
    TThemeColorTable colors{};
    LoadDefaultTheme(colors);
    colors[8] = dom;
    return colors;
}

bool Save(const std::string& path, TColor dom, ThemeFileError* error = nullptr)
{
    TPackedTheme packed{};
    std::string name;
    return SaveTheme(path, Colors(dom), packed, false, name, error);
}

std::string Fixture(const char* name) { return ReadText(std::string(FIXTURES) + "/" + name); }

// The lines of a UTF-16 file as 16-bit units, its mark left out.
std::vector<std::u16string> Utf16Lines(const std::string& file, bool little)
{
    std::vector<std::u16string> lines(1);
    for (std::size_t i = 2; i + 1 < file.size(); i += 2) {
        const auto lo = static_cast<unsigned char>(file[i + (little ? 0 : 1)]);
        const auto hi = static_cast<unsigned char>(file[i + (little ? 1 : 0)]);
        const auto unit = static_cast<char16_t>(lo | (hi << 8));
        if (unit == u'\n')
            lines.emplace_back();
        else if (unit != u'\r')
            lines.back() += unit;
    }
    return lines;
}

TEST(FileSafety, Utf16FilesLoadAndKeepTheirEncoding)
{
    for (const auto& [name, little] : {std::pair{"utf16le.lsth", true}, std::pair{"utf16be.lsth", false}}) {
        SCOPED_TRACE(name);
        TempDir dir;
        const std::string original = Fixture(name);
        ASSERT_GT(original.size(), 100u);
        WriteText(dir.File("t.lsth"), original);
        TPackedTheme packed{};
        std::string loadedName;
        bool small = false;
        ThemeLoadReport report;
        ASSERT_TRUE(LoadTheme(dir.File("t.lsth"), packed, [&](bool s) { small = s; }, loadedName, nullptr, &report));
        EXPECT_EQ(packed[0], 0x0841);
        EXPECT_EQ(packed[8], 0xF800);
        EXPECT_EQ(packed[23], 0x07E0);
        EXPECT_TRUE(small);
        EXPECT_EQ(report.missingKeys.size(), 39u);

        // A save of the same theme with one colour changed: that value is the
        // only difference, and the keys it adds come as UTF-16 too.
        TThemeColorTable colors{};
        UnpackTheme(packed, colors);
        colors[8] = RGB565ToColor(0x001F);
        std::string ignored;
        ASSERT_TRUE(SaveTheme(dir.File("t.lsth"), colors, packed, true, ignored));
        const std::string saved = ReadText(dir.File("t.lsth"));
        EXPECT_EQ(saved.substr(0, 2), original.substr(0, 2)) << "the byte-order mark stays";
        // Every line but the changed one comes back unit for unit and in order
        // (the accents and the surrogate pair of the comments included); the
        // changed value and the added keys are UTF-16 too.
        const auto before = Utf16Lines(original, little), after = Utf16Lines(saved, little);
        std::size_t at = 0;
        for (const std::u16string& line : before) {
            if (line.find(u"Main_Dom") != std::u16string::npos)
                continue;
            while (at < after.size() && after[at] != line)
                ++at;
            EXPECT_LT(at, after.size()) << "a line of the original is gone";
        }
        EXPECT_NE(std::find(after.begin(), after.end(), u"Main_Dom=$001F"), after.end());
        EXPECT_NE(std::find(after.begin(), after.end(), u"Charge_Clock=$C618"), after.end());
        // Loading it again gives exactly what was saved.
        TPackedTheme again{};
        ASSERT_TRUE(LoadTheme(dir.File("t.lsth"), again, nullptr, ignored));
        EXPECT_EQ(again, packed);
    }
}

TEST(FileSafety, SavesRespectWhoseFileItIs)
{
    TempDir dir;
    ASSERT_TRUE(Save(dir.File("t.lsth"), RGB565ToColor(0x1111)));
    const std::string before = ReadText(dir.File("t.lsth"));

    // Read-only: refused, for root too, and nothing changes.
    namespace fs = std::filesystem;
    fs::permissions(dir.File("t.lsth"), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    ThemeFileError error;
    EXPECT_FALSE(Save(dir.File("t.lsth"), RGB565ToColor(0x2222), &error));
    EXPECT_NE(error.reason.find("read-only"), std::string::npos) << error.reason;
    EXPECT_EQ(ReadText(dir.File("t.lsth")), before);
    fs::permissions(dir.File("t.lsth"), fs::perms::owner_write, fs::perm_options::add);

    // Hard links stay linked, and a failed write in place puts the old bytes back.
    std::filesystem::create_hard_link(dir.File("t.lsth"), dir.File("twin.lsth"));
    ASSERT_TRUE(Save(dir.File("t.lsth"), RGB565ToColor(0x3333)));
    EXPECT_TRUE(std::filesystem::equivalent(dir.File("t.lsth"), dir.File("twin.lsth")));
#if !defined(_WIN32)
    // (Wine's file system does not count links.)
    EXPECT_EQ(std::filesystem::hard_link_count(dir.File("t.lsth")), 2u);
#endif
    EXPECT_NE(ReadText(dir.File("twin.lsth")).find("Main_Dom=$3333"), std::string::npos);
    // A write in place that fails half-way (a file-size limit below the new
    // content) puts the old bytes back, and both names still show them.
    const std::string small = "[Main]\r\nMain_Dom=$0001\r\n";
    WriteText(dir.File("t.lsth"), small);
    bool saved = true;
    {
        FileSizeLimit limit(200);
        if (!limit.Active())
            GTEST_SKIP() << "this system has no file-size limit";
        saved = Save(dir.File("t.lsth"), RGB565ToColor(0x4444), &error);
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(ReadText(dir.File("t.lsth")), small);
    EXPECT_EQ(ReadText(dir.File("twin.lsth")), small);
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Path()))
        ++entries;
    EXPECT_EQ(entries, 2) << "nothing left behind";

#if !defined(_WIN32)
    // Owner and group stay (only root can save another user's file at all).
    if (geteuid() == 0) {
        ASSERT_TRUE(Save(dir.File("owned.lsth"), RGB565ToColor(0x5555)));
        ASSERT_EQ(chown(dir.File("owned.lsth").c_str(), 65534, 65534), 0);
        ASSERT_TRUE(Save(dir.File("owned.lsth"), RGB565ToColor(0x6666)));
        struct stat o {};
        stat(dir.File("owned.lsth").c_str(), &o);
        EXPECT_EQ(o.st_uid, 65534u);
        EXPECT_EQ(o.st_gid, 65534u);
    }
#endif
}

TEST(FileSafety, ASaveNeverWritesAFileNoLoadWouldRead)
{
    TempDir dir;
    // Just under the read limit, lacking the keys a save adds.
    const std::string almost = "[Notes]\r\n" + std::string(MaxIniFileSize - 20, 'x') + "\r\n";
    WriteText(dir.File("big.lsth"), almost);
    TPackedTheme packed{};
    std::string name;
    ASSERT_TRUE(LoadTheme(dir.File("big.lsth"), packed, nullptr, name));
    ThemeFileError error;
    EXPECT_FALSE(Save(dir.File("big.lsth"), RGB565ToColor(0x1234), &error));
    EXPECT_NE(error.reason.find("1048576"), std::string::npos) << error.reason;
    EXPECT_EQ(ReadText(dir.File("big.lsth")), almost);
}

}  // namespace

// Every name the system can give a file comes through the window's text and
// back as the same bytes; well-formed UTF-8 reads as itself, anything else
// byte by byte. A folder lists such a file with its bytes.
TEST(FileNames, EveryNameComesBackAsItsBytes)
{
    struct Case {
        const char* what;
        std::string bytes;
        std::u16string units;
    };
    const Case cases[] = {
        {"ASCII", "theme.lsth", u"theme.lsth"},
        {"UTF-8", "caf\xC3\xA9 \xF0\x9F\x8C\x85", u"caf\u00E9 \U0001F305"},
        {"Latin-1", "caf\xE9", std::u16string(u"caf") + EscapedByteUnit(0xE9)},
        {"cut short", "a\xE2\x82", std::u16string(u"a") + EscapedByteUnit(0xE2) + EscapedByteUnit(0x82)},
        {"overlong", "\xC0\xAF", std::u16string() + EscapedByteUnit(0xC0) + EscapedByteUnit(0xAF)},
        {"surrogate", "\xED\xA0\x80",
         std::u16string() + EscapedByteUnit(0xED) + EscapedByteUnit(0xA0) + EscapedByteUnit(0x80)},
        {"past U+10FFFF", "\xF4\x90\x80\x80",
         std::u16string() + EscapedByteUnit(0xF4) + EscapedByteUnit(0x90) + EscapedByteUnit(0x80) + EscapedByteUnit(0x80)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(FileNameToUtf16(c.bytes), c.units);
        EXPECT_EQ(FileNameFromUtf16(c.units), c.bytes);
    }
#if !defined(_WIN32)
    TempDir dir;
    const std::string odd = "caf\xE9.LSTH";
    ASSERT_TRUE(WriteFileAtomically(dir.File(odd), "[Theme]\n"));
    ASSERT_TRUE(WriteFileAtomically(dir.File("notes.txt"), "x"));
    std::filesystem::create_directory(dir.File("folder.lsth"));
    std::vector<FolderEntry> entries;
    ASSERT_TRUE(ListFolder(dir.Path(), ".lsth", entries));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, odd);
    EXPECT_EQ(entries[0].size, 8u);
    EXPECT_FALSE(ListFolder(dir.File("missing"), ".lsth", entries));
#endif
}
