#include "EditorSession.h"

#include "ColorText.h"
#include "FileIo.h"
#include "LegibilityFix.h"
#include "ThemeFile.h"

#include <algorithm>
#include <cstdio>

const char* const ApplicationTitle = "Larkspur Theme Editor";

EditorSession::EditorSession()
    : document_(themeColors_, packedTheme_, smallDisplay_, themeFileName_, modified_),
      drawer_(std::make_unique<TLSDrawer>(shownColors_, smallDisplay_))
{
    Reset();
}

EditorSession::~EditorSession() = default;

TPackedTheme EditorSession::PackedTheme() const
{
    TPackedTheme packed{};
    PackTheme(themeColors_, packed);
    return packed;
}

std::string EditorSession::Caption() const
{
    return std::string(ApplicationTitle) + " - " + ShownFileName(themeFileName_) + (modified_ ? " *" : "");
}

void EditorSession::Publish()
{
    // What is shown is what is stored, but for the colour being tried.
    shownColors_ = themeColors_;
    if (trying_ && selectedSlot_)
        shownColors_[static_cast<std::size_t>(SlotIndex(*selectedSlot_))] = tried_;
}

DocumentOutcome EditorSession::Changed(DocumentOutcome outcome)
{
    Publish();
    return outcome;
}

// ---- Document commands ----

DocumentOutcome EditorSession::Reset()
{
    document_.Reset();
    return Changed({});
}

DocumentOutcome EditorSession::New() { return Changed(document_.New()); }

DocumentOutcome EditorSession::Open(const std::string& path) { return Changed(document_.Open(path)); }

DocumentOutcome EditorSession::Save(const ThemeDocument::ConfirmOverwrite& confirm)
{
    return Changed(document_.Save(confirm));
}

DocumentOutcome EditorSession::SaveAs(const std::string& path) { return Changed(document_.SaveAs(path)); }

DocumentOutcome EditorSession::Undo() { return Changed(document_.Undo()); }

DocumentOutcome EditorSession::Redo() { return Changed(document_.Redo()); }

DocumentOutcome EditorSession::SetSelectedColor(TColor color)
{
    if (!selectedSlot_)
        return {};
    return Changed(document_.SetColor(SlotIndex(*selectedSlot_), color));
}

DocumentOutcome EditorSession::PasteColor(const std::string& text)
{
    if (!selectedSlot_)
        return {};
    return Changed(document_.Paste(SlotIndex(*selectedSlot_), text));
}

std::string EditorSession::CopyColor() const
{
    if (!selectedSlot_)
        return {};
    return ColorToHexText(themeColors_[static_cast<std::size_t>(SlotIndex(*selectedSlot_))]);
}

DocumentOutcome EditorSession::SetSelectedLocked(bool locked)
{
    if (!selectedSlot_)
        return {};
    return Changed(document_.SetLocked(SlotIndex(*selectedSlot_), locked));
}

DocumentOutcome EditorSession::ImportPalette(const TPackedTheme& words, const std::array<bool, ThemeSlotCount>& given)
{
    return Changed(document_.ImportPalette(words, given));
}

bool EditorSession::ReadPaletteToImport(const std::string& path, PaletteRead& read, std::string& error) const
{
    const std::optional<PaletteFormat> format = PaletteFormatOf(path);
    if (!format || *format == PaletteFormat::CHeader) {
        error = ShownFileName(path) + " is no .gpl or .json palette";
        return false;
    }
    read = PaletteRead();
    read.words = PackedTheme();
    PaletteError fault;
    if (ReadPaletteFile(path, read, fault))
        return true;
    error = ShownFileName(path) + (fault.line ? ":" + std::to_string(fault.line) : std::string()) + ": " + fault.reason;
    return false;
}

DocumentOutcome EditorSession::ExportPalette(std::string& path)
{
    if (!PaletteFormatOf(path))
        path += ".gpl";
    NoteExport(path);
    if (!WriteFileAtomically(path, WritePalette(*PaletteFormatOf(path), PackedTheme(), smallDisplay_, ThemeName())))
        return DocumentOutcome::Failure("A file error has occurred");
    DocumentOutcome outcome;
    outcome.status = "Palette was exported successfully";
    return outcome;
}

std::string EditorSession::PalettePlacement(const std::array<bool, ThemeSlotCount>& byPlace) const
{
    std::string filled, kept;
    int count = 0;
    for (int i = 0; i < ThemeSlotCount; ++i) {
        if (!byPlace[static_cast<std::size_t>(i)])
            continue;
        ++count;
        std::string& into = document_.IsLocked(i) ? kept : filled;
        into += (into.empty() ? "" : ", ") + AnyListName(static_cast<SlotId>(i));
    }
    if (count == 0)
        return {};
    // A sentence ends with one full stop, after a name such as "Divider Sq." too.
    const auto ended = [](const std::string& names) { return names.back() == '.' ? names : names + "."; };
    std::string text = "The palette does not say which slots its " + std::to_string(count) +
                       (count == 1 ? " colour is" : " colours are") + " for: in the theme's order, they go to " +
                       ended(filled.empty() ? "no slot" : filled);
    if (!kept.empty())
        text += " Locked, and kept as they are: " + ended(kept);
    return text;
}

DocumentOutcome EditorSession::ApplyGenerated(const TThemeColorTable& colors)
{
    return Changed(document_.SetColors(document_.KeepLocked(colors), "Generate Theme"));
}

DocumentOutcome EditorSession::RestoreDraft(const ThemeDraftContent& draft)
{
    return Changed(document_.RestoreDraft(draft));
}

// ---- What is looked at ----

void EditorSession::SetPage(int page)
{
    if (page >= 0 && page < PageCount)
        page_ = page;
}

DocumentOutcome EditorSession::SetSmallDisplay(bool small)
{
    smallDisplay_ = small;
    DocumentOutcome outcome;
    outcome.refresh = DocumentOutcome::Refresh::List;
    return Changed(outcome);
}

void EditorSession::SelectSlot(std::optional<SlotId> slot)
{
    selectedSlot_ = slot;
    Publish();
}

std::vector<ColorListItem> EditorSession::ListItems() const
{
    const std::vector<TLSElement>* table = catalogue_.GetPageElements(page_, smallDisplay_);
    return table ? ColorListItems(*table) : std::vector<ColorListItem>();
}

std::string EditorSession::ListName(SlotId slot) const { return ListNameOrKey(page_, smallDisplay_, slot); }

std::string EditorSession::AnyListName(SlotId slot) const { return AnyListNameOf(page_, smallDisplay_, slot); }

std::optional<EditorSession::Pick> EditorSession::PickAt(int x, int y) const
{
    const std::vector<TLSElement>* table = catalogue_.GetPageElements(page_, smallDisplay_);
    if (!table || table->empty() || x < 0 || y < 0 || x >= PreviewWidth || y >= PreviewHeight)
        return std::nullopt;
    // Every table ends with the page's "Background", which no point hits.
    const TLSElement* hit = FindHitRegion(*table, x, y);
    const TLSElement& picked = hit ? *hit : table->back();
    return Pick{picked.Name, picked.Color};
}

std::optional<SlotId> EditorSession::SlotShownAt(int x, int y) const
{
    const SlotMap& map = drawer_->Slots();
    if (!map.Contains(x, y))
        return std::nullopt;
    // The slot a pixel shows: its foreground where the ramp is nearer that end.
    const PixelSlots& p = map.At(x, y);
    return p.level >= 8 ? p.fg : p.bg;
}

std::string EditorSession::SlotTip(SlotId slot) const
{
    const TColor color = shownColors_[static_cast<std::size_t>(SlotIndex(slot))];
    char word[16];
    std::snprintf(word, sizeof word, "  0x%04X", static_cast<unsigned>(ColorToRGB565(color)));
    return ListName(slot) + "\n" + ColorToHexText(color) + word;
}

std::string EditorSession::HoverTip(int x, int y) const
{
    const std::optional<Pick> pick = PickAt(x, y);
    const std::optional<SlotId> shown = SlotShownAt(x, y);
    if (!pick)
        return {};
    // After the name, the tip's first line.
    std::string tip = SlotTip(pick->slot);
    if (shown && *shown != pick->slot)
        tip.insert(ListName(pick->slot).size(), " \u2014 painted by " + ListName(*shown));
    return tip;
}

// ---- A colour tried ----

void EditorSession::TryColor(TColor color)
{
    if (!selectedSlot_)
        return;
    trying_ = true;
    // Shown as the theme would store it.
    tried_ = RGB565ToColor(ColorToRGB565(color));
    Publish();
}

void EditorSession::EndTrial()
{
    trying_ = false;
    Publish();
}
