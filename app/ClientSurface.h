#pragma once
// The window's own surface: the area not covered by a control. It hands its
// paint and mouse events to the main window's handlers.

#include <QWidget>

class TfrmMain;

class ClientSurface : public QWidget {
public:
    ClientSurface(TfrmMain& form, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    TfrmMain& form_;
};
