#include "Unit1.h"

#include "AppIcon.h"
#include "BitmapImage.h"
#include "ClaimedDevice.h"
#include "ClientSurface.h"
#include "ColorListDelegate.h"
#include "CompareWindow.h"
#include "DraftKeeper.h"
#include "KeyHold.h"
#include "LegibilityWindow.h"
#include "WindowWiring.h"
#include "MenuKeyboard.h"
#include "PreviewPanel.h"
#include "RecentFiles.h"
#include "SettingsFile.h"
#include "StatusLine.h"
#include "SwatchButton.h"
#include "ThemeExchange.h"
#include "WindowLayout.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTimer>
#include <QWindow>

int PointsAt96Dpi(double points) { return qRound(points * 96.0 / 72.0); }

namespace {

SlotId SlotOfItem(const QListWidgetItem* item) { return static_cast<SlotId>(item->data(Qt::UserRole).toInt()); }

}  // namespace

TfrmMain::TfrmMain(std::unique_ptr<EditorDialogs> questions, std::shared_ptr<HidBackend> hidBackend, QWidget* parent)
    : QMainWindow(parent), dialogs(std::move(questions))
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
    // fixed-size window offers no Maximize. A window manager that draws one
    // on every window all the same finds it does nothing here.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    recent = std::make_unique<RecentFiles>();
    session_ = std::make_unique<EditorSession>();
    CreateControls();
    CreateMenus();
    new MenuKeyboard(*this);
    InstallThemeFileDrop(*this);
    // The controller queues its start-up notice now; it is handled once the event
    // loop runs, after FormCreate and FormShow.
    CreateDeviceLink(*this, std::move(hidBackend));
    FormCreate();
    new KeyHold(*this, Qt::Key_F3, [this](bool held) { preview->SetBlinking(held); });
}

TfrmMain::~TfrmMain()
{
    // The controller, a child, goes with the window and takes its devices along.
    delete DevCon;
    DevCon = nullptr;
    claimed->device = nullptr;
    // The session goes before the controls and panels do (they are children,
    // deleted by the base class): nothing of theirs reaches this window or the
    // session on the way out, neither a signal nor an event.
    for (QObject* child : findChildren<QObject*>()) {
        QObject::disconnect(child, nullptr, this, nullptr);
        child->removeEventFilter(this);
    }
    if (windowHandle())
        windowHandle()->removeEventFilter(this);
    tmrDataflash->stop();
    tmrReply->stop();
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
    status = std::make_unique<StatusLine>(*stBarPanel);

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
    tmrReply = new QTimer(this);
    tmrReply->setSingleShot(true);

    preview = new PreviewPanel(*this, *session_);
    exchange = new ThemeExchange(*this, *session_);
}

void TfrmMain::FormCreate()
{
    // The default theme, no file, not modified.
    session_->Reset();
    drafts = new DraftKeeper(*this, *session_);
    memo1->clear();
    claimed->device = nullptr;
    hoveredItem = -1;
    const QString exe = QCoreApplication::applicationFilePath();
    session_->SetOverrideText(ReadOverrideText(SettingsPathForExecutable(exe.toStdString())));
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
    preview->FitToScreen();
    if (QScreen* screen = QGuiApplication::primaryScreen())
        CentreOnScreen(*this, *screen);
    preview->FitToScreen();
    FormShow();
    // Before the event loop handles the first device scan, which leaves
    // what the file's opening said standing.
    if (!session_->StartupFile().empty()) {
        ApplyOutcome(session_->OpenStartupFile());
        status->HoldForStartup(true);
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

// ---- Page selection and colour list -------------------------------------------

void TfrmMain::cmbLayoutClick()
{
    session_->SetPage(cmbLayout->currentIndex());
    FillColorList();
    UpdatePreview();
}

void TfrmMain::FillColorList()
{
    if (cmbLayout->currentIndex() < 0 || cmbLayout->currentIndex() >= PageCount)
        return;
    lstColors->setUpdatesEnabled(false);
    {
        const QSignalBlocker quiet(lstColors);
        lstColors->clear();
        for (const ColorListItem& entry : session_->ListItems()) {
            auto* item = new QListWidgetItem(QString::fromStdString(entry.Name));
            item->setData(Qt::UserRole, static_cast<int>(entry.Color));
            lstColors->addItem(item);
        }
        SelectListRow("Background");
    }
    lstColorsClick();
    lstColors->setUpdatesEnabled(true);
}

bool TfrmMain::SelectListRow(const std::string& name)
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
    session_->Redraw();
    setWindowTitle(QString::fromStdString(session_->Caption()));
    preview->Refresh();
    surface->repaint();
    UpdateEditActions();
    if (legibility)
        legibility->Refresh();
    if (compareWindow && session_->HasCompared())
        compareWindow->Refresh();
}

void TfrmMain::lstColorsClick()
{
    // The selected row, which a click selects before it becomes current.
    const QList<QListWidgetItem*> selected = lstColors->selectedItems();
    if (selected.isEmpty()) {
        session_->SelectSlot(std::nullopt);
        UpdateEditActions();
        return;
    }
    session_->SelectSlot(SlotOfItem(selected.first()));
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
    const SlotId slot = SlotOfItem(item);
    painter.fillRect(QRect(l + 1, t + 1, 14, 14), ToQColor(session_->ShownColors()[std::size_t(SlotIndex(slot))]));
    if (session_->IsLocked(slot)) {
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
        hoveredItem = -1;
        return;
    }
    QListWidgetItem* item = lstColors->itemAt(pos);
    hoveredItem = item ? lstColors->row(item) : -1;
}

void TfrmMain::lstColorsDblClick()
{
    if (hoveredItem != -1)
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
                preview->FitToScreen();
                drafts->OfferRestore();
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
    const std::optional<SlotId> slot = session_->SelectedSlot();
    if (!slot)
        return;
    const TColor color = session_->ShownColors()[std::size_t(SlotIndex(*slot))];
    btnColor->SetSwatch(ToQColor(color), palette().color(QPalette::Button));
    btnColor->setText(QString::asprintf("#%02X%02X%02X 0x%04X", ColorRed(color), ColorGreen(color),
                                        ColorBlue(color), unsigned(ColorToRGB565(color))));
}

void TfrmMain::btnColorClick()
{
    const std::optional<SlotId> slot = session_->SelectedSlot();
    if (!slot)
        return;
    const TColor before = session_->ThemeColors()[std::size_t(SlotIndex(*slot))];
    const QList<QListWidgetItem*> selected = lstColors->selectedItems();
    ColorQuestion question;
    question.title = selected.isEmpty() ? QStringLiteral("Colour") : QStringLiteral("Colour of ") + selected.first()->text();
    question.place = preview->Beside();
    DocumentOutcome shown;
    shown.refresh = DocumentOutcome::Refresh::Preview;
    // Each candidate on the preview and in the list as the theme would store
    // it, without entering the theme.
    question.candidate = [this, shown](TColor candidate) {
        session_->TryColor(candidate);
        ApplyOutcome(shown);
    };
    TColor chosen = 0;
    const bool chose = dialogs->PickColor(this, before, question, chosen);
    // Back to the theme's own colour: Cancel leaves it, OK makes one step of it.
    session_->EndTrial();
    ApplyOutcome(shown);
    if (chose)
        ApplyOutcome(session_->SetSelectedColor(chosen));
}

void TfrmMain::FormDblClick() { btnColorClick(); }

// ---- Preview panel and display size --------------------------------------------

void TfrmMain::FormPaint(QPainter& painter) { preview->Paint(painter); }

void TfrmMain::FormMouseMove(double x, double y, const QPoint& globalPos) { preview->Hover(x, y, globalPos); }

void TfrmMain::FormMouseLeave() { preview->Leave(); }

void TfrmMain::FormMouseDown(Qt::MouseButton button, double clientX, double clientY)
{
    int x = 0, y = 0;
    if (!preview->ToBitmap(clientX, clientY, x, y))
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
    const std::optional<EditorSession::Pick> pick = session_->PickAt(x, y);
    if (!pick)
        return;
    {
        const QSignalBlocker quiet(lstColors);
        if (!SelectListRow(pick->name))
            SelectListRow("Background");
    }
    lstColorsClick();
}

void TfrmMain::mniDispLargeClick() { ApplyOutcome(session_->SetSmallDisplay(false)); }

void TfrmMain::mniDispSmallClick() { ApplyOutcome(session_->SetSmallDisplay(true)); }
