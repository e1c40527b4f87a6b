// The main window driven as a user would, on the offscreen platform.

#include "ClientSurface.h"
#include "LarkspurApplication.h"
#include "ScriptedDialogs.h"
#include "CompareWindow.h"
#include "PreviewPanel.h"
#include "StatusLine.h"
#include "ThemeExchange.h"
#include "Unit1.h"
#include "WindowWiring.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <stdexcept>

namespace {

std::unique_ptr<TfrmMain> ShowWindow(ScriptedDialogs** dialogs = nullptr)
{
    auto owned = std::make_unique<ScriptedDialogs>();
    if (dialogs)
        *dialogs = owned.get();
    auto form = std::make_unique<TfrmMain>(std::move(owned));
    form->show();
    return form;
}

QStringList ListTexts(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

class ThrowingObject : public QObject {
public:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User)
            throw std::runtime_error("the handler failed");
        return QObject::event(e);
    }
};

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void startUpState()
    {
        auto form = ShowWindow();
        QCOMPARE(form->windowTitle(), QStringLiteral("Larkspur Theme Editor - Untitled"));
        QCOMPARE(form->cmbLayout->currentIndex(), 0);
        QCOMPARE(form->cmbLayout->currentText(), QStringLiteral("Main - RizeDori"));
        QVERIFY(form->mniDispLarge->isChecked());
        QVERIFY(!form->mniDispSmall->isChecked());
        QVERIFY(!form->mniTheme->isEnabled());
        QCOMPARE(form->status->Text(), QStringLiteral("Disconnected"));
        QCOMPARE(form->memo1->toPlainText(), QString());
        QVERIFY(!form->chk1->isChecked());
        QCOMPARE(ListTexts(form->lstColors).size(), 14);
        QCOMPARE(form->lstColors->currentItem()->text(), QStringLiteral("Background"));
        QCOMPARE(form->Session().SelectedSlot(), std::optional<SlotId>(SlotId::Main_Background));
        QCOMPARE(form->btnColor->text(), QStringLiteral("#000000 0x0000"));
        QVERIFY(!form->Session().Modified());
        QVERIFY(form->Session().ThemeFileName().empty());
        QCOMPARE(form->hoveredItem, -1);
        QCOMPARE(form->surface->size(), QSize(439, 347));
        QVERIFY(!form->tmrDataflash->isActive());
        QCOMPARE(form->tmrDataflash->interval(), 500);
    }

    void menusAndShortcuts()
    {
        auto form = ShowWindow();
        QCOMPARE(form->mniNew->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
        QCOMPARE(form->mniOpen->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
        QCOMPARE(form->mniSave->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
        QCOMPARE(form->mniSaveAs->shortcut(), QKeySequence(QStringLiteral("Ctrl+Alt+S")));
        QCOMPARE(form->mniExit->shortcut(), QKeySequence());
        QCOMPARE(form->mniDownload->text(), QStringLiteral("Download from Device"));
        QCOMPARE(form->mniUpload->text(), QStringLiteral("Upload to Device"));

        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QSignalSpy downloads(form->mniDownload, &QAction::triggered);
        QSignalSpy uploads(form->mniUpload, &QAction::triggered);
        QTest::keyClick(form.get(), Qt::Key_F5);
        QTest::keyClick(form.get(), Qt::Key_F8);
        QCOMPARE(downloads.count(), 0);
        QCOMPARE(uploads.count(), 0);

        // Once the menu is enabled, the same keys reach the items.
        EnableThemeMenu(*form, true);
        QTest::keyClick(form.get(), Qt::Key_F5);
        QCOMPARE(downloads.count(), 1);

        // F2 and F1 switch the display size; the radio group follows.
        QTest::keyClick(form.get(), Qt::Key_F2);
        QVERIFY(form->Session().SmallDisplay());
        QVERIFY(form->mniDispSmall->isChecked() && !form->mniDispLarge->isChecked());
        QCOMPARE(ListTexts(form->lstColors).size(), 13);
        QTest::keyClick(form.get(), Qt::Key_F1);
        QVERIFY(!form->Session().SmallDisplay());
        QVERIFY(form->mniDispLarge->isChecked() && !form->mniDispSmall->isChecked());
        QVERIFY(!form->Session().Modified());
    }

    void hiddenControlsStayInTheFocusOrder()
    {
        auto form = ShowWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        form->btnColor->setFocus();
        QTRY_VERIFY(form->btnColor->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTRY_VERIFY(form->memo1->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTRY_VERIFY(form->chk1->hasFocus());
        QTest::keyClick(form->chk1, Qt::Key_Space);
        QVERIFY(form->chk1->isChecked());
        // They lie right of the client area, so nobody sees them.
        QVERIFY(form->memo1->x() >= form->surface->width());
        QVERIFY(form->chk1->x() >= form->surface->width());
    }

    void settingsFileOverride()
    {
        // Beside the program, named after it (less ".exe" on Windows).
        const QFileInfo program(QCoreApplication::applicationFilePath());
#if defined(_WIN32)
        const QString settings = program.path() + QLatin1Char('/') + program.completeBaseName() + QStringLiteral(".ini");
#else
        const QString settings = program.filePath() + QStringLiteral(".ini");
#endif
        QFile::remove(settings);
        {
            auto form = ShowWindow();
            QCOMPARE(form->Session().OverrideText(), std::string());
        }
        {
            QFile file(settings);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("; device codes accepted without the large display\r\n[Application]\r\nOverride=SIMS ABCD\r\n");
        }
        {
            auto form = ShowWindow();
            QCOMPARE(form->Session().OverrideText(), std::string("SIMS ABCD"));
        }
        {
            QFile file(settings);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("[Application]\r\nOther=1\r\n");
        }
        {
            auto form = ShowWindow();
            QCOMPARE(form->Session().OverrideText(), std::string());
        }
        QFile::remove(settings);
    }

    void previewShowsTheDrawerBitmap()
    {
        auto form = ShowWindow();
        form->Session().SetSelectedColor(RGB565ToColor(0xF800));
        form->UpdatePreview();
        const QImage shot = form->surface->grab().toImage();
        const QRgb frame = form->palette().color(QPalette::Dark).rgb();
        QCOMPARE(shot.pixel(5, 3), qRgb(255, 0, 0));
        QCOMPARE(shot.pixel(244, 322), qRgb(255, 0, 0));
        QCOMPARE(shot.pixel(4, 2), frame);
        QCOMPARE(shot.pixel(245, 323), frame);
        QCOMPARE(shot.pixel(125, 2), frame);
        QVERIFY(shot.pixel(246, 100) != frame);
    }

    void escapedErrorsAreReportedAndTheLoopGoesOn()
    {
        auto* app = static_cast<LarkspurApplication*>(QCoreApplication::instance());
        QStringList reported;
        auto previous = app->reportError;
        app->reportError = [&](const QString& text) { reported << text; };
        auto form = ShowWindow();
        ThrowingObject thrower;
        QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
        QCoreApplication::processEvents();
        app->reportError = previous;
        QCOMPARE(reported, QStringList{QStringLiteral("the handler failed")});
        QCOMPARE(form->windowTitle(), QStringLiteral("Larkspur Theme Editor - Untitled"));
        QCOMPARE(form->lstColors->count(), 14);
    }
};

int main(int argc, char** argv)
{
    LarkspurApplication app(argc, argv);
    app.setApplicationName(QString::fromLatin1(ApplicationTitle));
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "MainWindowTest.moc"
