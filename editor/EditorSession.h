#pragma once
// The editor without its window: the theme document, what the user is
// looking at (page, display size, selected slot, zoom, colour-vision mode, a
// compared theme), a colour being tried, the legibility check and its fixes,
// the names exports suggest, the drafts, and the rules of the device link.
// Every front door drives one of these; each operation returns what changed
// (a DocumentOutcome, or a DeviceStep for the device), and the front door
// shows it in one place.
//
// The theme is held twice: as stored (ThemeColors) and as shown
// (ShownColors), which differ only while a colour is tried. The drawer draws
// the shown one; files, drafts, history and the device only ever see the
// stored one.

#include "Bitmap.h"
#include "ColorVision.h"
#include "DeviceConversation.h"
#include "Legibility.h"
#include "PaletteFiles.h"
#include "SlotCatalogue.h"
#include "ThemeDocument.h"
#include "Unit2.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>


// What the device link asks of the front door after an event.
struct DeviceStep {
    std::optional<std::string> status;  // to show, if any
    bool failure = false;               // the status reports a failure
    bool connectionStatus = false;      // the status is the connection's own
    std::string tip;                    // more about the status, for its tooltip
    std::optional<bool> themeMenu;      // enable or disable the Theme menu
    DocumentOutcome document;           // a display switch or a download, to apply
};

// The room the screen leaves the window, for the zoom it allows.
struct ZoomRoom {
    int roomWidth = 0, roomHeight = 0;      // the screen's available area
    int outerWidth = 0, outerHeight = 0;    // the window, frame included, as it is now
    int zoomNow = 1;                        // the factor that size is at
};

// One slot whose colour differs in the compared theme.
struct ComparedSlot {
    SlotId slot;
    TColor mine;
    TColor other;
    bool locked;
};

extern const char* const ApplicationTitle;

// The preview is shown at 1x to this many times its size.
constexpr int MaxZoomFactor = 4;

class EditorSession {
public:
    EditorSession();
    ~EditorSession();
    EditorSession(const EditorSession&) = delete;
    EditorSession& operator=(const EditorSession&) = delete;

    // ---- The theme, as stored and as shown ----
    const TThemeColorTable& ThemeColors() const { return themeColors_; }
    const TThemeColorTable& ShownColors() const { return shownColors_; }
    TPackedTheme PackedTheme() const;
    bool SmallDisplay() const { return smallDisplay_; }
    bool Modified() const { return modified_; }
    // The full path of the document's file; empty for "Untitled".
    const std::string& ThemeFileName() const { return themeFileName_; }
    // The caption: "Larkspur Theme Editor - <file> *".
    std::string Caption() const;
    const ThemeDocument& Document() const { return document_; }
    bool IsLocked(SlotId slot) const { return document_.IsLocked(SlotIndex(slot)); }

    // ---- Document commands: each one step, locks kept ----
    DocumentOutcome Reset();
    DocumentOutcome New();
    DocumentOutcome Open(const std::string& path);
    DocumentOutcome Save(const ThemeDocument::ConfirmOverwrite& confirm);
    DocumentOutcome SaveAs(const std::string& path);
    DocumentOutcome Undo();
    DocumentOutcome Redo();
    // The selected slot takes the colour (rounded to RGB565); nothing without a selection.
    DocumentOutcome SetSelectedColor(TColor color);
    DocumentOutcome PasteColor(const std::string& text);
    // The selected slot's colour as the clipboard takes it, "#RRGGBB"; empty without a selection.
    std::string CopyColor() const;
    DocumentOutcome SetSelectedLocked(bool locked);
    DocumentOutcome ImportPalette(const TPackedTheme& words, const std::array<bool, ThemeSlotCount>& given);
    // What a palette whose colours name no slots would fill, said before it
    // changes anything; empty when every colour names its slot.
    std::string PalettePlacement(const std::array<bool, ThemeSlotCount>& byPlace) const;
    // Import Palette's reading of a file: false with the status text when it
    // is no .gpl or .json palette, or names the line where it goes wrong.
    bool ReadPaletteToImport(const std::string& path, PaletteRead& read, std::string& error) const;
    // Export Palette into `path`, ".gpl" added where its name says no
    // format; the status says how it went.
    DocumentOutcome ExportPalette(std::string& path);
    // A generated theme: every slot but the locked ones.
    DocumentOutcome ApplyGenerated(const TThemeColorTable& colors);
    DocumentOutcome RestoreDraft(const ThemeDraftContent& draft);

    // ---- What is looked at ----
    int Page() const { return page_; }
    void SetPage(int page);
    // The display size; the list of the page follows.
    DocumentOutcome SetSmallDisplay(bool small);
    std::optional<SlotId> SelectedSlot() const { return selectedSlot_; }
    void SelectSlot(std::optional<SlotId> slot);
    // The page's list: names and slots, sorted, as the colour list shows them.
    std::vector<ColorListItem> ListItems() const;
    // The list name of a slot on the current page, else its file key.
    std::string ListName(SlotId slot) const;
    // Its list name on the current page, else on another page (this display
    // size first), else its file key: for lists of slots from every page.
    std::string AnyListName(SlotId slot) const;
    // The list row a click at preview pixel (x, y) selects: the hit region's
    // name and slot, else the page's "Background". None outside the preview.
    struct Pick {
        std::string name;
        SlotId slot;
    };
    std::optional<Pick> PickAt(int x, int y) const;
    // The slot whose colour the preview shows at (x, y): what the pointer
    // names and outlines. None outside the preview.
    std::optional<SlotId> SlotShownAt(int x, int y) const;
    // The tooltip of that slot: its list name, "#RRGGBB" and word.
    std::string SlotTip(SlotId slot) const;
    // What the pointer at (x, y) names: the row a click there selects, its
    // colour, and the slot that paints the pixel where that is another one
    // ("Item — painted by Background"). Empty outside the preview.
    std::string HoverTip(int x, int y) const;

    // ---- A colour tried before it is chosen: shown, never stored ----
    void TryColor(TColor color);
    // The theme's own colour back on the preview; no step.
    void EndTrial();
    bool Trying() const { return trying_; }

    // ---- The preview ----
    // Draws the current page in the shown colours (or the compared theme's).
    void Redraw();
    TLSDrawer& Drawer() { return *drawer_; }
    const TLSDrawer& Drawer() const { return *drawer_; }
    // What the preview shows where it is not the drawer's own bitmap: the
    // compared theme, a simulated vision. Empty when the drawer's pixels show.
    const Bitmap* ShownBitmap() const { return shownBitmap_ ? &*shownBitmap_ : nullptr; }
    ColorVision Vision() const { return vision_; }
    void SetVision(ColorVision vision);
    // An overlay in 0xAARRGGBB, one word per preview pixel: a ring round the
    // hovered slot's pixels, black and white in turn, and the selected slot's
    // pixels inverted while `blink`. Empty when there is nothing to draw.
    std::vector<std::uint32_t> Overlay(std::optional<SlotId> hovered, bool blink) const;

    // ---- Zoom: the factor chosen, and the one the screen allows ----
    int Zoom() const { return zoom_; }
    int ChosenZoom() const { return chosenZoom_; }
    // Whether the window at `factor` fits the room.
    static bool ZoomFits(int factor, const ZoomRoom& room);
    // The chosen factor where it fits, else the largest below it that does.
    int FitZoom(const ZoomRoom& room);
    // The user asks for `factor` (1..4): refused when it grows past the room.
    bool ChooseZoom(int factor, const ZoomRoom& room);
    // The factor remembered from an earlier run.
    void RestoreZoom(int factor);

    // ---- Compare With ----
    // Holds the theme of `path` beside the document; false with the reason.
    bool CompareWith(const std::string& path, std::string& error);
    bool HasCompared() const { return compareDrawer_ != nullptr; }
    const std::string& ComparedFile() const { return comparedFile_; }
    void ShowCompared(bool shown);
    std::vector<ComparedSlot> Differences() const;
    // The compared colours of these slots (or all that differ), but the
    // locked ones, as one step.
    DocumentOutcome Take(const std::vector<SlotId>& slots);
    DocumentOutcome TakeAll();

    // ---- Legibility ----
    std::vector<LegibilityPair> FailingPairs() const;
    // Mends the pair, or every pair when none is named, as one step; a pair
    // that cannot be mended is said in the status.
    DocumentOutcome FixLegibility(std::optional<SlotId> fg, std::optional<SlotId> bg);

    // ---- Exports ----
    // The theme's name: its file's without the extension, else "Untitled".
    std::string ThemeName() const;
    // The folder of the theme's file; empty for "Untitled".
    std::string ThemeFolder() const;
    // Where an export goes first: the folder of the last one, else the theme's.
    std::string ExportFolder() const;
    void NoteExport(const std::string& path);
    // "<theme>-<what>@<zoom>x.png" (or without the zoom), safe on every system.
    std::string ExportFileName(const std::string& what, bool zoomed) const;
    Bitmap PageImage() const;
    Bitmap AllPagesImage() const;

    // Where the Open and Save As dialogs start: the file chosen last.
    std::string lastOpenFile;
    std::string lastSaveFile;

    // ---- Drafts ----
    enum class DraftAction { Later, Remove, Write };
    // What the draft should be now: none for a theme as saved, and nothing
    // while a colour is only tried.
    DraftAction DraftDue() const;
    ThemeDraftContent Draft() const;

    // ---- The device ----
    DeviceConversation& Conversation() { return conversation_; }
    const DeviceConversation& Conversation() const { return conversation_; }
    // The file named when the editor was started, opened once it is shown.
    void SetStartupFile(std::string path) { startupFile_ = std::move(path); }
    const std::string& StartupFile() const { return startupFile_; }
    // Opens the start-up file. Once it is open, the first device that
    // connects leaves it standing: the user asked for that file.
    DocumentOutcome OpenStartupFile();
    const std::string& OverrideText() const { return overrideText_; }
    void SetOverrideText(std::string text) { overrideText_ = std::move(text); }
    // What an event of the conversation means for the editor: a passed check
    // switches the display size and, for a theme with nothing to lose,
    // downloads; a download becomes the document.
    DeviceStep OnDevice(const DeviceConversation::Outcome& outcome);
    DeviceStep BeginFirmwareCheck();
    DeviceStep BeginDownload();
    DeviceStep BeginUpload();
    // The device went: a transfer under way failed.
    DeviceStep Detach();
    // The reply deadline to keep: none while nothing is awaited, restarted
    // (`restart`) for each new exchange.
    struct Deadline {
        std::optional<int> ms;
        bool restart = false;
    };
    Deadline NextDeadline(bool timerRunning);

private:
    DocumentOutcome Changed(DocumentOutcome outcome);
    void Publish();

    TThemeColorTable themeColors_{};
    TPackedTheme packedTheme_{};
    bool smallDisplay_ = false;
    bool modified_ = false;
    std::string themeFileName_;
    ThemeDocument document_;

    TThemeColorTable shownColors_{};
    bool trying_ = false;
    TColor tried_ = 0;

    int page_ = 0;
    std::optional<SlotId> selectedSlot_;
    TSlotCatalogue catalogue_;
    std::unique_ptr<TLSDrawer> drawer_;
    std::optional<Bitmap> shownBitmap_;
    ColorVision vision_ = ColorVision::Normal;
    int zoom_ = 1;
    int chosenZoom_ = 1;

    TThemeColorTable compared_{};
    std::unique_ptr<TLSDrawer> compareDrawer_;
    std::string comparedFile_;
    bool showingCompared_ = false;

    std::string lastExportFolder_;

    DeviceConversation conversation_;
    std::string overrideText_;
    std::string startupFile_;
    bool keepStartupFile_ = false;
    std::uint32_t timedExchange_ = 0;
};
