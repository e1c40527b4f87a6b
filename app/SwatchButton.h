#pragma once
// The colour button. Its glyph, a swatch in a black ring, is a 17 x 17 icon;
// at a fractional scale factor the toolkit would resample that icon and blend
// its edges, so there the button paints the swatch itself, on whole device
// pixels, where the style puts the icon.

#include <QColor>
#include <QPushButton>

class SwatchButton : public QPushButton {
public:
    using QPushButton::QPushButton;
    // The swatch's colour and the button face round it.
    void SetSwatch(const QColor& color, const QColor& face);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool FractionalScale() const;
    // Where the style draws the icon, in logical pixels: found once per size
    // by painting the button with a marker icon, which cannot be done while
    // the button paints itself: on a resize, before it is next painted.
    QRect IconRect();

    QColor color_;
    QColor face_;
    QRect iconRect_;
    QSize iconRectFor_;
    bool probing_ = false;
};
