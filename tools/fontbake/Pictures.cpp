#include "Pictures.h"

#include "Shapes.h"

namespace {

// Degree sign: a small ring in the upper part of the cell.
Shape Degree(double cx, double cy, double rOuter, double rInner) { return Ring(cx, cy, rOuter, rInner); }

// Ohm sign: a ring open at the bottom, standing on two feet.
Shape Ohm(double w, double top, double base)
{
    const double r = (base - top) * 0.5;
    const double cx = w / 2, cy = top + r * 0.95;
    const double thick = r * 0.36;
    const double footY = base - thick * 0.9;
    return Union({Ring(cx, cy, r, r - thick, 90, 70),
                  Rect(cx - r * 0.95, footY, cx - r * 0.25, base), Rect(cx + r * 0.25, footY, cx + r * 0.95, base)});
}

// A battery outline `bodyW` wide with its terminal on the right or the left.
Shape Battery(double x0, double bodyW, double h, double wall, double termW, double termTop, double termBottom,
              bool terminalRight)
{
    const double bodyX = terminalRight ? x0 : x0 + termW;
    const double termX = terminalRight ? x0 + bodyW : x0;
    return Union({Minus(Rect(bodyX, 0, bodyX + bodyW, h), Rect(bodyX + wall, wall, bodyX + bodyW - wall, h - wall)),
                  Rect(termX, termTop, termX + termW, termBottom)});
}

Shape Font8Icon(unsigned char c)
{
    switch (c) {
    case 'f':  // lightning bolt
        return Polygon({{4.6, 0.8}, {0.6, 7.8}, {3.1, 7.8}, {2.0, 13.2}, {6.4, 5.6}, {3.9, 5.6}, {5.4, 0.8}});
    case 'p':  // power symbol
        return Union({Ring(6, 7.4, 5.4, 3.7, -90, 70), Stroke(6, 1.3, 6, 6.6, 0.9)});
    case 'b':  // battery with two charge bars
        return Union({Minus(Rect(0, 3, 12, 11.5), Rect(1.2, 4.2, 10.8, 10.3)), Rect(12, 5.5, 14, 9),
                      Rect(2.6, 5.6, 5.4, 8.9), Rect(6.6, 5.6, 9.4, 8.9)});
    case 'r': {  // heating coil: loops on a wire
        std::vector<Shape> parts = {Rect(0, 10.2, 2.2, 11.4), Rect(10.8, 10.2, 13, 11.4)};
        for (double cx : {3.5, 6.5, 9.5})
            parts.push_back(Minus(Ellipse(cx, 6.6, 2.2, 5.2), Ellipse(cx, 6.6, 1.0, 4.0)));
        return Union(std::move(parts));
    }
    case 't':  // thermometer
        return Union({Minus(RoundRect(1.8, 0.6, 5.2, 10, 1.7), RoundRect(3, 1.8, 4, 10, 0.5)),
                      Disk(3.5, 10.8, 2.9), Rect(3, 5, 4, 10)});
    case 'm':  // round meter with a needle
        return Union({Ring(6.5, 7.2, 6.2, 5.0, 90, 80), Stroke(6.5, 7.5, 9.8, 3.6, 0.8), Disk(6.5, 7.5, 1.4)});
    case 'c':  // cloud
        return Union({Disk(4.8, 8.2, 3.4), Disk(9.2, 6.0, 4.6), Disk(13, 8.6, 2.8), RoundRect(1.4, 8, 15.6, 12, 1.8)});
    case 'l':  // clock face with a circular arrow
        return Union({Ring(6.5, 7.2, 6.0, 4.8, -55, 50),
                      Polygon({{9.2, 0.2}, {13.0, 1.8}, {10.2, 4.8}}),
                      Stroke(6.5, 7.2, 6.5, 3.8, 0.65), Stroke(6.5, 7.2, 9.0, 7.2, 0.65)});
    default:
        return nullptr;
    }
}

// The accent arc under the main value: a flattened elliptical ring seen from the
// side, thin strokes rising at both ends, thick along the bottom, open at the top.
Shape AccentArc()
{
    const Shape outer = Ellipse(107.5, 1.5, 107.4, 24.4);
    const Shape inner = Ellipse(107.5, -2.5, 104.2, 21.6);
    return Minus(outer, inner);
}

}  // namespace

bool DrawPicture(int font, unsigned char c, GlyphCanvas& g)
{
    Shape shape;
    switch (font) {
    case 0:
        if (c == '.')  // ink exactly in rows 49..57: the large clock builds its colon from it
            shape = RoundRect(2, 49, 11, 58, 1.6);
        break;
    case 1:
        if (c == '*')
            shape = Degree(4, 7.6, 3.7, 1.9);
        break;
    case 2:
        if (c == 'a')
            shape = AccentArc();
        break;
    case 4:
        if (c == '1' || c == '2')  // body 30 wide, 2-pixel terminal
            shape = Battery(0, 30, 15, 2, 2, 4, 11, c == '1');
        break;
    case 6:
        if (c == '*')
            shape = Degree(3, 5.1, 2.7, 1.25);
        else if (c == '@')
            shape = Ohm(13, 2, 15);
        break;
    case 7:
        if (c == '.')  // ink exactly in rows 21..24
            shape = Rect(0, 21, 4, 25);
        else if (c == '*')
            shape = Degree(5, 5.2, 4.3, 2.2);
        break;
    case 8:
        if (c == '*')
            shape = Degree(3, 4.6, 2.7, 1.1);
        else if (c == '@')
            shape = Ohm(9, 2, 12);
        else
            shape = Font8Icon(c);
        break;
    case 9:
        if (c == '1')  // 26 x 11 outline at the left of the cell
            shape = Battery(0, 24, 11, 1, 2, 3, 8, true);
        break;
    default:
        break;
    }
    if (!shape)
        return false;
    Paint(g, shape);
    return true;
}
