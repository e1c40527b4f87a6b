#include "Unit2.h"

#include "GlyphRows.h"
#include "PixelFill.h"

#include <algorithm>
#include <cstring>

static_assert(CleanTiles::Columns * CleanTiles::Tile == PreviewWidth &&
                  CleanTiles::Rows * CleanTiles::Tile == PreviewHeight,
              "the tiles cover the bitmap");

// The painters read a ramp as 48 bytes in a row.
static_assert(sizeof(std::array<std::array<std::uint8_t, 3>, 16>) == 48, "ramp entries are packed");

TLSDrawer::TLSDrawer(const TThemeColorTable& colors, const bool& smallDisplay)
    : colors_(colors),
      smallDisplay_(smallDisplay),
      clock_(LocalClockNow),
      bitmap_(PreviewWidth, PreviewHeight),
      font_(&FontTableFor(DefaultFont)),
      charIndex_(CharIndexTable(DefaultFont))
{
    fontHeight_ = font_->header[0];
}

TLSDrawer::~TLSDrawer() = default;

void TLSDrawer::FillBox(int x1, int y1, int x2, int y2, TColor color)
{
    x1 = std::max(x1, 0);
    y1 = std::max(y1, 0);
    x2 = std::min(x2, bitmap_.Width());
    y2 = std::min(y2, bitmap_.Height());
    if (x2 <= x1 || y2 <= y1 || clean_.IsClean(x1, y1, x2, y2, color))
        return;
    clean_.Filled(x1, y1, x2, y2, color);
    const auto blue = static_cast<std::uint8_t>(ColorBlue(color));
    const auto green = static_cast<std::uint8_t>(ColorGreen(color));
    const auto red = static_cast<std::uint8_t>(ColorRed(color));
    if (x1 == 0 && x2 == bitmap_.Width()) {
        // Whole rows lie back to back: one run.
        FillPixels(bitmap_.Row(y1), static_cast<std::size_t>(y2 - y1) * static_cast<std::size_t>(x2), blue, green,
                   red);
        return;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(x2 - x1) * 3;
    std::uint8_t* first = bitmap_.Row(y1) + x1 * 3;
    FillPixels(first, static_cast<std::size_t>(x2 - x1), blue, green, red);
    for (int y = y1 + 1; y < y2; ++y)
        CopyRun(bitmap_.Row(y) + x1 * 3, first, rowBytes);
}

void TLSDrawer::SetRamp(TColor bg, TColor fg)
{
    ++rampClock_;
    if (ramp_->bg == bg && ramp_->fg == fg) {
        ramp_->lastUse = rampClock_;
        return;
    }
    // A hit, or else the entry used longest ago makes room: while a colour is
    // being edited, each new shade takes one entry and the page's other pairs
    // keep theirs.
    RampCache* oldest = &ramps_[0];
    for (RampCache& cached : ramps_) {
        if (cached.bg == bg && cached.fg == fg) {
            ramp_ = &cached;
            ramp_->lastUse = rampClock_;
            return;
        }
        if (cached.lastUse < oldest->lastUse)
            oldest = &cached;
    }
    RampCache& e = *oldest;
    e.lastUse = rampClock_;
    e.bg = bg;
    e.fg = fg;
    e.pairsBuilt = false;
    e.quadsBuilt = false;
    for (auto& at : e.cellAt)
        at.clear();
    e.cells.clear();
    // Each term is truncated on its own: a ramp between equal colours may dip by
    // one in the middle, exactly as the device computes it.
    const unsigned bgc[3] = {ColorBlue(bg), ColorGreen(bg), ColorRed(bg)};
    const unsigned fgc[3] = {ColorBlue(fg), ColorGreen(fg), ColorRed(fg)};
    for (unsigned i = 0; i < 16; ++i)
        for (int c = 0; c < 3; ++c)
            e.ramp[i][static_cast<std::size_t>(c)] =
                static_cast<std::uint8_t>((fgc[c] * i) / 15 + (bgc[c] * (15 - i)) / 15);
    ramp_ = &e;
}

const std::uint64_t* TLSDrawer::PairPixels()
{
    RampCache& e = *ramp_;
    if (!e.pairsBuilt) {
        for (std::size_t b = 0; b < 256; ++b) {
            std::uint8_t six[8] = {};
            std::memcpy(six, e.ramp[b >> 4].data(), 3);
            std::memcpy(six + 3, e.ramp[b & 15].data(), 3);
            std::memcpy(&e.pairs[b], six, 8);
        }
        e.pairsBuilt = true;
    }
    return e.pairs.data();
}

const std::array<std::uint8_t, 16>* TLSDrawer::QuadPixels()
{
    RampCache& e = *ramp_;
    if (!e.quadsBuilt) {
        for (std::size_t n = 0; n < 16; ++n)
            for (std::size_t p = 0; p < 4; ++p)
                std::memcpy(&e.quads[n][p * 3], e.ramp[(n >> (3 - p)) & 1 ? 15 : 0].data(), 3);
        e.quadsBuilt = true;
    }
    return e.quads.data();
}

TColor TLSDrawer::RampEntry(int i) const
{
    const auto& e = ramp_->ramp[static_cast<std::size_t>(i)];
    return MakeColor(e[2], e[1], e[0]);
}

void TLSDrawer::SelectFont(int font)
{
    font_ = &FontTableFor(font);
    fontNumber_ = font >= 0 && font < FontCount ? font : DefaultFont;
    charIndex_ = CharIndexTable(font);
    fontHeight_ = font_->header[0];
}

int TLSDrawer::GlyphAdvance(std::uint8_t c) const
{
    if (c == ' ')
        return smallDisplay_ ? 3 : 6;
    const int index = charIndex_[c];
    int width = index < 0 ? 0 : font_->metrics[index * 4];
    // The 1-bit fonts of the small display keep one pixel between characters.
    if (smallDisplay_ && width > 0)
        ++width;
    return width;
}

int TLSDrawer::DrawGlyph(std::uint8_t c, int x, int y, TColor bg)
{
    if (c == ' ') {
        FillBox(x, y, x + 6, y + fontHeight_, bg);
        return 6;
    }
    const int index = charIndex_[c];
    if (index < 0)
        return 0;
    const std::uint8_t* metric = font_->metrics + index * 4;
    const int w = metric[0];
    if (w == 0)
        return 0;
    const std::size_t offset = static_cast<std::size_t>(metric[2] | (metric[3] << 8));
    const int rowBytes = smallDisplay_ ? (w + 7) / 8 : (w + 1) / 2;
    if (offset + static_cast<std::size_t>(rowBytes) * fontHeight_ > font_->glyphBytes)
        return 0;  // a damaged table paints nothing rather than read past its data
    // Clip once per glyph, then copy ramp entries straight into the pixel rows.
    const int firstColumn = std::max(0, -x);
    const int endColumn = std::min(w, bitmap_.Width() - x);
    const int firstRow = std::max(0, -y);
    const int endRow = std::min<int>(fontHeight_, bitmap_.Height() - y);
    if (firstColumn >= endColumn || firstRow >= endRow)
        return w;
    clean_.Touch(x, y, x + w, y + fontHeight_);
    const std::uint8_t* data = font_->glyphs + offset + static_cast<std::size_t>(firstRow) * rowBytes;
    std::uint8_t* row = bitmap_.Row(y + firstRow) + (x + firstColumn) * 3;
    const int stride = bitmap_.Stride();
    const auto& ramp = ramp_->ramp;
    const bool wholeRows = firstColumn == 0 && endColumn == w;
    const GlyphRows glyph{data, rowBytes, w, endRow - firstRow};
    if (wholeRows && firstRow == 0 && endRow == fontHeight_) {
        if (const std::uint8_t* cell = GlyphCell(c, glyph)) {
            const std::size_t cellStride = static_cast<std::size_t>(w) * 3;
            for (int r = 0; r < endRow; ++r, row += stride, cell += cellStride)
                CopyRun(row, cell, cellStride);
            return w;
        }
    }
    if (wholeRows) {
        PaintGlyph(row, stride, glyph);
    } else if (smallDisplay_) {
        PaintBitRows(row, stride, glyph, firstColumn, endColumn);
    } else {
        for (int r = firstRow; r < endRow; ++r, data += rowBytes, row += stride) {
            std::uint8_t* dst = row;
            for (int k = firstColumn; k < endColumn; ++k, dst += 3) {
                const std::uint8_t b = data[k >> 1];
                std::memcpy(dst, ramp[(k & 1) ? (b & 15) : (b >> 4)].data(), 3);
            }
        }
    }
    return w;
}

void TLSDrawer::PaintGlyph(std::uint8_t* dst, int stride, const GlyphRows& glyph)
{
    const auto& ramp = ramp_->ramp;
    if (smallDisplay_) {
        PaintBitRows(dst, stride, glyph, 0, glyph.width);
    } else if (WideGlyphRowsSupported()) {
        PaintNibbleGlyphWide(dst, stride, glyph, ramp[0].data());
    } else {
        PaintNibbleGlyph(dst, stride, glyph, PairPixels(), ramp[0].data());
    }
}

void TLSDrawer::PaintBitRows(std::uint8_t* dst, int stride, const GlyphRows& glyph, int firstColumn, int endColumn)
{
    const std::uint8_t* clear = ramp_->ramp[0].data();
    const std::uint8_t* set = ramp_->ramp[15].data();
    if (firstColumn == 0 && endColumn == glyph.width && WideGlyphRowsSupported()) {
        PaintBitGlyphWide(dst, stride, glyph, clear, set);
        return;
    }
    const auto* quads = QuadPixels();
    const std::uint8_t* data = glyph.rows;
    for (int r = 0; r < glyph.rowCount; ++r, data += glyph.rowBytes, dst += stride)
        PaintBitRow(dst, data, firstColumn, endColumn, quads, clear, set);
}

const std::uint8_t* TLSDrawer::GlyphCell(std::uint8_t c, const GlyphRows& glyph)
{
    // The letters of a page in one pair take well under this; a sheet of
    // whole fonts falls back to painting.
    constexpr std::size_t CellBytesLimit = 256 << 10;
    RampCache& e = *ramp_;
    auto& at = e.cellAt[static_cast<std::size_t>((smallDisplay_ ? FontCount : 0) + fontNumber_)];
    if (at.empty())
        at.assign(256, 0);
    if (at[c] == 0) {
        const std::size_t stride = static_cast<std::size_t>(glyph.width) * 3;
        const std::size_t start = e.cells.size();
        if (start + stride * static_cast<std::size_t>(glyph.rowCount) > CellBytesLimit)
            return nullptr;
        e.cells.resize(start + stride * static_cast<std::size_t>(glyph.rowCount));
        PaintGlyph(e.cells.data() + start, static_cast<int>(stride), glyph);
        at[c] = static_cast<std::uint32_t>(start + 1);
    }
    return e.cells.data() + at[c] - 1;
}

std::pair<std::uint16_t, std::uint16_t> TLSDrawer::MeasureText(const std::string& text, std::uint8_t font)
{
    SelectFont(font);
    unsigned width = 0;
    for (unsigned char c : text)
        width += static_cast<unsigned>(GlyphAdvance(c));
    return {static_cast<std::uint16_t>(width), fontHeight_};
}

void TLSDrawer::DrawTextBox(const std::string& text, int x, int y, int w, int h, TColor bg, TColor fg,
                            std::uint8_t font, std::uint8_t align)
{
    const auto [tw, th] = MeasureText(text, font);
    const int textW = tw, textH = th;
    if (h < textH)
        h = textH;

    bool overflow = false;
    int tx = x;
    switch (align & 0x0F) {
    case 1:  // right
        if (textW > w) {
            overflow = true;
        } else {
            tx = x + w - textW;
            if (tx > x)
                FillBox(x, y, tx, y + h, bg);
        }
        break;
    case 2:  // centre; an odd spare pixel goes to the left
        if (textW > w) {
            overflow = true;
        } else {
            const int l = (w - textW + 1) / 2;
            tx = x + l;
            if (l > 0)
                FillBox(x, y, tx, y + h, bg);
            if (textW + l < w)
                FillBox(tx + textW, y, x + w, y + h, bg);
        }
        break;
    default:  // left
        if (textW > w)
            overflow = true;
        else if (w > textW)
            FillBox(x + textW, y, x + w, y + h, bg);
        break;
    }

    int ty = y;
    switch (align >> 4) {
    case 1:  // bottom
        ty = y + h - textH;
        if (!overflow && h > textH)
            FillBox(tx, y, tx + textW, ty, bg);
        break;
    case 2: {  // middle; an odd spare row goes above
        const int t = (h - textH + 1) / 2;
        ty = y + t;
        if (!overflow) {
            if (t > 0)
                FillBox(tx, y, tx + textW, ty, bg);
            if (textH + t < h)
                FillBox(tx, ty + textH, tx + textW, y + h, bg);
        }
        break;
    }
    default:  // top
        if (!overflow && h > textH)
            FillBox(tx, y + textH, tx + textW, y + h, bg);
        break;
    }

    SetRamp(bg, fg);
    int cx = tx;
    for (unsigned char c : text) {
        cx += DrawGlyph(c, cx, ty, bg);
        if (smallDisplay_)
            cx += 1;
    }
}

void TLSDrawer::DrawValueUnit(const std::string& number, const std::string& unit, int x, int y, int w,
                              int h, TColor bg, TColor numberColor, TColor unitColor, std::uint8_t font)
{
    const int n = MeasureText(number, font).first;
    const int u = MeasureText(unit, font).first;
    // Rounded down: an odd spare pixel ends up right of the unit.
    const int s = (w - n - u) / 2;
    DrawTextBox(number, x, y, n + s, h, bg, numberColor, font, AlignMiddle | AlignRight);
    DrawTextBox(unit, x + n + s, y, w - n - s, h, bg, unitColor, font, AlignMiddle | AlignLeft);
}

void TLSDrawer::DrawMonoImage(const std::uint8_t* image, int x, int y, TColor bg, TColor fg)
{
    const int w = image[0];
    const int h = image[1];
    const int rowBytes = (w + 7) / 8;
    SetRamp(bg, fg);
    const int firstColumn = std::max(0, -x);
    const int endColumn = std::min(w, bitmap_.Width() - x);
    const std::uint8_t* data = image + 2;
    // Clip rows once; the visible rows are painted as one glyph.
    const int firstRow = std::max(0, -y);
    const int endRow = std::min(h, bitmap_.Height() - y);
    if (firstColumn >= endColumn || firstRow >= endRow)
        return;
    clean_.Touch(x, y, x + w, y + h);
    data += static_cast<std::size_t>(firstRow) * rowBytes;
    std::uint8_t* row = bitmap_.Row(y + firstRow) + (x + firstColumn) * 3;
    PaintBitRows(row, bitmap_.Stride(), GlyphRows{data, rowBytes, w, endRow - firstRow}, firstColumn, endColumn);
}

TLSDrawer::PageCanvas::PageCanvas(TLSDrawer& drawer, TColor background) : drawer_(drawer)
{
    drawer_.clean_.End();
    drawer_.FillBox(0, 0, PreviewWidth, PreviewHeight, background);
    if (drawer_.skipUntouched_)
        drawer_.clean_.Begin(background);
}

TLSDrawer::PageCanvas::~PageCanvas() { drawer_.clean_.End(); }

void TLSDrawer::DrawPage(int page)
{
    switch (page) {
    case 0: case 1: case 2: case 3: DrawMainPage(page); break;
    case 4: DrawMenuPage(); break;
    case 5: DrawInfoPage(); break;
    case 6: DrawChargePage(); break;
    case 7: DrawSaverPage(); break;
    default: break;
    }
}
