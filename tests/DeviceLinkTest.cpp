// The window and the simulated device, end to end: connection states, the
// firmware check, download, upload and the faults a real device can show.

#include "LarkspurApplication.h"
#include "ScriptedDialogs.h"
#include "SimulatedHidBackend.h"
#include "CompareWindow.h"
#include "PreviewPanel.h"
#include "StatusLine.h"
#include "ThemeExchange.h"
#include "ClaimedDevice.h"
#include "Unit1.h"

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QListWidget>
#include <QMenu>
#include <QTest>
#include <QTimer>

namespace {

struct Rig {
    std::shared_ptr<SimulatedHidBackend> sim;
    ScriptedDialogs* dialogs = nullptr;
    std::unique_ptr<TfrmMain> form;

    explicit Rig(SimulatorModel model, bool plugged = true, bool startModified = false)
    {
        sim = std::make_shared<SimulatedHidBackend>(model, "", plugged);
        auto owned = std::make_unique<ScriptedDialogs>();
        owned->confirmResult = true;
        dialogs = owned.get();
        form = std::make_unique<TfrmMain>(std::move(owned), sim);
        form->show();
        if (startModified)
            form->btnColorClick();
    }
    QString Status() const { return form->status->Text(); }
    bool WaitStatus(const QString& text, int ms = 3000)
    {
        QElapsedTimer t;
        t.start();
        while (Status() != text && t.elapsed() < ms)
            QTest::qWait(5);
        return Status() == text;
    }
};

TThemeColorTable FactoryColors()
{
    const auto block = SimulatedHidBackend::FactoryThemeBlock();
    TPackedTheme packed{};
    PackedThemeFromBytes(block.data(), packed);
    TThemeColorTable colors{};
    UnpackTheme(packed, colors);
    return colors;
}

}  // namespace

class DeviceLinkTest : public QObject {
    Q_OBJECT

private slots:
    void connectsChecksAndDownloads()
    {
        Rig rig(SimulatorModel::Large);
        QCOMPARE(rig.Status(), QStringLiteral("Disconnected"));
        QVERIFY(rig.WaitStatus(QStringLiteral("Checking firmware..."), 400));
        QVERIFY(!rig.form->mniTheme->isEnabled());
        QVERIFY(rig.WaitStatus(QStringLiteral("Theme was downloaded successfully")));
        QVERIFY(rig.form->mniTheme->isEnabled());
        QVERIFY(rig.form->mniDownload->isEnabled());
        QCOMPARE(rig.form->windowTitle(), QStringLiteral("Larkspur Theme Editor - Untitled *"));
        QCOMPARE(rig.form->cmbLayout->currentIndex(), 0);
        QVERIFY(!rig.form->Session().SmallDisplay());
        QCOMPARE(rig.form->Session().ThemeColors(), FactoryColors());
        QVERIFY(rig.form->Session().Modified());
        QVERIFY(rig.form->Session().ThemeFileName().empty());
    }

    void unsavedChangesAreNotOverwritten()
    {
        Rig rig(SimulatorModel::Large, true, true);
        const TThemeColorTable mine = rig.form->Session().ThemeColors();
        QVERIFY(rig.WaitStatus(QStringLiteral("Connected")));
        QTest::qWait(100);
        QCOMPARE(rig.Status(), QStringLiteral("Connected"));
        QCOMPARE(rig.form->Session().ThemeColors(), mine);
        // F5 asks first; No keeps the theme.
        QVERIFY(QTest::qWaitForWindowActive(rig.form.get()));
        rig.dialogs->confirmResult = false;
        QTest::keyClick(rig.form.get(), Qt::Key_F5);
        QCOMPARE(rig.dialogs->confirmCalls, 1);
        QTest::qWait(50);
        QCOMPARE(rig.form->Session().ThemeColors(), mine);
        rig.dialogs->confirmResult = true;
        QTest::keyClick(rig.form.get(), Qt::Key_F5);
        QVERIFY(rig.WaitStatus(QStringLiteral("Theme was downloaded successfully")));
        QCOMPARE(rig.form->Session().ThemeColors(), FactoryColors());
    }

    void firmwareDecisions()
    {
        {
            Rig rig(SimulatorModel::Old);
            QVERIFY(rig.WaitStatus(QStringLiteral("Incompatible firmware")));
            QVERIFY(!rig.form->mniTheme->isEnabled());
        }
        {
            Rig rig(SimulatorModel::Small);
            QVERIFY(rig.WaitStatus(QStringLiteral("Incompatible firmware")));
            QVERIFY(!rig.form->Session().SmallDisplay());
        }
        {
            Rig rig(SimulatorModel::Small);
            rig.form->Session().SetOverrideText("LSX1 SIMS");
            QVERIFY(rig.WaitStatus(QStringLiteral("Theme was downloaded successfully")));
            QVERIFY(rig.form->Session().SmallDisplay());
            QVERIFY(rig.form->mniDispSmall->isChecked());
            QCOMPARE(rig.form->lstColors->count(), 13);
        }
    }

    void unplugAndReplug()
    {
        Rig rig(SimulatorModel::Large);
        QVERIFY(rig.WaitStatus(QStringLiteral("Theme was downloaded successfully")));
        rig.sim->Unplug();
        QVERIFY(rig.WaitStatus(QStringLiteral("Disconnected")));
        QVERIFY(!rig.form->mniTheme->isEnabled());
        QVERIFY(rig.form->claimed->device == nullptr);
        // Upload without a device only disables the menu.
        rig.form->mniUploadClick();
        QCOMPARE(rig.Status(), QStringLiteral("Disconnected"));
        // Back again: the theme is modified now, so it connects without downloading.
        rig.sim->Plug();
        QVERIFY(rig.WaitStatus(QStringLiteral("Connected")));
        QVERIFY(rig.form->mniTheme->isEnabled());
    }

    void uploadThenDownloadKeepsTheDevicesOwnBytes()
    {
        Rig rig(SimulatorModel::Large);
        QVERIFY(rig.WaitStatus(QStringLiteral("Theme was downloaded successfully")));
        rig.form->lstColors->setCurrentRow(3);
        rig.form->btnColorClick();
        const TThemeColorTable edited = rig.form->Session().ThemeColors();
        rig.form->mniUploadClick();
        // Said only once the device gave the theme back, which changed nothing here.
        QVERIFY(rig.WaitStatus(QStringLiteral("Theme was uploaded successfully")));
        QCOMPARE(rig.form->Session().ThemeColors(), edited);
        QCOMPARE(rig.form->windowTitle(), QStringLiteral("Larkspur Theme Editor - Untitled *"));
        const auto block = rig.sim->ThemeBlock();
        TPackedTheme packed{};
        PackTheme(edited, packed);
        const auto words = PackedThemeBytes(packed);
        QVERIFY(std::equal(words.begin(), words.end(), block.begin()));
        for (std::size_t k = 84; k < 128; ++k)
            QCOMPARE(int(block[k]), int(k));
        QVERIFY(rig.form->Session().Modified());
        // Reading it back gives the uploaded words.
        rig.form->Session().Reset();
        rig.form->mniDownloadClick();
        QVERIFY(rig.WaitStatus(QStringLiteral("Theme was downloaded successfully")));
        QCOMPARE(rig.form->Session().ThemeColors(), edited);
    }

    void uploadBeforeAnyThemeReadKeepsTheDevicesOwnBytes()
    {
        // Modified before the device came, so nothing was downloaded: the
        // upload reads the device's block first and gives its bytes back.
        Rig rig(SimulatorModel::Large, true, true);
        QVERIFY(rig.WaitStatus(QStringLiteral("Connected")));
        rig.form->mniUploadClick();
        QVERIFY(rig.WaitStatus(QStringLiteral("Theme was uploaded successfully")));
        const auto block = rig.sim->ThemeBlock();
        for (std::size_t k = 84; k < 128; ++k)
            QCOMPARE(int(block[k]), int(k));

        // A device that takes the write and stores nothing, or never answers the read-back.
        for (const auto& fault : {std::function<void()>([&] { rig.sim->SetForgetWrites(true); }),
                                  std::function<void()>([&] { rig.sim->SetForgetWrites(false); rig.sim->SetSilent(true); })}) {
            rig.form->lstColors->setCurrentRow(2);
            rig.form->btnColorClick();
            rig.dialogs->pickColor ^= 0x00F0F0F0u;
            fault();
            rig.form->mniUploadClick();
            QVERIFY(rig.WaitStatus(QStringLiteral("The device did not store the theme"), 3000));
            QVERIFY(rig.form->Session().Modified());
        }
    }

    void failedWritesAreReported()
    {
        Rig rig(SimulatorModel::Large);
        QVERIFY(rig.WaitStatus(QStringLiteral("Theme was downloaded successfully")));
        rig.sim->SetFailWrites(true);
        rig.form->mniUploadClick();
        QCOMPARE(rig.Status(), QStringLiteral("A device error has occurred"));
        QVERIFY(rig.form->mniTheme->isEnabled());
        rig.dialogs->confirmResult = true;
        rig.form->mniDownloadClick();
        QCOMPARE(rig.Status(), QStringLiteral("A device error has occurred"));
        QVERIFY(rig.form->mniTheme->isEnabled());
    }

    void anUploadCutOffByAnUnplugSaysItFailed()
    {
        // Gone after the command, after the first or the second data report,
        // or before the read-back: never only "Disconnected", and said so
        // the user uploads again.
        for (int writes : {1, 2, 3, 4}) {
            Rig rig(SimulatorModel::Large);
            QVERIFY(rig.WaitStatus(QStringLiteral("Theme was downloaded successfully")));
            rig.sim->VanishAfterWrites(writes);
            rig.form->mniUploadClick();
            QTRY_VERIFY(rig.form->claimed->device == nullptr);
            QCOMPARE(rig.Status(), QStringLiteral("The device was unplugged during the upload: upload the theme again"));
            QVERIFY(!rig.form->mniTheme->isEnabled());
        }
    }

    void oversizedAndStaleReportsAreNoReply()
    {
        // Reports longer than the protocol's 64 bytes: a device error, during
        // the firmware check as during a download, and the theme stays.
        for (std::size_t size : {65u, 128u, 4096u}) {
            Rig rig(SimulatorModel::Large);
            rig.sim->SetReplyPayloadSize(size);
            QVERIFY(rig.WaitStatus(QStringLiteral("A device error has occurred")));
            QVERIFY(!rig.form->mniTheme->isEnabled());
            QCOMPARE(rig.form->Session().Conversation().Receiver().ExpectedBytes(), std::size_t(0));
            QCOMPARE(rig.form->Session().ThemeColors()[9], RGB565ToColor(0xFAC4));
        }
        Rig rig(SimulatorModel::Large);
        QVERIFY(rig.WaitStatus(QStringLiteral("Theme was downloaded successfully")));
        rig.sim->SetReplyPayloadSize(128);
        rig.form->Session().Reset();
        rig.form->mniDownloadClick();
        QVERIFY(rig.WaitStatus(QStringLiteral("A device error has occurred")));
        QCOMPARE(rig.form->Session().ThemeColors()[9], RGB565ToColor(0xFAC4));

        // A report left over after every reply is dropped before the next command.
        Rig stale(SimulatorModel::Large, false);
        stale.sim->SetStaleReports(true);
        stale.sim->Plug();
        QVERIFY(stale.WaitStatus(QStringLiteral("Theme was downloaded successfully")));
        QCOMPARE(stale.form->Session().ThemeColors(), FactoryColors());
    }

    void noPermissionIsSaid()
    {
        auto sim = std::make_shared<SimulatedHidBackend>(SimulatorModel::Large);
        sim->SetPermissionDenied(true);
        TfrmMain form(std::make_unique<ScriptedDialogs>(), sim);
        form.show();
        QTRY_COMPARE(form.status->Text(), QStringLiteral("No permission to open the device"));
        QTest::qWait(700);
        QCOMPARE(form.status->Text(), QStringLiteral("No permission to open the device"));
        QVERIFY(!form.mniTheme->isEnabled());
    }

    void aThousandPlugCyclesEndDisconnected()
    {
        Rig rig(SimulatorModel::Large);
        QVERIFY(rig.WaitStatus(QStringLiteral("Theme was downloaded successfully")));
        for (int cycle = 0; cycle < 1000; ++cycle) {
            rig.sim->Unplug();
            rig.form->DevCon->DeviceChange();
            QCOMPARE(rig.Status(), QStringLiteral("Disconnected"));
            rig.sim->Plug();
            rig.form->DevCon->DeviceChange();
            QCOMPARE(rig.Status(), QStringLiteral("Checking firmware..."));
            if (cycle % 100 == 0)
                QCoreApplication::processEvents();
        }
        rig.sim->Unplug();
        rig.form->DevCon->DeviceChange();
        QTest::qWait(100);
        QCOMPARE(rig.Status(), QStringLiteral("Disconnected"));
        QVERIFY(!rig.form->mniTheme->isEnabled());
        QVERIFY(rig.form->claimed->device == nullptr);
        // Claimed devices stay listed once unplugged, but none reads any more.
        for (const auto& device : rig.form->DevCon->Devices())
            QVERIFY(!device->HasReader());
    }

    void timerIsNotRestartedByASecondDeviceChange()
    {
        Rig rig(SimulatorModel::Large);
        QVERIFY(rig.WaitStatus(QStringLiteral("Checking firmware..."), 400));
        // Some of the 500 ms have gone; a restarted timer would have them all again.
        QTRY_VERIFY(rig.form->tmrDataflash->remainingTime() < 490);
        const int before = rig.form->tmrDataflash->remainingTime();
        rig.form->DevCon->DeviceChange();  // nothing changed: no event
        rig.form->DevConDeviceChange(*rig.form->DevCon);
        QVERIFY(rig.form->tmrDataflash->isActive());
        QVERIFY(rig.form->tmrDataflash->remainingTime() <= before);
    }
};

int main(int argc, char** argv)
{
    LarkspurApplication app(argc, argv);
    app.setApplicationName(QString::fromLatin1(ApplicationTitle));
    DeviceLinkTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "DeviceLinkTest.moc"
