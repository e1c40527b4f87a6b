#include "Oklab.h"

#include <algorithm>
#include <cmath>

namespace {

double Linear(unsigned channel)
{
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// sRGB's transfer curve, from linear light to a channel byte.
unsigned Encoded(double linear)
{
    const double c = linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
    return static_cast<unsigned>(std::lround(std::clamp(c, 0.0, 1.0) * 255));
}

constexpr double Pi = 3.14159265358979323846;

}  // namespace

Oklab ToOklab(TColor color)
{
    // Björn Ottosson's matrices, from linear sRGB through an LMS cone space.
    const double r = Linear(ColorRed(color)), g = Linear(ColorGreen(color)), b = Linear(ColorBlue(color));
    const double l = std::cbrt(0.4122214708 * r + 0.5363325363 * g + 0.0514459929 * b);
    const double m = std::cbrt(0.2119034982 * r + 0.6806995451 * g + 0.1073969566 * b);
    const double s = std::cbrt(0.0883024619 * r + 0.2817188376 * g + 0.6299787005 * b);
    return {0.2104542553 * l + 0.7936177850 * m - 0.0040720468 * s,
            1.9779984951 * l - 2.4285922050 * m + 0.4505937099 * s,
            0.0259040371 * l + 0.7827717662 * m - 0.8086757660 * s};
}

double OklabDistance(const Oklab& x, const Oklab& y)
{
    const double dL = x.L - y.L, da = x.a - y.a, db = x.b - y.b;
    return std::sqrt(dL * dL + da * da + db * db);
}

Oklch ToOklch(const Oklab& lab)
{
    double h = std::atan2(lab.b, lab.a) * 180 / Pi;
    if (h < 0)
        h += 360;
    return {lab.L, std::hypot(lab.a, lab.b), h};
}

Oklab FromOklch(const Oklch& lch)
{
    const double h = lch.h * Pi / 180;
    return {lch.L, lch.C * std::cos(h), lch.C * std::sin(h)};
}

bool OklabToColor(const Oklab& lab, TColor& color)
{
    const double l = std::pow(lab.L + 0.3963377774 * lab.a + 0.2158037573 * lab.b, 3);
    const double m = std::pow(lab.L - 0.1055613458 * lab.a - 0.0638541728 * lab.b, 3);
    const double s = std::pow(lab.L - 0.0894841775 * lab.a - 1.2914855480 * lab.b, 3);
    const double rgb[3] = {4.0767416621 * l - 3.3077115913 * m + 0.2309699292 * s,
                           -1.2684380046 * l + 2.6097574011 * m - 0.3413193965 * s,
                           -0.0041960863 * l - 0.7034186147 * m + 1.7076147010 * s};
    // Half a step of the darkest byte: outside by less than that rounds in.
    constexpr double Slack = 0.5 / 255 / 12.92;
    bool inside = true;
    for (double c : rgb)
        inside = inside && c >= -Slack && c <= 1 + Slack;
    color = MakeColor(Encoded(rgb[0]), Encoded(rgb[1]), Encoded(rgb[2]));
    return inside;
}

TColor OklchToColorInGamut(Oklch lch)
{
    lch.L = std::clamp(lch.L, 0.0, 1.0);
    TColor color = 0;
    if (OklabToColor(FromOklch(lch), color))
        return color;
    // Less chroma until it fits; grey always does. A fixed number of halvings,
    // so every machine takes the same steps.
    double inside = 0, outside = lch.C;
    for (int step = 0; step < 24; ++step) {
        const double mid = (inside + outside) / 2;
        if (OklabToColor(FromOklch({lch.L, mid, lch.h}), color))
            inside = mid;
        else
            outside = mid;
    }
    OklabToColor(FromOklch({lch.L, inside, lch.h}), color);
    return color;
}
