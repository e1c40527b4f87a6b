// The preview's aids on the offscreen platform: presses through the zoom,
// the remembered view, the legibility window, and exported and simulated
// pictures against lsthtool's.

#include "BitmapImage.h"
#include "ClientSurface.h"
#include "CompactPicture.h"
#include "GenerateDialog.h"
#include "PaletteFiles.h"
#include "PictureSeeds.h"
#include "ThemeBrowser.h"
#include "ThemeCard.h"
#include "ThemeThumbnail.h"
#include "ThemeFile.h"
#include "LarkspurApplication.h"
#include "ScriptedDialogs.h"
#include "SimulatedHidBackend.h"
#include "TempDir.h"
#include "ThemeSlots.h"
#include "CompareWindow.h"
#include "PreviewPanel.h"
#include "StatusLine.h"
#include "ThemeExchange.h"
#include "Unit1.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QImage>
#include <QLineEdit>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QFile>
#include <QFileInfo>
#include <QDir>
#include <QTest>
#include <QTreeWidget>

#if !defined(_WIN32)
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

struct Rig {
    ScriptedDialogs* dialogs = nullptr;
    std::unique_ptr<TfrmMain> form;
    Rig()
    {
        auto owned = std::make_unique<ScriptedDialogs>();
        dialogs = owned.get();
        form = std::make_unique<TfrmMain>(std::move(owned),
                                          std::make_shared<SimulatedHidBackend>(SimulatorModel::Large, "", false));
        form->show();
        std::tm at{};
        at.tm_year = 126, at.tm_mon = 11, at.tm_mday = 8, at.tm_hour = 9, at.tm_min = 5;
        form->Session().Drawer().SetClock(FixedClock(at));
        form->cmbLayoutClick();
    }
    QString Selected() const { return form->lstColors->currentItem()->text(); }
};

QImage Render(const TempDir& dir, const QString& args)
{
    const QString out = QString::fromStdString(dir.File("render.png"));
    QProcess p;
    p.start(QStringLiteral(LSTHTOOL), QProcess::splitCommand(args + QStringLiteral(" --at \"2026-12-08 09:05\" -o ") + out));
    p.waitForFinished(10000);
    return p.exitCode() == 0 ? QImage(out).convertToFormat(QImage::Format_RGB32) : QImage();
}

}  // namespace

class InsightTest : public QObject {
    Q_OBJECT

private slots:
    // At every zoom the window grows around the preview, the controls move
    // with its right edge, and presses and the coordinate log reach the same
    // bitmap pixels as at 1x. The last zoom is what the next window starts with.
    void zoomMapsPressesAndIsRemembered()
    {
        for (int z = 1; z <= 4; ++z) {
            Rig rig;
            TfrmMain& f = *rig.form;
            f.preview->SetZoom(z);
            const int dx = 240 * (z - 1), dy = 320 * (z - 1);
            QCOMPARE(f.surface->size(), QSize(439 + dx, 347 + dy));
            QCOMPARE(f.cmbLayout->pos(), QPoint(250 + dx, 2));
            QCOMPARE(f.btnColor->pos(), QPoint(249 + dx, 302));
            QVERIFY(f.memo1->x() >= f.surface->width());
            QCOMPARE(f.stBar->geometry(), QRect(0, 328 + dy, 439 + dx, 19));
            const auto press = [&](int bx, int by, Qt::MouseButton b = Qt::LeftButton) {
                // Anywhere inside the zoomed pixel.
                f.FormMouseDown(b, 5 + bx * z + (z - 1), 3 + by * z + z / 2);
            };
            press(120, 90);  // the big value
            QCOMPARE(rig.Selected(), QStringLiteral("Dominant"));
            press(3, 3);
            QCOMPARE(rig.Selected(), QStringLiteral("Background"));
            press(120, 90);
            f.FormMouseDown(Qt::LeftButton, 5 + 240 * z, 3);  // just right of the bitmap: nothing
            QCOMPARE(rig.Selected(), QStringLiteral("Dominant"));
            f.chk1->setChecked(true);
            f.memo1->clear();
            press(10, 20);
            press(30, 40, Qt::RightButton);
            QCOMPARE(f.memo1->toPlainText(), QStringLiteral("(Left: 10; Top: 20; Right: 30; Bottom: 40)"));
            f.chk1->setChecked(false);
            // The pointer over the value names its slot; off the preview, none.
            f.FormMouseMove(5 + 120 * z, 3 + 90 * z, QPoint());
            QCOMPARE(f.preview->HoveredSlot(), SlotIndex(SlotId::Main_Dom));
            f.FormMouseMove(5 + 240 * z + 3, 10, QPoint());
            QCOMPARE(f.preview->HoveredSlot(), -1);
        }
        Rig next;
        QCOMPARE(next.form->Session().Zoom(), 4);
        next.form->mniActualSize->trigger();
        QCOMPARE(next.form->Session().Zoom(), 1);
        QVERIFY(!next.form->mniZoomOut->isEnabled());
    }

    // While F3 is held, the selected slot's pixels blink (shown inverted, then
    // as they are); released, the preview is as before. Selection and status stay.
    void f3BlinksTheSelectedSlot()
    {
        Rig rig;
        TfrmMain& f = *rig.form;
        f.FormMouseDown(Qt::LeftButton, 5 + 120, 3 + 90);
        QCOMPARE(rig.Selected(), QStringLiteral("Dominant"));
        const QString status = f.status->Text();
        const auto pixel = [&] { return f.surface->grab(QRect(5 + 120, 3 + 90, 1, 1)).toImage().pixel(0, 0) & 0xFFFFFF; };
        const auto other = [&] { return f.surface->grab(QRect(5 + 3, 3 + 3, 1, 1)).toImage().pixel(0, 0) & 0xFFFFFF; };
        QCOMPARE(pixel(), QRgb(0xFFFFFF));
        QTest::keyPress(f.lstColors, Qt::Key_F3);
        QCOMPARE(pixel(), QRgb(0x000000));
        QCOMPARE(other(), QRgb(0x000000));  // the background is not the selected slot
        QTRY_COMPARE(pixel(), QRgb(0xFFFFFF));  // and back, while still held
        QTRY_COMPARE(pixel(), QRgb(0x000000));
        QTest::keyRelease(f.lstColors, Qt::Key_F3);
        QCOMPARE(pixel(), QRgb(0xFFFFFF));
        QTest::qWait(400);
        QCOMPARE(pixel(), QRgb(0xFFFFFF));
        QCOMPARE(rig.Selected(), QStringLiteral("Dominant"));
        QCOMPARE(f.status->Text(), status);
    }

    void legibilityWindowShowsAndFindsPairs()
    {
        Rig rig;
        rig.form->mniCheckLegibility->trigger();
        auto* dialog = rig.form->findChild<QDialog*>();
        QVERIFY(dialog && dialog->isVisible());
        auto* rows = dialog->findChild<QTreeWidget*>();
        // The default theme: the info labels on four pages, the TCR text on one.
        QCOMPARE(rows->topLevelItemCount(), 5);
        QCOMPARE(rows->topLevelItem(0)->text(0), QStringLiteral("2.66:1"));
        QTreeWidgetItem* tcr = rows->findItems(QStringLiteral("Material, secondary"), Qt::MatchExactly, 3).first();
        emit rows->itemDoubleClicked(tcr, 0);
        QCOMPARE(rig.form->cmbLayout->currentIndex(), 1);
        QCOMPARE(rig.Selected(), QStringLiteral("Material, secondary"));

        // Fix mends the chosen pair alone, Fix All the rest; each is one step,
        // and undoing them brings the pairs back into the window.
        const TThemeColorTable original = rig.form->Session().ThemeColors();
        rows->setCurrentItem(rows->findItems(QStringLiteral("Material, secondary"), Qt::MatchExactly, 3).first());
        dialog->findChild<QPushButton*>(QStringLiteral("fix"))->click();
        QCOMPARE(rows->topLevelItemCount(), 4);
        QCOMPARE(rig.form->Session().Document().History().UndoName(), std::string("Fix Legibility"));
        dialog->findChild<QPushButton*>(QStringLiteral("fixAll"))->click();
        QCOMPARE(rows->topLevelItemCount(), 0);
        QVERIFY(rig.form->windowTitle().endsWith(QStringLiteral(" *")));
        rig.form->mniUndoClick();
        QCOMPARE(rows->topLevelItemCount(), 4);
        rig.form->mniUndoClick();
        QCOMPARE(rows->topLevelItemCount(), 5);
        QCOMPARE(rig.form->Session().ThemeColors(), original);

    }

    // Generate Theme: the dialog's page is drawn in what OK applies, a
    // change of option redraws it, locked slots are named and kept, Cancel
    // changes nothing, and OK is one "Generate Theme" step.
    void generateThemeIsLiveAndOneStep()
    {
        Rig rig;
        rig.form->lstColors->setCurrentRow(0);
        const int slot = SlotIndex(*rig.form->Session().SelectedSlot());
        rig.form->mniLockColor->trigger();
        const TThemeColorTable original = rig.form->Session().ThemeColors();
        for (bool accept : {false, true}) {
            // What the dialog showed and made, read while it is open.
            GenerateThemeDialog* dialog = nullptr;
            QImage shownFirst, shownAfter;
            TThemeColorTable result{};
            GenerateOptions options;
            QString kept;
            QTimer poll;
            poll.setInterval(10);
            connect(&poll, &QTimer::timeout, this, [&] {
                dialog = rig.form->findChild<GenerateThemeDialog*>();
                if (!dialog || !dialog->isVisible())
                    return;
                poll.stop();
                shownFirst = dialog->preview->pixmap().toImage();
                if (accept) {
                    // Seeds change roles by the swap button and by a drag
                    // from one onto another; style and vividness regenerate.
                    dialog->seedUsed[2]->setChecked(true);
                    const std::vector<TColor> seeds = dialog->Options().seeds;
                    QCOMPARE(seeds.size(), std::size_t(3));
                    dialog->findChild<QPushButton*>(QStringLiteral("swap0"))->click();
                    QCOMPARE(dialog->Options().seeds, (std::vector<TColor>{seeds[1], seeds[0], seeds[2]}));
                    QWidget* hero = dialog->seedButtons[0];
                    const QPoint third = hero->mapFromGlobal(dialog->seedButtons[2]->mapToGlobal(dialog->seedButtons[2]->rect().center()));
                    QTest::mousePress(hero, Qt::LeftButton, {}, hero->rect().center());
                    QTest::mouseMove(hero, hero->rect().center() + QPoint(20, 0));
                    QTest::mouseMove(hero, third);
                    QTest::mouseRelease(hero, Qt::LeftButton, {}, third);
                    QCOMPARE(dialog->Options().seeds, (std::vector<TColor>{seeds[2], seeds[0], seeds[1]}));
                    const TThemeColorTable fidelity = dialog->Result().colors;
                    dialog->style->setCurrentIndex(int(GenerateStyle::Monochrome));
                    QVERIFY(dialog->Result().colors != fidelity);
                    QCOMPARE(dialog->Options().style, GenerateStyle::Monochrome);
                    dialog->vividness->setValue(40);
                    QCOMPARE(dialog->Options().vividness, 40);
                    const int page = dialog->pageChooser->currentIndex();
                    QTest::keyClick(dialog, Qt::Key_PageDown);
                    QCOMPARE(dialog->pageChooser->currentIndex(), (page + 1) % PageCount);
                    QTest::keyClick(dialog, Qt::Key_PageUp);
                }
                dialog->light->setChecked(true);
                dialog->variation->setValue(42);
                shownAfter = dialog->preview->pixmap().toImage().convertToFormat(QImage::Format_RGB888);
                result = dialog->Result().colors;
                options = dialog->Options();
                kept = dialog->findChild<QLabel*>(QStringLiteral("kept"))->text();
                accept ? dialog->accept() : dialog->reject();
            });
            poll.start();
            rig.form->mniGenerate->trigger();
            QVERIFY(dialog);
            QVERIFY(shownFirst != shownAfter.convertToFormat(shownFirst.format()));
            // The page as the drawer draws it in the dialog's result.
            bool small = false;
            TLSDrawer drawer(result, small);
            drawer.SetClock(rig.form->Session().Drawer().Clock());
            drawer.DrawPage(rig.form->cmbLayout->currentIndex());
            const Bitmap& b = drawer.Bitmap();
            QCOMPARE(shownAfter, QImage(b.Data(), b.Width(), b.Height(), b.Stride(), QImage::Format_BGR888)
                                     .convertToFormat(QImage::Format_RGB888));
            QVERIFY2(kept.contains(QStringLiteral("Background")), qPrintable(kept));
            QCOMPARE(result[std::size_t(slot)], original[std::size_t(slot)]);
            QCOMPARE(options.variation, 42u);
            QVERIFY(!options.dark);
            if (!accept) {
                QCOMPARE(rig.form->Session().ThemeColors(), original);
                QCOMPARE(rig.form->Session().Document().History().UndoName(), std::string("Lock Colour"));
                continue;
            }
            QCOMPARE(rig.form->Session().ThemeColors(), result);
            QCOMPARE(rig.form->Session().Document().History().UndoName(), std::string("Generate Theme"));
            rig.form->mniUndoClick();
            QCOMPARE(rig.form->Session().ThemeColors(), original);
        }
    }

    // Palettes out and in, the card, and a second theme: held on the
    // preview with the backslash key, its differences listed, taken over as
    // one step each, locked slots kept throughout.
    void palettesCardAndComparing()
    {
        TempDir dir;
        Rig rig;
        TfrmMain& f = *rig.form;
        const TThemeColorTable original = f.Session().ThemeColors();
        const auto file = [&](const char* name) { return QString::fromStdString(dir.File(name)); };
        rig.dialogs->fileAnswers = {file("mine.json")};
        f.exchange->mniExportPaletteClick();
        QCOMPARE(f.status->Text(), QStringLiteral("Palette was exported successfully"));
        QCOMPARE(QFileInfo(rig.dialogs->fileQuestions.back().suggestedPath).fileName(), QStringLiteral("Untitled.gpl"));
        TPackedTheme packed{};
        PackTheme(original, packed);
        QCOMPARE(ReadText(dir.File("mine.json")), WritePalette(PaletteFormat::Json, packed, false, "Untitled"));

        // Every colour changed, then the palette back over it, but for the
        // locked slot; a palette with a fault changes nothing and says where.
        TThemeColorTable other = original;
        for (TColor& c : other)
            c = RGB565ToColor(ColorToRGB565(c) ^ 0x0841);
        TPackedTheme otherWords{};
        PackTheme(other, otherWords);
        WriteText(dir.File("other.json"), WritePalette(PaletteFormat::Json, otherWords, false, "other"));
        rig.dialogs->fileAnswers = {file("other.json")};
        f.exchange->mniImportPaletteClick();
        QCOMPARE(f.Session().ThemeColors(), other);
        f.lstColors->setCurrentRow(0);
        const int locked = SlotIndex(*f.Session().SelectedSlot());
        f.mniLockColor->trigger();
        rig.dialogs->fileAnswers = {file("mine.json")};
        f.exchange->mniImportPaletteClick();
        QCOMPARE(f.Session().Document().History().UndoName(), std::string("Import Palette"));
        for (int i = 0; i < ThemeSlotCount; ++i)
            QCOMPARE(f.Session().ThemeColors()[std::size_t(i)], i == locked ? other[std::size_t(i)] : original[std::size_t(i)]);
        f.mniUndoClick();
        QCOMPARE(f.Session().ThemeColors(), other);
        f.mniRedoClick();
        WriteText(dir.File("bad.gpl"), "GIMP Palette\n1 2 3 Main_Dom\n4 5\n");
        const TThemeColorTable before = f.Session().ThemeColors();
        rig.dialogs->fileAnswers = {file("bad.gpl")};
        f.exchange->mniImportPaletteClick();
        QCOMPARE(f.Session().ThemeColors(), before);
        QCOMPARE(f.Session().Document().History().UndoName(), std::string("Import Palette"));
        QVERIFY2(f.status->Text().startsWith(QStringLiteral("bad.gpl:3: ")), qPrintable(f.status->Text()));
        // Colours that name no slots: the user is told where they go first, and No changes nothing.
        WriteText(dir.File("five.gpl"), "GIMP Palette\n1 2 3\n4 5 6\n7 8 9\n10 11 12\n13 14 15\n");
        rig.dialogs->fileAnswers = {file("five.gpl")};
        rig.dialogs->importResult = false;
        f.exchange->mniImportPaletteClick();
        QCOMPARE(f.Session().ThemeColors(), before);
        QCOMPARE(rig.dialogs->importQuestions.size(), std::size_t(1));
        QVERIFY(rig.dialogs->importQuestions[0].contains(QStringLiteral("its 5 colours")));
        rig.dialogs->importResult = true;

        // The card is the card renderer's picture of the theme.
        rig.dialogs->exportResult = file("card.png");
        f.exchange->mniExportCardClick();
        QCOMPARE(QFileInfo(rig.dialogs->exportQuestion.suggestedPath).fileName(), QStringLiteral("Untitled-card.png"));
        QCOMPARE(QImage(file("card.png")).convertToFormat(QImage::Format_RGB888),
                 ToQImage(RenderThemeCard(f.Session().ThemeColors(), "Untitled", f.Session().Drawer().Clock())).convertToFormat(QImage::Format_RGB888));

        // Compare with a theme two slots apart, one of them the locked one.
        TThemeColorTable theirs = f.Session().ThemeColors();
        theirs[SlotIndex(SlotId::Main_Dom)] = RGB565ToColor(0xF800);
        theirs[std::size_t(locked)] = RGB565ToColor(0x001F);
        {
            TPackedTheme words{};
            std::string name;
            QVERIFY(SaveTheme(dir.File("theirs.lsth"), theirs, words, false, name));
        }
        rig.dialogs->fileAnswers = {file("theirs.lsth")};
        f.exchange->mniCompareClick();
        QVERIFY(f.compareWindow && f.compareWindow->isVisible());
        auto* rows = f.compareWindow->findChild<QTreeWidget*>(QStringLiteral("differences"));
        QCOMPARE(rows->topLevelItemCount(), 2);
        QCOMPARE(rows->topLevelItem(1)->text(2), QStringLiteral("#FF0000"));
        const QImage mine = f.surface->grab().toImage();
        QTest::keyPress(f.lstColors, Qt::Key_Backslash);
        const QImage held = f.surface->grab().toImage();
        QVERIFY(held != mine);
        QTest::keyRelease(f.lstColors, Qt::Key_Backslash);
        QCOMPARE(f.surface->grab().toImage(), mine);
        rows->topLevelItem(1)->setSelected(true);
        f.compareWindow->findChild<QPushButton*>(QStringLiteral("take"))->click();
        QCOMPARE(f.Session().Document().History().UndoName(), std::string("Take Colours"));
        QCOMPARE(f.Session().ThemeColors()[SlotIndex(SlotId::Main_Dom)], theirs[SlotIndex(SlotId::Main_Dom)]);
        QCOMPARE(rows->topLevelItemCount(), 1);
        f.mniUndoClick();
        QCOMPARE(f.Session().ThemeColors(), before);
        QCOMPARE(rows->topLevelItemCount(), 2);
        f.mniRedoClick();
        QCOMPARE(rows->topLevelItemCount(), 1);
        f.compareWindow->findChild<QPushButton*>(QStringLiteral("takeAll"))->click();
        QCOMPARE(f.Session().ThemeColors()[std::size_t(locked)], before[std::size_t(locked)]);
        QCOMPARE(rows->topLevelItemCount(), 1);
        // A file that is no theme is not compared.
        rig.dialogs->fileAnswers = {file("card.png")};
        f.exchange->mniCompareClick();
        QVERIFY2(f.status->Text().contains(QStringLiteral("cannot be compared")), qPrintable(f.status->Text()));
    }

    // Browse Themes on the folder of the open theme: a picture per theme
    // as the drawer draws it, a reason for a file that is none, the filter,
    // a change on the disk redrawn, Enter opens; the folder is only read.
    void browseThemes()
    {
        TempDir dir;
        Rig rig;
        TfrmMain& f = *rig.form;
        TThemeColorTable colors{};
        LoadDefaultTheme(colors);
        const auto save = [&](const char* name, TRGB565 background) {
            colors[0] = RGB565ToColor(background);
            TPackedTheme words{};
            std::string ignored;
            return SaveTheme(dir.File(name), colors, words, false, ignored);
        };
        QVERIFY(save("blue.lsth", 0x001F) && save("green.lsth", 0x07E0) && save("red.lsth", 0xF800));
        WriteText(dir.File("picture.lsth"), "\x89PNG\r\n");
#if !defined(_WIN32)
        // Files that are no themes, and none of them may hang the pictures:
        // a FIFO no one writes to, a file over the size limit, and (where
        // permissions count, not for root) one that may not be read.
        QVERIFY(mkfifo(dir.File("fifo.lsth").c_str(), 0600) == 0);
        WriteText(dir.File("big.lsth"), std::string(2 << 20, ';'));
        const bool permissionsCount = geteuid() != 0;
        if (permissionsCount) {
            QVERIFY(save("secret.lsth", 0x1234));
            QVERIFY(chmod(dir.File("secret.lsth").c_str(), 0) == 0);
        }
        // A name in Latin-1, as an old program may have written it: not UTF-8.
        QVERIFY(save("caf\xE9.lsth", 0x1234));
        const int themes = permissionsCount ? 8 : 7;
#else
        const int themes = 4;
#endif
        f.OpenThemeFile(dir.File("red.lsth"));
        const auto listing = [&] {
            QStringList all;
            for (const QFileInfo& i : QDir(QString::fromStdString(dir.File(""))).entryInfoList(QDir::Files | QDir::Hidden))
                all << i.fileName() + QString::number(i.size()) + i.lastModified().toString(Qt::ISODateWithMs);
            return all;
        };
        const QStringList before = listing();
        f.mniBrowse->trigger();
        QVERIFY(f.browser && f.browser->isVisible());
        QTRY_COMPARE(f.browser->Pending(), 0);
        QListWidget* items = f.browser->list;
        QCOMPARE(items->count(), themes);
        const auto item = [&](const QString& name) {
            for (int i = 0; i < items->count(); ++i)
                if (items->item(i)->text().startsWith(name))
                    return items->item(i);
            return static_cast<QListWidgetItem*>(nullptr);
        };
        const auto picture = [&](const char* name) {
            return f.browser->PictureOf(item(QString::fromLatin1(name))->data(Qt::UserRole).toString())
                .convertToFormat(QImage::Format_RGB888);
        };
        const auto drawn = [&](const char* name) {
            const ThemeThumbnail t = RenderThemeThumbnail(dir.File(name), 0, false, FixedClock(f.Session().Drawer().Clock()()));
            return ToQImage(t.screen).convertToFormat(QImage::Format_RGB888);
        };
        QCOMPARE(picture("green"), drawn("green.lsth"));
        QVERIFY(picture("green") != picture("blue"));
        const auto reason = [&](const char* name, const char* why) {
            const QString text = item(QString::fromLatin1(name))->text();
            return text.contains(QStringLiteral("not a theme")) && text.contains(QString::fromLatin1(why));
        };
        QVERIFY2(reason("picture", "no theme colours"), qPrintable(item(QStringLiteral("picture"))->text()));
        // The whole reason, however long, in the tooltip.
        QVERIFY(item(QStringLiteral("picture"))->toolTip().endsWith(QString::fromStdString(
            RenderThemeThumbnail(dir.File("picture.lsth"), 0, false, FixedClock(f.Session().Drawer().Clock()())).reason)));
#if !defined(_WIN32)
        QVERIFY2(reason("fifo", "not a regular file"), qPrintable(item(QStringLiteral("fifo"))->text()));
        QVERIFY2(reason("big", "larger than"), qPrintable(item(QStringLiteral("big"))->text()));
        if (permissionsCount)
            QVERIFY2(reason("secret", "cannot open"), qPrintable(item(QStringLiteral("secret"))->text()));
#endif
        f.browser->filter->setText(QStringLiteral("GRE"));
        for (int i = 0; i < items->count(); ++i)
            QCOMPARE(items->item(i)->isHidden(), !items->item(i)->text().startsWith(QStringLiteral("green")));
        f.browser->filter->clear();

        // Another program rewrites a theme: its picture follows, and the
        // other items stay as they were, not listed again.
        QListWidgetItem* const blue = item(QStringLiteral("blue"));
        QVERIFY(save("green.lsth", 0xFFE0));
        {
            // A time of its own, on file systems that keep whole seconds.
            QFile green(QString::fromStdString(dir.File("green.lsth")));
            QVERIFY(green.open(QIODevice::ReadWrite));
            QVERIFY(green.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
        }
        items->setCurrentItem(item(QStringLiteral("blue")));
        QTRY_COMPARE(picture("green"), drawn("green.lsth"));
        QTRY_COMPARE(f.browser->Pending(), 0);
        QCOMPARE(items->currentItem()->text(), QStringLiteral("blue"));
        QCOMPARE(item(QStringLiteral("blue")), blue);

        // Space shows the theme twice the size, and Space closes it again.
        bool closedBySpace = false;
        QTimer::singleShot(0, this, [&] {
            QWidget* large = QApplication::activeModalWidget();
            QVERIFY(large && large != f.browser);
            QTest::keyClick(large, Qt::Key_Space);
            closedBySpace = !large->isVisible();
            if (!closedBySpace)
                large->close();
        });
        QTest::keyClick(items, Qt::Key_Space);
        QVERIFY(closedBySpace);

        // Enter opens the current theme, and asks for no folder.
        const std::size_t asked = rig.dialogs->fileQuestions.size();
        QTest::keyClick(items, Qt::Key_Return);
        QCOMPARE(QString::fromStdString(f.Session().ThemeFileName()), QString::fromStdString(dir.File("blue.lsth")));
        QCOMPARE(rig.dialogs->fileQuestions.size(), asked);
#if !defined(_WIN32)
        // The name that is not UTF-8, shown with its byte, opens as itself.
        items->setCurrentItem(item(QStringLiteral("caf\\xE9")));
        QTest::keyClick(items, Qt::Key_Return);
        QCOMPARE(f.Session().ThemeFileName(), dir.File("caf\xE9.lsth"));
#endif
        QStringList after = listing();
        after.removeIf([](const QString& s) { return s.startsWith(QStringLiteral("green")); });
        QStringList expected = before;
        expected.removeIf([](const QString& s) { return s.startsWith(QStringLiteral("green")); });
        QCOMPARE(after, expected);
    }

    // Pictures are kept with a colour table when they can be, in full when a
    // page has more colours than a table holds; either way every pixel stays,
    // and on the screen each is a whole square of device pixels.
    void compactPicturesKeepEveryPixel()
    {
        for (int colours : {3, 256, 257, 600}) {
            Bitmap bitmap(30, 20);
            for (int y = 0; y < bitmap.Height(); ++y)
                for (int x = 0; x < bitmap.Width(); ++x) {
                    const int i = (y * bitmap.Width() + x) % colours;
                    std::uint8_t* p = bitmap.Row(y) + x * 3;
                    p[0] = std::uint8_t(i), p[1] = std::uint8_t(i >> 8), p[2] = std::uint8_t(255 - i);
                }
            const QImage compact = CompactPicture(bitmap);
            QCOMPARE(compact.format() == QImage::Format_Indexed8, colours <= 256);
            const QImage exact = ToQImage(bitmap).convertToFormat(QImage::Format_RGB888);
            QCOMPARE(compact.convertToFormat(QImage::Format_RGB888), exact);
            const QImage onScreen = DevicePicture(compact, 3);
            QCOMPARE(onScreen.devicePixelRatio(), 3.0);
            QCOMPARE(onScreen.size(), compact.size() * 3);
            int wrong = 0;
            for (int y = 0; y < onScreen.height(); ++y)
                for (int x = 0; x < onScreen.width(); ++x)
                    wrong += onScreen.pixel(x, y) != compact.pixel(x / 3, y / 3);
            QCOMPARE(wrong, 0);
        }
    }

    // The exported pictures and the simulated preview are lsthtool's pixels.
    void exportsAndSimulationMatchLsthtool()
    {
        TempDir dir;
        Rig rig;
        TfrmMain& f = *rig.form;
        f.preview->SetZoom(2);
        f.mniDispSmallClick();
        rig.dialogs->exportResult = QString::fromStdString(dir.File("one.png"));
        f.exchange->mniExportImageClick();
        QCOMPARE(f.status->Text(), QStringLiteral("Image was exported successfully"));
        const QImage one = QImage(rig.dialogs->exportResult).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(one, Render(dir, QStringLiteral("render --page 0 --display 80x160 --screen-only --zoom 2")));
        // Worked out here from the drawer's own pixels: the 80x160 screen at
        // (80, 80) of the bitmap, each pixel a 2x2 square.
        QCOMPARE(one.size(), QSize(160, 320));
        const Bitmap& bitmap = f.Session().Drawer().Bitmap();
        int wrong = 0;
        for (int y = 0; y < one.height(); ++y)
            for (int x = 0; x < one.width(); ++x) {
                const TColor c = bitmap.Pixel(80 + x / 2, 80 + y / 2);
                wrong += (one.pixel(x, y) & 0xFFFFFF) != (qRgb(int(ColorRed(c)), int(ColorGreen(c)), int(ColorBlue(c))) & 0xFFFFFF);
            }
        QCOMPARE(wrong, 0);
        // Each dialog under its own title, suggesting theme, page and zoom in
        // the folder of the last export.
        QCOMPARE(rig.dialogs->exportQuestion.title, QStringLiteral("Export Image"));
        QCOMPARE(QFileInfo(rig.dialogs->exportQuestion.suggestedPath).fileName(),
                 QStringLiteral("Untitled-%1@2x.png").arg(QString::fromLatin1(PageNames[0])));
        rig.dialogs->exportResult = QString::fromStdString(dir.File("all.png"));
        f.exchange->mniExportAllClick();
        QCOMPARE(rig.dialogs->exportQuestion.title, QStringLiteral("Export All Pages"));
        QCOMPARE(QDir::cleanPath(rig.dialogs->exportQuestion.suggestedPath),
                 QDir::cleanPath(QString::fromStdString(dir.File("Untitled-all@2x.png"))));
        QCOMPARE(QImage(rig.dialogs->exportResult).convertToFormat(QImage::Format_RGB32),
                 Render(dir, QStringLiteral("render --page all --display 80x160 --screen-only --zoom 2")));
        rig.dialogs->exportResult = QString::fromStdString(dir.File("no/such/folder.png"));
        f.exchange->mniExportImageClick();
        QCOMPARE(f.status->Text(), QStringLiteral("A file error has occurred"));

        // Deuteranopia on the preview: the bitmap's area of the surface, and
        // nothing else of the window, as lsthtool simulates it.
        f.preview->SetZoom(1);
        f.mniDispLargeClick();
        const QString title = f.windowTitle();
        const QString status = f.status->Text();
        const QImage swatchBefore = f.lstColors->grab().toImage();
        f.preview->SetVision(ColorVision::Deuteranopia);
        const QImage shot = f.surface->grab(QRect(5, 3, 240, 320)).toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shot, Render(dir, QStringLiteral("render --page 0 --simulate deuteranopia")));
        QCOMPARE(f.windowTitle(), title);
        QCOMPARE(f.status->Text(), status);
        QCOMPARE(f.lstColors->grab().toImage(), swatchBefore);
        QCOMPARE(f.Session().ThemeColors()[SlotIndex(SlotId::Main_AccentVW)], RGB565ToColor(0xFAC4));
        // A simulation lasts for the run: the next window shows normal vision.
        Rig next;
        QCOMPARE(next.form->Session().Vision(), ColorVision::Normal);
        QVERIFY(next.form->mniSimulate->actions().first()->isChecked());
    }
};

int main(int argc, char** argv)
{
    LarkspurApplication app(argc, argv);
    app.setApplicationName(QString::fromLatin1(ApplicationTitle));
    InsightTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "InsightTest.moc"
