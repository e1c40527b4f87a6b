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
#include "ColorModel.h"
#include "DrawerClock.h"
#include "Fonts.h"
#include "SlotMap.h"
#include "ThemeSlots.h"

#include <cstdint>
#include <memory>
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

class RampTables;

// One text box or image a page drew: its two slots and what kind of marks
// they are, for judging legibility. Large marks are the fonts 0..2 (value
// digits, unit, accent arc); symbols are icons and battery pictures.
struct TextRun {
    enum class Kind : std::uint8_t { Text, Large, Symbol };
    SlotId fg;
    SlotId bg;
    Kind kind;
    std::uint8_t font;  // 255 for an image
};

class TLSDrawer {
public:
    TLSDrawer(const TThemeColorTable& colors, const bool& smallDisplay);
    ~TLSDrawer();
    TLSDrawer(const TLSDrawer&) = delete;
    TLSDrawer& operator=(const TLSDrawer&) = delete;

    ::Bitmap& Bitmap() { return bitmap_; }
    const ::Bitmap& Bitmap() const { return bitmap_; }
    // For every pixel of Bitmap, the slots and ramp level that painted it.
    const SlotMap& Slots() const { return slots_; }
    // The text boxes and images of the page drawn last, in drawing order.
    const std::vector<TextRun>& TextRuns() const { return runs_; }

    void SetClock(ClockSource clock) { clock_ = std::move(clock); }
    const ClockSource& Clock() const { return clock_; }

    // Pages. Each fills the whole bitmap with its background slot first.
    void DrawMainPage(int page);
    void DrawMenuPage();
    void DrawInfoPage();
    void DrawChargePage();
    void DrawSaverPage();
    // Page 0..7 in the order of the page list; any other number draws nothing.
    void DrawPage(int page);

    // Primitives. Positions are pixels; colours are slots, looked up in the
    // theme colour table as they are painted; texts are byte strings.
    void FillBox(int x1, int y1, int x2, int y2, SlotId slot);
    void DrawTextBox(const std::string& text, int x, int y, int w, int h, SlotId bg, SlotId fg, std::uint8_t font,
                     std::uint8_t align);
    void DrawValueUnit(const std::string& number, const std::string& unit, int x, int y, int w, int h, SlotId bg,
                       SlotId numberSlot, SlotId unitSlot, std::uint8_t font);
    void DrawMonoImage(const std::uint8_t* image, int x, int y, SlotId bg, SlotId fg);
    // Advance width and cell height; leaves the font selected.
    std::pair<std::uint16_t, std::uint16_t> MeasureText(const std::string& text, std::uint8_t font);
    void SelectFont(int font);
    int GlyphAdvance(std::uint8_t c) const;
    int DrawGlyph(std::uint8_t c, int x, int y, SlotId bg);
    void SetRamp(SlotId bg, SlotId fg);

    // Layout routines of the pages.
    void DrawSplitValue(const std::string& number, const std::string& unit, int x, int y, int w, int h,
                        SlotId numberSlot, SlotId unitSlot, std::uint8_t numberFont, std::uint8_t unitFont);
    void DrawClockLarge(int y, SlotId bg, SlotId fg);
    void DrawClockSmall(int y, SlotId bg, SlotId fg);

    // The ramp entry i as a 24-bit colour (0 = background, 15 = foreground).
    TColor RampEntry(int i) const;
    int CurrentFontHeight() const { return fontHeight_; }

private:
    TColor Color(SlotId slot) const { return colors_[static_cast<std::size_t>(SlotIndex(slot))]; }
    // "hh:mm" and "dd.mm.yy" of the clock source, leading zeros kept.
    std::string TimeText() const;
    std::string DateText() const;
    void DrawMainLarge(int page);
    void DrawMainSmall(int page);
    void DrawMainClockLarge();
    void DrawInfoFieldsLarge(int page);
    void DrawInfoRowsSmall(int page);
    // Columns first..end-1 of rows firstRow..endRow-1 of glyph or image data at
    // `rows`, `rowBytes` apart, with its top-left at (x, y); already clipped.
    void PaintCell(const std::uint8_t* rows, int rowBytes, bool oneBit, int x, int y, int firstColumn,
                   int endColumn, int firstRow, int endRow);

    const TThemeColorTable& colors_;
    const bool& smallDisplay_;
    ClockSource clock_;
    ::Bitmap bitmap_;
    SlotMap slots_;
    std::vector<TextRun> runs_;
    void RecordRuns(const std::string& text, SlotId bg, SlotId fg, std::uint8_t font);
    // The current ramp, its slots, and what the painters build from it.
    std::unique_ptr<RampTables> ramp_;
    SlotId rampBg_{}, rampFg_{};
    const TFontTable* font_;
    const std::int16_t* charIndex_;
    std::uint16_t fontHeight_ = 0;
};
