// The editor window's behaviour, driven through its handlers and real input
// events on the offscreen platform, with the dialogs answered by the test.

#include "ClientSurface.h"
#include "FileSizeLimit.h"
#include "ScriptedDialogs.h"
#include "LarkspurApplication.h"
#include "TempDir.h"
#include "CompareWindow.h"
#include "PreviewPanel.h"
#include "StatusLine.h"
#include "ThemeExchange.h"
#include "Unit1.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace {

struct Window {
    ScriptedDialogs* dialogs = nullptr;
    std::unique_ptr<TfrmMain> form;
    Window()
    {
        auto owned = std::make_unique<ScriptedDialogs>();
        dialogs = owned.get();
        form = std::make_unique<TfrmMain>(std::move(owned));
        form->show();
    }
    TfrmMain* operator->() { return form.get(); }
    QStringList Items() const
    {
        QStringList texts;
        for (int i = 0; i < form->lstColors->count(); ++i)
            texts << form->lstColors->item(i)->text();
        return texts;
    }
    QString Selected() const
    {
        auto* item = form->lstColors->currentItem();
        return item && item->isSelected() ? item->text() : QString();
    }
    void ChoosePage(int page)
    {
        form->cmbLayout->setCurrentIndex(page);
        form->cmbLayoutClick();
    }
    void SelectRow(const QString& text)
    {
        const auto found = form->lstColors->findItems(text, Qt::MatchExactly);
        QVERIFY(!found.isEmpty());
        form->lstColors->setCurrentItem(found.first());
    }
};

int SlotIndex(std::optional<SlotId> slot) { return slot ? static_cast<int>(*slot) : -1; }

}  // namespace

class EditorWindowTest : public QObject {
    Q_OBJECT

private slots:
    void listContents_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<bool>("small");
        QTest::addColumn<QString>("items");
        QTest::addColumn<int>("backgroundSlot");
        QTest::newRow("page 0 240x320") << 0 << false
            << "Background|Battery|Battery Label|Clock|Divider|Divider Sq.|Dominant|Dominant Acc.|Fixed|Fixed Acc.|"
               "Info|Info Acc.|Info Label|Profile" << 0;
        QTest::newRow("page 0 80x160") << 0 << true
            << "Background|Battery|Charging|Divider|Dominant|Dominant Acc.|Fixed|Fixed Acc.|Info|Info Acc.|"
               "Info Backgnd.|Info Label|Profile" << 0;
        QTest::newRow("page 7 240x320") << 7 << false << "Background|Date|Time" << 26;
        QTest::newRow("page 7 80x160") << 7 << true << "Background|Date|Time" << 26;
        QTest::newRow("page 4 240x320") << 4 << false << "Background|Cursor|Divider|Header|Item|Selected Item" << 20;
    }
    void listContents()
    {
        QFETCH(int, page);
        QFETCH(bool, small);
        QFETCH(QString, items);
        QFETCH(int, backgroundSlot);
        Window w;
        small ? w->mniDispSmallClick() : w->mniDispLargeClick();
        w.ChoosePage(page);
        QCOMPARE(w.Items().join(QLatin1Char('|')), items);
        QCOMPARE(w.Selected(), QStringLiteral("Background"));
        QCOMPARE(SlotIndex(w->Session().SelectedSlot()), backgroundSlot);
    }

    void clicksSelectTheSlotUnderThePointer_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<bool>("small");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("selected");  // empty: the press is ignored
        QTest::addColumn<int>("slot");
        QTest::newRow("frame top-left ignored") << 0 << false << 4 << 2 << int(Qt::LeftButton) << "" << -1;
        QTest::newRow("frame bottom-right ignored") << 0 << false << 245 << 323 << int(Qt::LeftButton) << "" << -1;
        QTest::newRow("(5,3) is bitmap (0,0): a miss") << 0 << false << 5 << 3 << int(Qt::LeftButton) << "Background" << 0;
        QTest::newRow("battery top-left edge") << 0 << false << 10 << 8 << int(Qt::LeftButton) << "Battery" << 3;
        QTest::newRow("battery bottom-right edge") << 0 << false << 39 << 23 << int(Qt::LeftButton) << "Battery" << 3;
        QTest::newRow("(244,322) is bitmap (239,319)") << 0 << false << 244 << 322 << int(Qt::LeftButton) << "Background" << 0;
        QTest::newRow("divider to the edge") << 0 << false << 244 << 171 << int(Qt::LeftButton) << "Divider" << 1;
        QTest::newRow("right button") << 1 << false << 125 << 128 << int(Qt::RightButton) << "Dominant Acc." << 10;
        QTest::newRow("middle button") << 2 << false << 125 << 128 << int(Qt::MiddleButton) << "Dominant Acc." << 11;
        QTest::newRow("80x160 overlap goes to Info") << 0 << true << 124 << 193 << int(Qt::LeftButton) << "Info" << 14;
        QTest::newRow("80x160 beside it") << 0 << true << 123 << 193 << int(Qt::LeftButton) << "Info Backgnd." << 2;
        QTest::newRow("80x160 outside the small screen") << 0 << true << 25 << 23 << int(Qt::LeftButton) << "Background" << 0;
        QTest::newRow("menu miss") << 4 << false << 100 << 300 << int(Qt::LeftButton) << "Background" << 20;
        QTest::newRow("info miss") << 5 << false << 6 << 5 << int(Qt::LeftButton) << "Background" << 29;
        QTest::newRow("charge miss") << 6 << false << 6 << 5 << int(Qt::LeftButton) << "Background" << 34;
        QTest::newRow("saver miss") << 7 << true << 6 << 5 << int(Qt::LeftButton) << "Background" << 26;
        QTest::newRow("saver time") << 7 << true << 90 << 150 << int(Qt::LeftButton) << "Time" << 27;
    }
    void clicksSelectTheSlotUnderThePointer()
    {
        QFETCH(int, page);
        QFETCH(bool, small);
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(int, button);
        QFETCH(QString, selected);
        QFETCH(int, slot);
        Window w;
        small ? w->mniDispSmallClick() : w->mniDispLargeClick();
        w.ChoosePage(page);
        // Start from a row that is not the answer, to see the press change it.
        const int before = w->lstColors->count() - 1;
        w->lstColors->setCurrentRow(before);
        const QString beforeText = w.Selected();
        QTest::mouseClick(w->surface, Qt::MouseButton(button), {}, QPoint(x, y));
        if (selected.isEmpty()) {
            QCOMPARE(w.Selected(), beforeText);
        } else {
            QCOMPARE(w.Selected(), selected);
            QCOMPARE(SlotIndex(w->Session().SelectedSlot()), slot);
        }
    }

    void coordinateLog()
    {
        Window w;
        w->chk1->setChecked(true);
        const std::optional<SlotId> slotBefore = w->Session().SelectedSlot();
        QTest::mouseClick(w->surface, Qt::RightButton, {}, QPoint(25, 33));
        QCOMPARE(w->memo1->toPlainText(), QStringLiteral("; Right: 20; Bottom: 30)"));
        w->memo1->clear();
        QTest::mouseClick(w->surface, Qt::LeftButton, {}, QPoint(15, 23));
        QCOMPARE(w->memo1->toPlainText(), QStringLiteral("(Left: 10; Top: 20"));
        QTest::mouseClick(w->surface, Qt::RightButton, {}, QPoint(35, 43));
        QCOMPARE(w->memo1->toPlainText(), QStringLiteral("(Left: 10; Top: 20; Right: 30; Bottom: 40)"));
        QTest::mouseClick(w->surface, Qt::MiddleButton, {}, QPoint(45, 53));
        QCOMPARE(w->memo1->toPlainText(), QStringLiteral("(Left: 10; Top: 20; Right: 30; Bottom: 40); Right: 40; Bottom: 50)"));
        QTest::mouseClick(w->surface, Qt::LeftButton, {}, QPoint(5, 3));
        QCOMPARE(w->memo1->toPlainText().split(QLatin1Char('\n')).last(), QStringLiteral("(Left: 0; Top: 0"));
        QTest::mouseClick(w->surface, Qt::LeftButton, {}, QPoint(300, 3));  // beside the bitmap: nothing
        QCOMPARE(w->memo1->toPlainText().split(QLatin1Char('\n')).size(), 2);
        QCOMPARE(w->Session().SelectedSlot(), slotBefore);
    }

    void editingAColour()
    {
        Window w;
        w.SelectRow(QStringLiteral("Dominant"));
        QCOMPARE(SlotIndex(w->Session().SelectedSlot()), 8);
        w.dialogs->pickColor = MakeColor(200, 100, 50);
        QTest::mouseClick(w->btnColor, Qt::LeftButton);
        QCOMPARE(w.dialogs->pickCalls, 1);
        QCOMPARE(w->Session().ThemeColors()[8], MakeColor(197, 101, 49));
        QCOMPARE(w->btnColor->text(), QStringLiteral("#C56531 0xC326"));
        QCOMPARE(w->windowTitle(), QStringLiteral("Larkspur Theme Editor - Untitled *"));
        QVERIFY(w->Session().Modified());
        // The mock-up shows the stored colour: the main value is painted in slot 8.
        bool found = false;
        for (int y = 63; y < 122 && !found; ++y)
            for (int x = 64; x < 177 && !found; ++x)
                found = w->Session().Drawer().Bitmap().Pixel(x, y) == MakeColor(197, 101, 49);
        QVERIFY(found);
        // The swatch of the row shows it too.
        const QImage list = w->lstColors->viewport()->grab().toImage();
        const QRect row = w->lstColors->visualItemRect(w->lstColors->currentItem());
        QCOMPARE(list.pixel(row.left() + 8, row.top() + 8), qRgb(197, 101, 49));
    }

    void cancelAndUnchangedColours()
    {
        Window w;
        w.SelectRow(QStringLiteral("Clock"));
        const TThemeColorTable before = w->Session().ThemeColors();
        w.dialogs->pickResult = false;
        w->btnColorClick();
        QCOMPARE(w->Session().ThemeColors(), before);
        QVERIFY(!w->Session().Modified());
        QCOMPARE(w->windowTitle(), QStringLiteral("Larkspur Theme Editor - Untitled"));
        // Confirming the same colour still marks the theme modified.
        w.dialogs->pickResult = true;
        w.dialogs->pickColor = w->Session().ThemeColors()[5];
        w->btnColorClick();
        QCOMPARE(w->Session().ThemeColors(), before);
        QVERIFY(w->Session().Modified());
        QVERIFY(w->windowTitle().endsWith(QStringLiteral(" *")));
        // Switching the display size keeps the flag.
        w->mniDispSmallClick();
        QVERIFY(w->Session().Modified());
        QVERIFY(w->windowTitle().endsWith(QStringLiteral(" *")));
    }

    void waysToOpenTheColourDialog()
    {
        Window w;
        // Enter in the list.
        w->lstColors->setFocus();
        QTest::keyClick(w->lstColors, Qt::Key_Return);
        QCOMPARE(w.dialogs->pickCalls, 1);
        // Double-click on the surface beside the preview.
        QTest::mouseDClick(w->surface, Qt::LeftButton, {}, QPoint(248, 200));
        QCOMPARE(w.dialogs->pickCalls, 2);
        // Double-click on a hit region first selects it.
        QTest::mouseDClick(w->surface, Qt::LeftButton, {}, QPoint(10, 8));
        QCOMPARE(w.Selected(), QStringLiteral("Battery"));
        QCOMPARE(w.dialogs->pickCalls, 3);
        // Double-click on a row of the list, then below the last row.
        const QRect row = w->lstColors->visualItemRect(w->lstColors->item(2));
        QTest::mouseMove(w->lstColors->viewport(), row.center());
        QTest::mouseDClick(w->lstColors->viewport(), Qt::LeftButton, {}, row.center());
        QCOMPARE(w.dialogs->pickCalls, 4);
        const QPoint below(20, w->lstColors->viewport()->height() - 3);
        QTest::mouseMove(w->lstColors->viewport(), below);
        QCOMPARE(w->hoveredItem, -1);
        QTest::mouseDClick(w->lstColors->viewport(), Qt::LeftButton, {}, below);
        QCOMPARE(w.dialogs->pickCalls, 4);
        // No selection: the button does nothing.
        w->lstColors->setCurrentRow(-1);
        QVERIFY(!w->Session().SelectedSlot());
        w->btnColorClick();
        QCOMPARE(w.dialogs->pickCalls, 4);
    }

    void arrowKeysStepThroughPages()
    {
        Window w;
        QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
        w->cmbLayout->setFocus();
        QTest::keyClick(w->cmbLayout, Qt::Key_Down);
        QCOMPARE(w->cmbLayout->currentIndex(), 1);
        QVERIFY(w.Items().contains(QStringLiteral("Material, secondary")));
        QTest::keyClick(w->cmbLayout, Qt::Key_Down);
        QTest::keyClick(w->cmbLayout, Qt::Key_Down);
        QTest::keyClick(w->cmbLayout, Qt::Key_Down);
        QCOMPARE(w->cmbLayout->currentIndex(), 4);
        QCOMPARE(w.Items().size(), 6);
        QTest::keyClick(w->cmbLayout, Qt::Key_Up);
        QCOMPARE(w.Items().size(), 12);
        QVERIFY(w.Items().contains(QStringLiteral("Puff Acc.")));
    }

    void rowsAreDrawnWithSwatchAndGap()
    {
        Window w;
        w.SelectRow(QStringLiteral("Dominant Acc."));
        w->lstColors->setFocus();
        w->lstColors->viewport()->repaint();
        const QImage list = w->lstColors->viewport()->grab().toImage();
        const QRect row = w->lstColors->visualItemRect(w->lstColors->currentItem());
        const int l = row.left(), t = row.top();
        const QRgb base = w->lstColors->palette().color(QPalette::Base).rgb();
        const QRgb highlight = w->lstColors->palette().color(QPalette::Highlight).rgb();
        QCOMPARE(list.pixel(l, t), qRgb(0, 0, 0));
        QCOMPARE(list.pixel(l + 15, t + 15), qRgb(0, 0, 0));
        QCOMPARE(list.pixel(l + 1, t + 1), qRgb(255, 89, 33));
        QCOMPARE(list.pixel(l + 14, t + 14), qRgb(255, 89, 33));
        QCOMPARE(list.pixel(l + 16, t + 5), base);        // the column between swatch and text
        QCOMPARE(list.pixel(l + 40, t + 16), base);       // the two rows under the band
        QCOMPARE(list.pixel(l + 40, t + 17), base);
        QCOMPARE(list.pixel(row.right() - 3, t + 8), highlight);
    }

    void newAndTheConfirmation()
    {
        Window w;
        w->mniDispSmallClick();
        w.ChoosePage(6);
        w.SelectRow(QStringLiteral("Clock"));
        w.dialogs->pickColor = MakeColor(1, 2, 3);
        w->btnColorClick();
        const TThemeColorTable edited = w->Session().ThemeColors();
        // No keeps everything.
        w.dialogs->confirmResult = false;
        w->mniNewClick();
        QCOMPARE(w.dialogs->confirmCalls, 1);
        QCOMPARE(w->Session().ThemeColors(), edited);
        QCOMPARE(w->cmbLayout->currentIndex(), 6);
        QVERIFY(w->Session().Modified());
        QVERIFY(!w->close());
        QVERIFY(w->isVisible());
        // Yes proceeds: the default theme, page 0, still 80x160.
        w.dialogs->confirmResult = true;
        w->mniNewClick();
        QVERIFY(!w->Session().Modified());
        QCOMPARE(w->cmbLayout->currentIndex(), 0);
        QVERIFY(w->Session().SmallDisplay());
        TThemeColorTable defaults{};
        LoadDefaultTheme(defaults);
        QCOMPARE(w->Session().ThemeColors(), defaults);
        QCOMPARE(w->windowTitle(), QStringLiteral("Larkspur Theme Editor - Untitled"));
        QCOMPARE(w.dialogs->confirmCalls, 3);  // New, closing, New
        // With nothing to lose, nothing is asked.
        w->mniNewClick();
        QVERIFY(w->close());
        QCOMPARE(w.dialogs->confirmCalls, 3);
    }

    void saveAndSaveAs()
    {
        TempDir dir;
        Window w;
        w->btnColorClick();  // modified
        // Save on an untitled theme goes to Save As; cancelling it changes nothing.
        w.dialogs->saveResult.clear();
        w->mniSaveClick();
        QCOMPARE(w.dialogs->saveCalls, 1);
        QVERIFY(w->Session().Modified());
        // A failed Save As keeps the caption and the flag.
        std::filesystem::create_directory(dir.File("folder.lsth"));
        w.dialogs->saveResult = QString::fromStdString(dir.File("folder.lsth"));
        w->mniSaveAsClick();
        QCOMPARE(w->status->Text(), QStringLiteral("A file error has occurred"));
        QCOMPARE(w->windowTitle(), QStringLiteral("Larkspur Theme Editor - Untitled *"));
        QVERIFY(w->Session().ThemeFileName().empty());
        // A good Save As names the document.
        w.dialogs->saveResult = QString::fromStdString(dir.File("Dark.lsth"));
        w->mniSaveAsClick();
        QCOMPARE(w->status->Text(), QStringLiteral("Theme was saved successfully"));
        QCOMPARE(w->windowTitle(), QStringLiteral("Larkspur Theme Editor - Dark.lsth"));
        QVERIFY(!w->Session().Modified());
        // Later saves write there without a dialog.
        w->btnColorClick();
        QCOMPARE(w->windowTitle(), QStringLiteral("Larkspur Theme Editor - Dark.lsth *"));
        w->mniSaveClick();
        QCOMPARE(w.dialogs->saveCalls, 3);
        QVERIFY(!w->Session().Modified());
        QVERIFY(ReadText(dir.File("Dark.lsth")).find("Display=0") != std::string::npos);
    }

    void aSaveThatFailsHalfWayLosesNothing()
    {
#if defined(_WIN32)
        QSKIP("a file-size limit is POSIX's");
#endif
        TempDir dir;
        Window w;
        w.dialogs->saveResult = QString::fromStdString(dir.File("Mine.lsth"));
        w->mniSaveAsClick();
        const std::string saved = ReadText(dir.File("Mine.lsth"));
        w->btnColorClick();
        {
            // The disk fills up while writing: a file-size limit far below the content.
            FileSizeLimit tiny(100);
            QVERIFY(tiny.Active());
            w->mniSaveClick();
        }
        QCOMPARE(w->status->Text(), QStringLiteral("A file error has occurred"));
        QVERIFY(ReadText(dir.File("Mine.lsth")) == saved);
        QVERIFY(w->Session().Modified());
        QCOMPARE(w->windowTitle(), QStringLiteral("Larkspur Theme Editor - Mine.lsth *"));
        // A folder where the file was: the same.
        std::filesystem::remove(dir.File("Mine.lsth"));
        std::filesystem::create_directory(dir.File("Mine.lsth"));
        w->mniSaveClick();
        QCOMPARE(w->status->Text(), QStringLiteral("A file error has occurred"));
        QVERIFY(w->Session().Modified());
    }

    void openSwitchesTheDisplayAndShowsPageZero()
    {
        TempDir dir;
        WriteText(dir.File("small.lsth"), "[Main]\r\nMain_Dom=$F800\r\n[Common]\r\nDisplay=1\r\n");
        WriteText(dir.File("bad.lsth"), "[Main]\r\nMain_Clock=white\r\n[Common]\r\nDisplay=1\r\n");
        Window w;
        w.ChoosePage(5);
        // A bad file changes nothing but the status.
        w.dialogs->openResult = QString::fromStdString(dir.File("bad.lsth"));
        w->mniOpenClick();
        QCOMPARE(w->status->Text(), QStringLiteral("A file error has occurred"));
        QVERIFY(!w->Session().SmallDisplay());
        QCOMPARE(w->cmbLayout->currentIndex(), 5);
        QCOMPARE(w->Session().ThemeColors()[5], MakeColor(255, 255, 255));
        w.dialogs->openResult = QString::fromStdString(dir.File("missing.lsth"));
        w->mniOpenClick();
        QCOMPARE(w->status->Text(), QStringLiteral("A file error has occurred"));
        // A good one switches to 80x160 and shows page 0.
        w.dialogs->openResult = QString::fromStdString(dir.File("small.lsth"));
        w->mniOpenClick();
        QCOMPARE(w->status->Text(), QStringLiteral("Theme was loaded successfully"));
        QVERIFY(w->Session().SmallDisplay());
        QVERIFY(w->mniDispSmall->isChecked());
        QCOMPARE(w->cmbLayout->currentIndex(), 0);
        QCOMPARE(w->Session().ThemeColors()[8], MakeColor(255, 0, 0));
        QCOMPARE(w->windowTitle(), QStringLiteral("Larkspur Theme Editor - small.lsth"));
        QVERIFY(!w->Session().Modified());
        QCOMPARE(w.Items().size(), 13);
        // Cancelling the dialog changes nothing.
        w.dialogs->openResult.clear();
        w->mniOpenClick();
        QCOMPARE(w->windowTitle(), QStringLiteral("Larkspur Theme Editor - small.lsth"));
    }
};

int main(int argc, char** argv)
{
    LarkspurApplication app(argc, argv);
    app.setApplicationName(QString::fromLatin1(ApplicationTitle));
    EditorWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "EditorWindowTest.moc"
