// What the preview tells a theme's designer beyond the pixels: zoom, the slot
// under the pointer, the selected slot blinking while F3 is held, the
// legibility check, the colour-vision preview and images to share.

#include "BitmapImage.h"
#include "ClientSurface.h"
#include "KeyHold.h"
#include "ColorText.h"
#include "EditorState.h"
#include "FileIo.h"
#include "Legibility.h"
#include "LegibilityFix.h"
#include "ThemeSlots.h"
#include "PageImage.h"
#include "Unit1.h"
#include "UserFolders.h"
#include "WindowLayout.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QScreen>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QBuffer>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>
#include <QToolTip>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <limits>

namespace {

QString ViewSettingsFile() { return UserConfigFolder() + QStringLiteral("/view.ini"); }

// The slot a pixel shows: its foreground where the ramp is nearer that end.
int ShownSlot(const PixelSlots& p) { return SlotIndex(p.level >= 8 ? p.fg : p.bg); }

const struct {
    ColorVision vision;
    const char* caption;
} VisionItems[] = {
    {ColorVision::Normal, "Normal vision"}, {ColorVision::Protanopia, "Protanopia"},
    {ColorVision::Deuteranopia, "Deuteranopia"}, {ColorVision::Tritanopia, "Tritanopia"},
    {ColorVision::Greyscale, "Greyscale"},
};

}  // namespace

void TfrmMain::CreateInsightMenus()
{
    mniDisplay->addSeparator();
    mniZoomIn = mniDisplay->addAction(QStringLiteral("Zoom In"), this, [this] { SetZoom(zoom_ + 1); });
    mniZoomIn->setShortcuts({QKeySequence(QStringLiteral("Ctrl++")), QKeySequence(QStringLiteral("Ctrl+="))});
    mniZoomOut = mniDisplay->addAction(QStringLiteral("Zoom Out"), this, [this] { SetZoom(zoom_ - 1); });
    mniZoomOut->setShortcut(QKeySequence(QStringLiteral("Ctrl+-")));
    mniActualSize = mniDisplay->addAction(QStringLiteral("Actual Size"), this, [this] { SetZoom(1); });
    mniActualSize->setShortcut(QKeySequence(QStringLiteral("Ctrl+0")));
    mniDisplay->addSeparator();
    mniSimulate = mniDisplay->addMenu(QStringLiteral("Simulate"));
    auto* visions = new QActionGroup(this);
    for (const auto& item : VisionItems) {
        QAction* a = mniSimulate->addAction(QString::fromLatin1(item.caption), this,
                                            [this, v = item.vision] { SetColorVision(v); });
        a->setCheckable(true);
        a->setData(static_cast<int>(item.vision));
        visions->addAction(a);
    }
    mniCheckLegibility = mniDisplay->addAction(QStringLiteral("Check Legibility..."), this,
                                               [this] { mniCheckLegibilityClick(); });
    mniCheckLegibility->setShortcut(QKeySequence(QStringLiteral("Ctrl+L")));

    // Beside Save As, before the line above Exit.
    const QList<QAction*> items = mniFile->actions();
    QAction* beforeExit = items.at(items.indexOf(mniExit) - 1);
    mniExportImage = new QAction(QStringLiteral("Export Image..."), this);
    mniExportAll = new QAction(QStringLiteral("Export All Pages..."), this);
    connect(mniExportImage, &QAction::triggered, this, [this] { mniExportImageClick(); });
    connect(mniExportAll, &QAction::triggered, this, [this] { mniExportAllClick(); });
    mniFile->insertActions(beforeExit, {mniExportImage, mniExportAll});

    blinkTimer_ = new QTimer(this);
    blinkTimer_->setInterval(300);
    connect(blinkTimer_, &QTimer::timeout, this, [this] {
        blinkOn_ = !blinkOn_;
        RebuildOverlay();
        surface->update();
    });

    // The zoom the last run chose, from the user's own settings. A simulation
    // lasts for the run only: a grey preview at start-up would say nothing of why.
    const QSettings settings(UserFileUsable(ViewSettingsFile()) ? ViewSettingsFile() : QString(), QSettings::IniFormat);
    zoom_ = chosenZoom_ = std::clamp(settings.value(QStringLiteral("Zoom"), 1).toInt(), 1, MaxZoom);
    vision_ = ColorVision::Normal;
    for (QAction* a : mniSimulate->actions())
        a->setChecked(a->data().toInt() == static_cast<int>(vision_));
    connect(mniDisplay, &QMenu::aboutToShow, this, [this] { mniZoomIn->setEnabled(zoom_ < MaxZoom && ZoomFits(zoom_ + 1)); });
    ApplyZoomLayout();
}

void TfrmMain::ApplyZoomLayout()
{
    const int dx = PreviewWidth * (zoom_ - 1), dy = PreviewHeight * (zoom_ - 1);
    surface->setFixedSize(ClientWidth + dx, ClientHeight + dy);
    cmbLayout->move(250 + dx, 2);
    lstColors->move(250 + dx, 27);
    btnColor->move(249 + dx, 302);
    // The diagnostic controls stay just past the right edge, out of sight.
    memo1->move(456 + dx, 32);
    chk1->move(456 + dx, 8);
    stBar->setGeometry(0, 328 + dy, ClientWidth + dx, 19);
    // The window takes its new size now, so it can be kept on the screen.
    if (layout() && shown_)
        layout()->activate();
    mniZoomIn->setEnabled(zoom_ < MaxZoom && ZoomFits(zoom_ + 1));
    mniZoomOut->setEnabled(zoom_ > 1);
}

bool TfrmMain::ZoomFits(int factor) const
{
    const QScreen* on = screen();
    if (!on)
        return true;
    // The window's outer size at that factor: the frame stays as it is.
    const QSize frame = OuterFrame(*this).size() - geometry().size();
    // What the fixed layout makes the window, at the factor shown now.
    const QSize inner = sizeHint() + QSize(PreviewWidth, PreviewHeight) * (factor - zoom_);
    const QSize need = inner + frame;
    const QRect room = on->availableGeometry();
    return need.width() <= room.width() && need.height() <= room.height();
}

void TfrmMain::FitToScreen()
{
    const QScreen* on = screen();
    if (!on)
        return;
    int factor = chosenZoom_;
    while (factor > 1 && !ZoomFits(factor))
        --factor;
    if (factor != zoom_) {
        zoom_ = factor;
        ApplyZoomLayout();
        surface->update();
    }
    if (!isVisible())
        return;
    // The whole frame on the screen, its top-left corner first.
    const QRect room = on->availableGeometry(), frame = OuterFrame(*this);
    const int x = std::max(room.left(), std::min(frame.left(), room.right() + 1 - frame.width()));
    const int y = std::max(room.top(), std::min(frame.top(), room.bottom() + 1 - frame.height()));
    MoveFrameTo(*this, QPoint(x, y));
}

void TfrmMain::SetZoom(int factor)
{
    factor = std::clamp(factor, 1, MaxZoom);
    if (factor == zoom_ || (factor > zoom_ && !ZoomFits(factor)))
        return;
    zoom_ = chosenZoom_ = factor;
    ApplyZoomLayout();
    FitToScreen();
    if (!StoreUserSetting(ViewSettingsFile(), QStringLiteral("Zoom"), zoom_))
        SayUserFileFailed(ViewSettingsFile());
    surface->update();
}

void TfrmMain::SetColorVision(ColorVision vision)
{
    vision_ = vision;
    for (QAction* a : mniSimulate->actions())
        a->setChecked(a->data().toInt() == static_cast<int>(vision));
    RefreshPreviewImage();
    surface->update();
}

void TfrmMain::RefreshPreviewImage()
{
    if (!drawer_)
        return;
    shownImage_ = QImage();
    const bool other = showingCompared_ && compareDrawer_;
    if (other)
        compareDrawer_->DrawPage(CurrentPage());
    if (vision_ != ColorVision::Normal || other) {
        Bitmap simulated = other ? compareDrawer_->Bitmap() : drawer_->Bitmap();
        if (vision_ != ColorVision::Normal)
            SimulateBitmap(simulated, vision_);
        shownImage_ = ToQImage(simulated);
    }
    RebuildOverlay();
}

void TfrmMain::RebuildOverlay()
{
    const int selected = SelectedSlot ? static_cast<int>(SelectedSlot - ThemeColors.data()) : -1;
    const bool blink = blinkOn_ && selected >= 0;
    if (!drawer_ || (hoverSlot_ < 0 && !blink)) {
        overlay_ = QImage();
        return;
    }
    const SlotMap& map = drawer_->Slots();
    const Bitmap& bitmap = drawer_->Bitmap();
    overlay_ = QImage(map.Width(), map.Height(), QImage::Format_ARGB32);
    overlay_.fill(Qt::transparent);
    const auto shows = [&](int x, int y, int slot) {
        return map.Contains(x, y) && ShownSlot(map.At(x, y)) == slot;
    };
    for (int y = 0; y < map.Height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(overlay_.scanLine(y));
        for (int x = 0; x < map.Width(); ++x) {
            if (blink && shows(x, y, selected)) {
                const TColor c = bitmap.Pixel(x, y);
                line[x] = qRgb(255 - int(ColorRed(c)), 255 - int(ColorGreen(c)), 255 - int(ColorBlue(c)));
            } else if (hoverSlot_ >= 0 && !shows(x, y, hoverSlot_) &&
                       (shows(x - 1, y, hoverSlot_) || shows(x + 1, y, hoverSlot_) || shows(x, y - 1, hoverSlot_) ||
                        shows(x, y + 1, hoverSlot_))) {
                // The ring round the slot's pixels, black and white in turn so
                // it shows on any colour.
                line[x] = (x + y) % 2 ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
            }
        }
    }
}

void TfrmMain::WatchBlinkKey()
{
    new KeyHold(*this, Qt::Key_F3, [this](bool held) { SetBlinking(held); });
}

void TfrmMain::SetBlinking(bool held)
{
    held ? blinkTimer_->start() : blinkTimer_->stop();
    blinkOn_ = held;
    RebuildOverlay();
    surface->update();
}

bool TfrmMain::ToBitmap(int clientX, int clientY, int& x, int& y) const
{
    if (clientX < PreviewX || clientY < PreviewY)
        return false;
    x = (clientX - PreviewX) / zoom_;
    y = (clientY - PreviewY) / zoom_;
    return x <= PreviewWidth - 1 && y <= PreviewHeight - 1;
}

void TfrmMain::FormMouseMove(int clientX, int clientY, const QPoint& globalPos)
{
    int x = 0, y = 0;
    if (!drawer_ || !ToBitmap(clientX, clientY, x, y)) {
        FormMouseLeave();
        return;
    }
    const int slot = ShownSlot(drawer_->Slots().At(x, y));
    if (slot != hoverSlot_) {
        hoverSlot_ = slot;
        RebuildOverlay();
        surface->update();
    }
    const TColor color = ThemeColors[static_cast<std::size_t>(slot)];
    const QString tip = QString::fromLatin1(ListNameOrKey(CurrentPage(), SmallDisplay, static_cast<SlotId>(slot))) +
                        QStringLiteral("\n") + QString::fromStdString(ColorToHexText(color)) +
                        QString::asprintf("  0x%04X", unsigned(ColorToRGB565(color)));
    // A rectangle of one pixel makes the tip follow the pointer within the
    // slot, and it stays for as long as the pointer rests there.
    QToolTip::showText(globalPos, tip, surface, QRect(surface->mapFromGlobal(globalPos), QSize(1, 1)),
                       std::numeric_limits<int>::max());
}

void TfrmMain::FormMouseLeave()
{
    if (hoverSlot_ < 0)
        return;
    hoverSlot_ = -1;
    QToolTip::hideText();
    RebuildOverlay();
    surface->update();
}

void TfrmMain::mniCheckLegibilityClick()
{
    if (!legibility_) {
        // A window of its own beside the editor, not a dialog over it: it
        // follows every change, and a double-click shows the pair on the page.
        legibility_ = new QDialog(this);
        legibility_->setWindowTitle(QStringLiteral("Check Legibility"));
        legibility_->setModal(false);
        auto* layout = new QVBoxLayout(legibility_);
        auto* summary = new QLabel(legibility_);
        summary->setObjectName(QStringLiteral("summary"));
        // Wrapped, so the window can be narrower than the sentence.
        summary->setWordWrap(true);
        auto* rows = new QTreeWidget(legibility_);
        rows->setObjectName(QStringLiteral("pairs"));
        rows->setRootIsDecorated(false);
        rows->setHeaderLabels({QStringLiteral("Contrast"), QStringLiteral("Needs"), QStringLiteral("Page"),
                               QStringLiteral("Text"), QStringLiteral("Background")});
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, legibility_);
        connect(buttons, &QDialogButtonBox::rejected, legibility_, &QDialog::reject);
        // Mends: the chosen pair, or every one; each is one step to undo.
        QPushButton* fix = buttons->addButton(QStringLiteral("Fix"), QDialogButtonBox::ActionRole);
        fix->setObjectName(QStringLiteral("fix"));
        QPushButton* fixAll = buttons->addButton(QStringLiteral("Fix All"), QDialogButtonBox::ActionRole);
        fixAll->setObjectName(QStringLiteral("fixAll"));
        connect(fix, &QPushButton::clicked, this, [this, rows] {
            if (const QTreeWidgetItem* item = rows->currentItem())
                FixLegibilityPairs(static_cast<SlotId>(item->data(3, Qt::UserRole).toInt()),
                                   static_cast<SlotId>(item->data(4, Qt::UserRole).toInt()));
        });
        connect(fixAll, &QPushButton::clicked, this, [this] { FixLegibilityPairs(std::nullopt, std::nullopt); });
        connect(rows, &QTreeWidget::currentItemChanged, fix, [fix](QTreeWidgetItem* item) { fix->setEnabled(item); });
        fix->setEnabled(false);
        layout->addWidget(summary);
        layout->addWidget(rows);
        layout->addWidget(buttons);
        legibility_->resize(620, 360);
        connect(rows, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
            const int page = item->data(0, Qt::UserRole).toInt();
            const std::string text = item->text(3).toStdString();
            cmbLayout->setCurrentIndex(page);
            cmbLayoutClick();
            if (SelectListItemByName(text))
                lstColorsClick();
        });
    }
    // Placed before it is shown, so the window manager frames it there.
    if (!legibility_->isVisible())
        PlaceLegibilityWindow();
    legibility_->show();
    RefreshLegibility();
    legibility_->raise();
    legibility_->activateWindow();
}

void TfrmMain::PlaceLegibilityWindow()
{
    const QRect preview(surface->mapToGlobal(QPoint(0, 0)), QSize(PreviewX + PreviewWidth * zoom_ + 2, surface->height()));
    // On a small screen it gets narrower (or lower) rather than cover the
    // window, or at least the preview.
    legibility_->resize(SizeForRoomBeside(*this, QSize(620, 360), QSize(320, 160), {OuterFrame(*this), preview}));
    PlaceBeside(*legibility_, {OuterFrame(*this), preview});
}

void TfrmMain::RefreshLegibility()
{
    if (!legibility_ || !legibility_->isVisible())
        return;
    auto* rows = legibility_->findChild<QTreeWidget*>(QStringLiteral("pairs"));
    // The row the user is on stays chosen when it is still there.
    const QTreeWidgetItem* current = rows->currentItem();
    const QStringList kept = current ? QStringList{current->text(2), current->text(3), current->text(4)} : QStringList();
    rows->clear();
    // A drawer of its own, so the preview keeps its page.
    TLSDrawer checker(ThemeColors, SmallDisplay);
    if (drawer_)
        checker.SetClock(drawer_->Clock());
    const auto failing = FailingPairs(checker, ThemeColors);
    const auto name = [](int page, SlotId slot) { return QString::fromLatin1(ListNameOrKey(page, SmallDisplay, slot)); };
    for (const LegibilityPair& p : failing) {
        auto* item = new QTreeWidgetItem(rows, {QString::asprintf("%.2f:1", p.ratio), QString::asprintf("%.1f:1", p.required),
                                                QString::fromLatin1(PageNames[p.page]), name(p.page, p.fg),
                                                name(p.page, p.bg)});
        item->setData(0, Qt::UserRole, p.page);
        item->setData(3, Qt::UserRole, static_cast<int>(p.fg));
        item->setData(4, Qt::UserRole, static_cast<int>(p.bg));
        if (QStringList{item->text(2), item->text(3), item->text(4)} == kept)
            rows->setCurrentItem(item);
    }
    for (int c = 0; c < rows->columnCount(); ++c)
        rows->resizeColumnToContents(c);
    legibility_->findChild<QPushButton*>(QStringLiteral("fixAll"))->setEnabled(!failing.empty());
    const QString count = failing.size() == 1 ? QStringLiteral("1 pair is")
                                              : QStringLiteral("%1 pairs are").arg(failing.size());
    legibility_->findChild<QLabel*>(QStringLiteral("summary"))
        ->setText(failing.empty() ? QStringLiteral("Every text, digit and icon is legible at this display size.")
                                  : count + QStringLiteral(" hard to read at this display size (double-click one to show it):"));
}

void TfrmMain::FixLegibilityPairs(std::optional<SlotId> fg, std::optional<SlotId> bg)
{
    static const std::vector<ContrastNeed> needs = ContrastNeeds();
    TThemeColorTable fixed = ThemeColors;
    const ContrastNeed* only = nullptr;
    for (const ContrastNeed& n : needs)
        if (fg && bg && n.fg == *fg && n.bg == *bg)
            only = &n;
    if (fg && !only)
        return;
    const LegibilityFixResult result = FixLegibility(fixed, needs, document_->LockedSlots(), only);
    if (!result.changes.empty())
        ApplyOutcome(document_->SetColors(fixed, "Fix Legibility"));
    if (!result.unmendable.empty()) {
        const UnmendablePair& u = result.unmendable.front();
        SetStatusText(QStringLiteral("%1 on %2 cannot be mended: %3")
                          .arg(QString::fromLatin1(SlotKey(u.fg)),
                               QString::fromLatin1(SlotKey(u.bg)),
                               QString::fromStdString(u.why)),
                      true);
    }
}

QString TfrmMain::ThemeName() const
{
    if (ThemeFileName.empty())
        return QStringLiteral("Untitled");
    return QFileInfo(QString::fromStdString(ThemeFileName)).completeBaseName();
}

QString TfrmMain::ExportFolder() const
{
    if (lastExportFolder_.isEmpty() && !ThemeFileName.empty())
        return QFileInfo(QString::fromStdString(ThemeFileName)).absolutePath();
    return lastExportFolder_;
}

bool TfrmMain::SaveImage(const Bitmap& image, const QString& title, const QString& what, bool zoomed)
{
    // <theme>-<page or "all">@<zoom>x.png, in the folder of the last export,
    // else the theme's own.
    QString folder = ExportFolder();
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    QString file = zoomed ? QStringLiteral("%1-%2@%3x.png").arg(ThemeName(), what).arg(zoom_)
                          : QStringLiteral("%1-%2.png").arg(ThemeName(), what);
    file.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|]")), QStringLiteral("_"));
    const QString path = dialogs_->ExportImageFile(this, {title, folder.isEmpty() ? file : QDir(folder).filePath(file)});
    if (path.isEmpty())
        return false;
    lastExportFolder_ = QFileInfo(path).absolutePath();
    // Encoded whole, then written the way theme files are: a new file that
    // replaces the old one only once all of it is on the disk, and never a
    // FIFO or anything else that is not a regular file.
    QByteArray png;
    QBuffer buffer(&png);
    const bool ok = buffer.open(QIODevice::WriteOnly) && ToQImage(image).save(&buffer, "PNG") &&
                    WriteFileAtomically(QFile::encodeName(path).toStdString(), png.toStdString());
    SetStatusText(ok ? QStringLiteral("Image was exported successfully") : QStringLiteral("A file error has occurred"), !ok);
    return ok;
}

void TfrmMain::mniExportImageClick()
{
    if (drawer_)
        SaveImage(Enlarged(ScreenOf(drawer_->Bitmap(), SmallDisplay), zoom_), QStringLiteral("Export Image"),
                  QString::fromLatin1(PageNames[CurrentPage()]));
}

void TfrmMain::mniExportAllClick()
{
    TLSDrawer pages(ThemeColors, SmallDisplay);
    if (drawer_)
        pages.SetClock(drawer_->Clock());  // the same time as the preview shows
    std::vector<Bitmap> screens;
    for (int page = 0; page < PageCount; ++page) {
        pages.DrawPage(page);
        screens.push_back(Enlarged(ScreenOf(pages.Bitmap(), SmallDisplay), zoom_));
    }
    SaveImage(SideBySide(screens), QStringLiteral("Export All Pages"), QStringLiteral("all"));
}
