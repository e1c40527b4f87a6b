#pragma once
// The theme as a document: its colours and display size, the file it belongs
// to, the bytes last seen in that file, and the history of its changes. It
// works on the editor's own state by reference, as the drawer does, so the
// colour table and the display flag stay where everything else reads them.
//
// Every operation returns an outcome: what to show in the status bar and what
// of the window to refresh. The window applies it in one place.

#include "ColorModel.h"
#include "ThemeHistory.h"
#include "ThemeSlots.h"

#include <array>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

// A theme file's name as the caption and the status line show it: without
// its folder, or "Untitled" for none.
std::string ShownFileName(const std::string& path);

struct DocumentOutcome {
    enum class Refresh {
        None,     // nothing changed
        Preview,  // the colours changed: the preview, the swatches, the colour button
        List,     // the display size may have changed too: the list of the current page, then the preview
        Page,     // a new document: page 0 with its list
    };
    Refresh refresh = Refresh::None;
    // The status text to show; none leaves the status bar as it is, an empty
    // one clears an earlier failure.
    std::optional<std::string> status;
    bool failed = false;  // the status reports a failure
    // The document now matches its file (opened or saved): the recent files take it.
    bool fileMatched = false;
    // Save has no file to write to (none yet, or one that held no theme): Save As.
    bool needsFileName = false;

    static DocumentOutcome Failure(std::string text);
};

// A draft of an unsaved theme, as the crash recovery keeps it.
struct ThemeDraftContent {
    TThemeColorTable colors{};
    bool smallDisplay = false;
    std::string fileName;  // empty = "Untitled"
    std::vector<int> locked;  // slot indices, ascending
};

class ThemeDocument {
public:
    ThemeDocument(TThemeColorTable& colors, TPackedTheme& packed, bool& smallDisplay, std::string& fileName,
                  bool& modified);

    // Answers "The theme file was changed by another program. Overwrite it?".
    using ConfirmOverwrite = std::function<bool()>;

    // The default theme, no file. Not a step: the document the editor starts with.
    void Reset();
    DocumentOutcome New();
    DocumentOutcome Open(const std::string& path);
    DocumentOutcome Save(const ConfirmOverwrite& confirm);
    DocumentOutcome SaveAs(const std::string& path);
    // The slot takes the colour, rounded to what the device shows, as one step.
    DocumentOutcome SetColor(int slot, TColor color, const std::string& step = "Edit Colour");
    // Slots the designer keeps: nothing that mends or generates colours
    // changes them, and the theme file lists them.
    bool IsLocked(int slot) const;
    std::set<SlotId> LockedSlots() const;
    const std::vector<int>& LockedSlotIndices() const { return Current().locked; }
    DocumentOutcome SetLocked(int slot, bool locked);
    // `colors` where no slot is locked, the theme's own colours where one
    // is: what every command that sets many colours at once stores.
    TThemeColorTable KeepLocked(const TThemeColorTable& colors) const;
    // Every slot takes its colour from `colors`, rounded, as one step.
    DocumentOutcome SetColors(const TThemeColorTable& colors, const std::string& step);
    // A palette's colours for the slots it names, but the locked ones, as one
    // step; the display size stays.
    DocumentOutcome ImportPalette(const TPackedTheme& words, const std::array<bool, ThemeSlotCount>& given);
    // Text from the clipboard; anything that names no colour changes nothing.
    DocumentOutcome Paste(int slot, const std::string& text);
    // The theme the device sent: an unsaved document without a file.
    DocumentOutcome ApplyDownload(const TPackedTheme& packed);
    DocumentOutcome RestoreDraft(const ThemeDraftContent& draft);
    DocumentOutcome Undo();
    DocumentOutcome Redo();

    const ThemeHistory& History() const { return history_; }
    // The bytes of the file as last opened or saved here.
    const std::string& FileBytesSeen() const { return Current().bytesSeen; }

    // Whether the state changed since the draft was last written.
    bool DraftDirty() const { return draftDirty_; }
    void MarkDraftWritten() { draftDirty_ = false; }

    // How long Save waits for another writer of the file before giving up.
    static constexpr int LockWaitMs = 2000;

private:
    struct Document {
        std::string fileName;
        std::string bytesSeen;
        // False for a file that held no theme key: Save asks for a name
        // rather than write a theme into whatever that file is.
        bool fileHoldsTheme = true;
        std::optional<TThemeColorTable> saved;  // the colours its file holds; none = never saved
        std::vector<int> locked;  // slot indices, ascending
        std::vector<int> savedLocked;  // the locks its file holds
        // An edit marks the document modified even where it changed nothing;
        // a save or a move through the history settles it again.
        bool edited = false;
    };

    ThemeState State() const;
    const Document& Current() const { return documents_[static_cast<std::size_t>(current_)]; }
    Document& Current() { return documents_[static_cast<std::size_t>(current_)]; }
    // Starts a new document and makes it current; the step records the change.
    DocumentOutcome BeginDocument(const char* step, Document document, const ThemeState& before,
                                  DocumentOutcome outcome);
    DocumentOutcome Move(const ThemeHistory::Move& move);
    // The modified flag and the file name follow the document: set in one place.
    void Publish();
    // The current document was edited: modified, its draft due, the preview to redraw.
    DocumentOutcome Edited();
    // Writes the document into `path`; with `confirm`, asks first when the
    // file changed since it was last seen.
    DocumentOutcome WriteFile(const std::string& path, const ConfirmOverwrite& confirm);

    TThemeColorTable& colors_;
    TPackedTheme& packed_;
    bool& smallDisplay_;
    std::string& fileName_;
    bool& modified_;

    ThemeHistory history_;
    std::vector<Document> documents_;
    int current_ = 0;
    bool draftDirty_ = false;
};
