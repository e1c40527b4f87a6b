#include "ClientSurface.h"

#include "Unit1.h"

#include <QMouseEvent>
#include <QPainter>

ClientSurface::ClientSurface(TfrmMain& form, QWidget* parent) : QWidget(parent), form_(form)
{
    setMouseTracking(true);
}

void ClientSurface::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    form_.FormPaint(painter);
}

void ClientSurface::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    form_.FormMouseDown(event->button(), p.x(), p.y());
}

void ClientSurface::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double-click is a press too (it selects the slot
    // under the pointer), then the double-click opens the colour dialog.
    const QPoint p = event->position().toPoint();
    form_.FormMouseDown(event->button(), p.x(), p.y());
    if (event->button() == Qt::LeftButton)
        form_.FormDblClick();
}

void ClientSurface::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    form_.FormMouseMove(p.x(), p.y(), event->globalPosition().toPoint());
}

void ClientSurface::leaveEvent(QEvent*) { form_.FormMouseLeave(); }
