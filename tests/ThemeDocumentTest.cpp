// The document's rules without a window: undo and redo take the file along,
// Save asks about another program's change, and every writer takes one lock.

#include "FileLock.h"
#include "TempDir.h"
#include "ThemeDocument.h"
#include "ThemeDraft.h"
#include "ThemeFile.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

struct Editor {
    TThemeColorTable colors{};
    TPackedTheme packed{};
    bool small = false;
    std::string fileName;
    bool modified = false;
    ThemeDocument document{colors, packed, small, fileName, modified};
    Editor() { document.Reset(); }
};

TRGB565 WordInFile(const std::string& path, int slot)
{
    TPackedTheme packed{};
    std::string name;
    EXPECT_TRUE(LoadTheme(path, packed, nullptr, name));
    return packed[static_cast<std::size_t>(slot)];
}

const auto Yes = [] { return true; };

}  // namespace

TEST(ThemeDocument, UndoAcrossOpenAndNewTakesTheFileAlong)
{
    TempDir dir;
    const std::string a = dir.File("a.lsth"), b = dir.File("b.lsth");
    Editor e;
    e.document.SetColor(0, RGB565ToColor(0x1111));
    ASSERT_TRUE(e.document.SaveAs(a).fileMatched);
    e.document.SetColor(0, RGB565ToColor(0x2222));  // an unsaved edit of a.lsth
    {
        Editor other;
        other.document.SetColor(0, RGB565ToColor(0x3333));
        ASSERT_TRUE(other.document.SaveAs(b).fileMatched);
    }
    const std::string bBytes = ReadText(b);

    struct Step {
        const char* what;
        std::function<DocumentOutcome()> act;
        std::string file;
        bool modified;
        TRGB565 slot0;
    };
    const Step steps[] = {
        {"open b", [&] { return e.document.Open(b); }, b, false, 0x3333},
        {"undo open", [&] { return e.document.Undo(); }, a, true, 0x2222},
        {"redo open", [&] { return e.document.Redo(); }, b, false, 0x3333},
        {"new", [&] { return e.document.New(); }, "", false, 0},
        {"undo new", [&] { return e.document.Undo(); }, b, false, 0x3333},
        {"undo open again", [&] { return e.document.Undo(); }, a, true, 0x2222},
    };
    for (const Step& s : steps) {
        s.act();
        EXPECT_EQ(e.fileName, s.file) << s.what;
        EXPECT_EQ(e.modified, s.modified) << s.what;
        if (s.slot0) {
            EXPECT_EQ(ColorToRGB565(e.colors[0]), s.slot0) << s.what;
        }
    }
    // Back in a.lsth with its edit: Save writes a.lsth, and only a.lsth, without
    // a question, since nobody changed it.
    bool asked = false;
    const DocumentOutcome saved = e.document.Save([&] { return asked = true; });
    EXPECT_FALSE(asked);
    EXPECT_EQ(saved.status, std::string("Theme was saved successfully"));
    EXPECT_EQ(WordInFile(a, 0), 0x2222);
    EXPECT_EQ(ReadText(b), bBytes);
    EXPECT_FALSE(e.modified);
}

TEST(ThemeDocument, SaveAsksAboutAnotherProgramsChangeAndRefusesNonThemes)
{
    TempDir dir;
    const std::string a = dir.File("a.lsth");
    Editor e;
    ASSERT_TRUE(e.document.SaveAs(a).fileMatched);
    e.document.SetColor(1, RGB565ToColor(0x4444));
    WriteText(a, ReadText(a) + "; a note another program added\n");
    int asked = 0;
    EXPECT_FALSE(e.document.Save([&] { return ++asked, false; }).status);
    EXPECT_EQ(asked, 1);
    EXPECT_NE(WordInFile(a, 1), 0x4444);
    EXPECT_TRUE(e.modified);
    e.document.Save([&] { return ++asked, true; });
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(WordInFile(a, 1), 0x4444);
    EXPECT_NE(ReadText(a).find("; a note another program added"), std::string::npos);

    // A file without a single theme key opens as the defaults, but Save
    // asks for a name instead of writing a theme into it.
    const std::string picture = dir.File("picture.png");
    WriteText(picture, std::string("\x89PNG\r\n\x1a\n", 8) + "not a theme");
    const DocumentOutcome opened = e.document.Open(picture);
    EXPECT_EQ(opened.status, std::string("Theme was loaded successfully (no theme colours in the file)"));
    EXPECT_TRUE(e.document.Save(Yes).needsFileName);
    EXPECT_EQ(ReadText(picture).substr(8), "not a theme");
    // Nor does Save As write into it, as no writer of theme files does.
    const DocumentOutcome refused = e.document.SaveAs(picture);
    EXPECT_TRUE(refused.failed);
    EXPECT_EQ(refused.status, std::string("picture.png: holds no theme colours; not overwritten"));
    EXPECT_EQ(ReadText(picture).substr(8), "not a theme");
    // A missing file changes nothing.
    const DocumentOutcome missing = e.document.Open(dir.File("missing.lsth"));
    EXPECT_TRUE(missing.failed);
    EXPECT_EQ(e.fileName, picture);
}

TEST(FileLock, CreatingAFileExcludesEveryOtherWriter)
{
    TempDir dir;
    const std::string path = dir.File("new.lsth");
    auto first = std::make_unique<FileLock>();
    ASSERT_TRUE(first->Acquire(path, nullptr));
    // Nothing there yet, yet a second writer has to wait.
    FileLock second;
    std::string error;
    EXPECT_FALSE(second.Acquire(path, &error, 0));
    EXPECT_NE(error.find("another program"), std::string::npos);
    // Once the first created it and let go, the second locks the new file.
    WriteText(path, "[Main]\n");
    first.reset();
    EXPECT_TRUE(second.Acquire(path, nullptr, 0));
    FileLock third;
    EXPECT_FALSE(third.Acquire(path, nullptr, 0));
}

// Locks belong to the document: locking is a step to undo and a change to
// save, every Locked line of a hand-edited file counts, one is written, and a
// draft keeps them.
TEST(ThemeDocument, LocksAreStepsOfTheDocument)
{
    TempDir dir;
    const std::string path = dir.File("locks.lsth");
    WriteText(path, "[Main]\r\nMain_Dom=$F800\r\n[Editor]\r\nLocked=Main_Dom\r\nNote=kept\r\nLocked=Menu_Cursor, Nonsense\r\n");
    Editor e;
    ASSERT_FALSE(e.document.Open(path).failed);
    const int dom = SlotIndex(SlotId::Main_Dom), cursor = SlotIndex(SlotId::Menu_Cursor);
    EXPECT_EQ(e.document.LockedSlotIndices(), (std::vector<int>{dom, cursor}));
    EXPECT_FALSE(e.modified);

    struct Step {
        const char* what;
        std::function<void()> act;
        std::vector<int> locked;
        bool modified;
        const char* undo;
    };
    const Step steps[] = {
        {"unlock", [&] { e.document.SetLocked(dom, false); }, {cursor}, true, "Unlock Colour"},
        {"paste", [&] { e.document.Paste(3, "#123456"); }, {cursor}, true, "Paste Colour"},
        {"undo paste", [&] { e.document.Undo(); }, {cursor}, true, "Unlock Colour"},
        {"undo unlock", [&] { e.document.Undo(); }, {dom, cursor}, false, "Open"},
        {"redo unlock", [&] { e.document.Redo(); }, {cursor}, true, "Unlock Colour"},
        {"save", [&] { e.document.Save(Yes); }, {cursor}, false, "Unlock Colour"},
        {"lock", [&] { e.document.SetLocked(dom, true); }, {dom, cursor}, true, "Lock Colour"},
        {"undo lock", [&] { e.document.Undo(); }, {cursor}, false, "Unlock Colour"},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        s.act();
        EXPECT_EQ(e.document.LockedSlotIndices(), s.locked);
        EXPECT_EQ(e.modified, s.modified);
        EXPECT_EQ(e.document.History().UndoName(), s.undo);
    }
    // Saved with one Locked line, where the first stood; the rest of the file kept.
    const std::string saved = ReadText(path);
    const std::size_t locks = saved.find("Locked=");
    EXPECT_NE(saved.find("[Editor]\r\nLocked=Menu_Cursor\r\nNote=kept\r\n"), std::string::npos) << saved;
    EXPECT_EQ(saved.find("Locked=", locks + 1), std::string::npos) << saved;

    // A draft's locks come back with it.
    Editor restored;
    ThemeDraftContent draft;
    draft.colors = e.colors;
    draft.locked = {dom};
    restored.document.RestoreDraft(draft);
    EXPECT_TRUE(restored.document.IsLocked(dom));
    EXPECT_TRUE(restored.modified);
}

// A draft names its file in a line of its own, percent-encoded as the
// desktop always wrote it, and comes back whole, locks and size included.
TEST(ThemeDraft, TextKeepsTheThemeItsLocksAndAnyFileName)
{
    const struct {
        std::string name;
        std::string encoded;
    } names[] = {
        {"", ""},
        {"/home/ann/Dusk.lsth", "%2Fhome%2Fann%2FDusk.lsth"},
        {"C:\\Themes\\a b;c=d.lsth", "C%3A%5CThemes%5Ca%20b%3Bc%3Dd.lsth"},
        {"/t/\xC3\xBC\n[Main]\r%41", "%2Ft%2F%C3%BC%0A%5BMain%5D%0D%2541"},
        {std::string("/t/\xFF\x00z", 6), "%2Ft%2F%FF%00z"},
    };
    for (const auto& n : names) {
        SCOPED_TRACE(n.encoded);
        EXPECT_EQ(PercentEncoded(n.name), n.encoded);
        ThemeDraftContent draft;
        for (std::size_t i = 0; i < draft.colors.size(); ++i)
            draft.colors[i] = RGB565ToColor(static_cast<std::uint16_t>(i * 1499 + 7));
        draft.smallDisplay = true;
        draft.fileName = n.name;
        draft.locked = {3, 17};
        const std::string text = DraftText(draft);
        EXPECT_NE(text.find("File=" + n.encoded + "\r\n"), std::string::npos) << text.substr(0, 80);
        ThemeDraftContent back;
        ASSERT_TRUE(ReadDraftText(text, back));
        EXPECT_EQ(back.colors, draft.colors);
        EXPECT_TRUE(back.smallDisplay);
        EXPECT_EQ(back.fileName, n.name);
        EXPECT_EQ(back.locked, draft.locked);
    }
    ThemeDraftContent none;
    EXPECT_FALSE(ReadDraftText("[Draft]\nFile=x\n", none)) << "no theme key: nothing to offer";
    EXPECT_EQ(PercentDecoded("%zz%4"), "%zz%4") << "a broken escape stays as it is";
}
