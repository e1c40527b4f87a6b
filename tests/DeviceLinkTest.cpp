// The window and the simulated device, end to end: connection states, the
// firmware check, download, upload and the faults a real device can show.

#include "EditorState.h"
#include "LarkspurApplication.h"
#include "ScriptedDialogs.h"
#include "SimulatedHidBackend.h"
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
        SmallDisplay = false;
        SelectedSlot = nullptr;
        sim = std::make_shared<SimulatedHidBackend>(model, "", plugged);
        auto owned = std::make_unique<ScriptedDialogs>();
        owned->confirmResult = true;
        dialogs = owned.get();
        form = std::make_unique<TfrmMain>(std::move(owned), sim);
        form->show();
        if (startModified)
            form->btnColorClick();
    }
    QString Status() const { return form->StatusText(); }
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
    void init()
    {
        LoadDefaultTheme(ThemeColors);
        Modified = false;
    }

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
        QVERIFY(!SmallDisplay);
        QCOMPARE(ThemeColors, FactoryColors());
        QVERIFY(Modified);
        QVERIFY(ThemeFileName.empty());
    }

    void unsavedChangesAreNotOverwritten()
    {
        Rig rig(SimulatorModel::Large, true, true);
        const TThemeColorTable mine = ThemeColors;
        QVERIFY(rig.WaitStatus(QStringLiteral("Connected")));
        QTest::qWait(100);
        QCOMPARE(rig.Status(), QStringLiteral("Connected"));
        QCOMPARE(ThemeColors, mine);
        // F5 asks first; No keeps the theme.
        QVERIFY(QTest::qWaitForWindowActive(rig.form.get()));
        rig.dialogs->confirmResult = false;
        QTest::keyClick(rig.form.get(), Qt::Key_F5);
        QCOMPARE(rig.dialogs->confirmCalls, 1);
        QTest::qWait(50);
        QCOMPARE(ThemeColors, mine);
        rig.dialogs->confirmResult = true;
        QTest::keyClick(rig.form.get(), Qt::Key_F5);
        QVERIFY(rig.WaitStatus(QStringLiteral("Theme was downloaded successfully")));
        QCOMPARE(ThemeColors, FactoryColors());
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
            QVERIFY(!SmallDisplay);
        }
        {
            Rig rig(SimulatorModel::Small);
            OverrideText = "LSX1 SIMS";
            QVERIFY(rig.WaitStatus(QStringLiteral("Theme was downloaded successfully")));
            QVERIFY(SmallDisplay);
            QVERIFY(rig.form->mniDispSmall->isChecked());
            QCOMPARE(rig.form->lstColors->count(), 13);
            OverrideText.clear();
        }
    }

    void unplugAndReplug()
    {
        Rig rig(SimulatorModel::Large);
        QVERIFY(rig.WaitStatus(QStringLiteral("Theme was downloaded successfully")));
        rig.sim->Unplug();
        QVERIFY(rig.WaitStatus(QStringLiteral("Disconnected")));
        QVERIFY(!rig.form->mniTheme->isEnabled());
        QVERIFY(CurrentDevice == nullptr);
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
        const TThemeColorTable edited = ThemeColors;
        rig.form->mniUploadClick();
        QCOMPARE(rig.Status(), QStringLiteral("Theme was uploaded successfully"));
        QTest::qWait(20);
        const auto block = rig.sim->ThemeBlock();
        TPackedTheme packed{};
        PackTheme(edited, packed);
        const auto words = PackedThemeBytes(packed);
        QVERIFY(std::equal(words.begin(), words.end(), block.begin()));
        for (std::size_t k = 84; k < 128; ++k)
            QCOMPARE(int(block[k]), int(k));
        QVERIFY(Modified);
        // Reading it back gives the uploaded words.
        LoadDefaultTheme(ThemeColors);
        rig.form->mniDownloadClick();
        QVERIFY(rig.WaitStatus(QStringLiteral("Theme was downloaded successfully")));
        QCOMPARE(ThemeColors, edited);
    }

    void uploadBeforeAnyThemeReadSendsTheReceiveBuffer()
    {
        Rig rig(SimulatorModel::Large, true, true);
        QVERIFY(rig.WaitStatus(QStringLiteral("Connected")));
        rig.form->mniUploadClick();
        QCOMPARE(rig.Status(), QStringLiteral("Theme was uploaded successfully"));
        const auto block = rig.sim->ThemeBlock();
        for (std::size_t k = 84; k < 128; ++k)
            QCOMPARE(int(block[k]), 0);  // bytes 84..127 of the data-flash block
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
        // A device that vanishes between the two data reports of an upload.
        rig.sim->SetFailWrites(false);
        rig.sim->VanishAfterWrites(2);
        rig.form->mniUploadClick();
        QCOMPARE(rig.Status(), QStringLiteral("A device error has occurred"));
        QVERIFY(rig.WaitStatus(QStringLiteral("Disconnected")));
    }

    void oversizedReportsNeverOverrunTheBuffer()
    {
        // 100-byte reports: 64 bytes of the block and 36 of junk each. The reply
        // completes after 576 bytes, however many arrive, and the junk-laden
        // block fails the firmware check.
        Rig rig(SimulatorModel::Large);
        rig.sim->SetReplyPayloadSize(100);
        QVERIFY(rig.WaitStatus(QStringLiteral("Incompatible firmware")));
        QCOMPARE(Transfer.ReceivedBytes(), std::size_t(576));
        QCOMPARE(Transfer.ExpectedBytes(), std::size_t(0));
        QCOMPARE(ThemeColors[9], RGB565ToColor(0xFAC4));
    }

    void noPermissionIsSaid()
    {
        SmallDisplay = false;
        auto sim = std::make_shared<SimulatedHidBackend>(SimulatorModel::Large);
        sim->SetPermissionDenied(true);
        TfrmMain form(std::make_unique<ScriptedDialogs>(), sim);
        form.show();
        QTRY_COMPARE(form.StatusText(), QStringLiteral("No permission to open the device"));
        QTest::qWait(700);
        QCOMPARE(form.StatusText(), QStringLiteral("No permission to open the device"));
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
        QVERIFY(CurrentDevice == nullptr);
        // Claimed devices stay listed once unplugged, but none reads any more.
        for (const auto& device : rig.form->DevCon->Devices())
            QVERIFY(!device->HasReader());
    }

    void timerIsNotRestartedByASecondDeviceChange()
    {
        Rig rig(SimulatorModel::Large);
        QVERIFY(rig.WaitStatus(QStringLiteral("Checking firmware..."), 400));
        QTest::qWait(200);
        rig.form->DevCon->DeviceChange();  // nothing changed: no event
        rig.form->DevConDeviceChange(*rig.form->DevCon);
        QVERIFY(rig.form->tmrDataflash->isActive());
        QVERIFY(rig.form->tmrDataflash->remainingTime() < 350);
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
