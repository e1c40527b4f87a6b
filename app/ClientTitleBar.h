#pragma once
// The window's own title bar, where the display server leaves the title bar
// to the program (Wayland). The toolkit's stock one there always offers
// Maximize, which a fixed-size window has no use for; this one has the icon,
// the caption, Minimize and Close. A press elsewhere on it moves the window.

#include <QWidget>

class ClientTitleBar : public QWidget {
public:
    // Placed along the top of window, which keeps its contents below it.
    explicit ClientTitleBar(QWidget& window);

    // True on a platform whose windows draw their own title bar.
    static bool Wanted();

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
    // Caption and glyphs: dimmed while the window is not the active one.
    QColor Ink() const;
    void PaintButton(QPainter& painter, Button button) const;

    QWidget& window_;
    Button hovered_ = Button::None;
    Button pressed_ = Button::None;
};
