// The editor's rules without a window: what an edit stores, what a tried
// colour never reaches, what locks keep against every command, what a device
// does on connecting, the zoom a screen allows, the names exports suggest,
// and what a click and the pointer name.

#include "EditorSession.h"
#include "StatusText.h"
#include "FileSizeLimit.h"
#include "PaletteFiles.h"
#include "PreviewPlacement.h"
#include "TempDir.h"
#include "ThemeFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>

namespace {

using Refresh = DocumentOutcome::Refresh;

std::size_t At(SlotId slot) { return static_cast<std::size_t>(SlotIndex(slot)); }

// Every slot a colour of its own, none the default's.
TThemeColorTable Distinct()
{
    TThemeColorTable colors{};
    for (int i = 0; i < ThemeSlotCount; ++i)
        colors[static_cast<std::size_t>(i)] = RGB565ToColor(static_cast<TRGB565>(0x0841 * (i + 1) + 0x0003));
    return colors;
}

struct Wire : DevicePort {
    std::vector<std::uint8_t> commands;
    bool WriteReport(const std::uint8_t* report, std::size_t length, std::string*) override
    {
        if (length > 1 && report[1] != 0)
            commands.push_back(report[1]);
        return true;
    }
    void DiscardInput() override {}
};

// The device's side of a reply: its bytes as 64-byte reports.
DeviceStep Reply(EditorSession& session, const std::vector<std::uint8_t>& bytes)
{
    DeviceStep last;
    for (std::size_t at = 0; at < bytes.size(); at += 64) {
        std::vector<std::uint8_t> report(64, 0);
        std::copy(bytes.begin() + static_cast<long>(at), bytes.begin() + static_cast<long>(std::min(bytes.size(), at + 64)),
                  report.begin());
        DeviceStep step = session.OnDevice(session.Conversation().OnReport(report.data(), report.size()));
        if (step.status || step.document.refresh != Refresh::None || step.themeMenu)
            last = step;
    }
    return last;
}

std::vector<std::uint8_t> Dataflash(bool large)
{
    std::vector<std::uint8_t> flash(576, 0);
    flash[12] = large ? 0xCF : 0x00;
    flash[516] = 25, flash[517] = 1, flash[518] = 1;  // 250101
    return flash;
}

}  // namespace

TEST(EditorSession, EditsAreRoundedAndTriedColoursAreNeverStored)
{
    EditorSession session;
    session.SelectSlot(SlotId::Main_Dom);
    const TThemeColorTable before = session.ThemeColors();

    // Tried: shown as the device would show it, nowhere else.
    session.TryColor(MakeColor(200, 100, 50));
    EXPECT_EQ(session.ShownColors()[At(SlotId::Main_Dom)], MakeColor(197, 101, 49));
    EXPECT_EQ(session.ThemeColors(), before);
    EXPECT_EQ(session.Draft().colors, before);
    EXPECT_EQ(session.DraftDue(), EditorSession::DraftAction::Later);
    EXPECT_FALSE(session.Modified());
    EXPECT_FALSE(session.Document().History().CanUndo());
    EXPECT_EQ(session.PackedTheme()[At(SlotId::Main_Dom)], ColorToRGB565(before[At(SlotId::Main_Dom)]));
    session.EndTrial();
    EXPECT_EQ(session.ShownColors(), before);
    EXPECT_EQ(session.DraftDue(), EditorSession::DraftAction::Remove);

    struct Case {
        const char* what;
        std::function<DocumentOutcome()> act;
        TColor stored;  // in Main_Dom afterwards
        const char* step;
    };
    const Case cases[] = {
        {"edit", [&] { return session.SetSelectedColor(MakeColor(200, 100, 50)); }, MakeColor(197, 101, 49), "Edit Colour"},
        {"paste", [&] { return session.PasteColor("rgb(255, 255, 255)"); }, MakeColor(255, 255, 255), "Paste Colour"},
        {"paste #", [&] { return session.PasteColor("#0A0B0C"); }, MakeColor(8, 12, 8), "Paste Colour"},
        {"no colour", [&] { return session.PasteColor("white-ish"); }, MakeColor(8, 12, 8), "Paste Colour"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.act();
        EXPECT_EQ(session.ThemeColors()[At(SlotId::Main_Dom)], c.stored);
        EXPECT_EQ(session.ShownColors(), session.ThemeColors());
        EXPECT_EQ(session.Document().History().UndoName(), c.step);
        EXPECT_TRUE(session.Modified());
        EXPECT_EQ(session.DraftDue(), EditorSession::DraftAction::Write);
        EXPECT_EQ(session.Draft().colors, session.ThemeColors());
    }
    EXPECT_EQ(session.CopyColor(), "#080C08");
    EXPECT_EQ(session.Caption(), "Larkspur Theme Editor - Untitled *");
    // The same colour confirmed is an edit too; the display size keeps the mark.
    EditorSession same;
    same.SelectSlot(SlotId::Main_Clock);
    same.SetSelectedColor(same.ThemeColors()[At(SlotId::Main_Clock)]);
    EXPECT_TRUE(same.Modified());
    same.SetSmallDisplay(true);
    EXPECT_EQ(same.Caption(), "Larkspur Theme Editor - Untitled *");
}

// What each page lists, as the colour list shows it: sorted, each name once.
TEST(EditorSession, ThePagesLists)
{
    struct Case {
        int page;
        bool small;
        const char* names;
    };
    const Case cases[] = {
        {0, false, "Background|Battery|Battery Label|Clock|Divider|Divider Sq.|Dominant|Dominant Acc.|Fixed|Fixed Acc.|"
                   "Info|Info Acc.|Info Label|Profile"},
        {0, true, "Background|Battery|Charging|Divider|Dominant|Dominant Acc.|Fixed|Fixed Acc.|Info|Info Acc.|"
                  "Info Backgnd.|Info Label|Profile"},
        {4, false, "Background|Cursor|Divider|Header|Item|Selected Item"},
        {7, false, "Background|Date|Time"},
        {7, true, "Background|Date|Time"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.names);
        EditorSession session;
        session.SetSmallDisplay(c.small);
        session.SetPage(c.page);
        std::string names;
        for (const ColorListItem& item : session.ListItems())
            names += (names.empty() ? "" : "|") + item.Name;
        EXPECT_EQ(names, c.names);
    }
}

// Open, Save, Save As and New as the status line and the caption say them:
// a failure changes nothing, the file on the disk included.
TEST(EditorSession, FilesOpenSaveAndNew)
{
    TempDir dir;
    WriteText(dir.File("small.lsth"), "[Main]\r\nMain_Dom=$F800\r\n[Common]\r\nDisplay=1\r\n");
    WriteText(dir.File("bad.lsth"), "[Main]\r\nMain_Clock=white\r\n[Common]\r\nDisplay=1\r\n");
    std::filesystem::create_directory(dir.File("folder.lsth"));
    EditorSession session;
    const TThemeColorTable defaults = session.ThemeColors();
    const auto expect = [&](const DocumentOutcome& outcome, const char* status, const char* caption, bool modified) {
        EXPECT_EQ(outcome.status.value_or(""), status);
        EXPECT_EQ(outcome.failed, std::string(status) == "A file error has occurred");
        EXPECT_EQ(session.Caption(), std::string("Larkspur Theme Editor - ") + caption);
        EXPECT_EQ(session.Modified(), modified);
    };
    for (const char* name : {"bad.lsth", "missing.lsth"}) {
        SCOPED_TRACE(name);
        expect(session.Open(dir.File(name)), "A file error has occurred", "Untitled", false);
        EXPECT_EQ(session.ThemeColors(), defaults);
        EXPECT_FALSE(session.SmallDisplay());
    }
    const DocumentOutcome opened = session.Open(dir.File("small.lsth"));
    expect(opened, "Theme was loaded successfully", "small.lsth", false);
    EXPECT_EQ(opened.refresh, DocumentOutcome::Refresh::Page);
    EXPECT_TRUE(session.SmallDisplay());
    EXPECT_EQ(session.ThemeColors()[At(SlotId::Main_Dom)], MakeColor(255, 0, 0));

    // New keeps the display size; Save on an untitled theme asks for a name.
    session.SelectSlot(SlotId::Main_Clock);
    session.SetSelectedColor(MakeColor(1, 2, 3));
    expect(session.New(), "", "Untitled", false);
    EXPECT_TRUE(session.SmallDisplay());
    EXPECT_EQ(session.ThemeColors(), defaults);
    session.SetSelectedColor(MakeColor(1, 2, 3));
    EXPECT_TRUE(session.Save([] { return true; }).needsFileName);
    expect(session.SaveAs(dir.File("folder.lsth")), "A file error has occurred", "Untitled *", true);
    EXPECT_TRUE(session.ThemeFileName().empty());
    expect(session.SaveAs(dir.File("Dark.lsth")), "Theme was saved successfully", "Dark.lsth", false);
    EXPECT_NE(ReadText(dir.File("Dark.lsth")).find("Display=1"), std::string::npos);
#if !defined(_WIN32)
    // The disk fills up while writing: the file stays as it was.
    const std::string saved = ReadText(dir.File("Dark.lsth"));
    session.SetSelectedColor(MakeColor(200, 0, 0));
    {
        FileSizeLimit tiny(100);
        ASSERT_TRUE(tiny.Active());
        expect(session.Save([] { return true; }), "A file error has occurred", "Dark.lsth *", true);
    }
    EXPECT_EQ(ReadText(dir.File("Dark.lsth")), saved);
#endif
}

// A locked slot keeps its colour through every command that changes many
// colours, while the command changes the others; it stays locked, and Undo
// brings the colours back.
TEST(EditorSession, LocksHoldAgainstEveryCommand)
{
    TempDir dir;
    {
        TPackedTheme packed{};
        std::string name;
        ASSERT_TRUE(SaveTheme(dir.File("other.lsth"), Distinct(), packed, false, name));
    }
    const SlotId locked = SlotId::Main_TCR;  // a slot Fix All would change
    struct Case {
        const char* what;
        std::function<DocumentOutcome(EditorSession&)> act;
        SlotId changes;  // a slot the command does change
        const char* step;
    };
    const Case cases[] = {
        {"fix all", [](EditorSession& s) { return s.FixLegibility(std::nullopt, std::nullopt); }, SlotId::Main_Info_Acc,
         "Fix Legibility"},
        {"generate", [](EditorSession& s) { return s.ApplyGenerated(Distinct()); }, SlotId::Main_Dom, "Generate Theme"},
        {"take all",
         [&](EditorSession& s) {
             std::string error;
             EXPECT_TRUE(s.CompareWith(dir.File("other.lsth"), error)) << error;
             return s.TakeAll();
         },
         SlotId::Main_Dom, "Take Colours"},
        {"take rows",
         [&](EditorSession& s) {
             std::string error;
             EXPECT_TRUE(s.CompareWith(dir.File("other.lsth"), error)) << error;
             return s.Take({locked, SlotId::Main_Dom});
         },
         SlotId::Main_Dom, "Take Colours"},
        {"import palette",
         [](EditorSession& s) {
             TPackedTheme words{};
             PackTheme(Distinct(), words);
             std::array<bool, ThemeSlotCount> given{};
             given.fill(true);
             return s.ImportPalette(words, given);
         },
         SlotId::Main_Dom, "Import Palette"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EditorSession session;
        session.SetSmallDisplay(true);  // where Fix All has most to do
        session.SelectSlot(locked);
        session.SetSelectedLocked(true);
        const TThemeColorTable before = session.ThemeColors();
        c.act(session);
        EXPECT_EQ(session.ThemeColors()[At(locked)], before[At(locked)]);
        EXPECT_NE(session.ThemeColors()[At(c.changes)], before[At(c.changes)]);
        EXPECT_TRUE(session.IsLocked(locked));
        EXPECT_EQ(session.Document().History().UndoName(), c.step);
        EXPECT_TRUE(session.SmallDisplay());
        session.Undo();
        EXPECT_EQ(session.ThemeColors(), before);
    }
    // An edit names its slot: it changes it, and the lock stays.
    EditorSession session;
    session.SelectSlot(locked);
    session.SetSelectedLocked(true);
    session.SetSelectedColor(MakeColor(255, 0, 0));
    EXPECT_EQ(session.ThemeColors()[At(locked)], MakeColor(255, 0, 0));
    EXPECT_TRUE(session.IsLocked(locked));
}

// A palette whose colours name no slots says, before anything changes, which
// slots it fills (by list name, a locked one kept); one that names them all
// says nothing. Either is one undo step.
TEST(EditorSession, APaletteSaysWhichSlotsItFills)
{
    struct Case {
        const char* what;
        PaletteFormat format;
        const char* text;
        const char* said;
    };
    const Case cases[] = {
        {"named gpl", PaletteFormat::Gpl, "GIMP Palette\n255 0 0 Main_Dom\n0 0 255 Main_Divider\n", ""},
        {"unnamed gpl", PaletteFormat::Gpl, "GIMP Palette\n255 0 0 coral\n0 0 255\n1 2 3 sky\n",
         "The palette does not say which slots its 3 colours are for: in the theme's order, they go to Divider, "
         "Divider Sq. Locked, and kept as they are: Background."},
        {"partly named gpl", PaletteFormat::Gpl, "GIMP Palette\n255 0 0 Main_Dom\n0 0 255 x\n",
         "The palette does not say which slots its 1 colour is for: in the theme's order, they go to Divider."},
        {"json list", PaletteFormat::Json, R"({"slots": ["#FF0000", "#00FF00"]})",
         "The palette does not say which slots its 2 colours are for: in the theme's order, they go to Divider. "
         "Locked, and kept as they are: Background."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EditorSession session;
        session.SelectSlot(static_cast<SlotId>(0));
        session.SetSelectedLocked(true);
        PaletteRead read;
        read.words = session.PackedTheme();
        PaletteError error;
        ASSERT_TRUE(ReadPalette(c.format, c.text, read, error)) << error.reason;
        EXPECT_EQ(session.PalettePlacement(read.byPlace), c.said);
        const TThemeColorTable before = session.ThemeColors();
        session.ImportPalette(read.words, read.given);
        EXPECT_EQ(session.Document().History().UndoName(), "Import Palette");
        session.Undo();
        EXPECT_EQ(session.ThemeColors(), before);
    }
}

// What Import and Export Palette say of a file, for every front door: a
// file of another kind, the line a palette goes wrong on, ".gpl" added to a
// name that says no format.
TEST(EditorSession, PaletteFilesAreNamedInWhatIsSaid)
{
    TempDir dir;
    const struct {
        const char* file;
        const char* text;
        const char* said;  // empty: read
    } reads[] = {
        {"p.h", "", "p.h is no .gpl or .json palette"},
        {"p.png", "", "p.png is no .gpl or .json palette"},
        {"p.gpl", "GIMP Palette\n255 0 0 Main_Dom\n", ""},
        {"broken.gpl", "GIMP Palette\n255 0 Main_Dom\n", "broken.gpl:2: "},
        {"missing.json", nullptr, "missing.json: "},  // a fault of the whole file names no line
    };
    EditorSession session;
    for (const auto& r : reads) {
        SCOPED_TRACE(r.file);
        if (r.text)
            WriteText(dir.File(r.file), r.text);
        PaletteRead read;
        std::string error;
        EXPECT_EQ(session.ReadPaletteToImport(dir.File(r.file), read, error), !*r.said);
        EXPECT_EQ(error.substr(0, std::string(r.said).size()), r.said);
        if (!*r.said) {
            EXPECT_TRUE(read.given[At(SlotId::Main_Dom)]);
        }
    }
    std::string path = dir.File("Dusk");
    const DocumentOutcome exported = session.ExportPalette(path);
    EXPECT_EQ(path, dir.File("Dusk.gpl"));
    EXPECT_EQ(exported.status, std::optional<std::string>("Palette was exported successfully"));
    EXPECT_EQ(ReadText(path), WritePalette(PaletteFormat::Gpl, session.PackedTheme(), false, "Untitled"));
    EXPECT_EQ(session.ExportFolder(), dir.Path());
    std::string nowhere = dir.File("missing/Dusk.json");
    EXPECT_TRUE(session.ExportPalette(nowhere).failed);
}

// A device with nothing to lose downloads on connecting; a modified theme,
// or the file the editor was started with, stays. Each awaited reply has a
// deadline of its own.
TEST(EditorSession, WhatAConnectingDeviceDoes)
{
    TempDir dir;
    {
        TPackedTheme packed{};
        std::string name;
        ASSERT_TRUE(SaveTheme(dir.File("mine.lsth"), Distinct(), packed, true, name));
    }
    std::vector<std::uint8_t> block(128, 0);
    for (std::size_t k = 0; k < 84; k += 2)
        block[k] = 0x1F;  // every word $001F
    struct Case {
        const char* what;
        std::function<void(EditorSession&)> before;
        bool large;
        bool downloads;
    };
    const Case cases[] = {
        {"fresh", [](EditorSession&) {}, true, true},
        {"modified", [](EditorSession& s) { s.SetSelectedColor(MakeColor(1, 2, 3)); }, true, false},
        {"start-up file",
         [&](EditorSession& s) {
             s.SetStartupFile(dir.File("mine.lsth"));
             EXPECT_FALSE(s.OpenStartupFile().failed);
         },
         false, false},
        {"start-up file missing",
         [&](EditorSession& s) {
             s.SetStartupFile(dir.File("none.lsth"));
             EXPECT_TRUE(s.OpenStartupFile().failed);
         },
         true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EditorSession session;
        session.SelectSlot(SlotId::Main_Background);
        session.SetOverrideText("LSX1 SIMS");
        c.before(session);
        const TThemeColorTable mine = session.ThemeColors();
        const std::string file = session.ThemeFileName();
        Wire wire;
        session.Conversation().Attach(wire, {"dev", 0x0416, 65, 65});
        session.BeginFirmwareCheck();
        // Sims: a small display the Override setting accepts.
        std::vector<std::uint8_t> flash = Dataflash(c.large);
        if (!c.large) {
            const char code[] = "SIMS";
            std::copy(code, code + 4, flash.begin() + 316);
        }
        const DeviceStep connected = Reply(session, flash);
        EXPECT_EQ(connected.themeMenu, std::optional<bool>(true));
        EXPECT_EQ(connected.tip, "");
        EXPECT_EQ(session.SmallDisplay(), !c.large);
        EXPECT_EQ(wire.commands.back() == lsproto::CmdThemeRead, c.downloads);
        if (c.downloads) {
            EXPECT_EQ(session.NextDeadline(false).ms, std::optional<int>(DeviceConversation::ReplyDeadlineMs));
            EXPECT_FALSE(session.NextDeadline(true).restart);
            const DeviceStep downloaded = Reply(session, block);
            EXPECT_EQ(downloaded.document.status, std::optional<std::string>("Theme was downloaded successfully"));
            EXPECT_EQ(session.ThemeColors()[0], RGB565ToColor(0x001F));
            EXPECT_EQ(session.ThemeFileName(), "");
            EXPECT_FALSE(session.NextDeadline(true).ms);
        } else {
            EXPECT_EQ(connected.status, std::optional<std::string>("Connected"));
            EXPECT_EQ(session.ThemeColors(), mine);
            EXPECT_EQ(session.ThemeFileName(), file);
        }
    }
}

// A small display the Override setting does not list is no firmware fault:
// the status says "Incompatible firmware", and its tip what would let it in.
TEST(EditorSession, ASmallDisplayNotListedSaysWhatWouldLetItIn)
{
    for (const bool old : {false, true}) {
        EditorSession session;
        Wire wire;
        session.Conversation().Attach(wire, {"dev", 0x0416, 65, 65});
        session.BeginFirmwareCheck();
        std::vector<std::uint8_t> flash = Dataflash(false);
        std::copy_n("ABCD", 4, flash.begin() + 316);
        if (old)
            flash[516] = 19, flash[517] = 2, flash[518] = 24;
        const DeviceStep step = Reply(session, flash);
        EXPECT_EQ(step.status, std::optional<std::string>("Incompatible firmware"));
        EXPECT_EQ(step.themeMenu, std::optional<bool>(false));
        EXPECT_EQ(step.tip.find("add ABCD to the Override setting") != std::string::npos, !old) << step.tip;
    }
}

TEST(EditorSession, TheZoomAScreenAllows)
{
    // The window at 1x is 443 x 370 with its frame; each step adds 240 x 320:
    // 683 x 690, 923 x 1010, 1163 x 1330.
    struct Case {
        int roomWidth, roomHeight, chosen;
        int shown;   // the factor the room allows
        bool grows;  // Zoom In is then taken
    };
    const Case cases[] = {
        {1920, 1080, 4, 3, false}, {1920, 1000, 4, 2, false}, {2560, 1440, 4, 4, false}, {1366, 768, 3, 2, false},
        {800, 600, 2, 1, false},   {400, 300, 3, 1, false},   {1920, 1080, 1, 1, true},  {1920, 1080, 2, 2, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.roomWidth) + "x" + std::to_string(c.roomHeight) + " chosen " + std::to_string(c.chosen));
        EditorSession session;
        session.RestoreZoom(c.chosen);
        const ZoomRoom room{c.roomWidth, c.roomHeight, 443 + 240 * (c.chosen - 1), 370 + 320 * (c.chosen - 1), c.chosen};
        EXPECT_EQ(session.FitZoom(room), c.shown);
        EXPECT_EQ(session.ChosenZoom(), c.chosen);
        const ZoomRoom now{c.roomWidth, c.roomHeight, 443 + 240 * (c.shown - 1), 370 + 320 * (c.shown - 1), c.shown};
        EXPECT_EQ(session.ChooseZoom(c.shown + 1, now), c.grows);
        // Shrinking is never refused, and becomes the choice.
        EditorSession other;
        other.RestoreZoom(c.shown);
        EXPECT_EQ(other.ChooseZoom(1, now), c.shown != 1);
        EXPECT_EQ(other.ChosenZoom(), 1);
    }
}

// Every device pixel of the preview is the same whole number of screen
// pixels at any display scale, centred in the room the layout gives it, and
// the pointer names the pixel drawn under it.
TEST(PreviewPlacement, EvenPixelsAtEveryScale)
{
    struct Case {
        double scale;
        int pixels[4];  // screen pixels per device pixel at zoom 1..4
    };
    const Case cases[] = {
        {1, {1, 2, 3, 4}}, {1.25, {1, 2, 3, 5}}, {1.5, {1, 3, 4, 6}}, {1.75, {1, 3, 5, 7}}, {2, {2, 4, 6, 8}},
    };
    for (const Case& c : cases)
        for (int zoom = 1; zoom <= 4; ++zoom) {
            SCOPED_TRACE("scale " + std::to_string(c.scale) + " zoom " + std::to_string(zoom));
            // The room as the window rounds its logical edges: 5,3 to 5+240z,3+320z.
            const auto device = [&](int logical) { return int(std::lround(logical * c.scale)); };
            const int left = device(5), top = device(3), right = device(5 + 240 * zoom), bottom = device(3 + 320 * zoom);
            const PreviewPlacement p = PlacePreview(left, top, right - left, bottom - top, 240, 320);
            EXPECT_EQ(p.pixel, c.pixels[zoom - 1]);
            EXPECT_GE(p.left, left);
            EXPECT_LE(p.Right(), right);
            EXPECT_LE(std::abs((p.left - left) - (right - p.Right())), 1);
            EXPECT_LE(std::abs((p.top - top) - (bottom - p.Bottom())), 1);
            for (const auto& [x, y] : {std::pair{0, 0}, {239, 319}, {120, 7}, {17, 200}}) {
                int bx = -1, by = -1;
                // Anywhere in the pixel's square, its far edge excluded.
                for (double f : {0.0, 0.5, 0.999}) {
                    EXPECT_TRUE(p.DevicePixelAt(p.left + (x + f) * p.pixel, p.top + (y + f) * p.pixel, bx, by));
                    EXPECT_EQ(bx, x);
                    EXPECT_EQ(by, y);
                }
            }
            int bx, by;
            EXPECT_FALSE(p.DevicePixelAt(p.left - 0.01, p.top, bx, by));
            EXPECT_FALSE(p.DevicePixelAt(p.Right(), p.top, bx, by));
            EXPECT_FALSE(p.DevicePixelAt(p.left, p.Bottom(), bx, by));
        }
    // A room smaller than the picture still draws it, a screen pixel each.
    EXPECT_EQ(PlacePreview(0, 0, 100, 100, 240, 320).pixel, 1);
}

TEST(EditorSession, ExportNames)
{
    TempDir dir;
    const std::string saved = dir.File("Dark blue.v2.lsth");
    struct Case {
        std::string file;  // the theme's, empty for none
        std::string what;
        bool zoomed;
        std::string name;
    };
    const Case cases[] = {
        {"", "Main - RizeDori", true, "Untitled-Main - RizeDori@1x.png"},
        {"", "card", false, "Untitled-card.png"},
        {saved, "all", true, "Dark blue.v2-all@1x.png"},
        {saved, "Info, Dialogs", false, "Dark blue.v2-Info, Dialogs.png"},
        // Characters no file name may hold somewhere.
        {saved, "a/b\\c:d*e?f\"g<h>i|j", false, "Dark blue.v2-a_b_c_d_e_f_g_h_i_j.png"},
    };
    const auto same = [](const std::string& a, const std::string& b) {
        return std::filesystem::u8path(a) == std::filesystem::u8path(b);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EditorSession session;
        if (!c.file.empty()) {
            ASSERT_FALSE(session.SaveAs(c.file).failed);
        }
        EXPECT_EQ(session.ExportFileName(c.what, c.zoomed), c.name);
        // The theme's folder first, then that of the last export.
        if (c.file.empty()) {
            EXPECT_EQ(session.ExportFolder(), "");
        } else {
            EXPECT_TRUE(same(session.ExportFolder(), dir.Path())) << session.ExportFolder();
        }
        session.NoteExport(dir.File("pictures/x.png"));
        EXPECT_TRUE(same(session.ExportFolder(), dir.File("pictures"))) << session.ExportFolder();
    }
}

// What a click selects and what the pointer names: the hit region's row, the
// page's background where none is hit, the slot whose pixel is shown.
TEST(EditorSession, ClicksAndThePointer)
{
    EditorSession session;
    session.Redraw();
    struct Case {
        int page;
        bool small;
        int x, y;
        const char* row;
        SlotId slot;
    };
    const auto slot = [](int index) { return static_cast<SlotId>(index); };
    const Case cases[] = {
        {0, false, 120, 90, "Dominant", SlotId::Main_Dom},
        {0, false, 3, 3, "Background", SlotId::Main_Background},
        {0, false, 0, 0, "Background", SlotId::Main_Background},
        {0, false, 5, 5, "Battery", slot(3)},  // a region's edges are its own
        {0, false, 34, 20, "Battery", slot(3)},
        {0, false, 239, 319, "Background", SlotId::Main_Background},
        {0, false, 239, 168, "Divider", slot(1)},
        {1, false, 120, 125, "Dominant Acc.", slot(10)},
        {2, false, 120, 125, "Dominant Acc.", slot(11)},
        {0, true, 119, 190, "Info", slot(14)},  // where two regions overlap, the first
        {0, true, 118, 190, "Info Backgnd.", slot(2)},
        {0, true, 20, 20, "Background", SlotId::Main_Background},  // outside the small screen
        {4, false, 3, 3, "Background", SlotId::Menu_Background},
        {4, false, 95, 297, "Background", slot(20)},
        {5, false, 1, 2, "Background", slot(29)},
        {6, false, 1, 2, "Background", slot(34)},
        {7, true, 1, 2, "Background", slot(26)},
        {7, true, 85, 147, "Time", slot(27)},
        {7, true, 120, 190, "Date", SlotId::Saver_Date},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.row) + " at " + std::to_string(c.x) + "," + std::to_string(c.y));
        session.SetPage(c.page);
        session.SetSmallDisplay(c.small);
        session.Redraw();
        const auto pick = session.PickAt(c.x, c.y);
        ASSERT_TRUE(pick);
        EXPECT_EQ(pick->name, c.row);
        EXPECT_EQ(pick->slot, c.slot);
    }
    EXPECT_FALSE(session.PickAt(240, 0));
    // Named as some page's list names it, where this page lists it not.
    EXPECT_EQ(session.AnyListName(SlotId::Main_TCR), "Material, secondary");
    EXPECT_EQ(session.AnyListName(SlotId::Saver_Date), "Date");
    session.SetPage(0);
    session.SetSmallDisplay(false);
    session.Redraw();
    EXPECT_EQ(session.SlotShownAt(120, 90), std::optional<SlotId>(SlotId::Main_Dom));
    EXPECT_EQ(session.SlotTip(SlotId::Main_Dom).substr(0, 9), "Dominant\n");
    // Where a slot's box shows another slot's pixel, the pointer names what a
    // click selects and what paints it.
    session.SetPage(4);
    session.Redraw();
    bool found = false;
    for (int y = 0; y < PreviewHeight && !found; ++y)
        for (int x = 0; x < PreviewWidth && !found; ++x) {
            const auto pick = session.PickAt(x, y);
            if (pick->name != "Item" || session.SlotShownAt(x, y) != SlotId::Menu_Background)
                continue;
            found = true;
            EXPECT_EQ(session.HoverTip(x, y).substr(0, session.HoverTip(x, y).find('\n')),
                      "Item \u2014 painted by Background");
        }
    EXPECT_TRUE(found);
    EXPECT_EQ(session.HoverTip(3, 3).substr(0, 11), "Background\n");
    session.SetPage(0);
    session.Redraw();

    // The ring round the hovered slot, and nothing without one.
    EXPECT_TRUE(session.Overlay(std::nullopt, false).empty());
    const std::vector<std::uint32_t> ring = session.Overlay(SlotId::Main_Dom, false);
    ASSERT_EQ(ring.size(), std::size_t(PreviewWidth * PreviewHeight));
    EXPECT_EQ(ring[static_cast<std::size_t>(90 * PreviewWidth + 120)], 0u);  // inside the slot: left alone
    EXPECT_GT(std::count_if(ring.begin(), ring.end(), [](std::uint32_t p) { return p != 0; }), 100);
}

// The status line: a failure stays over the connection until a command
// succeeds; the connection's own tip goes with it, a failure is its own tip;
// while the start-up file's outcome is held, the connection waits.
TEST(StatusText, FailuresStayUntilACommandSucceeds)
{
    StatusText status;
    EXPECT_EQ(status.Text(), "Disconnected");
    status.SetConnection("Incompatible firmware", "add SIMS");
    EXPECT_EQ(status.Tip(), "add SIMS");
    status.Set("Theme was saved successfully");
    EXPECT_EQ(status.Tip(), "");
    status.ClearFailure();
    EXPECT_EQ(status.Text(), "Theme was saved successfully") << "no failure to clear";
    status.Set("A file error has occurred", true);
    EXPECT_EQ(status.Tip(), "A file error has occurred");
    status.ClearFailure();
    EXPECT_EQ(status.Text(), "Incompatible firmware");
    EXPECT_FALSE(status.Failure());
    EXPECT_EQ(status.Tip(), "add SIMS");
    status.Set("Dusk.lsth: not a theme", true);
    status.HoldForStartup(true);
    status.SetConnection("Checking firmware...");
    EXPECT_EQ(status.Text(), "Dusk.lsth: not a theme") << "held";
    status.HoldForStartup(false);
    status.ClearFailure();
    EXPECT_EQ(status.Text(), "Checking firmware...");
}
