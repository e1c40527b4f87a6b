// The rules of the device link: what a passed firmware check, a download
// and a failure mean for the editor, and the deadline of each reply awaited.

#include "EditorSession.h"

DeviceStep EditorSession::OnDevice(const DeviceConversation::Outcome& outcome)
{
    using Event = DeviceConversation::Event;
    DeviceStep step;
    switch (outcome.event) {
    case Event::None:
        break;
    case Event::Connected: {
        step.status = outcome.message;
        step.connectionStatus = true;
        step.themeMenu = true;
        // The device's display size, then its theme, where the editor holds
        // nothing that a download would lose and no file the user asked for
        // when starting it.
        step.document = SetSmallDisplay(!lsproto::HasLargeDisplay(conversation_.Firmware()));
        const bool keep = keepStartupFile_;
        keepStartupFile_ = false;
        if (!modified_ && !keep) {
            const DeviceStep download = BeginDownload();
            if (download.status) {
                step.status = download.status;
                step.failure = download.failure;
                step.connectionStatus = download.connectionStatus;
            }
            if (download.document.refresh != DocumentOutcome::Refresh::None)
                step.document = download.document;
        }
        break;
    }
    case Event::Incompatible:
        step.status = outcome.message;
        step.connectionStatus = true;
        step.themeMenu = false;
        // A small display is no fault of the firmware: say what would let it in.
        if (conversation_.Firmware().stamp >= lsproto::MinimumFirmwareStamp)
            step.tip = "A device with the 80x160 display, product code " + conversation_.Firmware().productCode +
                       ": add " + conversation_.Firmware().productCode +
                       " to the Override setting to use it with this editor.";
        break;
    case Event::Downloaded: {
        TPackedTheme packed{};
        PackedThemeFromBytes(conversation_.Block().data(), packed);
        step.document = Changed(document_.ApplyDownload(packed));
        break;
    }
    case Event::Uploaded:
        step.status = outcome.message;
        break;
    case Event::NotStored:
    case Event::DeviceError:
        step.status = outcome.message;
        step.failure = true;
        break;
    }
    return step;
}

DocumentOutcome EditorSession::OpenStartupFile()
{
    DocumentOutcome outcome = Open(startupFile_);
    keepStartupFile_ = !outcome.failed;
    return outcome;
}

DeviceStep EditorSession::BeginFirmwareCheck() { return OnDevice(conversation_.BeginFirmwareCheck(overrideText_)); }

DeviceStep EditorSession::BeginDownload() { return OnDevice(conversation_.BeginDownload()); }

DeviceStep EditorSession::BeginUpload()
{
    PackTheme(themeColors_, packedTheme_);
    return OnDevice(conversation_.BeginUpload(PackedThemeBytes(packedTheme_)));
}

DeviceStep EditorSession::Detach()
{
    const DeviceConversation::Outcome cut = conversation_.Detach();
    DeviceStep step;
    // The device went while a transfer was under way: that transfer failed.
    if (cut.event == DeviceConversation::Event::DeviceError) {
        step.status = cut.message;
        step.failure = true;
    }
    return step;
}

EditorSession::Deadline EditorSession::NextDeadline(bool timerRunning)
{
    // Each reply awaited has its own deadline; none while nothing is awaited.
    Deadline deadline;
    deadline.ms = conversation_.DeadlineMs();
    if (deadline.ms && (conversation_.Exchange() != timedExchange_ || !timerRunning)) {
        timedExchange_ = conversation_.Exchange();
        deadline.restart = true;
    }
    return deadline;
}
