#include "Unit1.h"

#include "AppIcon.h"
#include "BitmapImage.h"
#include "ClientSurface.h"
#include "ClientTitleBar.h"
#include "ColorListDelegate.h"
#include "DraftStore.h"
#include "EditorState.h"
#include "MenuKeyboard.h"
#include "RecentFiles.h"
#include "SwatchButton.h"
#include "UserFolders.h"
#include "WindowLayout.h"
#include "SettingsFile.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTimer>
#include <QWindow>

// The editor state. Plain module-level variables, alive for the whole program.
TThemeColorTable ThemeColors{};
TPackedTheme PackedTheme{};
TColor* SelectedSlot = nullptr;
bool Modified = false;
std::string ThemeFileName;
bool SmallDisplay = false;
int HoveredItem = -1;
std::string OverrideText;

const char* const ApplicationTitle = "Larkspur Theme Editor";

std::string ShownFileName(const std::string& path)
{
    if (path.empty())
        return "Untitled";
    const std::size_t sep = path.find_last_of("/\\:");
    return sep == std::string::npos ? path : path.substr(sep + 1);
}

int PointsAt96Dpi(double points) { return qRound(points * 96.0 / 72.0); }

namespace {

TColor* SlotOfItem(const QListWidgetItem* item)
{
    return reinterpret_cast<TColor*>(item->data(Qt::UserRole).value<quintptr>());
}

// Device pixels of a logical position on the painter's device, rounded; the
// frame and the bitmap share these edges, so neither gaps nor overlaps.
QPoint DevicePoint(const QTransform& toDevice, int x, int y)
{
    return toDevice.map(QPointF(x, y)).toPoint();
}

}  // namespace

TfrmMain::TfrmMain(std::unique_ptr<EditorDialogs> dialogs, std::shared_ptr<HidBackend> hidBackend, QWidget* parent)
    : QMainWindow(parent), dialogs_(std::move(dialogs))
{
    setWindowTitle(QString::fromLatin1(ApplicationTitle));
    setWindowIcon(ApplicationIcon());
    // The menu bar keeps the desktop's font at its 96-dpi pixel size, so its
    // height, and with it the fixed layout below it, holds at any font resolution.
    QFont barFont = font();
    if (barFont.pointSizeF() > 0) {
        barFont.setPixelSize(PointsAt96Dpi(barFont.pointSizeF()));
        setFont(barFont);
    }
    // Customised, so the window manager is told the buttons exactly: a
    // fixed-size window offers no Maximize. Where the window draws its own
    // title bar, that bar draws just those buttons.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    if (ClientTitleBar::Wanted())
        new ClientTitleBar(*this);
    setAcceptDrops(true);
    recent_ = std::make_unique<RecentFiles>();
    document_ = std::make_unique<ThemeDocument>(ThemeColors, PackedTheme, SmallDisplay, ThemeFileName, Modified);
    CreateControls();
    CreateMenus();
    new MenuKeyboard(*this);
    // The controller queues its start-up notice now; it is handled once the event
    // loop runs, after FormCreate and FormShow.
    CreateDeviceLink(std::move(hidBackend));
    FormCreate();
    WatchBlinkKey();
}

TfrmMain::~TfrmMain()
{
    // The controller, a child, goes with the window and takes its devices along.
    delete DevCon;
    DevCon = nullptr;
    CurrentDevice = nullptr;
}

void TfrmMain::CreateControls()
{
    surface = new ClientSurface(*this, this);
    surface->setFixedSize(ClientWidth, ClientHeight);
    surface->setAutoFillBackground(true);
    surface->setBackgroundRole(QPalette::Window);
    setCentralWidget(surface);

    // 8 points at 96 dpi: the layout is in pixels, so its font is too, whatever
    // font resolution the desktop asks for.
    QFont font = surface->font();
#if defined(Q_OS_WIN)
    // The window's own face on its home platform; elsewhere the desktop's.
    font.setFamily(QStringLiteral("Tahoma"));
#endif
    font.setPixelSize(PointsAt96Dpi(8));
    surface->setFont(font);

    cmbLayout = new QComboBox(surface);
    cmbLayout->setGeometry(250, 2, 185, 21);
    for (const char* name : PageNames)
        cmbLayout->addItem(QString::fromLatin1(name));
    cmbLayout->setCurrentIndex(-1);
    // `activated` is the user's choice (mouse or arrow keys); a selection set from
    // code raises nothing and is followed by an explicit cmbLayoutClick.
    connect(cmbLayout, &QComboBox::activated, this, [this] { cmbLayoutClick(); });

    lstColors = new QListWidget(surface);
    lstColors->setGeometry(250, 27, 185, 272);
    lstColors->setItemDelegate(new ColorListDelegate(*this, lstColors));
    lstColors->setUniformItemSizes(true);
    lstColors->setSelectionMode(QAbstractItemView::SingleSelection);
    lstColors->viewport()->setMouseTracking(true);
    lstColors->viewport()->installEventFilter(this);
    lstColors->installEventFilter(this);
    // A row counts as chosen once it is selected: a click selects it before
    // it becomes current, the keyboard does both at once.
    connect(lstColors, &QListWidget::itemSelectionChanged, this, [this] { lstColorsClick(); });

    btnColor = new SwatchButton(surface);
    btnColor->setGeometry(249, 302, 187, 23);
    btnColor->setIconSize(QSize(17, 17));
    btnColor->setStyleSheet(QStringLiteral("QPushButton { text-align: left; padding-left: 0px; }"));
    connect(btnColor, &QPushButton::clicked, this, [this] { btnColorClick(); });

    // Diagnostic controls, right of the client area and so never visible, but
    // still reachable with Tab: chk1 turns the coordinate log in memo1 on.
    memo1 = new QPlainTextEdit(surface);
    memo1->setGeometry(456, 32, 241, 297);
    memo1->setTabChangesFocus(true);
    memo1->setPlainText(QStringLiteral("memo1"));

    chk1 = new QCheckBox(QStringLiteral("Main Width = 455"), surface);
    chk1->setGeometry(456, 8, 113, 17);

    stBar = new QStatusBar(surface);
    stBar->setGeometry(0, 328, ClientWidth, 19);
    stBar->setSizeGripEnabled(false);
    stBar->setStyleSheet(QStringLiteral("QStatusBar::item { border: none; }"));
    stBarPanel = new QLabel(QStringLiteral("Disconnected"), stBar);
    stBarPanel->setMinimumWidth(500);
    stBar->addWidget(stBarPanel);

    // The controls lie on the surface: entering one leaves the preview, though
    // the surface itself is never left.
    for (QWidget* control : {static_cast<QWidget*>(cmbLayout), static_cast<QWidget*>(btnColor),
                             static_cast<QWidget*>(memo1), static_cast<QWidget*>(chk1), static_cast<QWidget*>(stBar)})
        control->installEventFilter(this);
    setTabOrder(cmbLayout, lstColors);
    setTabOrder(lstColors, btnColor);
    setTabOrder(btnColor, memo1);
    setTabOrder(memo1, chk1);
    stBar->setFocusPolicy(Qt::NoFocus);

    tmrDataflash = new QTimer(this);
    tmrDataflash->setInterval(500);
    tmrDataflash->setSingleShot(true);
}

void TfrmMain::CreateMenus()
{
    QMenuBar* bar = menuBar();
    mniFile = bar->addMenu(QStringLiteral("File"));
    mniNew = mniFile->addAction(QStringLiteral("New"), this, [this] { mniNewClick(); });
    mniNew->setShortcut(QKeySequence(QStringLiteral("Ctrl+N")));
    mniOpen = mniFile->addAction(QStringLiteral("Open..."), this, [this] { mniOpenClick(); });
    mniOpen->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    mniRecent = mniFile->addMenu(QStringLiteral("Open Recent"));
    mniRecent->setToolTipsVisible(true);
    FillRecentMenu();
    mniFile->addSeparator();
    mniSave = mniFile->addAction(QStringLiteral("Save"), this, [this] { mniSaveClick(); });
    mniSave->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    mniSaveAs = mniFile->addAction(QStringLiteral("Save As..."), this, [this] { mniSaveAsClick(); });
    mniSaveAs->setShortcut(QKeySequence(QStringLiteral("Ctrl+Alt+S")));
    mniFile->addSeparator();
    mniExit = mniFile->addAction(QStringLiteral("Exit"), this, [this] { mniExitClick(); });

    mniDisplay = bar->addMenu(QStringLiteral("Display"));
    auto* group = new QActionGroup(this);
    group->setExclusive(true);
    mniDispLarge = mniDisplay->addAction(QStringLiteral("240x320"), this, [this] { mniDispLargeClick(); });
    mniDispLarge->setShortcut(QKeySequence(Qt::Key_F1));
    mniDispSmall = mniDisplay->addAction(QStringLiteral("80x160"), this, [this] { mniDispSmallClick(); });
    mniDispSmall->setShortcut(QKeySequence(Qt::Key_F2));
    for (QAction* a : {mniDispLarge, mniDispSmall}) {
        a->setCheckable(true);
        group->addAction(a);
    }
    mniDispLarge->setChecked(true);
    CreateEditMenu();
    CreateInsightMenus();
    CreateLibraryMenus();

    mniTheme = bar->addMenu(QStringLiteral("Theme"));
    mniDownload = mniTheme->addAction(QStringLiteral("Download from Device"), this, [this] { mniDownloadClick(); });
    mniDownload->setShortcut(QKeySequence(Qt::Key_F5));
    mniUpload = mniTheme->addAction(QStringLiteral("Upload to Device"), this, [this] { mniUploadClick(); });
    mniUpload->setShortcut(QKeySequence(Qt::Key_F8));
    SetThemeMenuEnabled(false);
}

void TfrmMain::SetThemeMenuEnabled(bool enabled)
{
    // A disabled QMenu leaves its actions' shortcuts live; disable them as well.
    mniTheme->setEnabled(enabled);
    mniDownload->setEnabled(enabled);
    mniUpload->setEnabled(enabled);
}

void TfrmMain::FormCreate()
{
    drawer_ = std::make_unique<TLSDrawer>(ThemeColors, SmallDisplay);
    catalogue_ = std::make_unique<TSlotCatalogue>(ThemeColors);
    // The default theme, no file, not modified.
    document_->Reset();
    drafts_ = std::make_unique<DraftStore>(UserStateFolder());
    memo1->clear();
    CurrentDevice = nullptr;
    HoveredItem = -1;
    const QString exe = QCoreApplication::applicationFilePath();
    OverrideText = ReadOverrideText(SettingsPathForExecutable(exe.toStdString()));
}

void TfrmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    // Now, not when the layout next runs: the window manager then reads a
    // fixed size in the hints of the window it is about to map.
    layout()->activate();
    // The factor the screen allows first, so the window is centred at its
    // size; then the centred frame is kept on the screen.
    FitToScreen();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = OuterFrame(*this);
        frame.moveCenter(screen->availableGeometry().center());
        MoveFrameTo(*this, frame.topLeft());
    }
    FitToScreen();
    FormShow();
    // Before the event loop handles the first device scan, which leaves
    // what the file's opening said standing.
    if (!startupFile_.empty()) {
        OpenThemeFile(startupFile_);
        holdStartupStatus_ = true;
    }
    // Once the window is on the screen: then its frame is known, and the
    // recovery question has a window to come up over and take the focus from.
    offerDraftOnExpose_ = true;
    windowHandle()->installEventFilter(this);
}

void TfrmMain::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        QTimer::singleShot(0, this, [this] { setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen)); });
}

void TfrmMain::FormShow()
{
    cmbLayout->setCurrentIndex(0);
    cmbLayoutClick();
}

int TfrmMain::CurrentPage() const { return cmbLayout->currentIndex(); }

// ---- Page selection and colour list -------------------------------------------

void TfrmMain::cmbLayoutClick()
{
    FillColorList();
    UpdatePreview();
}

void TfrmMain::FillColorList()
{
    const std::vector<TLSElement>* table = catalogue_->GetPageElements(CurrentPage(), SmallDisplay);
    if (!table)
        return;
    lstColors->setUpdatesEnabled(false);
    {
        const QSignalBlocker quiet(lstColors);
        lstColors->clear();
        for (const ColorListItem& entry : ColorListItems(*table)) {
            auto* item = new QListWidgetItem(QString::fromStdString(entry.Name));
            item->setData(Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(entry.Color)));
            lstColors->addItem(item);
        }
        SelectListItemByName("Background");
    }
    lstColorsClick();
    lstColors->setUpdatesEnabled(true);
}

bool TfrmMain::SelectListItemByName(const std::string& name)
{
    for (int i = 0; i < lstColors->count(); ++i)
        if (SameTextIgnoringCase(lstColors->item(i)->text().toStdString(), name)) {
            lstColors->setCurrentRow(i);
            lstColors->scrollToItem(lstColors->item(i));
            return true;
        }
    lstColors->setCurrentRow(-1);
    return false;
}

void TfrmMain::UpdatePreview()
{
    if (!drawer_)
        return;  // the window is closing
    drawer_->DrawPage(CurrentPage());
    std::string name = ShownFileName(ThemeFileName);
    if (Modified)
        name += " *";
    setWindowTitle(QString::fromLatin1(ApplicationTitle) + QStringLiteral(" - ") + QString::fromStdString(name));
    RefreshPreviewImage();
    surface->repaint();
    UpdateEditActions();
    RefreshLegibility();
    RefreshCompare();
}

void TfrmMain::lstColorsClick()
{
    // The selected row, which a click selects before it becomes current.
    const QList<QListWidgetItem*> selected = lstColors->selectedItems();
    QListWidgetItem* item = selected.isEmpty() ? nullptr : selected.first();
    if (!item) {
        SelectedSlot = nullptr;
        UpdateEditActions();
        return;
    }
    SelectedSlot = SlotOfItem(item);
    UpdateColorButton();
    UpdateEditActions();
}

void TfrmMain::lstColorsDrawItem(QPainter& painter, int index, const QRect& rect, bool selected, bool focused)
{
    QListWidgetItem* item = lstColors->item(index);
    if (!item)
        return;
    const QPalette& pal = lstColors->palette();
    const QColor rowBack = selected ? pal.color(QPalette::Highlight) : pal.color(QPalette::Base);
    const QColor rowText = selected ? pal.color(QPalette::HighlightedText) : pal.color(QPalette::Text);
    const int l = rect.left(), t = rect.top(), r = rect.left() + rect.width(), b = rect.top() + rect.height();

    painter.fillRect(QRect(QPoint(l + 17, t), QPoint(r - 1, t + 15)), rowBack);
    painter.setPen(rowText);
    painter.setFont(lstColors->font());
    const QFontMetrics fm(painter.font());
    painter.drawText(l + 22, t + 1 + fm.ascent(), item->text());
    painter.fillRect(QRect(l, t, 16, 16), Qt::black);
    painter.fillRect(QRect(l + 1, t + 1, 14, 14), ToQColor(*SlotOfItem(item)));
    if (document_->IsLocked(static_cast<int>(SlotOfItem(item) - ThemeColors.data()))) {
        // A padlock at the row's right end: shackle over a body, in the text colour.
        const int x = r - 12, y = t + 3;
        painter.setPen(QPen(rowText, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(x + 2, y, 4, 4));
        painter.fillRect(QRect(x, y + 4, 9, 6), rowText);
    }
    if (focused) {
        // The frame goes round the text area only, two rows short of the row's
        // bottom, so it matches the 16-pixel highlighted band.
        QPen pen(rowText);
        pen.setStyle(Qt::DotLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(QPoint(l + 17, t), QPoint(r - 1, b - 3)));
    }
}

void TfrmMain::lstColorsMouseMove(const QPoint& pos)
{
    // Not reset when the pointer leaves: the last row under it stays hovered.
    if (!lstColors->viewport()->rect().contains(pos)) {
        HoveredItem = -1;
        return;
    }
    QListWidgetItem* item = lstColors->itemAt(pos);
    HoveredItem = item ? lstColors->row(item) : -1;
}

void TfrmMain::lstColorsDblClick()
{
    if (HoveredItem != -1)
        btnColorClick();
}

void TfrmMain::lstColorsKeyPress(int key)
{
    if (key == 13 && lstColors->currentItem() && lstColors->currentItem()->isSelected())
        btnColorClick();
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == windowHandle()) {
        if (event->type() == QEvent::Expose && offerDraftOnExpose_ && windowHandle()->isExposed()) {
            offerDraftOnExpose_ = false;
            QTimer::singleShot(0, this, [this] {
                FitToScreen();
                OfferDraftRestore();
            });
        }
        return QMainWindow::eventFilter(watched, event);
    }
    if (event->type() == QEvent::Enter && watched != surface)
        FormMouseLeave();
    if (watched == lstColors->viewport()) {
        if (event->type() == QEvent::MouseMove)
            lstColorsMouseMove(static_cast<QMouseEvent*>(event)->position().toPoint());
        else if (event->type() == QEvent::MouseButtonDblClick) {
            lstColorsMouseMove(static_cast<QMouseEvent*>(event)->position().toPoint());
            lstColorsDblClick();
            return true;
        }
    } else if (watched == lstColors && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            lstColorsKeyPress(13);
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---- Colour editing -----------------------------------------------------------

void TfrmMain::UpdateColorButton()
{
    if (!SelectedSlot)
        return;
    const TColor color = *SelectedSlot;
    btnColor->SetSwatch(ToQColor(color), palette().color(QPalette::Button));
    btnColor->setText(QString::asprintf("#%02X%02X%02X 0x%04X", ColorRed(color), ColorGreen(color),
                                        ColorBlue(color), unsigned(ColorToRGB565(color))));
}

void TfrmMain::btnColorClick()
{
    if (!SelectedSlot)
        return;
    const int slot = SelectedSlotIndex();
    const TColor before = *SelectedSlot;
    const QList<QListWidgetItem*> selected = lstColors->selectedItems();
    ColorQuestion question;
    question.title = selected.isEmpty() ? QStringLiteral("Colour") : QStringLiteral("Colour of ") + selected.first()->text();
    question.place = PlaceBesidePreview();
    question.candidate = [this, slot](TColor candidate) { ShowCandidate(slot, candidate); };
    TColor chosen = 0;
    const bool chose = dialogs_->PickColor(this, before, question, chosen);
    // Back to the theme's own colour: Cancel leaves it, OK makes one step of it.
    ShowCandidate(slot, before);
    showingCandidate_ = false;
    if (chose)
        ApplyOutcome(document_->SetColor(slot, chosen));
}

void TfrmMain::ShowCandidate(int slot, TColor color)
{
    if (slot < 0 || slot >= ThemeSlotCount)
        return;
    showingCandidate_ = true;
    ThemeColors[static_cast<std::size_t>(slot)] = RGB565ToColor(ColorToRGB565(color));
    UpdatePreview();
    lstColors->viewport()->update();
    UpdateColorButton();
}

void TfrmMain::FormDblClick() { btnColorClick(); }

// ---- Preview panel and display size --------------------------------------------

void TfrmMain::FormPaint(QPainter& painter)
{
    // Drawn in device pixels: at a fractional scale a logical line or image edge
    // would fall between them. Each logical edge is rounded once, so the frame
    // is one logical pixel wide and the bitmap fills exactly what it encloses.
    const QTransform toDevice = painter.deviceTransform();
    const QPoint inner0 = DevicePoint(toDevice, PreviewX, PreviewY);
    const int w = PreviewWidth * zoom_, h = PreviewHeight * zoom_;
    const QPoint inner1 = DevicePoint(toDevice, PreviewX + w, PreviewY + h);
    // The frame as many device pixels wide on every side, a logical pixel
    // rounded once.
    const int line = std::max(1, qRound(toDevice.m11()));
    const QPoint outer0 = inner0 - QPoint(line, line);
    const QPoint outer1 = inner1 + QPoint(line, line);
    painter.save();
    painter.setWorldTransform(toDevice.inverted() * painter.worldTransform());
    const QColor shadow = palette().color(QPalette::Dark);
    painter.fillRect(QRect(outer0, QPoint(outer1.x() - 1, inner0.y() - 1)), shadow);
    painter.fillRect(QRect(QPoint(outer0.x(), inner1.y()), outer1 - QPoint(1, 1)), shadow);
    painter.fillRect(QRect(QPoint(outer0.x(), inner0.y()), QPoint(inner0.x() - 1, inner1.y() - 1)), shadow);
    painter.fillRect(QRect(QPoint(inner1.x(), inner0.y()), QPoint(outer1.x() - 1, inner1.y() - 1)), shadow);
    if (drawer_) {
        const Bitmap& bitmap = drawer_->Bitmap();
        // Wraps the drawer's pixels without a copy (or shows the simulated
        // copy, or the compared theme); scaled, if at all, nearest-neighbour.
        const QImage image = shownImage_.isNull()
                                 ? QImage(bitmap.Data(), bitmap.Width(), bitmap.Height(), bitmap.Stride(),
                                          QImage::Format_BGR888)
                                 : shownImage_;
        const QRect target(inner0, inner1 - QPoint(1, 1));
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(target, image);
        if (!overlay_.isNull())
            painter.drawImage(target, overlay_);
    }
    painter.restore();
}

void TfrmMain::FormMouseDown(Qt::MouseButton button, int clientX, int clientY)
{
    int x = 0, y = 0;
    if (!ToBitmap(clientX, clientY, x, y))
        return;
    if (chk1->isChecked()) {
        QStringList lines = memo1->toPlainText().split(QLatin1Char('\n'));
        if (memo1->toPlainText().isEmpty())
            lines.clear();
        if (button == Qt::LeftButton) {
            lines.append(QStringLiteral("(Left: %1; Top: %2").arg(x).arg(y));
        } else {
            const QString tail = QStringLiteral("; Right: %1; Bottom: %2)").arg(x).arg(y);
            if (lines.isEmpty())
                lines.append(tail);
            else
                lines.last() += tail;
        }
        memo1->setPlainText(lines.join(QLatin1Char('\n')));
        return;
    }
    const std::vector<TLSElement>* table = catalogue_->GetPageElements(CurrentPage(), SmallDisplay);
    if (!table)
        return;
    const TLSElement* hit = FindHitRegion(*table, x, y);
    {
        const QSignalBlocker quiet(lstColors);
        if (!hit || !SelectListItemByName(hit->Name))
            SelectListItemByName("Background");
    }
    lstColorsClick();
}

void TfrmMain::mniDispLargeClick()
{
    SmallDisplay = false;
    mniDispLarge->setChecked(true);
    cmbLayoutClick();
}

void TfrmMain::mniDispSmallClick()
{
    SmallDisplay = true;
    mniDispSmall->setChecked(true);
    cmbLayoutClick();
}

void TfrmMain::SetStatusText(const QString& text, bool failure)
{
    stBarPanel->setText(text);
    statusIsFailure_ = failure;
}

void TfrmMain::SayUserFileFailed(const QString& file)
{
    if (failedUserFiles_.contains(file))
        return;
    failedUserFiles_ << file;
    SetStatusText(QDir::toNativeSeparators(file) + QStringLiteral(" could not be written"), true);
}

QString TfrmMain::StatusText() const { return stBarPanel->text(); }

DialogPlace TfrmMain::PlaceBesidePreview() const
{
    // Beside the window where there is room, else at least beside the preview.
    const QPoint preview = surface->mapToGlobal(QPoint(PreviewX - 1, PreviewY - 1));
    return {OuterFrame(*this), QRect(preview, QSize(PreviewWidth * zoom_ + 2, PreviewHeight * zoom_ + 2))};
}
