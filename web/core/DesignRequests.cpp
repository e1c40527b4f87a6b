// The requests of the designer's tools: Check Legibility and its fixes,
// Generate Theme, Compare With and Take, palettes, and the exported pictures.

#include "WebEditor.h"

#include "ColorText.h"
#include "FileIo.h"
#include "JsonOut.h"
#include "LegibilityFix.h"
#include "PaletteFiles.h"
#include "PictureSeeds.h"
#include "PngWriter.h"
#include "RequestArgs.h"
#include "SlotCatalogue.h"
#include "ThemeCard.h"

#include <algorithm>
#include <cstdio>

using namespace request;

namespace {

bool WritePng(const std::string& path, const Bitmap& image)
{
    const std::vector<std::uint8_t> png = EncodePng(image);
    return WriteFileAtomically(path, std::string(png.begin(), png.end()));
}

}  // namespace

const std::vector<WebEditor::NamedRequest>& WebEditor::DesignRequests()
{
    // An exported picture, written where the page asked, said in the status line.
    static const auto exportPicture = [](WebEditor& e, const JsonValue& r, const Bitmap& image) {
        const std::string path = Text(r, "path");
        e.session_.NoteExport(path);
        const bool ok = WritePng(path, image);
        e.status_.Set(ok ? "Image was exported successfully" : "A file error has occurred", !ok);
    };
    static const std::vector<NamedRequest> table = {
        {"legibility",
         [](WebEditor& e, const JsonValue&, JsonOut& out) {
             EditorSession& s = e.session_;
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
         }},
        {"fix",
         [](WebEditor& e, const JsonValue& r, JsonOut& out) {
             EditorSession& s = e.session_;
             e.Apply(s.FixLegibility(SlotOf(r, "fg"), SlotOf(r, "bg")));
             if (e.status_.Failure())
                 out.Member("reason", e.status_.Text());
         }},
        {"fixAll",
         [](WebEditor& e, const JsonValue&, JsonOut& out) {
             EditorSession& s = e.session_;
             e.Apply(s.FixLegibility(std::nullopt, std::nullopt));
             if (e.status_.Failure())
                 out.Member("reason", e.status_.Text());
         }},
        {"generate",
         [](WebEditor& e, const JsonValue& r, JsonOut& out) {
             EditorSession& s = e.session_;
             GenerateOptions options;
             std::string error;
             if (!e.ReadGenerateOptions(r, options, error)) {
                 out.Member("error", error);
                 return;
             }
             e.generated_ = GenerateTheme(options, s.ThemeColors(), s.Document().LockedSlots());
             e.hasGenerated_ = true;
             out.Key("problems").BeginArray();
             for (const UnmendablePair& u : e.generated_.unmendable)
                 out.Value(std::string(AnyListNameOf(0, false, u.fg)) + " on " + AnyListNameOf(0, false, u.bg) +
                           " cannot be mended: " + u.why);
             out.EndArray();
             e.WriteGenerated(std::clamp(Number(r, "page", s.Page()), 0, PageCount - 1));
         }},
        {"generatedPage",
         [](WebEditor& e, const JsonValue& r, JsonOut&) {
             EditorSession& s = e.session_;
             if (e.hasGenerated_)
                 e.WriteGenerated(std::clamp(Number(r, "page", s.Page()), 0, PageCount - 1));
         }},
        {"applyGenerated",
         [](WebEditor& e, const JsonValue&, JsonOut&) {
             EditorSession& s = e.session_;
             if (e.hasGenerated_)
                 e.Apply(s.ApplyGenerated(e.generated_.colors));
             e.hasGenerated_ = false;
         }},
        {"generateSeeds",
         [](WebEditor& e, const JsonValue&, JsonOut& out) {
             EditorSession& s = e.session_;
             // The hero, second and third of this theme, where the dialog starts.
             out.Key("seeds").BeginArray();
             for (const TColor seed : ThemeSeeds(s.ThemeColors()))
                 out.Value(ColorToHexText(seed));
             out.EndArray();
             out.Member("dark", HasDarkPages(s.ThemeColors()));
             out.Key("kept").BeginArray();
             for (const SlotId slot : s.Document().LockedSlots())
                 out.Value(s.AnyListName(slot));
             out.EndArray();
         }},
        {"pictureSeeds",
         [](WebEditor&, const JsonValue& r, JsonOut& out) {
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
         }},
        {"compare",
         [](WebEditor& e, const JsonValue& r, JsonOut& out) {
             EditorSession& s = e.session_;
             std::string error;
             if (!s.CompareWith(Text(r, "path"), error)) {
                 e.status_.Set(ShownFileName(Text(r, "path")) + " cannot be compared: " + error, true);
                 return;
             }
             out.Member("name", ShownFileName(s.ComparedFile()));
         }},
        {"differences",
         [](WebEditor& e, const JsonValue&, JsonOut& out) {
             EditorSession& s = e.session_;
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
         }},
        {"showCompared",
         [](WebEditor& e, const JsonValue& r, JsonOut&) {
             EditorSession& s = e.session_;
             s.ShowCompared(Flag(r, "shown"));
             s.Redraw();
         }},
        {"take",
         [](WebEditor& e, const JsonValue& r, JsonOut&) {
             EditorSession& s = e.session_;
             std::vector<SlotId> slots;
             if (const JsonValue* list = r.Find("slots"))
                 for (const JsonValue& v : list->items)
                     if (v.type == JsonValue::Type::Number && v.number >= 0 && v.number < ThemeSlotCount)
                         slots.push_back(static_cast<SlotId>(static_cast<int>(v.number)));
             e.Apply(s.Take(slots));
         }},
        {"takeAll",
         [](WebEditor& e, const JsonValue&, JsonOut&) {
             EditorSession& s = e.session_;
             e.Apply(s.TakeAll());
         }},
        {"readPalette",
         [](WebEditor& e, const JsonValue& r, JsonOut& out) {
             EditorSession& s = e.session_;
             e.pendingPalette_.reset();
             PaletteRead read;
             std::string error;
             if (!s.ReadPaletteToImport(Text(r, "path"), read, error)) {
                 e.status_.Set(error, true);
                 return;
             }
             // Said before anything changes, when colours name no slots.
             out.Member("question", s.PalettePlacement(read.byPlace));
             e.pendingPalette_ = read;
         }},
        {"importPalette",
         [](WebEditor& e, const JsonValue&, JsonOut&) {
             EditorSession& s = e.session_;
             if (e.pendingPalette_)
                 e.Apply(s.ImportPalette(e.pendingPalette_->words, e.pendingPalette_->given));
             e.pendingPalette_.reset();
         }},
        {"exportPalette",
         [](WebEditor& e, const JsonValue& r, JsonOut& out) {
             EditorSession& s = e.session_;
             std::string path = Text(r, "path");
             e.Apply(s.ExportPalette(path));
             out.Member("path", path);
         }},
        {"exportName",
         [](WebEditor& e, const JsonValue& r, JsonOut& out) {
             EditorSession& s = e.session_;
             const std::string what = Text(r, "what");
             out.Member("name",
                        what == "palette"    ? s.ThemeName() + ".gpl"
                            : what == "all"  ? s.ExportFileName("all", true)
                            : what == "card" ? s.ExportFileName("card", false)
                                             : s.ExportFileName(PageNames[s.Page()], true));
         }},
        {"warm",
         [](WebEditor& e, const JsonValue&, JsonOut&) {
             EditorSession& s = e.session_;
             // Fix All and Generate once on a copy, changing nothing: the browser
             // compiles WebAssembly functions when first called, and the user's
             // first Fix All or Generate should not wait for that.
             TThemeColorTable copy = s.ThemeColors();
             FixLegibility(copy, ContrastNeeds(), s.Document().LockedSlots(), nullptr);
             GenerateOptions options;
             options.seeds = {ThemeSeeds(s.ThemeColors())[0]};
             GenerateTheme(options, s.ThemeColors(), {});
         }},
        {"exportImage",
         [](WebEditor& e, const JsonValue& r, JsonOut&) { exportPicture(e, r, e.session_.PageImage()); }},
        {"exportAll",
         [](WebEditor& e, const JsonValue& r, JsonOut&) { exportPicture(e, r, e.session_.AllPagesImage()); }},
        {"exportCard",
         [](WebEditor& e, const JsonValue& r, JsonOut&) {
             const EditorSession& s = e.session_;
             exportPicture(e, r, RenderThemeCard(s.ThemeColors(), s.ThemeName(), s.Drawer().Clock()));
         }},
    };
    return table;
}
