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
    form_.FormMouseDown(event->button(), event->position().x(), event->position().y());
}

void ClientSurface::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double-click is a press too (it selects the slot
    // under the pointer), then the double-click opens the colour dialog.
    form_.FormMouseDown(event->button(), event->position().x(), event->position().y());
    if (event->button() == Qt::LeftButton)
        form_.FormDblClick();
}

void ClientSurface::mouseMoveEvent(QMouseEvent* event)
{
    // Positions keep their fractions: at a fractional scale a logical pixel
    // spans more than one of the preview's.
    form_.FormMouseMove(event->position().x(), event->position().y(), event->globalPosition().toPoint());
}

void ClientSurface::leaveEvent(QEvent*) { form_.FormMouseLeave(); }
