// The requests of the device link: which devices are ours, a device
// attached and gone, its reports and deadlines, download and upload.

#include "WebEditor.h"

#include "JsonOut.h"
#include "RequestArgs.h"

#include <algorithm>

using namespace request;

const std::vector<WebEditor::NamedRequest>& WebEditor::DeviceRequests()
{
    static const std::vector<NamedRequest> table = {
        {"deviceFilters",
         [](WebEditor&, const JsonValue&, JsonOut& out) {
             out.Key("filters").BeginArray();
             for (const lsproto::AcceptedDeviceId& id : lsproto::AcceptedDeviceIds())
                 out.Begin()
                     .Member("vendorId", static_cast<int>(id.vendorId))
                     .Member("productId", static_cast<int>(id.productId))
                     .End();
             out.EndArray();
         }},
        {"deviceAccepted",
         [](WebEditor&, const JsonValue& r, JsonOut& out) {
             out.Member("accepted",
                        lsproto::IsAcceptedDevice(static_cast<std::uint16_t>(Number(r, "vendorId", 0)),
                                                  static_cast<std::uint16_t>(Number(r, "productId", 0))));
         }},
        {"deviceAttach",
         [](WebEditor& e, const JsonValue& r, JsonOut& out) {
             EditorSession& s = e.session_;
             const int vendor = Number(r, "vendorId", 0), product = Number(r, "productId", 0);
             if (!lsproto::IsAcceptedDevice(static_cast<std::uint16_t>(vendor), static_cast<std::uint16_t>(product))) {
                 out.Member("accepted", false);
                 return;
             }
             out.Member("accepted", true);
             e.port_.attached = true;
             e.status_.SetConnection("Checking firmware...", {});
             DeviceIdentity identity;
             identity.instance = Text(r, "instance");
             identity.vendorId = static_cast<std::uint16_t>(vendor);
             identity.inputLength = static_cast<std::size_t>(std::max(0, Number(r, "inputLength", 0)));
             identity.outputLength = static_cast<std::size_t>(std::max(0, Number(r, "outputLength", 0)));
             s.Conversation().Attach(e.port_, identity);
         }},
        {"firmwareCheck",
         [](WebEditor& e, const JsonValue&, JsonOut&) {
             EditorSession& s = e.session_;
             if (e.port_.attached)
                 e.ApplyDevice(s.BeginFirmwareCheck());
         }},
        {"deviceReport",
         [](WebEditor& e, const JsonValue& r, JsonOut&) {
             EditorSession& s = e.session_;
             std::vector<std::uint8_t> payload;
             if (const JsonValue* bytes = r.Find("bytes"))
                 for (const JsonValue& b : bytes->items)
                     payload.push_back(static_cast<std::uint8_t>(b.number));
             if (e.port_.attached)
                 e.ApplyDevice(s.OnDevice(s.Conversation().OnReport(payload.data(), payload.size())));
         }},
        {"deviceDeadline",
         [](WebEditor& e, const JsonValue&, JsonOut&) {
             EditorSession& s = e.session_;
             if (e.port_.attached)
                 e.ApplyDevice(s.OnDevice(s.Conversation().OnDeadline()));
         }},
        {"deviceDetach",
         [](WebEditor& e, const JsonValue&, JsonOut&) {
             EditorSession& s = e.session_;
             e.port_.attached = false;
             const DeviceStep cut = s.Detach();
             e.status_.SetConnection("Disconnected", {});
             e.themeMenu_ = false;
             if (cut.status)
                 e.status_.Set(*cut.status, true);
         }},
        {"download",
         [](WebEditor& e, const JsonValue&, JsonOut&) {
             EditorSession& s = e.session_;
             if (e.themeMenu_)
                 e.ApplyDevice(s.BeginDownload());
         }},
        {"upload",
         [](WebEditor& e, const JsonValue&, JsonOut&) {
             EditorSession& s = e.session_;
             if (e.themeMenu_)
                 e.ApplyDevice(s.BeginUpload());
         }},
    };
    return table;
}
