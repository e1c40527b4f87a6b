#include "ColorVision.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <unordered_map>

namespace {

using Matrix = std::array<std::array<double, 3>, 3>;

// Machado, Oliveira and Fernandes 2009, severity 1.0 (their table of
// precomputed matrices), rows giving linear R, G, B.
constexpr Matrix Protan = {{{0.152286, 1.052583, -0.204868}, {0.114503, 0.786281, 0.099216},
                            {-0.003882, -0.048116, 1.051998}}};
constexpr Matrix Deutan = {{{0.367322, 0.860646, -0.227968}, {0.280085, 0.672501, 0.047413},
                            {-0.011820, 0.042940, 0.968881}}};
constexpr Matrix Tritan = {{{1.255528, -0.076749, -0.178779}, {-0.078411, 0.930809, 0.147602},
                            {0.004733, 0.691367, 0.303900}}};

const std::array<double, 256>& ToLinear()
{
    static const std::array<double, 256> table = [] {
        std::array<double, 256> t{};
        for (int i = 0; i < 256; ++i) {
            const double c = i / 255.0;
            t[static_cast<std::size_t>(i)] = c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        }
        return t;
    }();
    return table;
}

unsigned ToEncoded(double linear)
{
    const double c = std::clamp(linear, 0.0, 1.0);
    const double v = c <= 0.0031308 ? c * 12.92 : 1.055 * std::pow(c, 1 / 2.4) - 0.055;
    return static_cast<unsigned>(std::lround(v * 255.0));
}

const char* const Names[] = {"normal", "protanopia", "deuteranopia", "tritanopia", "greyscale"};

}  // namespace

bool ParseColorVision(const std::string& name, ColorVision& vision)
{
    for (int i = 0; i < 5; ++i)
        if (name == Names[i]) {
            vision = static_cast<ColorVision>(i);
            return true;
        }
    return false;
}

const char* ColorVisionName(ColorVision vision) { return Names[static_cast<int>(vision)]; }

TColor SimulateColor(TColor color, ColorVision vision)
{
    if (vision == ColorVision::Normal)
        return color;
    const auto& lin = ToLinear();
    const double rgb[3] = {lin[ColorRed(color)], lin[ColorGreen(color)], lin[ColorBlue(color)]};
    if (vision == ColorVision::Greyscale) {
        const unsigned y = ToEncoded(0.2126 * rgb[0] + 0.7152 * rgb[1] + 0.0722 * rgb[2]);
        return MakeColor(y, y, y);
    }
    const Matrix& m = vision == ColorVision::Protanopia ? Protan : vision == ColorVision::Deuteranopia ? Deutan : Tritan;
    unsigned out[3];
    for (int r = 0; r < 3; ++r)
        out[r] = ToEncoded(m[r][0] * rgb[0] + m[r][1] * rgb[1] + m[r][2] * rgb[2]);
    return MakeColor(out[0], out[1], out[2]);
}

void SimulateBitmap(Bitmap& bitmap, ColorVision vision)
{
    if (vision == ColorVision::Normal)
        return;
    // A page has a few hundred distinct colours at most.
    std::unordered_map<TColor, TColor> seen;
    for (int y = 0; y < bitmap.Height(); ++y) {
        std::uint8_t* p = bitmap.Row(y);
        for (int x = 0; x < bitmap.Width(); ++x, p += 3) {
            const TColor c = MakeColor(p[2], p[1], p[0]);
            auto it = seen.find(c);
            if (it == seen.end())
                it = seen.emplace(c, SimulateColor(c, vision)).first;
            p[0] = static_cast<std::uint8_t>(ColorBlue(it->second));
            p[1] = static_cast<std::uint8_t>(ColorGreen(it->second));
            p[2] = static_cast<std::uint8_t>(ColorRed(it->second));
        }
    }
}
