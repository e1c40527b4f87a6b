// The requests of what the page shows and the document: pages, display
// size, selection, the pointer, colours tried and chosen, clipboard, locks,
// undo, files, zoom, vision, drafts and settings.

#include "WebEditor.h"

#include "JsonOut.h"
#include "RequestArgs.h"
#include "ThemeDraft.h"

using namespace request;

namespace {

// The page's list again, as after choosing a page.
DocumentOutcome ListAgain()
{
    DocumentOutcome list;
    list.refresh = DocumentOutcome::Refresh::List;
    return list;
}

}  // namespace

const std::vector<WebEditor::NamedRequest>& WebEditor::ViewRequests()
{
    static const std::vector<NamedRequest> table = {
        {"view",
         [](WebEditor&, const JsonValue&, JsonOut&) {
             // nothing changes: the view alone
         }},
        {"frame",
         [](WebEditor& e, const JsonValue& r, JsonOut&) { e.WriteFrame(SlotOf(r, "hovered"), Flag(r, "blink")); }},
        {"page",
         [](WebEditor& e, const JsonValue& r, JsonOut&) {
             EditorSession& s = e.session_;
             s.SetPage(Number(r, "page", s.Page()));
             e.Apply(ListAgain());
         }},
        {"display",
         [](WebEditor& e, const JsonValue& r, JsonOut&) {
             EditorSession& s = e.session_;
             // The outcome is the list again, at the new size.
             e.Apply(s.SetSmallDisplay(Flag(r, "small")));
         }},
        {"select",
         [](WebEditor& e, const JsonValue& r, JsonOut&) {
             EditorSession& s = e.session_;
             s.SelectSlot(SlotOf(r, "slot"));
         }},
        {"pick",
         [](WebEditor& e, const JsonValue& r, JsonOut&) {
             EditorSession& s = e.session_;
             if (const auto pick = s.PickAt(Number(r, "x", -1), Number(r, "y", -1)))
                 s.SelectSlot(pick->slot);
         }},
        {"hover",
         [](WebEditor& e, const JsonValue& r, JsonOut& out) {
             EditorSession& s = e.session_;
             const int x = Number(r, "x", -1), y = Number(r, "y", -1);
             out.Member("tip", s.HoverTip(x, y));
             const std::optional<SlotId> shown = s.SlotShownAt(x, y);
             out.Member("hovered", shown ? static_cast<int>(*shown) : -1);
         }},
        {"try",
         [](WebEditor& e, const JsonValue& r, JsonOut&) {
             EditorSession& s = e.session_;
             if (const auto color = ColorOf(r, "color"))
                 s.TryColor(*color);
             s.Redraw();
         }},
        {"endTrial",
         [](WebEditor& e, const JsonValue&, JsonOut&) {
             EditorSession& s = e.session_;
             s.EndTrial();
             s.Redraw();
         }},
        {"setColor",
         [](WebEditor& e, const JsonValue& r, JsonOut&) {
             EditorSession& s = e.session_;
             const auto color = ColorOf(r, "color");
             s.EndTrial();
             if (color)
                 e.Apply(s.SetSelectedColor(*color));
             else
                 s.Redraw();
         }},
        {"copy",
         [](WebEditor& e, const JsonValue&, JsonOut& out) {
             EditorSession& s = e.session_;
             out.Member("text", s.CopyColor());
         }},
        {"paste",
         [](WebEditor& e, const JsonValue& r, JsonOut&) {
             EditorSession& s = e.session_;
             e.Apply(s.PasteColor(Text(r, "text")));
         }},
        {"lock",
         [](WebEditor& e, const JsonValue& r, JsonOut&) {
             EditorSession& s = e.session_;
             e.Apply(s.SetSelectedLocked(Flag(r, "locked")));
         }},
        {"undo",
         [](WebEditor& e, const JsonValue&, JsonOut&) {
             EditorSession& s = e.session_;
             e.Apply(s.Undo());
         }},
        {"redo",
         [](WebEditor& e, const JsonValue&, JsonOut&) {
             EditorSession& s = e.session_;
             e.Apply(s.Redo());
         }},
        {"new",
         [](WebEditor& e, const JsonValue&, JsonOut&) {
             EditorSession& s = e.session_;
             e.Apply(s.New());
         }},
        {"open",
         [](WebEditor& e, const JsonValue& r, JsonOut&) {
             EditorSession& s = e.session_;
             e.Apply(s.Open(Text(r, "path")));
         }},
        {"save",
         [](WebEditor& e, const JsonValue&, JsonOut& out) {
             EditorSession& s = e.session_;
             e.Apply(s.Save([] { return true; }));
             out.Member("path", s.ThemeFileName());
         }},
        {"saveAs",
         [](WebEditor& e, const JsonValue& r, JsonOut& out) {
             EditorSession& s = e.session_;
             e.Apply(s.SaveAs(Text(r, "path")));
             out.Member("path", s.ThemeFileName());
         }},
        {"zoom",
         [](WebEditor& e, const JsonValue& r, JsonOut&) {
             EditorSession& s = e.session_;
             s.RestoreZoom(Number(r, "zoom", s.Zoom()));
         }},
        {"vision",
         [](WebEditor& e, const JsonValue& r, JsonOut&) {
             EditorSession& s = e.session_;
             ColorVision vision = ColorVision::Normal;
             if (ParseColorVision(Text(r, "vision"), vision))
                 s.SetVision(vision);
         }},
        {"draft",
         [](WebEditor& e, const JsonValue&, JsonOut& out) {
             EditorSession& s = e.session_;
             const EditorSession::DraftAction due = s.DraftDue();
             out.Member("due",
                        due == EditorSession::DraftAction::Write        ? "write"
                            : due == EditorSession::DraftAction::Remove ? "remove"
                                                                        : "later");
             if (due == EditorSession::DraftAction::Write)
                 out.Member("text", DraftText(s.Draft()));
         }},
        {"readDraft",
         [](WebEditor&, const JsonValue& r, JsonOut& out) {
             ThemeDraftContent draft;
             const bool ok = ReadDraftText(Text(r, "text"), draft);
             out.Member("ok", ok);
             if (ok)
                 out.Member("name", ShownFileName(draft.fileName));
         }},
        {"restoreDraft",
         [](WebEditor& e, const JsonValue& r, JsonOut&) {
             EditorSession& s = e.session_;
             ThemeDraftContent draft;
             if (ReadDraftText(Text(r, "text"), draft))
                 e.Apply(s.RestoreDraft(draft));
         }},
        {"clock",
         [](WebEditor& e, const JsonValue& r, JsonOut&) {
             EditorSession& s = e.session_;
             // The moment the pages show, fixed (as `lsthtool render --at` does).
             std::tm moment{};
             if (ParseMoment(Text(r, "at"), moment)) {
                 s.Drawer().SetClock(FixedClock(moment));
                 s.Redraw();
             }
         }},
        {"say",
         [](WebEditor& e, const JsonValue& r, JsonOut&) {
             // What the page itself has to say, in the same status line.
             e.status_.Set(Text(r, "text"), Flag(r, "failed"));
         }},
        {"connection",
         [](WebEditor& e, const JsonValue& r, JsonOut&) { e.status_.SetConnection(Text(r, "text"), {}); }},
        {"override",
         [](WebEditor& e, const JsonValue& r, JsonOut&) {
             EditorSession& s = e.session_;
             s.SetOverrideText(Text(r, "text"));
         }},
    };
    return table;
}
