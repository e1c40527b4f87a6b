// Themes beside other tools and other themes: palettes imported and
// exported, the theme card, and a second theme held for comparison, shown
// on the preview while the backslash key is down, with its differing slots
// listed and taken over.

#include "BitmapImage.h"
#include "ClientSurface.h"
#include "ColorText.h"
#include "EditorState.h"
#include "FileIo.h"
#include "KeyHold.h"
#include "PaletteFiles.h"
#include "SlotCatalogue.h"
#include "ThemeBrowser.h"
#include "ThemeCard.h"
#include "ThemeFile.h"
#include "Unit1.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int CompareKey = Qt::Key_Backslash;

QIcon Swatch(TColor c)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::black);
    QPainter p(&pixmap);
    p.fillRect(1, 1, 14, 14, ToQColor(c));
    return QIcon(pixmap);
}

std::string Path(const QString& file) { return QFile::encodeName(file).toStdString(); }

}  // namespace

void TfrmMain::CreateLibraryMenus()
{
    // Beside the exports, before the line above Exit.
    const QList<QAction*> items = mniFile->actions();
    QAction* beforeExit = items.at(items.indexOf(mniExit) - 1);
    mniCompare = new QAction(QStringLiteral("Compare With..."), this);
    mniImportPalette = new QAction(QStringLiteral("Import Palette..."), this);
    mniExportPalette = new QAction(QStringLiteral("Export Palette..."), this);
    mniExportCard = new QAction(QStringLiteral("Export Theme Card..."), this);
    connect(mniCompare, &QAction::triggered, this, [this] { mniCompareClick(); });
    connect(mniImportPalette, &QAction::triggered, this, [this] { mniImportPaletteClick(); });
    connect(mniExportPalette, &QAction::triggered, this, [this] { mniExportPaletteClick(); });
    connect(mniExportCard, &QAction::triggered, this, [this] { mniExportCardClick(); });
    mniFile->insertSeparator(beforeExit);
    mniFile->insertActions(beforeExit, {mniCompare, mniImportPalette, mniExportPalette, mniExportCard});
    // Beside Open Recent.
    mniBrowse = new QAction(QStringLiteral("Browse Themes..."), this);
    mniBrowse->setShortcut(QKeySequence(QStringLiteral("Ctrl+B")));
    connect(mniBrowse, &QAction::triggered, this, [this] { mniBrowseClick(); });
    const QList<QAction*> fileItems = mniFile->actions();
    mniFile->insertAction(fileItems.at(fileItems.indexOf(mniRecent->menuAction()) + 1), mniBrowse);
    new KeyHold(
        *this, CompareKey,
        [this](bool held) {
            if (!compareDrawer_)
                return;
            showingCompared_ = held;
            RefreshPreviewImage();
            surface->update();
        },
        [this](const QWidget* window) { return window && window == compareWindow; });
}

void TfrmMain::mniImportPaletteClick()
{
    const QString file = dialogs_->AskFile(this, {QStringLiteral("Import Palette"),
                                                  QStringLiteral("Palettes (*.gpl *.json)"), QString(), false});
    if (file.isEmpty())
        return;
    const std::optional<PaletteFormat> format = PaletteFormatOf(Path(file));
    if (!format || *format == PaletteFormat::CHeader) {
        SetStatusText(QStringLiteral("%1 is no .gpl or .json palette").arg(QFileInfo(file).fileName()), true);
        return;
    }
    PaletteRead read;
    PackTheme(ThemeColors, read.words);
    PaletteError fault;
    if (!ReadPaletteFile(Path(file), read, fault)) {
        const QString where = fault.line ? QStringLiteral("%1:%2").arg(QFileInfo(file).fileName()).arg(fault.line)
                                         : QFileInfo(file).fileName();
        SetStatusText(QStringLiteral("%1: %2").arg(where, QString::fromStdString(fault.reason)), true);
        return;
    }
    ApplyOutcome(document_->ImportPalette(read.words, read.given));
}

void TfrmMain::mniExportPaletteClick()
{
    const QString folder = ExportFolder();
    const QString suggested = (folder.isEmpty() ? QString() : folder + QLatin1Char('/')) + ThemeName() + QStringLiteral(".gpl");
    QString file = dialogs_->AskFile(
        this, {QStringLiteral("Export Palette"),
               QStringLiteral("GIMP Palette (*.gpl);;JSON (*.json);;C Header (*.h)"), suggested, true});
    if (file.isEmpty())
        return;
    if (!PaletteFormatOf(Path(file)))
        file += QStringLiteral(".gpl");
    lastExportFolder_ = QFileInfo(file).absolutePath();
    TPackedTheme packed{};
    PackTheme(ThemeColors, packed);
    const std::string text = WritePalette(*PaletteFormatOf(Path(file)), packed, SmallDisplay, ThemeName().toStdString());
    const bool ok = WriteFileAtomically(Path(file), text);
    SetStatusText(ok ? QStringLiteral("Palette was exported successfully") : QStringLiteral("A file error has occurred"), !ok);
}

void TfrmMain::mniExportCardClick()
{
    SaveImage(RenderThemeCard(ThemeColors, ThemeName().toStdString(), drawer_->Clock()),
              QStringLiteral("Export Theme Card"), QStringLiteral("card"), false);
}

void TfrmMain::mniBrowseClick()
{
    QString folder;
    if (!ThemeFileName.empty())
        folder = QFileInfo(QString::fromStdString(ThemeFileName)).absolutePath();
    else if (browser)
        folder = browser->Folder();
    else
        folder = QDir::homePath();
    const bool first = !browser;
    if (first)
        browser = new ThemeBrowser(
            this, [this](const QString& file) { OpenThemeFile(QFile::encodeName(file).toStdString()); },
            [this](const QString& file) { CompareWith(file); },
            [this](const QString& current) {
                return dialogs_->AskFile(this, {QStringLiteral("Browse Folder"), QString(), current, false, true});
            });
    // Placed before it is first shown, so the window manager maps it there
    // and it never jumps under the pointer.
    if (first) {
        // On a small screen narrower (or lower) rather than cover the editor,
        // or at least its preview; a column of pictures still fits.
        const DialogPlace place = PlaceBesidePreview();
        browser->resize(
            SizeForRoomBeside(*this, browser->size(), QSize(320, 400), {place.keepVisible, place.keepVisibleAtLeast}));
        PlaceBeside(*browser, place);
    }
    // The clock stands still for the pictures, as on one page at one moment.
    browser->Show(folder, CurrentPage(), SmallDisplay, FixedClock(drawer_->Clock()()));
    browser->raise();
    browser->activateWindow();
}

void TfrmMain::mniCompareClick()
{
    const QString file = dialogs_->AskFile(this, {QStringLiteral("Compare With"), QStringLiteral("Larkspur Themes (*.lsth)"),
                                                  comparedFile_, false});
    if (!file.isEmpty())
        CompareWith(file);
}

bool TfrmMain::CompareWith(const QString& file)
{
    TPackedTheme packed{};
    std::string name;
    ThemeFileError error;
    ThemeLoadReport report;
    // Compared at the editor's display size, whatever the file's.
    if (!LoadTheme(Path(file), packed, nullptr, name, &error, &report) || report.NoThemeKeys()) {
        SetStatusText(QStringLiteral("%1 cannot be compared: %2")
                          .arg(QFileInfo(file).fileName(),
                               report.NoThemeKeys() ? QStringLiteral("it holds no theme colours")
                                                    : QString::fromStdString(error.reason)),
                      true);
        return false;
    }
    UnpackTheme(packed, compared_);
    comparedFile_ = file;
    compareDrawer_ = std::make_unique<TLSDrawer>(compared_, SmallDisplay);
    compareDrawer_->SetClock(drawer_->Clock());
    if (!compareWindow) {
        compareWindow = new QDialog(this);
        auto* layout = new QVBoxLayout(compareWindow);
        auto* hint = new QLabel(compareWindow);
        hint->setObjectName(QStringLiteral("hint"));
        hint->setWordWrap(true);
        auto* rows = new QTreeWidget(compareWindow);
        rows->setObjectName(QStringLiteral("differences"));
        rows->setHeaderLabels({QStringLiteral("Slot"), QStringLiteral("This theme"), QStringLiteral("Other theme")});
        rows->setRootIsDecorated(false);
        rows->setSelectionMode(QAbstractItemView::ExtendedSelection);
        auto* buttons = new QDialogButtonBox(compareWindow);
        auto* take = buttons->addButton(QStringLiteral("&Take"), QDialogButtonBox::ActionRole);
        take->setObjectName(QStringLiteral("take"));
        auto* takeAll = buttons->addButton(QStringLiteral("Take &All"), QDialogButtonBox::ActionRole);
        takeAll->setObjectName(QStringLiteral("takeAll"));
        buttons->addButton(QDialogButtonBox::Close);
        connect(take, &QPushButton::clicked, this, [this] { TakeColours(false); });
        connect(takeAll, &QPushButton::clicked, this, [this] { TakeColours(true); });
        connect(buttons, &QDialogButtonBox::rejected, compareWindow, &QDialog::close);
        layout->addWidget(hint);
        layout->addWidget(rows);
        layout->addWidget(buttons);
        compareWindow->resize(520, 420);
    }
    compareWindow->setWindowTitle(QStringLiteral("Compare With %1").arg(QFileInfo(file).fileName()));
    compareWindow->findChild<QLabel*>(QStringLiteral("hint"))
        ->setText(QStringLiteral("Hold the \\ key to see %1 on the preview.").arg(QFileInfo(file).fileName()));
    RefreshCompare();
    if (!compareWindow->isVisible()) {
        PlaceBeside(*compareWindow, PlaceBesidePreview());
        compareWindow->show();
    }
    compareWindow->raise();
    return true;
}

void TfrmMain::RefreshCompare()
{
    if (!compareWindow || !compareDrawer_)
        return;
    auto* rows = compareWindow->findChild<QTreeWidget*>(QStringLiteral("differences"));
    rows->clear();
    for (int i = 0; i < ThemeSlotCount; ++i) {
        const TColor mine = ThemeColors[std::size_t(i)], other = compared_[std::size_t(i)];
        if (ColorToRGB565(mine) == ColorToRGB565(other))
            continue;
        const SlotId slot = static_cast<SlotId>(i);
        auto* row = new QTreeWidgetItem(rows, {QString::fromLatin1(ListNameOrKey(CurrentPage(), SmallDisplay, slot)),
                                               QString::fromStdString(ColorToHexText(mine)),
                                               QString::fromStdString(ColorToHexText(other))});
        row->setIcon(1, Swatch(mine));
        row->setIcon(2, Swatch(other));
        row->setData(0, Qt::UserRole, i);
        row->setToolTip(0, QString::fromLatin1(SlotKey(slot)) + (document_->IsLocked(i) ? QStringLiteral(" (locked)") : QString()));
    }
    for (int c = 0; c < rows->columnCount(); ++c)
        rows->resizeColumnToContents(c);
}

void TfrmMain::TakeColours(bool all)
{
    if (!compareWindow || !compareDrawer_)
        return;
    auto* rows = compareWindow->findChild<QTreeWidget*>(QStringLiteral("differences"));
    TThemeColorTable colors = ThemeColors;
    for (int r = 0; r < rows->topLevelItemCount(); ++r) {
        QTreeWidgetItem* row = rows->topLevelItem(r);
        const int slot = row->data(0, Qt::UserRole).toInt();
        if ((all || row->isSelected()) && !document_->IsLocked(slot))
            colors[std::size_t(slot)] = compared_[std::size_t(slot)];
    }
    if (colors != ThemeColors)
        ApplyOutcome(document_->SetColors(colors, "Take Colours"));
}
