#include "WebEditor.h"

#include "ColorText.h"
#include "JsonOut.h"
#include "JsonReader.h"
#include "PageImage.h"
#include "RequestArgs.h"
#include "SlotCatalogue.h"

#include <algorithm>
#include <cstdio>
#include <unordered_map>

using namespace request;

namespace {

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
    case DocumentOutcome::Refresh::None: break;
    case DocumentOutcome::Refresh::Preview: session_.Redraw(); break;
    case DocumentOutcome::Refresh::Page: session_.SetPage(0); [[fallthrough]];
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
        // Where the desktop names its settings file, the page names its own
        // settings.
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
    out.Key("status").Begin().Member("text", status_.Text()).Member("failed", status_.Failure());
    out.Member("tip", status_.Tip()).End();
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

void WebEditor::Dispatch(const std::string& op, const JsonValue& request, JsonOut& out)
{
    static const std::unordered_map<std::string, Request> requests = [] {
        std::unordered_map<std::string, Request> all;
        for (const auto* table : {&ViewRequests(), &DesignRequests(), &DeviceRequests()})
            for (const NamedRequest& r : *table)
                all.emplace(r.op, r.run);
        return all;
    }();
    const auto found = requests.find(op);
    if (found == requests.end()) {
        out.Member("error", "unknown request '" + op + "'");
        return;
    }
    found->second(*this, request, out);
}
