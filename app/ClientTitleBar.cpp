#include "ClientTitleBar.h"

#include "WindowManagerFrame.h"

#include <QGuiApplication>
#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include <cmath>

namespace {

const QString ObjectName = QStringLiteral("ClientTitleBar");

int BarHeight(const QWidget& window) { return qMax(24, window.fontMetrics().height() + 10); }

bool OnWayland() { return QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

}  // namespace

ClientTitleBar::ClientTitleBar(QWidget& window) : QWidget(&window), window_(window)
{
    setObjectName(ObjectName);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    window_.installEventFilter(this);
    FollowWindow();
    // On Wayland, no decoration at all: the toolkit would draw its own.
    if (OnWayland())
        window_.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
}

bool ClientTitleBar::Wanted() { return OnWayland() || WindowManagerDrawsMaximizeOnFixedWindows(); }

ClientTitleBar* ClientTitleBar::Of(const QWidget& window)
{
    // Only the bar has its name; the class has no meta-object of its own to cast by.
    return static_cast<ClientTitleBar*>(window.findChild<QWidget*>(ObjectName, Qt::FindDirectChildrenOnly));
}

void ClientTitleBar::TakeTheTitleBarsPlace()
{
    // An X window manager keeps its border, which sets the window off from
    // the others as theirs do; the title bar is this one. Asked each time the
    // window is shown, before it is mapped, over the flags the toolkit wrote.
    if (!OnWayland() && window_.windowHandle())
        AskWindowManagerForBorderOnly(*window_.windowHandle());
}

QRect ClientTitleBar::ButtonRect(Button button) const
{
    // Square buttons the bar's height, Close at the right edge.
    const int side = height();
    switch (button) {
    case Button::Close:
        return QRect(width() - side, 0, side, side);
    case Button::Minimize:
        return QRect(width() - 2 * side, 0, side, side);
    case Button::None:
        break;
    }
    return {};
}

ClientTitleBar::Button ClientTitleBar::ButtonAt(QPoint p) const
{
    for (Button button : {Button::Minimize, Button::Close})
        if (ButtonRect(button).contains(p))
            return button;
    return Button::None;
}

bool ClientTitleBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &window_) {
        switch (event->type()) {
        case QEvent::Resize:
        case QEvent::FontChange:
            FollowWindow();
            break;
        case QEvent::Show:
            TakeTheTitleBarsPlace();
            break;
        case QEvent::WindowTitleChange:
        case QEvent::WindowIconChange:
        case QEvent::ActivationChange:
            update();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ClientTitleBar::FollowWindow()
{
    const int barHeight = BarHeight(window_);
    if (window_.contentsMargins().top() != barHeight)
        window_.setContentsMargins(0, barHeight, 0, 0);
    setGeometry(0, 0, window_.width(), barHeight);
    raise();
}

QColor ClientTitleBar::Ink() const
{
    return palette().color(window_.isActiveWindow() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText);
}

void ClientTitleBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const bool active = window_.isActiveWindow();
    const QColor face = palette().color(QPalette::Window);
    painter.fillRect(rect(), active ? face.darker(118) : face.darker(106));
    painter.fillRect(QRect(0, height() - 1, width(), 1), palette().color(QPalette::Mid));

    const int iconSide = 16;
    const int left = (height() - iconSide) / 2;
    window_.windowIcon().paint(&painter, QRect(left, left, iconSide, iconSide));

    QFont font = window_.font();
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Ink());
    const int textLeft = left + iconSide + 6;
    const QRect textRect(textLeft, 0, ButtonRect(Button::Minimize).left() - textLeft - 4, height());
    const QString caption = QFontMetrics(font).elidedText(window_.windowTitle(), Qt::ElideRight, textRect.width());
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, caption);

    PaintButton(painter, Button::Minimize);
    PaintButton(painter, Button::Close);
}

void ClientTitleBar::PaintButton(QPainter& painter, Button button) const
{
    const QRect r = ButtonRect(button);
    QColor ink = Ink();
    if (button == hovered_ || button == pressed_) {
        const bool down = button == pressed_ && button == hovered_;
        if (button == Button::Close) {
            painter.fillRect(r, down ? QColor(0x94, 0x1f, 0x14) : QColor(0xc4, 0x2b, 0x1c));
            ink = Qt::white;
        } else {
            const QColor face = palette().color(QPalette::Window);
            painter.fillRect(r, down ? face.darker(150) : face.darker(135));
        }
    }
    // The glyphs are drawn on device pixels, so their strokes are whole
    // pixels wide and sharp at any scale.
    painter.save();
    const qreal ratio = devicePixelRatioF();
    painter.scale(1 / ratio, 1 / ratio);
    const int stroke = qMax(1, static_cast<int>(std::lround(ratio)));
    const int glyph = static_cast<int>(std::lround(10 * ratio));
    const int x = static_cast<int>(std::lround(r.center().x() * ratio + ratio / 2)) - glyph / 2;
    const int y = static_cast<int>(std::lround(r.center().y() * ratio + ratio / 2)) - glyph / 2;
    if (button == Button::Minimize) {
        painter.fillRect(QRect(x, y + glyph - stroke, glyph, stroke), ink);
    } else {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(ink, stroke * 1.25, Qt::SolidLine, Qt::FlatCap));
        const QRectF box(x, y, glyph, glyph);
        painter.drawLine(box.topLeft(), box.bottomRight());
        painter.drawLine(box.topRight(), box.bottomLeft());
    }
    painter.restore();
}

void ClientTitleBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    pressed_ = ButtonAt(event->position().toPoint());
    if (pressed_ != Button::None) {
        update();
        return;
    }
    // The display server moves the window; the program may not place it there.
    if (QWindow* handle = window_.windowHandle())
        handle->startSystemMove();
}

void ClientTitleBar::mouseMoveEvent(QMouseEvent* event)
{
    const Button over = ButtonAt(event->position().toPoint());
    if (over != hovered_) {
        hovered_ = over;
        update();
    }
}

void ClientTitleBar::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || pressed_ == Button::None)
        return;
    const Button released = ButtonAt(event->position().toPoint());
    const Button pressed = pressed_;
    pressed_ = Button::None;
    update();
    // A button acts when the press and the release are both on it.
    if (released != pressed)
        return;
    if (pressed == Button::Minimize)
        window_.showMinimized();
    else
        window_.close();
}

void ClientTitleBar::leaveEvent(QEvent*)
{
    if (hovered_ != Button::None) {
        hovered_ = Button::None;
        update();
    }
}
