#pragma once
// The browser edition's editor: one EditorSession driven by requests in
// JSON from the page ({"op": "select", "slot": 3}), each answered with the
// view the page shows (caption, list, colour button, status line, menus)
// and whatever the operation adds. Files travel through the in-memory file
// system the page writes them into and reads them from, so a theme opened
// and saved here goes through the same readers and writers as on the
// desktop; pictures go out through Buffer().
//
// The device is driven as the desktop drives it: the page hands in the
// device's input reports and the deadlines that passed, and sends out the
// reports an answer lists ("send"), in order.

#include "DeviceConversation.h"
#include "EditorSession.h"
#include "PaletteFiles.h"
#include "StatusText.h"
#include "ThemeGenerator.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class JsonOut;
struct JsonValue;

class WebEditor {
public:
    WebEditor();

    // One request; the answer is valid until the next.
    const std::string& Handle(const std::string& request);
    // Pixels an answer produced (a frame, a generated preview), RGBA.
    const std::vector<std::uint8_t>& Buffer() const { return buffer_; }

    EditorSession& Session() { return session_; }

private:
    // The device as the conversation writes to it: reports gathered for the
    // page to send.
    class Port : public DevicePort {
    public:
        bool WriteReport(const std::uint8_t* report, std::size_t length, std::string* error) override;
        void DiscardInput() override {}
        std::vector<std::vector<std::uint8_t>> outbox;
        bool attached = false;
    };

    // One request of the page: it changes the editor and adds to the answer.
    using Request = void (*)(WebEditor&, const JsonValue&, JsonOut&);
    struct NamedRequest {
        const char* op;
        Request run;
    };
    static const std::vector<NamedRequest>& ViewRequests();
    static const std::vector<NamedRequest>& DesignRequests();
    static const std::vector<NamedRequest>& DeviceRequests();

    void Dispatch(const std::string& op, const JsonValue& request, JsonOut& out);
    void Apply(const DocumentOutcome& outcome);
    void ApplyDevice(const DeviceStep& step);
    void WriteView(JsonOut& out) const;
    void WriteFrame(std::optional<SlotId> hovered, bool blink);
    void WriteGenerated(int page);
    bool ReadGenerateOptions(const JsonValue& request, GenerateOptions& options, std::string& error) const;

    EditorSession session_;
    StatusText status_;
    bool themeMenu_ = false;
    Port port_;
    GeneratedTheme generated_;
    bool hasGenerated_ = false;
    std::optional<PaletteRead> pendingPalette_;
    std::string answer_;
    std::vector<std::uint8_t> buffer_;
    bool saveAsNeeded_ = false;
};
