#include "SwatchButton.h"

#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <cmath>

namespace {

QImage Glyph(const QColor& color, const QColor& face, qreal ratio)
{
    // The 17 x 17 design at the screen's pixel density.
    const int side = qRound(17 * ratio);
    QImage glyph(side, side, QImage::Format_RGB32);
    glyph.fill(face);
    const auto scaled = [ratio](int x, int y, int w, int h) {
        const int left = qRound(x * ratio), top = qRound(y * ratio);
        return QRect(left, top, qRound((x + w) * ratio) - left, qRound((y + h) * ratio) - top);
    };
    QPainter p(&glyph);
    p.fillRect(scaled(1, 1, 15, 15), Qt::black);
    p.fillRect(scaled(2, 2, 13, 13), color);
    return glyph;
}

}  // namespace

bool SwatchButton::FractionalScale() const
{
    const qreal ratio = devicePixelRatioF();
    return ratio != std::floor(ratio);
}

void SwatchButton::SetSwatch(const QColor& color, const QColor& face)
{
    color_ = color;
    face_ = face;
    const qreal ratio = devicePixelRatioF();
    if (FractionalScale()) {
        // Room for the icon, which paintEvent fills.
        QPixmap blank(iconSize());
        blank.fill(Qt::transparent);
        setIcon(QIcon(blank));
    } else {
        QImage glyph = Glyph(color, face, ratio);
        glyph.setDevicePixelRatio(ratio);
        setIcon(QIcon(QPixmap::fromImage(glyph)));
    }
    update();
}

QRect SwatchButton::IconRect()
{
    if (iconRectFor_ == size())
        return iconRect_;
    const QIcon kept = icon();
    QPixmap marker(iconSize());
    marker.fill(QColor(255, 0, 255));
    probing_ = true;
    setIcon(QIcon(marker));
    QImage probe(size(), QImage::Format_RGB32);
    probe.fill(Qt::black);
    render(&probe);
    setIcon(kept);
    probing_ = false;
    QRect found;
    for (int y = 0; y < probe.height(); ++y)
        for (int x = 0; x < probe.width(); ++x)
            if ((probe.pixel(x, y) & 0xFFFFFF) == 0xFF00FF)
                found |= QRect(x, y, 1, 1);
    iconRect_ = found.isEmpty() ? QRect(QPoint(4, (height() - iconSize().height()) / 2), iconSize()) : found;
    iconRectFor_ = size();
    return iconRect_;
}

void SwatchButton::resizeEvent(QResizeEvent* event)
{
    QPushButton::resizeEvent(event);
    if (FractionalScale())
        IconRect();
}

void SwatchButton::paintEvent(QPaintEvent* event)
{
    QPushButton::paintEvent(event);
    if (probing_ || !FractionalScale() || !color_.isValid())
        return;
    const QRect icon = IconRect();
    QPainter painter(this);
    const QTransform toDevice = painter.deviceTransform();
    const qreal ratio = toDevice.m11();
    // The ring as wide on every side, the swatch a whole number of pixels.
    const int ring = std::max(1, qRound(ratio));
    const QPoint origin = toDevice.map(QPointF(icon.topLeft() + QPoint(1, 1))).toPoint();
    const int outer = qRound(15 * ratio);
    painter.setWorldTransform(toDevice.inverted() * painter.worldTransform());
    const QRect whole = QRect(toDevice.map(QPointF(icon.topLeft())).toPoint(), QSize(qRound(17 * ratio), qRound(17 * ratio)));
    painter.fillRect(whole.adjusted(-1, -1, 1, 1), face_);
    painter.fillRect(QRect(origin, QSize(outer, outer)), Qt::black);
    painter.fillRect(QRect(origin + QPoint(ring, ring), QSize(outer - 2 * ring, outer - 2 * ring)), color_);
}
