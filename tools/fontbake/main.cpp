// Bakes the ten bitmap fonts into render/FontData.{h,cpp}.
// Usage: fontbake OUTLINE_FONT.ttf OUTPUT_DIR
//
// Letters, digits and punctuation come from the outline font; pictures are drawn
// from vector shapes. Exits non-zero when a glyph does not fit its cell.

#include "Emit.h"
#include "FontSpecs.h"
#include "OutlineFont.h"
#include "Pictures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

namespace {

// Where the letters of a font sit in its cell (rows from the top, inclusive).
struct Layout {
    int capTop;        // top row of capitals and digits
    int baseline;      // bottom row of capitals and digits
    char heightRef;    // the character whose ink defines that height
    char widthRef;     // 0, or a digit whose ink is stretched to fill its cell
    double margin;     // blank columns kept at each side where they fit
    bool hinted = false;
};

const std::map<int, Layout> Layouts = {
    {0, {3, 57, '0', '0', 2}},
    {1, {4, 27, 'H', 0, 1}},
    {3, {1, 19, '0', '0', 1}},
    {5, {1, 8, '0', 0, 0.5}},
    {6, {2, 14, 'H', 0, 1}},
    {7, {1, 24, '0', '0', 1}},
    {8, {2, 11, 'H', 0, 0.5, true}},
};

// The general text of the small display: hinted at the pixel size whose capitals
// are exactly as tall as the layout asks, narrowed where a glyph is wider than its cell.
bool BakeHintedLetter(const OutlineFont& font, const FontSpec& fontDef, const Layout& layout, const CharSpec& ch,
                      GlyphCanvas& g)
{
    const int capRows = layout.baseline + 1 - layout.capTop;
    int ppem = capRows;
    while (ppem < 4 * capRows && font.HintedHeight(static_cast<unsigned char>(layout.heightRef), ppem) < capRows)
        ++ppem;
    for (int ppemX = ppem; ppemX >= ppem / 2; --ppemX) {
        GlyphCanvas attempt(g.width, g.height);
        if (font.RenderHintedMono(ch.code, ppemX, ppem, layout.baseline, attempt)) {
            g = attempt;
            return true;
        }
    }
    return false;
}

bool BakeLetter(const OutlineFont& font, const FontSpec& fontDef, const Layout& layout, const CharSpec& ch,
                GlyphCanvas& g)
{
    // A glyph the hinted size cannot hold (a long descender) is scaled into its cell.
    if (layout.hinted && BakeHintedLetter(font, fontDef, layout, ch, g))
        return true;
    InkBox ref{}, ink{};
    if (!font.Ink(static_cast<unsigned char>(layout.heightRef), ref) || !font.Ink(ch.code, ink))
        return false;
    double sy = (layout.baseline + 1 - layout.capTop) / static_cast<double>(ref.yMax - ref.yMin);
    double sx = sy;
    if (layout.widthRef) {
        // Numerals of the value fonts fill their cells like a device's digits.
        InkBox wref{};
        font.Ink(static_cast<unsigned char>(layout.widthRef), wref);
        const FontSpec* s = &fontDef;
        const auto it = std::find_if(s->chars.begin(), s->chars.end(),
                                     [&](const CharSpec& c) { return c.code == layout.widthRef; });
        sx = (it->width - 2 * layout.margin) / static_cast<double>(wref.xMax - wref.xMin);
    }
    const double inkW = static_cast<double>(ink.xMax - ink.xMin);
    double avail = ch.width - 2 * layout.margin;
    if (avail < 1)
        avail = ch.width;
    if (inkW * sx > avail)
        sx = avail / inkW;
    double xLeft = (ch.width - inkW * sx) / 2;
    if (!fontDef.fourBit)
        xLeft = std::round(xLeft);  // whole pixels keep 1-bit strokes even
    double baselineY = layout.baseline + 1;
    const double top = baselineY - ink.yMax * sy;
    double bottom = baselineY - ink.yMin * sy;
    if (bottom > fontDef.height && ink.yMin < 0) {
        // A long descender (J, Q) is drawn shorter rather than cut off by the cell.
        sy = (fontDef.height - top) / static_cast<double>(ink.yMax - ink.yMin);
        baselineY = top + ink.yMax * sy;
        bottom = fontDef.height;
    }
    if (top < -0.25 || bottom > fontDef.height + 0.25) {
        std::fprintf(stderr, "fontbake: font %d '%c' reaches rows %.1f..%.1f outside its %d-row cell\n", fontDef.number,
                     ch.code, top, bottom, fontDef.height);
        return false;
    }
    return font.Render(ch.code, sx, sy, xLeft, baselineY, g);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: fontbake OUTLINE_FONT.ttf OUTPUT_DIR\n");
        return 2;
    }
    OutlineFont font;
    std::string error;
    if (!font.Open(argv[1], error)) {
        std::fprintf(stderr, "fontbake: %s\n", error.c_str());
        return 1;
    }
    std::vector<BakedFont> fonts;
    for (const FontSpec& fontDef : AllFontSpecs()) {
        BakedFont baked{&fontDef, {}};
        for (const CharSpec& ch : fontDef.chars) {
            GlyphCanvas g(ch.width, fontDef.height);
            if (!DrawPicture(fontDef.number, ch.code, g)) {
                const auto layout = Layouts.find(fontDef.number);
                if (layout == Layouts.end() || !BakeLetter(font, fontDef, layout->second, ch, g)) {
                    std::fprintf(stderr, "fontbake: font %d has no artwork for '%c'\n", fontDef.number, ch.code);
                    return 1;
                }
            }
            baked.glyphs.push_back(std::move(g));
        }
        fonts.push_back(std::move(baked));
    }
    const std::string source = std::string(argv[1]);
    const std::string origin = "letters from " + source.substr(source.find_last_of('/') + 1) + ", pictures from shapes";
    return EmitFontSource(fonts, argv[2], origin) ? 0 : 1;
}
