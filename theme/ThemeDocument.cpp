#include "ThemeDocument.h"

#include "ColorText.h"
#include "FileIo.h"
#include "ThemeFile.h"
#include "ThemeFileUpdate.h"

#include <algorithm>

namespace {
const char* const FileError = "A file error has occurred";
const char* const Saved = "Theme was saved successfully";
}  // namespace

std::string ShownFileName(const std::string& path)
{
    if (path.empty())
        return "Untitled";
    const std::size_t sep = path.find_last_of("/\\:");
    return sep == std::string::npos ? path : path.substr(sep + 1);
}

DocumentOutcome DocumentOutcome::Failure(std::string text)
{
    DocumentOutcome outcome;
    outcome.status = std::move(text);
    outcome.failed = true;
    return outcome;
}

ThemeDocument::ThemeDocument(TThemeColorTable& colors, TPackedTheme& packed, bool& smallDisplay,
                             std::string& fileName, bool& modified)
    : colors_(colors), packed_(packed), smallDisplay_(smallDisplay), fileName_(fileName), modified_(modified)
{
    documents_.emplace_back();
    documents_[0].saved = colors_;
    Publish();
}

ThemeState ThemeDocument::State() const { return {colors_, smallDisplay_, Current().locked, current_}; }

void ThemeDocument::Publish()
{
    const Document& d = Current();
    modified_ = !d.saved || d.edited || *d.saved != colors_ || d.savedLocked != d.locked;
    fileName_ = d.fileName;
}

void ThemeDocument::Reset()
{
    LoadDefaultTheme(colors_);
    history_ = ThemeHistory();
    documents_.assign(1, Document{});
    documents_[0].saved = colors_;
    current_ = 0;
    draftDirty_ = false;
    Publish();
}

DocumentOutcome ThemeDocument::BeginDocument(const char* step, Document document, const ThemeState& before,
                                             DocumentOutcome outcome)
{
    documents_.push_back(std::move(document));
    current_ = static_cast<int>(documents_.size()) - 1;
    history_.Record(step, before, State());
    draftDirty_ = true;
    Publish();
    outcome.refresh = DocumentOutcome::Refresh::Page;
    return outcome;
}

DocumentOutcome ThemeDocument::New()
{
    const ThemeState before = State();
    LoadDefaultTheme(colors_);
    Document fresh;
    fresh.saved = colors_;
    DocumentOutcome outcome;
    outcome.status = "";
    return BeginDocument("New", std::move(fresh), before, outcome);
}

DocumentOutcome ThemeDocument::Open(const std::string& path)
{
    const ThemeState before = State();
    bool small = smallDisplay_;
    std::string name;
    ThemeLoadReport report;
    if (!LoadTheme(path, packed_, [&small](bool s) { small = s; }, name, nullptr, &report))
        return DocumentOutcome::Failure(FileError);
    Document opened;
    opened.fileName = name;
    ReadFileLimited(name, MaxIniFileSize, opened.bytesSeen);
    opened.fileHoldsTheme = !report.NoThemeKeys();
    opened.locked = report.locked;
    opened.savedLocked = report.locked;
    smallDisplay_ = small;
    UnpackTheme(packed_, colors_);
    opened.saved = colors_;
    DocumentOutcome outcome;
    outcome.fileMatched = true;
    // Loaded as the defaults, as any missing key is; but say that nothing of
    // a theme was in the file.
    outcome.status = report.NoThemeKeys() ? "Theme was loaded successfully (no theme colours in the file)"
                                          : "Theme was loaded successfully";
    return BeginDocument("Open", std::move(opened), before, outcome);
}

DocumentOutcome ThemeDocument::WriteFile(const std::string& path, const ConfirmOverwrite& confirm)
{
    PackTheme(colors_, packed_);
    bool declined = false;
    std::string error;
    const ThemeUpdateResult result = UpdateThemeFile(
        path,
        [&](ThemeFileState& file, std::string&) {
            // Read and compared under the lock every writer of theme files
            // takes, so a change made meanwhile is either seen here or waits.
            if (confirm && file.exists && file.bytes != Current().bytesSeen && !confirm()) {
                declined = true;
                return false;
            }
            file.words = packed_;
            file.smallDisplay = smallDisplay_;
            file.locked = Current().locked;
            return true;
        },
        error, LockWaitMs);
    if (declined)
        return {};
    if (result != ThemeUpdateResult::Written)
        return DocumentOutcome::Failure(error == NoThemeInFile ? ShownFileName(path) + ": " + error : FileError);
    Document& d = Current();
    d.fileName = path;
    d.bytesSeen.clear();
    ReadFileLimited(path, MaxIniFileSize, d.bytesSeen);
    d.fileHoldsTheme = true;
    d.saved = colors_;
    d.savedLocked = d.locked;
    d.edited = false;
    Publish();
    DocumentOutcome outcome;
    outcome.status = Saved;
    outcome.fileMatched = true;
    outcome.refresh = DocumentOutcome::Refresh::Preview;
    return outcome;
}

DocumentOutcome ThemeDocument::Save(const ConfirmOverwrite& confirm)
{
    const Document& d = Current();
    if (d.fileName.empty() || !d.fileHoldsTheme) {
        DocumentOutcome outcome;
        outcome.needsFileName = true;
        return outcome;
    }
    return WriteFile(d.fileName, confirm);
}

DocumentOutcome ThemeDocument::SaveAs(const std::string& path) { return WriteFile(path, nullptr); }

DocumentOutcome ThemeDocument::Edited()
{
    Current().edited = true;
    draftDirty_ = true;
    Publish();
    DocumentOutcome outcome;
    outcome.refresh = DocumentOutcome::Refresh::Preview;
    outcome.status = "";
    return outcome;
}

bool ThemeDocument::IsLocked(int slot) const
{
    const std::vector<int>& locked = Current().locked;
    return std::find(locked.begin(), locked.end(), slot) != locked.end();
}

std::set<SlotId> ThemeDocument::LockedSlots() const
{
    std::set<SlotId> slots;
    for (int index : Current().locked)
        slots.insert(static_cast<SlotId>(index));
    return slots;
}

DocumentOutcome ThemeDocument::SetLocked(int slot, bool locked)
{
    if (slot < 0 || slot >= ThemeSlotCount || IsLocked(slot) == locked)
        return {};
    const ThemeState before = State();
    std::vector<int>& list = Current().locked;
    if (locked)
        list.insert(std::upper_bound(list.begin(), list.end(), slot), slot);
    else
        list.erase(std::find(list.begin(), list.end(), slot));
    // The file will say so: a change to save, and a step to undo.
    history_.Record(locked ? "Lock Colour" : "Unlock Colour", before, State());
    return Edited();
}

DocumentOutcome ThemeDocument::SetColors(const TThemeColorTable& colors, const std::string& step)
{
    const ThemeState before = State();
    for (std::size_t i = 0; i < colors.size(); ++i)
        colors_[i] = RGB565ToColor(ColorToRGB565(colors[i]));
    history_.Record(step, before, State());
    return Edited();
}

DocumentOutcome ThemeDocument::SetColor(int slot, TColor color, const std::string& step)
{
    if (slot < 0 || slot >= ThemeSlotCount)
        return {};
    const ThemeState before = State();
    // Only colours the device can show enter the theme.
    colors_[static_cast<std::size_t>(slot)] = RGB565ToColor(ColorToRGB565(color));
    history_.Record(step, before, State());
    return Edited();
}

TThemeColorTable ThemeDocument::KeepLocked(const TThemeColorTable& colors) const
{
    TThemeColorTable kept = colors;
    for (int slot : Current().locked)
        kept[static_cast<std::size_t>(slot)] = colors_[static_cast<std::size_t>(slot)];
    return kept;
}

DocumentOutcome ThemeDocument::ImportPalette(const TPackedTheme& words, const std::array<bool, ThemeSlotCount>& given)
{
    TThemeColorTable colors = colors_;
    for (int slot = 0; slot < ThemeSlotCount; ++slot)
        if (given[static_cast<std::size_t>(slot)])
            colors[static_cast<std::size_t>(slot)] = RGB565ToColor(words[static_cast<std::size_t>(slot)]);
    return SetColors(KeepLocked(colors), "Import Palette");
}

DocumentOutcome ThemeDocument::Paste(int slot, const std::string& text)
{
    TColor pasted = 0;
    if (!ParseColorText(text, pasted))
        return DocumentOutcome::Failure("The clipboard holds no colour");
    return SetColor(slot, pasted, "Paste Colour");
}

DocumentOutcome ThemeDocument::ApplyDownload(const TPackedTheme& packed)
{
    const ThemeState before = State();
    packed_ = packed;
    UnpackTheme(packed_, colors_);
    DocumentOutcome outcome;
    outcome.status = "Theme was downloaded successfully";
    return BeginDocument("Download", Document{}, before, outcome);
}

DocumentOutcome ThemeDocument::RestoreDraft(const ThemeDraftContent& draft)
{
    const ThemeState before = State();
    colors_ = draft.colors;
    smallDisplay_ = draft.smallDisplay;
    Document restored;
    restored.fileName = draft.fileName;
    restored.locked = draft.locked;
    // What the file holds now is what a save will be compared with: the
    // draft cannot say what it held when the editor ended.
    if (!restored.fileName.empty())
        ReadFileLimited(restored.fileName, MaxIniFileSize, restored.bytesSeen);
    DocumentOutcome outcome = BeginDocument("Restore", std::move(restored), before, DocumentOutcome{});
    outcome.refresh = DocumentOutcome::Refresh::List;
    return outcome;
}

DocumentOutcome ThemeDocument::Move(const ThemeHistory::Move& move)
{
    colors_ = move.state.colors;
    if (move.displayChanged)
        smallDisplay_ = move.state.smallDisplay;
    current_ = move.state.document;
    Current().locked = move.state.locked;
    Current().edited = false;
    draftDirty_ = true;
    Publish();
    DocumentOutcome outcome;
    outcome.refresh = move.displayChanged ? DocumentOutcome::Refresh::List : DocumentOutcome::Refresh::Preview;
    outcome.status = "";
    return outcome;
}

DocumentOutcome ThemeDocument::Undo() { return history_.CanUndo() ? Move(history_.Undo()) : DocumentOutcome{}; }

DocumentOutcome ThemeDocument::Redo() { return history_.CanRedo() ? Move(history_.Redo()) : DocumentOutcome{}; }
