#include "WebEditor.h"

#include "ColorText.h"
#include "FileIo.h"
#include "JsonOut.h"
#include "JsonReader.h"
#include "LegibilityFix.h"
#include "PageImage.h"
#include "PaletteFiles.h"
#include "PictureSeeds.h"
#include "PngWriter.h"
#include "SlotCatalogue.h"
#include "ThemeCard.h"
#include "ThemeDraft.h"

#include <cstdio>

namespace {

std::string Text(const JsonValue& request, const char* key)
{
    const JsonValue* v = request.Find(key);
    return v && v->type == JsonValue::Type::String ? v->text : std::string();
}

// A whole number, or `fallback` when the member is missing or no number.
int Number(const JsonValue& request, const char* key, int fallback)
{
    const JsonValue* v = request.Find(key);
    if (!v || v->type != JsonValue::Type::Number || v->number < -2147483647.0 || v->number > 2147483647.0)
        return fallback;
    return static_cast<int>(v->number);
}

bool Flag(const JsonValue& request, const char* key)
{
    const JsonValue* v = request.Find(key);
    return v && v->type == JsonValue::Type::Bool && v->boolean;
}

std::optional<SlotId> SlotOf(const JsonValue& request, const char* key)
{
    const int slot = Number(request, key, -1);
    if (slot < 0 || slot >= static_cast<int>(ThemeSlotCount))
        return std::nullopt;
    return static_cast<SlotId>(slot);
}

std::optional<TColor> ColorOf(const JsonValue& request, const char* key)
{
    TColor color = 0;
    if (!ParseColorText(Text(request, key), color))
        return std::nullopt;
    return color;
}

std::string ButtonCaption(TColor color)
{
    char text[32];
    std::snprintf(text, sizeof text, "#%02X%02X%02X 0x%04X", ColorRed(color), ColorGreen(color), ColorBlue(color),
                  static_cast<unsigned>(ColorToRGB565(color)));
    return text;
}

// A bitmap's pixels as the browser's canvas takes them: RGBA.
void ToRgba(const Bitmap& bitmap, std::vector<std::uint8_t>& rgba)
{
    rgba.resize(static_cast<std::size_t>(bitmap.Width()) * static_cast<std::size_t>(bitmap.Height()) * 4);
    std::size_t at = 0;
    for (int y = 0; y < bitmap.Height(); ++y) {
        const std::uint8_t* row = bitmap.Row(y);
        for (int x = 0; x < bitmap.Width(); ++x) {
            rgba[at++] = row[3 * x + 2];
            rgba[at++] = row[3 * x + 1];
            rgba[at++] = row[3 * x];
            rgba[at++] = 255;
        }
    }
}

bool WritePng(const std::string& path, const Bitmap& image)
{
    const std::vector<std::uint8_t> png = EncodePng(image);
    return WriteFileAtomically(path, std::string(png.begin(), png.end()));
}

}  // namespace

bool WebEditor::Port::WriteReport(const std::uint8_t* report, std::size_t length, std::string* error)
{
    if (!attached) {
        if (error)
            *error = "the device is gone";
        return false;
    }
    outbox.emplace_back(report, report + length);
    return true;
}

WebEditor::WebEditor()
{
    // As the desktop window shows itself: the default theme, page 0 with its
    // list and "Background" chosen.
    session_.Reset();
    DocumentOutcome shown;
    shown.refresh = DocumentOutcome::Refresh::Page;
    Apply(shown);
}

const std::string& WebEditor::Handle(const std::string& request)
{
    JsonValue parsed;
    int line = 0;
    std::string reason;
    JsonOut out;
    out.Begin();
    if (!ParseJson(request, parsed, line, reason) || parsed.type != JsonValue::Type::Object) {
        out.Member("error", "request: " + reason);
    } else {
        port_.outbox.clear();
        saveAsNeeded_ = false;
        Dispatch(Text(parsed, "op"), parsed, out);
        if (!port_.outbox.empty()) {
            out.Key("send").BeginArray();
            for (const auto& report : port_.outbox)
                out.Bytes(report);
            out.EndArray();
        }
        const EditorSession::Deadline deadline = session_.NextDeadline(true);
        out.Key("deadline");
        if (deadline.ms)
            out.Begin().Member("ms", *deadline.ms).Member("restart", deadline.restart).End();
        else
            out.Null();
        if (saveAsNeeded_)
            out.Member("needsFileName", true);
        WriteView(out);
    }
    out.End();
    answer_ = out.Text();
    return answer_;
}

void WebEditor::Apply(const DocumentOutcome& outcome)
{
    if (outcome.needsFileName) {
        saveAsNeeded_ = true;
        return;
    }
    switch (outcome.refresh) {
    case DocumentOutcome::Refresh::None:
        break;
    case DocumentOutcome::Refresh::Preview:
        session_.Redraw();
        break;
    case DocumentOutcome::Refresh::Page:
        session_.SetPage(0);
        [[fallthrough]];
    case DocumentOutcome::Refresh::List: {
        // The page's list again, with its "Background" chosen.
        session_.SelectSlot(std::nullopt);
        for (const ColorListItem& item : session_.ListItems())
            if (SameTextIgnoringCase(item.Name, "Background"))
                session_.SelectSlot(item.Color);
        session_.Redraw();
        break;
    }
    }
    if (outcome.status) {
        if (!outcome.status->empty())
            status_.Set(*outcome.status, outcome.failed);
        else
            status_.ClearFailure();
    }
}

void WebEditor::ApplyDevice(const DeviceStep& step)
{
    if (step.themeMenu)
        themeMenu_ = *step.themeMenu;
    if (step.status && step.connectionStatus) {
        // Where the desktop names its settings file, the page names its own settings.
        status_.SetConnection(*step.status, step.tip.empty() ? std::string() : step.tip + "\n(Settings in this page)");
    }
    Apply(step.document);
    if (step.status && !step.connectionStatus)
        status_.Set(*step.status, step.failure);
}

void WebEditor::WriteView(JsonOut& out) const
{
    const EditorSession& s = session_;
    out.Member("caption", s.Caption());
    out.Member("title", ShownFileName(s.ThemeFileName()));
    out.Member("themeName", s.ThemeName());
    out.Member("modified", s.Modified());
    out.Member("page", s.Page());
    out.Member("small", s.SmallDisplay());
    out.Member("zoom", s.Zoom());
    out.Member("vision", ColorVisionName(s.Vision()));
    out.Key("items").BeginArray();
    for (const ColorListItem& item : s.ListItems()) {
        const TColor color = s.ShownColors()[static_cast<std::size_t>(SlotIndex(item.Color))];
        out.Begin()
            .Member("name", item.Name)
            .Member("slot", static_cast<int>(item.Color))
            .Member("color", ColorToHexText(color))
            .Member("locked", s.IsLocked(item.Color))
            .End();
    }
    out.EndArray();
    const std::optional<SlotId> selected = s.SelectedSlot();
    out.Member("selected", selected ? static_cast<int>(*selected) : -1);
    if (selected) {
        const TColor color = s.ShownColors()[static_cast<std::size_t>(SlotIndex(*selected))];
        out.Member("button", ButtonCaption(color));
        out.Member("color", ColorToHexText(color));
        out.Member("locked", s.IsLocked(*selected));
        out.Member("selectedName", s.ListName(*selected));
    }
    const ThemeHistory& history = s.Document().History();
    out.Member("undo", history.CanUndo() ? "Undo " + history.UndoName() : std::string("Undo"));
    out.Member("canUndo", history.CanUndo());
    out.Member("redo", history.CanRedo() ? "Redo " + history.RedoName() : std::string("Redo"));
    out.Member("canRedo", history.CanRedo());
    out.Key("status").Begin().Member("text", status_.text).Member("failed", status_.failure);
    out.Member("tip", status_.text == status_.connection ? status_.tip : status_.failure ? status_.text : std::string());
    out.End();
    out.Member("themeMenu", themeMenu_);
    out.Member("compared", s.HasCompared());
    out.Member("trying", s.Trying());
    out.Member("busy", s.Conversation().Busy());
}

void WebEditor::WriteFrame(std::optional<SlotId> hovered, bool blink)
{
    const Bitmap* shown = session_.ShownBitmap();
    ToRgba(shown ? *shown : session_.Drawer().Bitmap(), buffer_);
    const std::vector<std::uint32_t> overlay = session_.Overlay(hovered, blink);
    for (std::size_t i = 0; i < overlay.size() && 4 * i + 3 < buffer_.size(); ++i) {
        const std::uint32_t o = overlay[i];
        if (!(o >> 24))
            continue;
        buffer_[4 * i] = static_cast<std::uint8_t>(o >> 16);
        buffer_[4 * i + 1] = static_cast<std::uint8_t>(o >> 8);
        buffer_[4 * i + 2] = static_cast<std::uint8_t>(o);
    }
}

void WebEditor::WriteGenerated(int page)
{
    // Both display sizes, the large screen above the small one, as the
    // desktop's dialog shows them.
    std::vector<std::uint8_t> large, small;
    for (const bool isSmall : {false, true}) {
        TLSDrawer drawer(generated_.colors, isSmall);
        drawer.SetClock(session_.Drawer().Clock());
        drawer.DrawPage(page);
        ToRgba(ScreenOf(drawer.Bitmap(), isSmall), isSmall ? small : large);
    }
    buffer_ = std::move(large);
    buffer_.insert(buffer_.end(), small.begin(), small.end());
}

bool WebEditor::ReadGenerateOptions(const JsonValue& request, GenerateOptions& options, std::string& error) const
{
    const JsonValue* seeds = request.Find("seeds");
    if (!seeds || seeds->type != JsonValue::Type::Array || seeds->items.empty() || seeds->items.size() > 3) {
        error = "one to three seeds";
        return false;
    }
    for (const JsonValue& seed : seeds->items) {
        TColor color = 0;
        if (seed.type != JsonValue::Type::String || !ParseColorText(seed.text, color)) {
            error = "a seed is no colour";
            return false;
        }
        options.seeds.push_back(color);
    }
    options.dark = !Flag(request, "light");
    options.highContrast = Flag(request, "highContrast");
    options.variation = static_cast<std::uint32_t>(std::max(0, Number(request, "variation", 0)));
    options.vividness = std::clamp(Number(request, "vividness", 100), 0, 150);
    if (!ParseStyle(Text(request, "style").empty() ? "fidelity" : Text(request, "style"), options.style)) {
        error = "unknown style";
        return false;
    }
    return true;
}

void WebEditor::Dispatch(const std::string& op, const JsonValue& r, JsonOut& out)
{
    EditorSession& s = session_;
    if (op == "view") {
        // nothing changes: the view alone
    } else if (op == "frame") {
        WriteFrame(SlotOf(r, "hovered"), Flag(r, "blink"));
    } else if (op == "page") {
        s.SetPage(Number(r, "page", s.Page()));
        DocumentOutcome list;
        list.refresh = DocumentOutcome::Refresh::List;
        Apply(list);
    } else if (op == "display") {
        Apply(s.SetSmallDisplay(Flag(r, "small")));
        DocumentOutcome list;
        list.refresh = DocumentOutcome::Refresh::List;
        Apply(list);
    } else if (op == "select") {
        s.SelectSlot(SlotOf(r, "slot"));
    } else if (op == "pick") {
        if (const auto pick = s.PickAt(Number(r, "x", -1), Number(r, "y", -1)))
            s.SelectSlot(pick->slot);
    } else if (op == "hover") {
        const int x = Number(r, "x", -1), y = Number(r, "y", -1);
        out.Member("tip", s.HoverTip(x, y));
        const std::optional<SlotId> shown = s.SlotShownAt(x, y);
        out.Member("hovered", shown ? static_cast<int>(*shown) : -1);
    } else if (op == "try") {
        if (const auto color = ColorOf(r, "color"))
            s.TryColor(*color);
        s.Redraw();
    } else if (op == "endTrial") {
        s.EndTrial();
        s.Redraw();
    } else if (op == "setColor") {
        const auto color = ColorOf(r, "color");
        s.EndTrial();
        if (color)
            Apply(s.SetSelectedColor(*color));
        else
            s.Redraw();
    } else if (op == "copy") {
        out.Member("text", s.CopyColor());
    } else if (op == "paste") {
        Apply(s.PasteColor(Text(r, "text")));
    } else if (op == "lock") {
        Apply(s.SetSelectedLocked(Flag(r, "locked")));
    } else if (op == "undo") {
        Apply(s.Undo());
    } else if (op == "redo") {
        Apply(s.Redo());
    } else if (op == "new") {
        Apply(s.New());
    } else if (op == "open") {
        Apply(s.Open(Text(r, "path")));
    } else if (op == "save") {
        Apply(s.Save([] { return true; }));
        out.Member("path", s.ThemeFileName());
    } else if (op == "saveAs") {
        Apply(s.SaveAs(Text(r, "path")));
        out.Member("path", s.ThemeFileName());
    } else if (op == "zoom") {
        s.RestoreZoom(Number(r, "zoom", s.Zoom()));
    } else if (op == "vision") {
        ColorVision vision = ColorVision::Normal;
        if (ParseColorVision(Text(r, "vision"), vision))
            s.SetVision(vision);
    } else if (op == "legibility") {
        out.Key("pairs").BeginArray();
        const bool small = s.SmallDisplay();
        for (const LegibilityPair& p : s.FailingPairs()) {
            char ratio[32], needs[32];
            std::snprintf(ratio, sizeof ratio, "%.2f:1", p.ratio);
            std::snprintf(needs, sizeof needs, "%.1f:1", p.required);
            out.Begin()
                .Member("contrast", std::string(ratio))
                .Member("needs", std::string(needs))
                .Member("page", p.page)
                .Member("pageName", PageNames[p.page])
                .Member("fg", static_cast<int>(p.fg))
                .Member("bg", static_cast<int>(p.bg))
                .Member("text", ListNameOrKey(p.page, small, p.fg))
                .Member("background", ListNameOrKey(p.page, small, p.bg))
                .End();
        }
        out.EndArray();
    } else if (op == "fix") {
        Apply(s.FixLegibility(SlotOf(r, "fg"), SlotOf(r, "bg")));
        if (status_.failure)
            out.Member("reason", status_.text);
    } else if (op == "fixAll") {
        Apply(s.FixLegibility(std::nullopt, std::nullopt));
        if (status_.failure)
            out.Member("reason", status_.text);
    } else if (op == "generate") {
        GenerateOptions options;
        std::string error;
        if (!ReadGenerateOptions(r, options, error)) {
            out.Member("error", error);
            return;
        }
        generated_ = GenerateTheme(options, s.ThemeColors(), s.Document().LockedSlots());
        hasGenerated_ = true;
        out.Key("problems").BeginArray();
        for (const UnmendablePair& u : generated_.unmendable)
            out.Value(std::string(AnyListNameOf(0, false, u.fg)) + " on " + AnyListNameOf(0, false, u.bg) +
                      " cannot be mended: " + u.why);
        out.EndArray();
        WriteGenerated(std::clamp(Number(r, "page", s.Page()), 0, PageCount - 1));
    } else if (op == "generatedPage") {
        if (hasGenerated_)
            WriteGenerated(std::clamp(Number(r, "page", s.Page()), 0, PageCount - 1));
    } else if (op == "applyGenerated") {
        if (hasGenerated_)
            Apply(s.ApplyGenerated(generated_.colors));
        hasGenerated_ = false;
    } else if (op == "generateSeeds") {
        // The hero, second and third of this theme, where the dialog starts.
        out.Key("seeds").BeginArray();
        for (const SlotId slot : {SlotId::Main_AccentVW, SlotId::Main_Fixed_Acc, SlotId::Main_PuffTime_Acc})
            out.Value(ColorToHexText(s.ThemeColors()[static_cast<std::size_t>(SlotIndex(slot))]));
        out.EndArray();
        out.Key("kept").BeginArray();
        for (const SlotId slot : s.Document().LockedSlots())
            out.Value(s.AnyListName(slot));
        out.EndArray();
    } else if (op == "pictureSeeds") {
        std::vector<TColor> seeds;
        std::string error;
        if (!SeedsFromPictureFile(Text(r, "path"), seeds, error)) {
            out.Member("error", ShownFileName(Text(r, "path")) + ": " + error);
            return;
        }
        out.Key("seeds").BeginArray();
        for (const TColor seed : seeds)
            out.Value(ColorToHexText(seed));
        out.EndArray();
    } else if (op == "compare") {
        std::string error;
        if (!s.CompareWith(Text(r, "path"), error)) {
            status_.Set(ShownFileName(Text(r, "path")) + " cannot be compared: " + error, true);
            return;
        }
        out.Member("name", ShownFileName(s.ComparedFile()));
    } else if (op == "differences") {
        out.Key("differences").BeginArray();
        for (const ComparedSlot& d : s.Differences())
            out.Begin()
                .Member("slot", static_cast<int>(d.slot))
                .Member("name", s.AnyListName(d.slot))
                .Member("key", std::string(SlotKey(d.slot)) + (d.locked ? " (locked)" : ""))
                .Member("mine", ColorToHexText(d.mine))
                .Member("other", ColorToHexText(d.other))
                .End();
        out.EndArray();
    } else if (op == "showCompared") {
        s.ShowCompared(Flag(r, "shown"));
        s.Redraw();
    } else if (op == "take") {
        std::vector<SlotId> slots;
        if (const JsonValue* list = r.Find("slots"))
            for (const JsonValue& v : list->items)
                if (v.type == JsonValue::Type::Number && v.number >= 0 && v.number < ThemeSlotCount)
                    slots.push_back(static_cast<SlotId>(static_cast<int>(v.number)));
        Apply(s.Take(slots));
    } else if (op == "takeAll") {
        Apply(s.TakeAll());
    } else if (op == "readPalette") {
        const std::string path = Text(r, "path");
        const std::optional<PaletteFormat> format = PaletteFormatOf(path);
        pendingPalette_.reset();
        if (!format || *format == PaletteFormat::CHeader) {
            status_.Set(ShownFileName(path) + " is no .gpl or .json palette", true);
            return;
        }
        PaletteRead read;
        read.words = s.PackedTheme();
        PaletteError fault;
        if (!ReadPaletteFile(path, read, fault)) {
            const std::string where = fault.line ? ShownFileName(path) + ":" + std::to_string(fault.line) : ShownFileName(path);
            status_.Set(where + ": " + fault.reason, true);
            return;
        }
        // Said before anything changes, when colours name no slots.
        out.Member("question", s.PalettePlacement(read.byPlace));
        pendingPalette_ = read;
    } else if (op == "importPalette") {
        if (pendingPalette_)
            Apply(s.ImportPalette(pendingPalette_->words, pendingPalette_->given));
        pendingPalette_.reset();
    } else if (op == "exportPalette") {
        std::string path = Text(r, "path");
        if (!PaletteFormatOf(path))
            path += ".gpl";
        s.NoteExport(path);
        const bool ok =
            WriteFileAtomically(path, WritePalette(*PaletteFormatOf(path), s.PackedTheme(), s.SmallDisplay(), s.ThemeName()));
        status_.Set(ok ? "Palette was exported successfully" : "A file error has occurred", !ok);
        out.Member("path", path);
    } else if (op == "exportName") {
        const std::string what = Text(r, "what");
        out.Member("name", what == "palette" ? s.ThemeName() + ".gpl"
                           : what == "all"   ? s.ExportFileName("all", true)
                           : what == "card"  ? s.ExportFileName("card", false)
                                             : s.ExportFileName(PageNames[s.Page()], true));
    } else if (op == "exportImage" || op == "exportAll" || op == "exportCard") {
        const std::string path = Text(r, "path");
        const Bitmap image = op == "exportAll"    ? s.AllPagesImage()
                             : op == "exportCard" ? RenderThemeCard(s.ThemeColors(), s.ThemeName(), s.Drawer().Clock())
                                                  : s.PageImage();
        s.NoteExport(path);
        const bool ok = WritePng(path, image);
        status_.Set(ok ? "Image was exported successfully" : "A file error has occurred", !ok);
    } else if (op == "draft") {
        const EditorSession::DraftAction due = s.DraftDue();
        out.Member("due", due == EditorSession::DraftAction::Write    ? "write"
                          : due == EditorSession::DraftAction::Remove ? "remove"
                                                                      : "later");
        if (due == EditorSession::DraftAction::Write)
            out.Member("text", DraftText(s.Draft()));
    } else if (op == "readDraft") {
        ThemeDraftContent draft;
        const bool ok = ReadDraftText(Text(r, "text"), draft);
        out.Member("ok", ok);
        if (ok)
            out.Member("name", ShownFileName(draft.fileName));
    } else if (op == "restoreDraft") {
        ThemeDraftContent draft;
        if (ReadDraftText(Text(r, "text"), draft))
            Apply(s.RestoreDraft(draft));
    } else if (op == "clock") {
        // The moment the pages show, fixed (as `lsthtool render --at` does).
        std::tm moment{};
        if (ParseMoment(Text(r, "at"), moment)) {
            s.Drawer().SetClock(FixedClock(moment));
            s.Redraw();
        }
    } else if (op == "warm") {
        // Fix All and Generate once on a copy, changing nothing: the browser
        // compiles WebAssembly functions when first called, and the user's
        // first Fix All or Generate should not wait for that.
        TThemeColorTable copy = s.ThemeColors();
        FixLegibility(copy, ContrastNeeds(), s.Document().LockedSlots(), nullptr);
        GenerateOptions options;
        options.seeds = {s.ThemeColors()[static_cast<std::size_t>(SlotIndex(SlotId::Main_AccentVW))]};
        GenerateTheme(options, s.ThemeColors(), {});
    } else if (op == "say") {
        // What the page itself has to say, in the same status line.
        status_.Set(Text(r, "text"), Flag(r, "failed"));
    } else if (op == "connection") {
        status_.SetConnection(Text(r, "text"), {});
    } else if (op == "override") {
        s.SetOverrideText(Text(r, "text"));
    } else if (op == "deviceFilters") {
        out.Key("filters").BeginArray();
        for (const lsproto::AcceptedDeviceId& id : lsproto::AcceptedDeviceIds())
            out.Begin().Member("vendorId", static_cast<int>(id.vendorId)).Member("productId", static_cast<int>(id.productId)).End();
        out.EndArray();
    } else if (op == "deviceAccepted") {
        out.Member("accepted", lsproto::IsAcceptedDevice(static_cast<std::uint16_t>(Number(r, "vendorId", 0)),
                                                         static_cast<std::uint16_t>(Number(r, "productId", 0))));
    } else if (op == "deviceAttach") {
        const int vendor = Number(r, "vendorId", 0), product = Number(r, "productId", 0);
        if (!lsproto::IsAcceptedDevice(static_cast<std::uint16_t>(vendor), static_cast<std::uint16_t>(product))) {
            out.Member("accepted", false);
            return;
        }
        out.Member("accepted", true);
        port_.attached = true;
        status_.SetConnection("Checking firmware...", {});
        DeviceIdentity identity;
        identity.instance = Text(r, "instance");
        identity.vendorId = static_cast<std::uint16_t>(vendor);
        identity.inputLength = static_cast<std::size_t>(std::max(0, Number(r, "inputLength", 0)));
        identity.outputLength = static_cast<std::size_t>(std::max(0, Number(r, "outputLength", 0)));
        s.Conversation().Attach(port_, identity);
    } else if (op == "firmwareCheck") {
        if (port_.attached)
            ApplyDevice(s.BeginFirmwareCheck());
    } else if (op == "deviceReport") {
        std::vector<std::uint8_t> payload;
        if (const JsonValue* bytes = r.Find("bytes"))
            for (const JsonValue& b : bytes->items)
                payload.push_back(static_cast<std::uint8_t>(b.number));
        if (port_.attached)
            ApplyDevice(s.OnDevice(s.Conversation().OnReport(payload.data(), payload.size())));
    } else if (op == "deviceDeadline") {
        if (port_.attached)
            ApplyDevice(s.OnDevice(s.Conversation().OnDeadline()));
    } else if (op == "deviceDetach") {
        port_.attached = false;
        const DeviceStep cut = s.Detach();
        status_.SetConnection("Disconnected", {});
        themeMenu_ = false;
        if (cut.status)
            status_.Set(*cut.status, true);
    } else if (op == "download") {
        if (themeMenu_)
            ApplyDevice(s.BeginDownload());
    } else if (op == "upload") {
        if (themeMenu_)
            ApplyDevice(s.BeginUpload());
    } else {
        out.Member("error", "unknown request '" + op + "'");
    }
}
