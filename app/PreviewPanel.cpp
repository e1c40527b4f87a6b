#include "PreviewPanel.h"

#include "BitmapImage.h"
#include "ClientSurface.h"
#include "StatusLine.h"
#include "Unit1.h"
#include "UserFolders.h"
#include "WindowLayout.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLayout>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>
#include <QToolTip>

#include <limits>

namespace {

QString ViewSettingsFile() { return UserConfigFolder() + QStringLiteral("/view.ini"); }

// Device pixels of a logical position on the painter's device, rounded; the
// frame and the bitmap share these edges, so neither gaps nor overlaps.
QPoint DevicePoint(const QTransform& toDevice, int x, int y) { return toDevice.map(QPointF(x, y)).toPoint(); }

}  // namespace

PreviewPanel::PreviewPanel(TfrmMain& form, EditorSession& session) : QObject(&form), form_(form), session_(session)
{
    blinkTimer_ = new QTimer(this);
    blinkTimer_->setInterval(300);
    connect(blinkTimer_, &QTimer::timeout, this, [this] {
        blinkOn_ = !blinkOn_;
        Refresh();
        form_.surface->update();
    });
    // The zoom the last run chose, from the user's own settings. A simulation
    // lasts for the run only: a grey preview at start-up would say nothing of why.
    const QSettings settings(UserFileUsable(ViewSettingsFile()) ? ViewSettingsFile() : QString(), QSettings::IniFormat);
    session_.RestoreZoom(settings.value(QStringLiteral("Zoom"), 1).toInt());
}

PreviewPlacement PreviewPanel::Placement() const
{
    // The room between the frame's lines, its logical edges rounded once to
    // the device pixels they fall on.
    const int zoom = session_.Zoom();
    const QPoint room0 = DevicePoint(toDevice_, PreviewX, PreviewY);
    const QPoint room1 = DevicePoint(toDevice_, PreviewX + PreviewWidth * zoom, PreviewY + PreviewHeight * zoom);
    return PlacePreview(room0.x(), room0.y(), room1.x() - room0.x(), room1.y() - room0.y(), PreviewWidth, PreviewHeight);
}

void PreviewPanel::Paint(QPainter& painter)
{
    // Drawn in device pixels, every preview pixel as the same square of them;
    // the frame, as many device pixels wide on every side as a logical pixel
    // rounded once, closes around the picture.
    toDevice_ = painter.deviceTransform();
    const PreviewPlacement placed = Placement();
    const int line = std::max(1, qRound(toDevice_.m11()));
    const QPoint inner0(placed.left, placed.top), inner1(placed.Right(), placed.Bottom());
    const QPoint outer0 = inner0 - QPoint(line, line);
    const QPoint outer1 = inner1 + QPoint(line, line);
    painter.save();
    painter.setWorldTransform(toDevice_.inverted() * painter.worldTransform());
    const QColor shadow = form_.palette().color(QPalette::Dark);
    painter.fillRect(QRect(outer0, QPoint(outer1.x() - 1, inner0.y() - 1)), shadow);
    painter.fillRect(QRect(QPoint(outer0.x(), inner1.y()), outer1 - QPoint(1, 1)), shadow);
    painter.fillRect(QRect(QPoint(outer0.x(), inner0.y()), QPoint(inner0.x() - 1, inner1.y() - 1)), shadow);
    painter.fillRect(QRect(QPoint(inner1.x(), inner0.y()), QPoint(outer1.x() - 1, inner1.y() - 1)), shadow);
    // The drawer's pixels without a copy (or the simulated or compared ones),
    // scaled by a whole number, nearest-neighbour.
    const Bitmap& bitmap = session_.ShownBitmap() ? *session_.ShownBitmap() : session_.Drawer().Bitmap();
    const QImage image(bitmap.Data(), bitmap.Width(), bitmap.Height(), bitmap.Stride(), QImage::Format_BGR888);
    const QRect target(inner0, inner1 - QPoint(1, 1));
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(target, image);
    if (!overlay_.isNull())
        painter.drawImage(target, overlay_);
    painter.restore();
}

void PreviewPanel::Refresh()
{
    const std::vector<std::uint32_t> words = session_.Overlay(hovered_, blinkOn_);
    if (words.empty()) {
        overlay_ = QImage();
        return;
    }
    overlay_ = QImage(PreviewWidth, PreviewHeight, QImage::Format_ARGB32);
    for (int y = 0; y < PreviewHeight; ++y)
        std::copy_n(words.data() + static_cast<std::size_t>(y) * PreviewWidth, PreviewWidth,
                    reinterpret_cast<QRgb*>(overlay_.scanLine(y)));
}

void PreviewPanel::SetBlinking(bool held)
{
    held ? blinkTimer_->start() : blinkTimer_->stop();
    blinkOn_ = held;
    Refresh();
    form_.surface->update();
}

bool PreviewPanel::ToBitmap(double clientX, double clientY, int& x, int& y) const
{
    // Through the transform the picture was last painted with: the pixel
    // under the pointer is the one the user sees there.
    const QPointF onDevice = toDevice_.map(QPointF(clientX, clientY));
    return Placement().DevicePixelAt(onDevice.x(), onDevice.y(), x, y);
}

void PreviewPanel::Hover(double clientX, double clientY, const QPoint& globalPos)
{
    // The slot a click here would select is the one outlined and named.
    int x = 0, y = 0;
    const auto pick = ToBitmap(clientX, clientY, x, y) ? session_.PickAt(x, y) : std::nullopt;
    if (!pick) {
        Leave();
        return;
    }
    const std::optional<SlotId> slot = pick->slot;
    if (slot != hovered_) {
        hovered_ = slot;
        Refresh();
        form_.surface->update();
    }
    // A rectangle of one pixel makes the tip follow the pointer within the
    // slot, and it stays for as long as the pointer rests there.
    QToolTip::showText(globalPos, QString::fromStdString(session_.HoverTip(x, y)), form_.surface,
                       QRect(form_.surface->mapFromGlobal(globalPos), QSize(1, 1)), std::numeric_limits<int>::max());
}

void PreviewPanel::Leave()
{
    if (!hovered_)
        return;
    hovered_.reset();
    QToolTip::hideText();
    Refresh();
    form_.surface->update();
}

ZoomRoom PreviewPanel::Room() const
{
    const QScreen* on = form_.screen();
    const QRect room = on ? on->availableGeometry() : QRect(0, 0, 1 << 20, 1 << 20);
    // The window's outer size: what the fixed layout makes it, and the frame.
    const QSize outer = form_.sizeHint() + (OuterFrame(form_).size() - form_.geometry().size());
    return {room.width(), room.height(), outer.width(), outer.height(), session_.Zoom()};
}

bool PreviewPanel::ZoomFits(int factor) const { return EditorSession::ZoomFits(factor, Room()); }

void PreviewPanel::ApplyLayout()
{
    const int zoom = session_.Zoom();
    const int dx = PreviewWidth * (zoom - 1), dy = PreviewHeight * (zoom - 1);
    form_.surface->setFixedSize(ClientWidth + dx, ClientHeight + dy);
    form_.cmbLayout->move(250 + dx, 2);
    form_.lstColors->move(250 + dx, 27);
    form_.btnColor->move(249 + dx, 302);
    // The diagnostic controls stay just past the right edge, out of sight.
    form_.memo1->move(456 + dx, 32);
    form_.chk1->move(456 + dx, 8);
    form_.stBar->setGeometry(0, 328 + dy, ClientWidth + dx, 19);
    // The window takes its new size now, so it can be kept on the screen.
    if (form_.layout() && form_.isVisible())
        form_.layout()->activate();
    form_.mniZoomIn->setEnabled(zoom < MaxZoom && ZoomFits(zoom + 1));
    form_.mniZoomOut->setEnabled(zoom > 1);
}

void PreviewPanel::FitToScreen()
{
    const QScreen* on = form_.screen();
    if (!on)
        return;
    const int before = session_.Zoom();
    if (session_.FitZoom(Room()) != before) {
        ApplyLayout();
        form_.surface->update();
    }
    if (!form_.isVisible())
        return;
    // The whole frame on the screen, its top-left corner first.
    const QRect room = on->availableGeometry(), frame = OuterFrame(form_);
    const int x = std::max(room.left(), std::min(frame.left(), room.right() + 1 - frame.width()));
    const int y = std::max(room.top(), std::min(frame.top(), room.bottom() + 1 - frame.height()));
    MoveFrameTo(form_, QPoint(x, y));
}

void PreviewPanel::SetZoom(int factor)
{
    if (!session_.ChooseZoom(factor, Room()))
        return;
    ApplyLayout();
    FitToScreen();
    if (!StoreUserSetting(ViewSettingsFile(), QStringLiteral("Zoom"), session_.Zoom()))
        form_.status->SayFileFailed(ViewSettingsFile());
    form_.surface->update();
}

void PreviewPanel::SetVision(ColorVision vision)
{
    session_.SetVision(vision);
    for (QAction* a : form_.mniSimulate->actions())
        a->setChecked(a->data().toInt() == static_cast<int>(vision));
    Refresh();
    form_.surface->update();
}

DialogPlace PreviewPanel::Beside() const
{
    // Beside the window where there is room, else at least beside the preview.
    const int zoom = session_.Zoom();
    const QPoint preview = form_.surface->mapToGlobal(QPoint(PreviewX - 1, PreviewY - 1));
    return {OuterFrame(form_), QRect(preview, QSize(PreviewWidth * zoom + 2, PreviewHeight * zoom + 2))};
}
