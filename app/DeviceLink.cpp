// The window's side of the device link: which device it talks to, and the
// wiring between the controller, the timers and the session's conversation.

#include "ClaimedDevice.h"
#include "SettingsFile.h"
#include "StatusLine.h"
#include "Unit1.h"
#include "WindowWiring.h"

#include <QCoreApplication>
#include <QDir>
#include <QMenu>
#include <QTimer>

void CreateDeviceLink(TfrmMain& form, std::shared_ptr<HidBackend> backend)
{
    if (!backend) {
        // Simulator settings that cannot be used are said once; the editor
        // then runs with no device rather than with a misleading one.
        std::string error;
        backend = CreateHidBackend(&error);
        if (!backend) {
            backend = CreateEmptyHidBackend();
            form.status->Set(QString::fromStdString(error), true);
            form.status->HoldForStartup(true);
        }
    }
    form.DevCon = new THidDeviceController(std::move(backend), &form);
    form.claimed = std::make_unique<ClaimedDevice>();
    form.DevCon->OnDeviceChange = [&form](THidDeviceController& c) { form.DevConDeviceChange(c); };
    form.DevCon->OnEnumerate = [&form](THidDevice& d, int i) { return form.DevConEnumerate(d, i); };
    form.DevCon->OnDeviceCreateError = [&form](THidDeviceController& c, const THidPnPInfo& p, bool& h, bool& r) {
        form.DevConDeviceCreateError(c, p, h, r);
    };
    form.DevCon->SetOnDeviceData([&form](THidDevice& d, std::uint8_t id, const std::uint8_t* data, std::uint16_t size) {
        form.DevConDeviceData(d, id, data, size);
    });
    QObject::connect(form.tmrDataflash, &QTimer::timeout, &form, [&form] { form.tmrDataflashTimer(); });
    QObject::connect(form.tmrReply, &QTimer::timeout, &form, [&form] {
        form.ApplyDeviceStep(form.Session().OnDevice(form.Session().Conversation().OnDeadline()));
    });
}

void EnableThemeMenu(TfrmMain& form, bool enabled)
{
    // A disabled QMenu leaves its actions' shortcuts live; disable them as well.
    form.mniTheme->setEnabled(enabled);
    form.mniDownload->setEnabled(enabled);
    form.mniUpload->setEnabled(enabled);
}

void TfrmMain::DevConDeviceChange(THidDeviceController& Sender)
{
    const DeviceStep cut = session_->Detach();
    tmrReply->stop();
    // The start-up scan does not hide what opening the start-up file said.
    status->SetConnection(QStringLiteral("Disconnected"));
    EnableThemeMenu(*this, false);
    claimed->device = nullptr;
    Sender.Enumerate();
    status->HoldForStartup(false);
    ++deviceScans;
    // The device went while a transfer was under way: that transfer failed.
    if (cut.status && !claimed->device)
        status->Set(QString::fromStdString(*cut.status), true);
}

bool TfrmMain::DevConEnumerate(THidDevice& HidDev, int)
{
    const THidAttributes& a = HidDev.Attributes();
    if (!lsproto::IsAcceptedDevice(a.VendorID, a.ProductID))
        return true;
    status->HoldForStartup(false);
    if (!HidDev.HasReadWriteAccess()) {
        // Without access the firmware check could never answer; say why instead
        // of showing "Checking firmware..." for ever.
        status->SetConnection(HidDev.Access() == HidAccess::NoPermission ? QStringLiteral("No permission to open the device")
                                                                        : QStringLiteral("A device error has occurred"));
        return true;
    }
    status->SetConnection(QStringLiteral("Checking firmware..."));
    claimed->device = &HidDev;
    HidDev.Claim();
    const THidCaps& caps = HidDev.Caps();
    session_->Conversation().Attach(*claimed, {HidDev.PnPInfo().DeviceInstance(), a.VendorID,
                                            caps.InputReportByteLength, caps.OutputReportByteLength});
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
    if (claimed->device)
        ApplyDeviceStep(session_->BeginFirmwareCheck());
}

void TfrmMain::DevConDeviceData(THidDevice&, std::uint8_t, const std::uint8_t* Data, std::uint16_t Size)
{
    ApplyDeviceStep(session_->OnDevice(session_->Conversation().OnReport(Data, Size)));
}

void TfrmMain::ApplyDeviceStep(const DeviceStep& step)
{
    const EditorSession::Deadline deadline = session_->NextDeadline(tmrReply->isActive());
    if (!deadline.ms)
        tmrReply->stop();
    else if (deadline.restart)
        tmrReply->start(*deadline.ms);
    if (step.themeMenu)
        EnableThemeMenu(*this, *step.themeMenu);
    if (step.status && step.connectionStatus) {
        QString tip = QString::fromStdString(step.tip);
        if (!tip.isEmpty())
            tip += QStringLiteral("\n") + QDir::toNativeSeparators(QString::fromStdString(SettingsPathForExecutable(
                                                  QCoreApplication::applicationFilePath().toStdString())));
        status->SetConnection(QString::fromStdString(*step.status), tip);
    }
    ApplyOutcome(step.document);
    if (step.status && !step.connectionStatus)
        status->Set(QString::fromStdString(*step.status), step.failure);
}

void TfrmMain::mniDownloadClick()
{
    if (!ConfirmContinue())
        return;
    ApplyDeviceStep(session_->BeginDownload());
}

void TfrmMain::mniUploadClick()
{
    if (!claimed->device) {
        EnableThemeMenu(*this, false);
        return;
    }
    ApplyDeviceStep(session_->BeginUpload());
}
