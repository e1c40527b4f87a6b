// The window's side of the device link: which device it talks to, and the
// wiring between the controller, the timers and the device conversation.

#include "EditorState.h"
#include "Unit1.h"

#include <QTimer>

THidDevice* CurrentDevice = nullptr;

namespace {

// The conversation's way to the device the window has claimed.
class CurrentDevicePort : public DevicePort {
public:
    bool WriteReport(const std::uint8_t* report, std::size_t length, std::string* error) override
    {
        std::size_t written = 0;
        return CurrentDevice && CurrentDevice->WriteReport(report, length, written, error) && written == length;
    }
    void DiscardInput() override
    {
        if (CurrentDevice)
            CurrentDevice->DiscardPendingInput();
    }
};

CurrentDevicePort ThePort;

}  // namespace

void TfrmMain::CreateDeviceLink(std::shared_ptr<HidBackend> backend)
{
    if (!backend) {
        // Simulator settings that cannot be used are said once; the editor
        // then runs with no device rather than with a misleading one.
        std::string error;
        backend = CreateHidBackend(&error);
        if (!backend) {
            backend = CreateEmptyHidBackend();
            SetStatusText(QString::fromStdString(error), true);
            holdStartupStatus_ = true;
        }
    }
    DevCon = new THidDeviceController(std::move(backend), this);
    DevCon->OnDeviceChange = [this](THidDeviceController& c) { DevConDeviceChange(c); };
    DevCon->OnEnumerate = [this](THidDevice& d, int i) { return DevConEnumerate(d, i); };
    DevCon->OnDeviceCreateError = [this](THidDeviceController& c, const THidPnPInfo& p, bool& h, bool& r) {
        DevConDeviceCreateError(c, p, h, r);
    };
    DevCon->SetOnDeviceData([this](THidDevice& d, std::uint8_t id, const std::uint8_t* data, std::uint16_t size) {
        DevConDeviceData(d, id, data, size);
    });
    connect(tmrDataflash, &QTimer::timeout, this, [this] { tmrDataflashTimer(); });
    tmrReply_ = new QTimer(this);
    tmrReply_->setSingleShot(true);
    connect(tmrReply_, &QTimer::timeout, this, [this] { ApplyDeviceOutcome(conversation_.OnDeadline()); });
}

void TfrmMain::SetDeviceStatus(const QString& text)
{
    connectionStatus_ = text;
    SetStatusText(text);
}

void TfrmMain::DevConDeviceChange(THidDeviceController& Sender)
{
    const DeviceConversation::Outcome cut = conversation_.Detach();
    tmrReply_->stop();
    // The start-up scan does not hide what opening the start-up file said.
    if (holdStartupStatus_)
        connectionStatus_ = QStringLiteral("Disconnected");
    else
        SetDeviceStatus(QStringLiteral("Disconnected"));
    SetThemeMenuEnabled(false);
    CurrentDevice = nullptr;
    Sender.Enumerate();
    holdStartupStatus_ = false;
    ++deviceScans_;
    // The device went while a transfer was under way: that transfer failed.
    if (cut.event == DeviceConversation::Event::DeviceError && !CurrentDevice)
        SetStatusText(QString::fromStdString(cut.message), true);
}

bool TfrmMain::DevConEnumerate(THidDevice& HidDev, int)
{
    const THidAttributes& a = HidDev.Attributes();
    if (!lsproto::IsAcceptedDevice(a.VendorID, a.ProductID))
        return true;
    holdStartupStatus_ = false;
    if (!HidDev.HasReadWriteAccess()) {
        // Without access the firmware check could never answer; say why instead
        // of showing "Checking firmware..." for ever.
        SetDeviceStatus(HidDev.Access() == HidAccess::NoPermission ? QStringLiteral("No permission to open the device")
                                                                   : QStringLiteral("A device error has occurred"));
        return true;
    }
    SetDeviceStatus(QStringLiteral("Checking firmware..."));
    CurrentDevice = &HidDev;
    HidDev.Claim();
    const THidCaps& caps = HidDev.Caps();
    conversation_.Attach(ThePort, {HidDev.PnPInfo().DeviceInstance(), a.VendorID, caps.InputReportByteLength,
                                   caps.OutputReportByteLength});
    // Enabling a running timer does not restart it: the 500 ms count from the first.
    if (!tmrDataflash->isActive())
        tmrDataflash->start();
    return true;
}

void TfrmMain::DevConDeviceCreateError(THidDeviceController&, const THidPnPInfo&, bool& Handled, bool& RetryCreate)
{
    Handled = true;
    RetryCreate = false;
}

void TfrmMain::tmrDataflashTimer()
{
    tmrDataflash->stop();
    if (CurrentDevice)
        ApplyDeviceOutcome(conversation_.BeginFirmwareCheck(OverrideText));
}

void TfrmMain::DevConDeviceData(THidDevice&, std::uint8_t, const std::uint8_t* Data, std::uint16_t Size)
{
    ApplyDeviceOutcome(conversation_.OnReport(Data, Size));
}

void TfrmMain::ApplyDeviceOutcome(const DeviceConversation::Outcome& outcome)
{
    // Each reply awaited has its own deadline; none while nothing is awaited.
    if (!conversation_.DeadlineMs())
        tmrReply_->stop();
    else if (conversation_.Exchange() != timedExchange_ || !tmrReply_->isActive()) {
        timedExchange_ = conversation_.Exchange();
        tmrReply_->start(*conversation_.DeadlineMs());
    }
    using Event = DeviceConversation::Event;
    const QString message = QString::fromStdString(outcome.message);
    switch (outcome.event) {
    case Event::None:
        break;
    case Event::Connected:
        SetDeviceStatus(message);
        SetThemeMenuEnabled(true);
        if (lsproto::HasLargeDisplay(conversation_.Firmware()))
            mniDispLargeClick();
        else
            mniDispSmallClick();
        if (!Modified)
            mniDownloadClick();
        break;
    case Event::Incompatible:
        SetDeviceStatus(message);
        SetThemeMenuEnabled(false);
        break;
    case Event::Downloaded: {
        TPackedTheme packed{};
        PackedThemeFromBytes(conversation_.Block().data(), packed);
        ApplyOutcome(document_->ApplyDownload(packed));
        break;
    }
    case Event::Uploaded:
        SetStatusText(message);
        break;
    case Event::NotStored:
    case Event::DeviceError:
        SetStatusText(message, true);
        break;
    }
}

void TfrmMain::mniDownloadClick()
{
    if (!ConfirmContinue())
        return;
    ApplyDeviceOutcome(conversation_.BeginDownload());
}

void TfrmMain::mniUploadClick()
{
    if (!CurrentDevice) {
        SetThemeMenuEnabled(false);
        return;
    }
    PackTheme(ThemeColors, PackedTheme);
    ApplyDeviceOutcome(conversation_.BeginUpload(PackedThemeBytes(PackedTheme)));
}
