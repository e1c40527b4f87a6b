// The editor window's behaviour, driven through its handlers and real input
// events on the offscreen platform, with the dialogs answered by the test.

#include "ClientSurface.h"
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

    // New and closing ask first when the theme is modified: No keeps it
    // all, Yes goes on; with nothing to lose nothing is asked.
    void newAndTheConfirmation()
    {
        Window w;
        w.ChoosePage(6);
        w.SelectRow(QStringLiteral("Clock"));
        w.dialogs->pickColor = MakeColor(1, 2, 3);
        w->btnColorClick();
        const TThemeColorTable edited = w->Session().ThemeColors();
        w.dialogs->confirmResult = false;
        w->mniNewClick();
        QCOMPARE(w->Session().ThemeColors(), edited);
        QCOMPARE(w->cmbLayout->currentIndex(), 6);
        QVERIFY(!w->close());
        w.dialogs->confirmResult = true;
        w->mniNewClick();
        QVERIFY(!w->Session().Modified());
        QCOMPARE(w->cmbLayout->currentIndex(), 0);
        QCOMPARE(w.dialogs->confirmCalls, 3);  // New, closing, New
        w->mniNewClick();
        QVERIFY(w->close());
        QCOMPARE(w.dialogs->confirmCalls, 3);
    }

    // A theme opened switches the window to its display size and page 0.
    void openSwitchesTheDisplayAndShowsPageZero()
    {
        TempDir dir;
        WriteText(dir.File("small.lsth"), "[Main]\r\nMain_Dom=$F800\r\n[Common]\r\nDisplay=1\r\n");
        Window w;
        w.ChoosePage(5);
        w.dialogs->openResult = QString::fromStdString(dir.File("small.lsth"));
        w->mniOpenClick();
        QCOMPARE(w->status->Text(), QStringLiteral("Theme was loaded successfully"));
        QVERIFY(w->mniDispSmall->isChecked());
        QCOMPARE(w->cmbLayout->currentIndex(), 0);
        QCOMPARE(w.Items().size(), 13);
        QCOMPARE(w.Selected(), QStringLiteral("Background"));
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
