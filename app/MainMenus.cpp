// The main window's menu bar: File, Edit, Display and Theme, each item wired
// to its handler, in the order the user finds them.

#include "CompareWindow.h"
#include "LegibilityWindow.h"
#include "PreviewPanel.h"
#include "ThemeExchange.h"
#include "Unit1.h"
#include "WindowWiring.h"

#include <QAction>
#include <QActionGroup>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>

namespace {

const struct {
    ColorVision vision;
    const char* caption;
} VisionItems[] = {
    {ColorVision::Normal, "Normal vision"}, {ColorVision::Protanopia, "Protanopia"},
    {ColorVision::Deuteranopia, "Deuteranopia"}, {ColorVision::Tritanopia, "Tritanopia"},
    {ColorVision::Greyscale, "Greyscale"},
};

QAction* Item(QMenu* menu, const char* caption, TfrmMain& form, std::function<void()> handler, const char* keys = nullptr)
{
    QAction* a = menu->addAction(QString::fromLatin1(caption), &form, std::move(handler));
    if (keys)
        a->setShortcut(QKeySequence(QString::fromLatin1(keys)));
    return a;
}

void CreateFileMenu(TfrmMain& f, QMenuBar* bar)
{
    ThemeExchange* x = f.exchange;
    f.mniFile = bar->addMenu(QStringLiteral("File"));
    f.mniNew = Item(f.mniFile, "New", f, [&f] { f.mniNewClick(); }, "Ctrl+N");
    f.mniOpen = Item(f.mniFile, "Open...", f, [&f] { f.mniOpenClick(); }, "Ctrl+O");
    f.mniRecent = f.mniFile->addMenu(QStringLiteral("Open Recent"));
    f.mniRecent->setToolTipsVisible(true);
    FillRecentMenu(f);
    f.mniBrowse = Item(f.mniFile, "Browse Themes...", f, [x] { x->mniBrowseClick(); }, "Ctrl+B");
    f.mniFile->addSeparator();
    f.mniSave = Item(f.mniFile, "Save", f, [&f] { f.mniSaveClick(); }, "Ctrl+S");
    f.mniSaveAs = Item(f.mniFile, "Save As...", f, [&f] { f.mniSaveAsClick(); }, "Ctrl+Alt+S");
    f.mniExportImage = Item(f.mniFile, "Export Image...", f, [x] { x->mniExportImageClick(); });
    f.mniExportAll = Item(f.mniFile, "Export All Pages...", f, [x] { x->mniExportAllClick(); });
    f.mniFile->addSeparator();
    f.mniCompare = Item(f.mniFile, "Compare With...", f, [x] { x->mniCompareClick(); });
    f.mniImportPalette = Item(f.mniFile, "Import Palette...", f, [x] { x->mniImportPaletteClick(); });
    f.mniExportPalette = Item(f.mniFile, "Export Palette...", f, [x] { x->mniExportPaletteClick(); });
    f.mniExportCard = Item(f.mniFile, "Export Theme Card...", f, [x] { x->mniExportCardClick(); });
    f.mniFile->addSeparator();
    f.mniExit = Item(f.mniFile, "Exit", f, [&f] { f.mniExitClick(); });
}

void CreateEditMenu(TfrmMain& f, QMenuBar* bar)
{
    f.mniEdit = bar->addMenu(QStringLiteral("Edit"));
    f.mniUndo = Item(f.mniEdit, "Undo", f, [&f] { f.mniUndoClick(); }, "Ctrl+Z");
    f.mniRedo = Item(f.mniEdit, "Redo", f, [&f] { f.mniRedoClick(); });
    f.mniRedo->setShortcuts({QKeySequence(QStringLiteral("Ctrl+Shift+Z")), QKeySequence(QStringLiteral("Ctrl+Y"))});
    f.mniEdit->addSeparator();
    f.mniCopyColor = Item(f.mniEdit, "Copy Colour", f, [&f] { f.mniCopyColorClick(); }, "Ctrl+C");
    f.mniPasteColor = Item(f.mniEdit, "Paste Colour", f, [&f] { f.mniPasteColorClick(); }, "Ctrl+V");
    f.mniEdit->addSeparator();
    // Kept as it is by Fix Legibility (and in the theme file, for the next time).
    f.mniLockColor = Item(f.mniEdit, "Lock Colour", f, [&f] { f.mniLockColorClick(); }, "Ctrl+K");
    f.mniLockColor->setCheckable(true);
    f.mniGenerate = Item(f.mniEdit, "Generate Theme...", f, [&f] { f.mniGenerateClick(); });
    // The lock from the list's own menu too.
    f.lstColors->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(f.lstColors, &QWidget::customContextMenuRequested, &f, [&f](const QPoint& at) {
        if (!f.Session().SelectedSlot())
            return;
        QMenu menu(f.lstColors);
        menu.addAction(f.mniLockColor);
        menu.exec(f.lstColors->viewport()->mapToGlobal(at));
    });
}

void CreateDisplayMenu(TfrmMain& f, QMenuBar* bar)
{
    PreviewPanel* p = f.preview;
    f.mniDisplay = bar->addMenu(QStringLiteral("Display"));
    auto* sizes = new QActionGroup(&f);
    sizes->setExclusive(true);
    f.mniDispLarge = Item(f.mniDisplay, "240x320", f, [&f] { f.mniDispLargeClick(); }, "F1");
    f.mniDispSmall = Item(f.mniDisplay, "80x160", f, [&f] { f.mniDispSmallClick(); }, "F2");
    for (QAction* a : {f.mniDispLarge, f.mniDispSmall}) {
        a->setCheckable(true);
        sizes->addAction(a);
    }
    f.mniDispLarge->setChecked(true);
    f.mniDisplay->addSeparator();
    EditorSession& s = f.Session();
    f.mniZoomIn = Item(f.mniDisplay, "Zoom In", f, [p, &s] { p->SetZoom(s.Zoom() + 1); });
    f.mniZoomIn->setShortcuts({QKeySequence(QStringLiteral("Ctrl++")), QKeySequence(QStringLiteral("Ctrl+="))});
    f.mniZoomOut = Item(f.mniDisplay, "Zoom Out", f, [p, &s] { p->SetZoom(s.Zoom() - 1); }, "Ctrl+-");
    f.mniActualSize = Item(f.mniDisplay, "Actual Size", f, [p] { p->SetZoom(1); }, "Ctrl+0");
    f.mniDisplay->addSeparator();
    f.mniSimulate = f.mniDisplay->addMenu(QStringLiteral("Simulate"));
    auto* visions = new QActionGroup(&f);
    for (const auto& item : VisionItems) {
        QAction* a = Item(f.mniSimulate, item.caption, f, [p, v = item.vision] { p->SetVision(v); });
        a->setCheckable(true);
        a->setChecked(item.vision == s.Vision());
        a->setData(static_cast<int>(item.vision));
        visions->addAction(a);
    }
    f.mniCheckLegibility = Item(f.mniDisplay, "Check Legibility...", f, [&f] {
        if (!f.legibility)
            f.legibility = new LegibilityWindow(f, f.Session());
        f.legibility->Open();
    }, "Ctrl+L");
    QObject::connect(f.mniDisplay, &QMenu::aboutToShow, &f,
                     [&f, p, &s] { f.mniZoomIn->setEnabled(s.Zoom() < MaxZoomFactor && p->ZoomFits(s.Zoom() + 1)); });
}

}  // namespace

void TfrmMain::CreateMenus()
{
    QMenuBar* bar = menuBar();
    CreateFileMenu(*this, bar);
    CreateEditMenu(*this, bar);
    CreateDisplayMenu(*this, bar);
    mniTheme = bar->addMenu(QStringLiteral("Theme"));
    mniDownload = Item(mniTheme, "Download from Device", *this, [this] { mniDownloadClick(); }, "F5");
    mniUpload = Item(mniTheme, "Upload to Device", *this, [this] { mniUploadClick(); }, "F8");
    EnableThemeMenu(*this, false);
    UpdateEditActions();
    preview->ApplyLayout();
}
