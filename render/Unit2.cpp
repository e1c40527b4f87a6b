#include "Unit2.h"

#include "GlyphRows.h"
#include "PixelFill.h"

#include <algorithm>
#include <cstring>

TLSDrawer::TLSDrawer(const TThemeColorTable& colors, const bool& smallDisplay)
    : colors_(colors),
      smallDisplay_(smallDisplay),
      clock_(LocalClockNow),
      bitmap_(PreviewWidth, PreviewHeight),
      slots_(PreviewWidth, PreviewHeight),
      ramp_(std::make_unique<RampTables>()),
      font_(&FontTableFor(DefaultFont)),
      charIndex_(CharIndexTable(DefaultFont))
{
    fontHeight_ = font_->header[0];
}

TLSDrawer::~TLSDrawer() = default;

void TLSDrawer::FillBox(int x1, int y1, int x2, int y2, SlotId slot)
{
    x1 = std::max(x1, 0);
    y1 = std::max(y1, 0);
    x2 = std::min(x2, bitmap_.Width());
    y2 = std::min(y2, bitmap_.Height());
    if (x2 <= x1 || y2 <= y1)
        return;
    const TColor color = Color(slot);
    const std::uint16_t word = SlotMap::Pack(slot, slot, 15);
    const auto blue = static_cast<std::uint8_t>(ColorBlue(color));
    const auto green = static_cast<std::uint8_t>(ColorGreen(color));
    const auto red = static_cast<std::uint8_t>(ColorRed(color));
    if (x1 == 0 && x2 == bitmap_.Width()) {
        // Whole rows lie back to back: one run.
        const std::size_t count = static_cast<std::size_t>(y2 - y1) * static_cast<std::size_t>(x2);
        FillPixels(bitmap_.Row(y1), count, blue, green, red);
        FillRecord(slots_.Row(y1), count, word);
        return;
    }
    // The first row is filled, the others are copies of it.
    const auto count = static_cast<std::size_t>(x2 - x1);
    std::uint8_t* first = bitmap_.Row(y1) + x1 * 3;
    std::uint16_t* firstRecord = slots_.Row(y1) + x1;
    FillPixels(first, count, blue, green, red);
    FillRecord(firstRecord, count, word);
    for (int y = y1 + 1; y < y2; ++y) {
        std::memcpy(bitmap_.Row(y) + x1 * 3, first, count * 3);
        std::memcpy(slots_.Row(y) + x1, firstRecord, count * sizeof *firstRecord);
    }
}

void TLSDrawer::SetRamp(SlotId bg, SlotId fg)
{
    rampBg_ = bg;
    rampFg_ = fg;
    ramp_->Set(Color(bg), Color(fg));
}

TColor TLSDrawer::RampEntry(int i) const { return ramp_->Entry(i); }

void TLSDrawer::SelectFont(int font)
{
    font_ = &FontTableFor(font);
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

int TLSDrawer::DrawGlyph(std::uint8_t c, int x, int y, SlotId bg)
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
    PaintCell(font_->glyphs + offset, rowBytes, smallDisplay_, x, y, std::max(0, -x), std::min(w, bitmap_.Width() - x),
              std::max(0, -y), std::min<int>(fontHeight_, bitmap_.Height() - y));
    return w;
}

void TLSDrawer::PaintCell(const std::uint8_t* rows, int rowBytes, bool oneBit, int x, int y, int firstColumn,
                          int endColumn, int firstRow, int endRow)
{
    if (firstColumn >= endColumn || firstRow >= endRow)
        return;
    const int stride = bitmap_.Stride();
    const std::uint16_t base = SlotMap::Pack(rampBg_, rampFg_, 0);
    const std::uint8_t* data = rows + static_cast<std::size_t>(firstRow) * rowBytes;
    std::uint8_t* dst = bitmap_.Row(y + firstRow) + (x + firstColumn) * 3;
    for (int r = firstRow; r < endRow; ++r, data += rowBytes)
        RecordRowLevels(slots_.Row(y + r) + x + firstColumn, data, firstColumn, endColumn, oneBit, base);
    data = rows + static_cast<std::size_t>(firstRow) * rowBytes;
    if (oneBit) {
        const auto* quads = ramp_->Quads();
        for (int r = firstRow; r < endRow; ++r, data += rowBytes, dst += stride)
            PaintBitRow(dst, data, firstColumn, endColumn, quads, ramp_->EntryBytes(0), ramp_->EntryBytes(15));
    } else if (firstColumn == 0) {
        PaintNibbleGlyph(dst, stride, GlyphRows{data, rowBytes, endColumn, endRow - firstRow}, ramp_->Pairs(),
                         ramp_->Entries());
    } else {
        // Cut at the left edge of the bitmap: pixel by pixel.
        for (int r = firstRow; r < endRow; ++r, data += rowBytes, dst += stride) {
            std::uint8_t* d = dst;
            for (int k = firstColumn; k < endColumn; ++k, d += 3) {
                const std::uint8_t b = data[k >> 1];
                std::memcpy(d, ramp_->EntryBytes((k & 1) ? (b & 15) : (b >> 4)), 3);
            }
        }
    }
}

std::pair<std::uint16_t, std::uint16_t> TLSDrawer::MeasureText(const std::string& text, std::uint8_t font)
{
    SelectFont(font);
    unsigned width = 0;
    for (unsigned char c : text)
        width += static_cast<unsigned>(GlyphAdvance(c));
    return {static_cast<std::uint16_t>(width), fontHeight_};
}

void TLSDrawer::DrawTextBox(const std::string& text, int x, int y, int w, int h, SlotId bg, SlotId fg,
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

    RecordRuns(text, bg, fg, font);
    SetRamp(bg, fg);
    int cx = tx;
    for (unsigned char c : text) {
        cx += DrawGlyph(c, cx, ty, bg);
        if (smallDisplay_)
            cx += 1;
    }
}

void TLSDrawer::DrawValueUnit(const std::string& number, const std::string& unit, int x, int y, int w,
                              int h, SlotId bg, SlotId numberSlot, SlotId unitSlot, std::uint8_t font)
{
    const int n = MeasureText(number, font).first;
    const int u = MeasureText(unit, font).first;
    // Rounded down: an odd spare pixel ends up right of the unit.
    const int s = (w - n - u) / 2;
    DrawTextBox(number, x, y, n + s, h, bg, numberSlot, font, AlignMiddle | AlignRight);
    DrawTextBox(unit, x + n + s, y, w - n - s, h, bg, unitSlot, font, AlignMiddle | AlignLeft);
}

void TLSDrawer::DrawMonoImage(const std::uint8_t* image, int x, int y, SlotId bg, SlotId fg)
{
    const int w = image[0];
    const int h = image[1];
    runs_.push_back({fg, bg, TextRun::Kind::Symbol, 255});
    SetRamp(bg, fg);
    PaintCell(image + 2, (w + 7) / 8, true, x, y, std::max(0, -x), std::min(w, bitmap_.Width() - x), std::max(0, -y),
              std::min(h, bitmap_.Height() - y));
}

void TLSDrawer::RecordRuns(const std::string& text, SlotId bg, SlotId fg, std::uint8_t font)
{
    // Font 8's lower-case letters are its icons; fonts 4 and 9 hold only the
    // battery outlines.
    bool symbols = font == 4 || font == 9, letters = false;
    for (unsigned char c : text) {
        if (c == ' ')
            continue;
        if (font == 8 && c >= 'a' && c <= 'z')
            symbols = true;
        else if (font != 4 && font != 9)
            letters = true;
    }
    if (symbols)
        runs_.push_back({fg, bg, TextRun::Kind::Symbol, font});
    if (letters)
        runs_.push_back({fg, bg, font <= 2 ? TextRun::Kind::Large : TextRun::Kind::Text, font});
}

void TLSDrawer::DrawPage(int page)
{
    runs_.clear();
    switch (page) {
    case 0: case 1: case 2: case 3: DrawMainPage(page); break;
    case 4: DrawMenuPage(); break;
    case 5: DrawInfoPage(); break;
    case 6: DrawChargePage(); break;
    case 7: DrawSaverPage(); break;
    default: break;
    }
}
