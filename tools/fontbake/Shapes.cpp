#include "Shapes.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double Pi = 3.14159265358979323846;
}

Shape Rect(double x0, double y0, double x1, double y1)
{
    return [=](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1; };
}

Shape RoundRect(double x0, double y0, double x1, double y1, double r)
{
    return [=](double x, double y) {
        if (x < x0 || x >= x1 || y < y0 || y >= y1)
            return false;
        const double dx = std::max({x0 + r - x, 0.0, x - (x1 - r)});
        const double dy = std::max({y0 + r - y, 0.0, y - (y1 - r)});
        return dx * dx + dy * dy <= r * r;
    };
}

Shape Disk(double cx, double cy, double r) { return Ellipse(cx, cy, r, r); }

Shape Ellipse(double cx, double cy, double rx, double ry)
{
    return [=](double x, double y) {
        const double u = (x - cx) / rx, v = (y - cy) / ry;
        return u * u + v * v <= 1.0;
    };
}

Shape Ring(double cx, double cy, double rOuter, double rInner, double gapAngle, double gapWidth)
{
    return [=](double x, double y) {
        const double d = std::hypot(x - cx, y - cy);
        if (d > rOuter || d < rInner)
            return false;
        if (gapWidth <= 0)
            return true;
        double a = std::atan2(y - cy, x - cx) * 180.0 / Pi - gapAngle;
        while (a > 180)
            a -= 360;
        while (a < -180)
            a += 360;
        return std::fabs(a) > gapWidth / 2;
    };
}

Shape Stroke(double x0, double y0, double x1, double y1, double hw)
{
    return [=](double x, double y) {
        const double dx = x1 - x0, dy = y1 - y0;
        const double len2 = dx * dx + dy * dy;
        double t = len2 > 0 ? ((x - x0) * dx + (y - y0) * dy) / len2 : 0;
        t = std::clamp(t, 0.0, 1.0);
        const double px = x0 + t * dx - x, py = y0 + t * dy - y;
        return px * px + py * py <= hw * hw;
    };
}

Shape Polygon(std::vector<std::pair<double, double>> pts)
{
    return [pts = std::move(pts)](double x, double y) {
        bool inside = false;
        for (std::size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
            const auto [xi, yi] = pts[i];
            const auto [xj, yj] = pts[j];
            if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi)
                inside = !inside;
        }
        return inside;
    };
}

Shape Union(std::vector<Shape> parts)
{
    return [parts = std::move(parts)](double x, double y) {
        return std::any_of(parts.begin(), parts.end(), [&](const Shape& s) { return s(x, y); });
    };
}

Shape Minus(Shape a, Shape b)
{
    return [=](double x, double y) { return a(x, y) && !b(x, y); };
}

Shape Intersect(Shape a, Shape b)
{
    return [=](double x, double y) { return a(x, y) && b(x, y); };
}

void Paint(GlyphCanvas& canvas, const Shape& shape)
{
    constexpr int N = 8;
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x) {
            int hits = 0;
            for (int sy = 0; sy < N; ++sy)
                for (int sx = 0; sx < N; ++sx)
                    if (shape(x + (sx + 0.5) / N, y + (sy + 0.5) / N))
                        ++hits;
            canvas.At(x, y) = std::min(1.0f, canvas.At(x, y) + static_cast<float>(hits) / (N * N));
        }
}
