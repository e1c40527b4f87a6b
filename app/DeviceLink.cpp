// The window's side of the device link: which device it talks to, the firmware
// check, and the theme download and upload.

#include "EditorState.h"
#include "Unit1.h"

#include <QComboBox>
#include <QTimer>

#include <algorithm>
#include <cstring>

THidDevice* CurrentDevice = nullptr;
lsproto::ReceiveState Transfer;
std::array<std::uint8_t, 44> DeviceThemeTail{};
std::string DeviceThemeTailInstance;

namespace {
const QString DeviceError = QStringLiteral("A device error has occurred");
}

void TfrmMain::CreateDeviceLink(std::shared_ptr<HidBackend> backend)
{
    DevCon = new THidDeviceController(backend ? std::move(backend) : CreateHidBackend(), this);
    DevCon->OnDeviceChange = [this](THidDeviceController& c) { DevConDeviceChange(c); };
    DevCon->OnEnumerate = [this](THidDevice& d, int i) { return DevConEnumerate(d, i); };
    DevCon->OnDeviceCreateError = [this](THidDeviceController& c, const THidPnPInfo& p, bool& h, bool& r) {
        DevConDeviceCreateError(c, p, h, r);
    };
    DevCon->SetOnDeviceData([this](THidDevice& d, std::uint8_t id, const std::uint8_t* data, std::uint16_t size) {
        DevConDeviceData(d, id, data, size);
    });
    connect(tmrDataflash, &QTimer::timeout, this, [this] { tmrDataflashTimer(); });
    tmrUploadCheck_ = new QTimer(this);
    tmrUploadCheck_->setSingleShot(true);
    tmrUploadCheck_->setInterval(2000);
    connect(tmrUploadCheck_, &QTimer::timeout, this, [this] {
        if (verifyingUpload_)
            UploadChecked(false);
    });
}

void TfrmMain::DevConDeviceChange(THidDeviceController& Sender)
{
    const bool uploading = verifyingUpload_;
    verifyingUpload_ = false;
    tmrUploadCheck_->stop();
    SetStatusText(QStringLiteral("Disconnected"));
    SetThemeMenuEnabled(false);
    CurrentDevice = nullptr;
    Sender.Enumerate();
    // The device went while its upload was unconfirmed: that upload failed.
    if (uploading && !CurrentDevice)
        SetStatusText(DeviceError);
}

bool TfrmMain::DevConEnumerate(THidDevice& HidDev, int)
{
    const THidAttributes& a = HidDev.Attributes();
    if (!lsproto::IsAcceptedDevice(a.VendorID, a.ProductID))
        return true;
    if (!HidDev.HasReadWriteAccess()) {
        // Without access the firmware check could never answer; say why instead
        // of showing "Checking firmware..." for ever.
        SetStatusText(HidDev.Access() == HidAccess::NoPermission ? QStringLiteral("No permission to open the device")
                                                                 : DeviceError);
        return true;
    }
    SetStatusText(QStringLiteral("Checking firmware..."));
    CurrentDevice = &HidDev;
    HidDev.Claim();
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
        SendCommand(lsproto::CmdDataflashRead, 0, lsproto::DataflashSize);
}

bool TfrmMain::WriteToDevice(const std::uint8_t* payload, std::size_t size)
{
    // The device says how long its output reports are; our report is ID 0 and a
    // 64-byte payload, zero-filled or cut to that length.
    const std::size_t length = CurrentDevice->Caps().OutputReportByteLength;
    const auto report = lsproto::BuildOutputReport(payload, size, length);
    std::size_t written = 0;
    return length > 0 && CurrentDevice->WriteReport(report.data(), length, written) && written == length;
}

bool TfrmMain::SendCommand(std::uint8_t code, std::uint32_t argument1, std::uint32_t argument2)
{
    if (!CurrentDevice)
        return false;
    const auto block = lsproto::BuildCommandBlock(code, argument1, argument2, CurrentDevice->Attributes().VendorID);
    std::uint8_t payload[lsproto::PayloadSize] = {};
    std::memcpy(payload, block.data(), block.size());
    // Whatever an earlier exchange left waiting is no part of this reply.
    CurrentDevice->DiscardPendingInput();
    if (!WriteToDevice(payload, sizeof payload)) {
        SetStatusText(DeviceError);
        return false;
    }
    Transfer.Start(code);
    return true;
}

void TfrmMain::DevConDeviceData(THidDevice&, std::uint8_t, const std::uint8_t* Data, std::uint16_t Size)
{
    switch (Transfer.Append(Data, Size)) {
    case lsproto::ReceiveState::Outcome::DataflashComplete:
        FirmwareCheck();
        break;
    case lsproto::ReceiveState::Outcome::ThemeComplete:
        if (verifyingUpload_)
            UploadChecked(std::equal(uploadedTheme_.begin(), uploadedTheme_.end(), Transfer.Buffer().begin()));
        else
            DownloadComplete();
        break;
    case lsproto::ReceiveState::Outcome::Oversized:
        // Not the reply: the theme, the firmware check and the menu stay as they were.
        verifyingUpload_ = false;
        tmrUploadCheck_->stop();
        SetStatusText(DeviceError);
        break;
    default:
        break;
    }
}

void TfrmMain::FirmwareCheck()
{
    const lsproto::FirmwareInfo info = lsproto::ReadFirmwareInfo(Transfer.Buffer().data());
    if (!lsproto::IsCompatible(info, OverrideText)) {
        SetStatusText(QStringLiteral("Incompatible firmware"));
        SetThemeMenuEnabled(false);
        return;
    }
    SetStatusText(QStringLiteral("Connected"));
    SetThemeMenuEnabled(true);
    if (lsproto::HasLargeDisplay(info))
        mniDispLargeClick();
    else
        mniDispSmallClick();
    if (!Modified)
        mniDownloadClick();
}

void TfrmMain::mniDownloadClick()
{
    if (!ConfirmContinue())
        return;
    verifyingUpload_ = false;
    tmrUploadCheck_->stop();
    SendCommand(lsproto::CmdThemeRead, 0, lsproto::ThemeBlockSize);
}

void TfrmMain::DownloadComplete()
{
    const auto& buffer = Transfer.Buffer();
    PackedThemeFromBytes(buffer.data(), PackedTheme);
    // Keep the device's own bytes 84..127, so an upload gives them back unchanged.
    std::copy(buffer.begin() + lsproto::PackedThemeSize, buffer.begin() + lsproto::ThemeBlockSize,
              DeviceThemeTail.begin());
    DeviceThemeTailInstance = CurrentDevice ? CurrentDevice->PnPInfo().DeviceInstance() : std::string();
    SetStatusText(QStringLiteral("Theme was downloaded successfully"));
    const ThemeState before = CurrentState();
    UnpackTheme(PackedTheme, ThemeColors);
    ThemeFileName.clear();
    Modified = true;
    RecordStep("Download", before);
    cmbLayout->setCurrentIndex(0);
    cmbLayoutClick();
}

void TfrmMain::mniUploadClick()
{
    if (!CurrentDevice) {
        SetThemeMenuEnabled(false);
        return;
    }
    if (!SendCommand(lsproto::CmdThemeWrite, 0, lsproto::ThemeBlockSize))
        return;
    PackTheme(ThemeColors, PackedTheme);
    auto& buffer = Transfer.Buffer();
    const auto bytes = PackedThemeBytes(PackedTheme);
    std::copy(bytes.begin(), bytes.end(), buffer.begin());
    if (DeviceThemeTailInstance == CurrentDevice->PnPInfo().DeviceInstance())
        std::copy(DeviceThemeTail.begin(), DeviceThemeTail.end(), buffer.begin() + lsproto::PackedThemeSize);
    if (!WriteToDevice(buffer.data(), lsproto::PayloadSize) ||
        !WriteToDevice(buffer.data() + lsproto::PayloadSize, lsproto::PayloadSize)) {
        SetStatusText(DeviceError);
        return;
    }
    // Only a device that gives the theme back has stored it.
    std::copy(buffer.begin(), buffer.begin() + lsproto::PackedThemeSize, uploadedTheme_.begin());
    if (!SendCommand(lsproto::CmdThemeRead, 0, lsproto::ThemeBlockSize))
        return;
    verifyingUpload_ = true;
    tmrUploadCheck_->start();
}

void TfrmMain::UploadChecked(bool stored)
{
    verifyingUpload_ = false;
    tmrUploadCheck_->stop();
    Transfer.Start(0);  // a late answer is dropped
    SetStatusText(stored ? QStringLiteral("Theme was uploaded successfully")
                         : QStringLiteral("The device did not store the theme"));
}
