// The session's view of the theme: the preview and what is drawn over it,
// the zoom the screen allows, a compared theme, the legibility check and
// the images an export writes.

#include "EditorSession.h"

#include "LegibilityFix.h"
#include "PageImage.h"
#include "ThemeFile.h"

#include <algorithm>
#include <filesystem>

namespace {

std::filesystem::path PathOf(const std::string& file) { return std::filesystem::u8path(file); }

}  // namespace

void EditorSession::Redraw()
{
    drawer_->DrawPage(page_);
    shownBitmap_.reset();
    const bool other = showingCompared_ && compareDrawer_;
    if (other)
        compareDrawer_->DrawPage(page_);
    if (vision_ != ColorVision::Normal || other) {
        Bitmap shown = other ? compareDrawer_->Bitmap() : drawer_->Bitmap();
        if (vision_ != ColorVision::Normal)
            SimulateBitmap(shown, vision_);
        shownBitmap_ = std::move(shown);
    }
}

void EditorSession::SetVision(ColorVision vision)
{
    vision_ = vision;
    Redraw();
}

std::vector<std::uint32_t> EditorSession::Overlay(std::optional<SlotId> hovered, bool blink) const
{
    const bool blinking = blink && selectedSlot_;
    if (!hovered && !blinking)
        return {};
    const SlotMap& map = drawer_->Slots();
    const ::Bitmap& bitmap = drawer_->Bitmap();
    std::vector<std::uint32_t> overlay(static_cast<std::size_t>(map.Width()) * static_cast<std::size_t>(map.Height()), 0);
    const auto shows = [&](int x, int y, SlotId slot) { return SlotShownAt(x, y) == slot; };
    for (int y = 0; y < map.Height(); ++y)
        for (int x = 0; x < map.Width(); ++x) {
            std::uint32_t& out = overlay[static_cast<std::size_t>(y) * static_cast<std::size_t>(map.Width()) +
                                         static_cast<std::size_t>(x)];
            if (blinking && shows(x, y, *selectedSlot_)) {
                const TColor c = bitmap.Pixel(x, y);
                out = 0xFF000000u | ((255u - ColorRed(c)) << 16) | ((255u - ColorGreen(c)) << 8) | (255u - ColorBlue(c));
            } else if (hovered && !shows(x, y, *hovered) &&
                       (shows(x - 1, y, *hovered) || shows(x + 1, y, *hovered) || shows(x, y - 1, *hovered) ||
                        shows(x, y + 1, *hovered))) {
                // The ring round the slot's pixels, black and white in turn so
                // it shows on any colour.
                out = (x + y) % 2 ? 0xFF000000u : 0xFFFFFFFFu;
            }
        }
    return overlay;
}

// ---- Zoom ----

bool EditorSession::ZoomFits(int factor, const ZoomRoom& room)
{
    const int width = room.outerWidth + PreviewWidth * (factor - room.zoomNow);
    const int height = room.outerHeight + PreviewHeight * (factor - room.zoomNow);
    return width <= room.roomWidth && height <= room.roomHeight;
}

int EditorSession::FitZoom(const ZoomRoom& room)
{
    int factor = chosenZoom_;
    while (factor > 1 && !ZoomFits(factor, room))
        --factor;
    zoom_ = factor;
    return zoom_;
}

bool EditorSession::ChooseZoom(int factor, const ZoomRoom& room)
{
    factor = std::clamp(factor, 1, MaxZoomFactor);
    if (factor == zoom_ || (factor > zoom_ && !ZoomFits(factor, room)))
        return false;
    zoom_ = chosenZoom_ = factor;
    return true;
}

void EditorSession::RestoreZoom(int factor) { zoom_ = chosenZoom_ = std::clamp(factor, 1, MaxZoomFactor); }

// ---- Compare With ----

bool EditorSession::CompareWith(const std::string& path, std::string& error)
{
    TPackedTheme packed{};
    std::string name;
    ThemeFileError fault;
    ThemeLoadReport report;
    // Compared at the editor's display size, whatever the file's.
    if (!LoadTheme(path, packed, nullptr, name, &fault, &report) || report.NoThemeKeys()) {
        error = report.NoThemeKeys() ? "it holds no theme colours" : fault.reason;
        return false;
    }
    UnpackTheme(packed, compared_);
    comparedFile_ = path;
    compareDrawer_ = std::make_unique<TLSDrawer>(compared_, smallDisplay_);
    compareDrawer_->SetClock(drawer_->Clock());
    return true;
}

void EditorSession::ShowCompared(bool shown)
{
    if (!compareDrawer_)
        return;
    showingCompared_ = shown;
    Redraw();
}

std::vector<ComparedSlot> EditorSession::Differences() const
{
    std::vector<ComparedSlot> rows;
    if (!compareDrawer_)
        return rows;
    for (int i = 0; i < ThemeSlotCount; ++i) {
        const TColor mine = shownColors_[static_cast<std::size_t>(i)], other = compared_[static_cast<std::size_t>(i)];
        if (ColorToRGB565(mine) != ColorToRGB565(other))
            rows.push_back({static_cast<SlotId>(i), mine, other, document_.IsLocked(i)});
    }
    return rows;
}

DocumentOutcome EditorSession::Take(const std::vector<SlotId>& slots)
{
    if (!compareDrawer_)
        return {};
    TThemeColorTable colors = themeColors_;
    for (SlotId slot : slots)
        colors[static_cast<std::size_t>(SlotIndex(slot))] = compared_[static_cast<std::size_t>(SlotIndex(slot))];
    // Locked slots are not taken, as they are kept everywhere.
    colors = document_.KeepLocked(colors);
    if (colors == themeColors_)
        return {};
    return Changed(document_.SetColors(colors, "Take Colours"));
}

DocumentOutcome EditorSession::TakeAll()
{
    std::vector<SlotId> slots;
    for (const ComparedSlot& row : Differences())
        slots.push_back(row.slot);
    return Take(slots);
}

// ---- Legibility ----

std::vector<LegibilityPair> EditorSession::FailingPairs() const
{
    // A drawer of its own, so the preview keeps its page; the colours shown,
    // so a colour being tried is judged as it is tried.
    TLSDrawer checker(shownColors_, smallDisplay_);
    checker.SetClock(drawer_->Clock());
    return ::FailingPairs(checker, shownColors_);
}

DocumentOutcome EditorSession::FixLegibility(std::optional<SlotId> fg, std::optional<SlotId> bg)
{
    static const std::vector<ContrastNeed> needs = ContrastNeeds();
    const ContrastNeed* only = nullptr;
    for (const ContrastNeed& n : needs)
        if (fg && bg && n.fg == *fg && n.bg == *bg)
            only = &n;
    if (fg && !only)
        return {};
    TThemeColorTable fixed = themeColors_;
    const LegibilityFixResult result = ::FixLegibility(fixed, needs, document_.LockedSlots(), only);
    DocumentOutcome outcome;
    if (!result.changes.empty())
        outcome = Changed(document_.SetColors(fixed, "Fix Legibility"));
    if (!result.unmendable.empty()) {
        const UnmendablePair& u = result.unmendable.front();
        outcome.status = AnyListName(u.fg) + " on " + AnyListName(u.bg) + " cannot be mended: " + u.why;
        outcome.failed = true;
    }
    return outcome;
}

// ---- Exports ----

std::string EditorSession::ThemeName() const
{
    if (themeFileName_.empty())
        return "Untitled";
    return PathOf(themeFileName_).stem().u8string();
}

std::string EditorSession::ThemeFolder() const
{
    if (themeFileName_.empty())
        return {};
    std::error_code error;
    return std::filesystem::absolute(PathOf(themeFileName_), error).parent_path().u8string();
}

std::string EditorSession::ExportFolder() const { return lastExportFolder_.empty() ? ThemeFolder() : lastExportFolder_; }

void EditorSession::NoteExport(const std::string& path)
{
    std::error_code error;
    lastExportFolder_ = std::filesystem::absolute(PathOf(path), error).parent_path().u8string();
}

std::string EditorSession::ExportFileName(const std::string& what, bool zoomed) const
{
    std::string name = ThemeName() + "-" + what + (zoomed ? "@" + std::to_string(zoom_) + "x" : "") + ".png";
    // Characters no file name may hold on one system or another.
    std::replace_if(
        name.begin(), name.end(), [](char c) { return std::string("\\/:*?\"<>|").find(c) != std::string::npos; }, '_');
    return name;
}

Bitmap EditorSession::PageImage() const { return Enlarged(ScreenOf(drawer_->Bitmap(), smallDisplay_), zoom_); }

Bitmap EditorSession::AllPagesImage() const
{
    TLSDrawer pages(themeColors_, smallDisplay_);
    pages.SetClock(drawer_->Clock());  // the same time as the preview shows
    std::vector<Bitmap> screens;
    for (int page = 0; page < PageCount; ++page) {
        pages.DrawPage(page);
        screens.push_back(Enlarged(ScreenOf(pages.Bitmap(), smallDisplay_), zoom_));
    }
    return SideBySide(screens);
}

// ---- Drafts ----

EditorSession::DraftAction EditorSession::DraftDue() const
{
    // A colour the user is only trying is no part of the theme yet.
    if (trying_)
        return DraftAction::Later;
    return modified_ ? DraftAction::Write : DraftAction::Remove;
}

ThemeDraftContent EditorSession::Draft() const
{
    return {themeColors_, smallDisplay_, themeFileName_, document_.LockedSlotIndices()};
}
