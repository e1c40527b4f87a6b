#pragma once
// TLSDrawer paints pixel mock-ups of the device's screens into its own 240x320
// bitmap, with the ten built-in bitmap fonts and a 16-step colour ramp.
//
// Coordinates are absolute bitmap pixels, (0,0) top left, for both display
// sizes. In 80x160 mode the device screen is the area x 80..159, y 80..239:
//
//   (0,0) +-------------------------+
//         |      (80,80) +-----+    |
//         |              | 80x |    |
//         |              | 160 |    |
//         |              +-----+    |
//         |                (159,239)|
//         +-------------------------+ (239,319)
//
// The drawer reads the theme colour table and the small-display flag it was
// given at the moment it draws; it owns neither.

#include "Bitmap.h"
#include "CleanTiles.h"
#include "ColorModel.h"
#include "DrawerClock.h"
#include "Fonts.h"
#include "GlyphRows.h"

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

constexpr int PreviewWidth = 240;
constexpr int PreviewHeight = 320;

// Alignment codes of DrawTextBox: low nibble horizontal, high nibble vertical.
enum : std::uint8_t {
    AlignLeft = 0x00, AlignRight = 0x01, AlignCenter = 0x02,
    AlignTop = 0x00, AlignBottom = 0x10, AlignMiddle = 0x20,
};

class TLSDrawer {
public:
    TLSDrawer(const TThemeColorTable& colors, const bool& smallDisplay);
    ~TLSDrawer();
    TLSDrawer(const TLSDrawer&) = delete;
    TLSDrawer& operator=(const TLSDrawer&) = delete;

    ::Bitmap& Bitmap() { return bitmap_; }
    const ::Bitmap& Bitmap() const { return bitmap_; }

    void SetClock(ClockSource clock) { clock_ = std::move(clock); }
    // While a page is drawn, fills in the page's background colour are skipped
    // where nothing has been painted since the page was cleared. Off, every
    // primitive paints all its pixels: slower, the same picture.
    void SetSkipUntouchedBackground(bool on) { skipUntouched_ = on; }

    // Pages. Each fills the whole bitmap with its background slot first.
    void DrawMainPage(int page);
    void DrawMenuPage();
    void DrawInfoPage();
    void DrawChargePage();
    void DrawSaverPage();
    // Page 0..7 in the order of the page list; any other number draws nothing.
    void DrawPage(int page);

    // Primitives. Positions are pixels; colours 0x00BBGGRR; texts are byte strings.
    void FillBox(int x1, int y1, int x2, int y2, TColor color);
    void DrawTextBox(const std::string& text, int x, int y, int w, int h, TColor bg, TColor fg,
                     std::uint8_t font, std::uint8_t align);
    void DrawValueUnit(const std::string& number, const std::string& unit, int x, int y, int w, int h,
                       TColor bg, TColor numberColor, TColor unitColor, std::uint8_t font);
    void DrawMonoImage(const std::uint8_t* image, int x, int y, TColor bg, TColor fg);
    // Advance width and cell height; leaves the font selected.
    std::pair<std::uint16_t, std::uint16_t> MeasureText(const std::string& text, std::uint8_t font);
    void SelectFont(int font);
    int GlyphAdvance(std::uint8_t c) const;
    int DrawGlyph(std::uint8_t c, int x, int y, TColor bg);
    void SetRamp(TColor bg, TColor fg);

    // Layout routines of the pages.
    void DrawSplitValue(const std::string& number, const std::string& unit, int x, int y, int w, int h,
                        int numberSlot, int unitSlot, std::uint8_t numberFont, std::uint8_t unitFont);
    void DrawClockLarge(int y, TColor bg, TColor fg);
    void DrawClockSmall(int y, TColor bg, TColor fg);

    // The ramp entry i as a 24-bit colour (0 = background, 15 = foreground).
    TColor RampEntry(int i) const;
    int CurrentFontHeight() const { return fontHeight_; }

private:
    // Fills the whole bitmap with a page's background and, until the page is
    // drawn, keeps track of where it is still untouched.
    class PageCanvas {
    public:
        PageCanvas(TLSDrawer& drawer, TColor background);
        ~PageCanvas();
        PageCanvas(const PageCanvas&) = delete;
        PageCanvas& operator=(const PageCanvas&) = delete;

    private:
        TLSDrawer& drawer_;
    };

    TColor Slot(int slot) const { return colors_[static_cast<std::size_t>(slot)]; }
    // "hh:mm" and "dd.mm.yy" of the clock source, leading zeros kept.
    std::string TimeText() const;
    std::string DateText() const;
    void DrawMainLarge(int page);
    void DrawMainSmall(int page);
    void DrawMainClockLarge();
    void DrawInfoFieldsLarge(int page);
    void DrawInfoRowsSmall(int page);

    const TThemeColorTable& colors_;
    const bool& smallDisplay_;
    ClockSource clock_;
    ::Bitmap bitmap_;
    CleanTiles clean_;
    bool skipUntouched_ = true;
    // What the drawer works out for one colour pair: its ramp and, built when
    // a glyph first needs them, the six bytes each 4-bit glyph byte paints (two
    // pixels, in the low bytes of a 64-bit word), the twelve each 1-bit nibble
    // paints, and the finished cells of the glyphs drawn in it, so a page drawn
    // again copies its letters instead of painting them. A page uses a dozen or
    // so pairs; the RampCacheSize used last are kept. An entry starts as the
    // black-on-black ramp, which is all zeros.
    struct RampCache {
        TColor bg = 0, fg = 0;
        std::uint64_t lastUse = 0;
        std::array<std::array<std::uint8_t, 3>, 16> ramp{};  // blue, green, red
        bool pairsBuilt = false;
        std::array<std::uint64_t, 256> pairs{};
        bool quadsBuilt = false;
        std::array<std::array<std::uint8_t, 16>, 16> quads{};
        // For each display mode and font, by character code: where the glyph's
        // cell starts in `cells`, plus one (0: not painted yet).
        std::array<std::vector<std::uint32_t>, 2 * FontCount> cellAt;
        std::vector<std::uint8_t> cells;
    };
    static constexpr std::size_t RampCacheSize = 32;
    std::vector<RampCache> ramps_ = std::vector<RampCache>(RampCacheSize);
    std::uint64_t rampClock_ = 0;
    RampCache* ramp_ = &ramps_[0];
    // The cell of character c in the current font and ramp, painted on first
    // use; null when the cache is full.
    const std::uint8_t* GlyphCell(std::uint8_t c, const GlyphRows& glyph);
    void PaintGlyph(std::uint8_t* dst, int stride, const GlyphRows& glyph);
    // 1-bit rows in the current ramp's entries 0 and 15: columns first..end-1
    // of the glyph, `dst` pointing at column `first` of its first row.
    void PaintBitRows(std::uint8_t* dst, int stride, const GlyphRows& glyph, int firstColumn, int endColumn);
    const std::uint64_t* PairPixels();
    const std::array<std::uint8_t, 16>* QuadPixels();
    const TFontTable* font_;
    int fontNumber_ = DefaultFont;
    const std::int16_t* charIndex_;
    std::uint16_t fontHeight_ = 0;
};
