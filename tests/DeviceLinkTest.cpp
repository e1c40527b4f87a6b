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

    // A small display the Override setting lets in: the window takes its
    // size, list and menu along (the firmware rules are the session's).
    void aSmallDisplayLetInIsAdopted()
    {
        Rig rig(SimulatorModel::Small);
        rig.form->Session().SetOverrideText("LSX1 SIMS");
        QVERIFY(rig.WaitStatus(QStringLiteral("Theme was downloaded successfully")));
        QVERIFY(rig.form->mniDispSmall->isChecked());
        QCOMPARE(rig.form->lstColors->count(), 13);
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
