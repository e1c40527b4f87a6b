#pragma once
// The window's own title bar, where the one the window would get otherwise
// offers Maximize, which a fixed-size window has no use for: on Wayland, where
// the title bar is the program's and the toolkit's stock one always has
// Maximize, and under an X window manager that draws Maximize on every window
// (the window manager then draws just a border). This one has the icon, the
// caption, Minimize and Close. A press elsewhere on it moves the window.

#include <QWidget>

class ClientTitleBar : public QWidget {
public:
    // Placed along the top of window, which keeps its contents below it.
    explicit ClientTitleBar(QWidget& window);

    // True where the window is better off with a title bar of its own.
    static bool Wanted();
    // The bar window draws, or none.
    static ClientTitleBar* Of(const QWidget& window);

    enum class Button { None, Minimize, Close };
    // In the bar's coordinates.
    QRect ButtonRect(Button button) const;
    Button ButtonAt(QPoint p) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    // Keeps the bar along the window's top, the window's contents below it.
    void FollowWindow();
    // Leaves the window manager no title bar of its own to draw.
    void TakeTheTitleBarsPlace();
    // Caption and glyphs: dimmed while the window is not the active one.
    QColor Ink() const;
    void PaintButton(QPainter& painter, Button button) const;

    QWidget& window_;
    Button hovered_ = Button::None;
    Button pressed_ = Button::None;
};
