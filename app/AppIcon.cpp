#include "AppIcon.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

QImage ApplicationIconImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    // The device body.
    QPainterPath body;
    body.addRoundedRect(QRectF(14, 2, 36, 60), 7, 7);
    p.fillPath(body, QColor(48, 52, 64));
    // Its screen, in bands of the default theme's accents.
    const QRectF screen(19, 8, 26, 40);
    p.fillRect(screen, Qt::black);
    const QColor bands[] = {QColor(255, 89, 33), QColor(25, 174, 99), QColor(0, 190, 255), QColor(197, 198, 197)};
    for (int i = 0; i < 4; ++i)
        p.fillRect(QRectF(22, 12 + i * 9, 20, 6), bands[i]);
    // The fire button.
    p.setBrush(QColor(0, 190, 255));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(32, 55), 3.5, 3.5);
    return image;
}

QIcon ApplicationIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(QPixmap::fromImage(ApplicationIconImage(size)));
    return icon;
}
