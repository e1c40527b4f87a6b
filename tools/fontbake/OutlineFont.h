#pragma once
// Letters, digits and punctuation come from a freely licensed outline font,
// placed into each cell by an explicit scale so every glyph of a font shares
// one baseline and cap height.

#include "GlyphCanvas.h"

#include <string>

struct InkBox {
    long xMin, yMin, xMax, yMax;  // font units, y up
};

class OutlineFont {
public:
    OutlineFont();
    ~OutlineFont();
    OutlineFont(const OutlineFont&) = delete;
    OutlineFont& operator=(const OutlineFont&) = delete;

    bool Open(const std::string& path, std::string& error);
    bool Ink(unsigned long code, InkBox& box) const;
    // Scales the glyph by sx, sy pixels per font unit, puts its ink's left edge at
    // xLeft and its baseline at baselineY (pixels from the cell top) and adds its
    // coverage to the canvas.
    bool Render(unsigned long code, double sx, double sy, double xLeft, double baselineY, GlyphCanvas& canvas) const;

    // Small 1-bit text: the font's own hinting at a whole pixel size gives solid
    // one-pixel strokes where scaling and thresholding would speckle. Renders at
    // ppemX x ppemY with the baseline under row baselineRow, centred in the cell;
    // false when the glyph is wider than the cell.
    bool RenderHintedMono(unsigned long code, int ppemX, int ppemY, int baselineRow, GlyphCanvas& canvas) const;
    // Rows of ink of a glyph at a hinted pixel size.
    int HintedHeight(unsigned long code, int ppem) const;

private:
    struct Impl;
    Impl* impl_;
};
