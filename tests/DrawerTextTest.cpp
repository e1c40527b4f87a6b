// Text boxes checked pixel by pixel against a reference picture built from the
// font tables themselves, so the tests hold whatever the glyph artwork is.

#include "SlotCatalogue.h"
#include "ThemeCard.h"
#include "Unit2.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const TColor Sentinel = MakeColor(1, 2, 3);
const TColor Bg = MakeColor(10, 40, 90);
const TColor Fg = MakeColor(250, 200, 20);
// The drawer paints slots; the canvas's theme gives these three the colours above.
constexpr SlotId SentinelSlot = SlotId::Main_Background, BgSlot = SlotId::Main_Divider, FgSlot = SlotId::Main_DivSq;

TColor RampOf(TColor bg, TColor fg, int i)
{
    auto ch = [&](unsigned b, unsigned f) { return (f * i) / 15 + (b * (15 - i)) / 15; };
    return MakeColor(ch(ColorRed(bg), ColorRed(fg)), ch(ColorGreen(bg), ColorGreen(fg)),
                     ch(ColorBlue(bg), ColorBlue(fg)));
}

struct Picture {
    std::vector<TColor> px = std::vector<TColor>(PreviewWidth * PreviewHeight, Sentinel);
    void Set(int x, int y, TColor c)
    {
        if (x >= 0 && y >= 0 && x < PreviewWidth && y < PreviewHeight)
            px[y * PreviewWidth + x] = c;
    }
    void Fill(int x1, int y1, int x2, int y2, TColor c)
    {
        for (int y = y1; y < y2; ++y)
            for (int x = x1; x < x2; ++x)
                Set(x, y, c);
    }
    // Paints the glyph cells of text from (x, y) the way the device does.
    void Text(const std::string& text, int x, int y, int font, bool small)
    {
        const TFontTable& f = FontTableFor(font);
        const int height = f.header[0];
        for (unsigned char c : text) {
            if (c == ' ') {
                Fill(x, y, x + 6, y + height, Bg);
                x += small ? 7 : 6;
                continue;
            }
            const int idx = FindCharIndex(f, c);
            if (idx < 0)
                continue;
            const int w = f.metrics[idx * 4];
            const std::uint8_t* data = f.glyphs + (f.metrics[idx * 4 + 2] | (f.metrics[idx * 4 + 3] << 8));
            const int rowBytes = small ? (w + 7) / 8 : (w + 1) / 2;
            for (int r = 0; r < height; ++r)
                for (int k = 0; k < w; ++k) {
                    const std::uint8_t b = data[r * rowBytes + (small ? k / 8 : k / 2)];
                    const int v = small ? ((b >> (7 - k % 8)) & 1) * 15 : (k % 2 ? b & 15 : b >> 4);
                    Set(x + k, y + r, RampOf(Bg, Fg, v));
                }
            x += w + (small ? 1 : 0);
        }
    }
};

struct Canvas {
    TThemeColorTable colors{};
    bool small = false;
    TLSDrawer drawer{colors, small};
    Canvas(bool smallDisplay = false)
    {
        small = smallDisplay;
        colors[SlotIndex(SentinelSlot)] = Sentinel;
        colors[SlotIndex(BgSlot)] = Bg;
        colors[SlotIndex(FgSlot)] = Fg;
        drawer.FillBox(0, 0, PreviewWidth, PreviewHeight, SentinelSlot);
    }
    void ExpectEquals(const Picture& expected) const
    {
        int wrong = 0;
        for (int y = 0; y < PreviewHeight; ++y)
            for (int x = 0; x < PreviewWidth; ++x)
                if (drawer.Bitmap().Pixel(x, y) != expected.px[y * PreviewWidth + x] && ++wrong <= 5)
                    ADD_FAILURE() << "pixel (" << x << "," << y << ") is " << std::hex << drawer.Bitmap().Pixel(x, y)
                                  << " not " << expected.px[y * PreviewWidth + x];
        EXPECT_EQ(wrong, 0);
    }
};

struct BoxCase {
    const char* what;
    std::string text;
    int x, y, w, h, font, align;
    bool small;
    // Where the text's first cell lands and which rectangles become background.
    int tx, ty;
    std::vector<std::array<int, 4>> margins;
};

void PrintTo(const BoxCase& c, std::ostream* os) { *os << c.what; }

class TextBox : public ::testing::TestWithParam<BoxCase> {};

TEST_P(TextBox, PaintsMarginsAndCellsExactly)
{
    const BoxCase& c = GetParam();
    Canvas canvas(c.small);
    canvas.drawer.DrawTextBox(c.text, c.x, c.y, c.w, c.h, BgSlot, FgSlot, static_cast<std::uint8_t>(c.font),
                              static_cast<std::uint8_t>(c.align));
    Picture expected;
    for (const auto& m : c.margins)
        expected.Fill(m[0], m[1], m[2], m[3], Bg);
    expected.Text(c.text, c.tx, c.ty, c.font, c.small);
    canvas.ExpectEquals(expected);
}

// "42.0" in font 6 measures 11+11+5+12 = 39 x 17. The box is 20,30 60x25:
// horizontal spare 21 (centre: 11 left, 10 right), vertical spare 8 (middle: 4 above, 4 below).
const std::string T = "42.0";
INSTANTIATE_TEST_SUITE_P(
    Alignments, TextBox,
    ::testing::Values(
        BoxCase{"top left", T, 20, 30, 60, 25, 6, 0x00, false, 20, 30, {{59, 30, 80, 55}, {20, 47, 59, 55}}},
        BoxCase{"top right", T, 20, 30, 60, 25, 6, 0x01, false, 41, 30, {{20, 30, 41, 55}, {41, 47, 80, 55}}},
        BoxCase{"top centre", T, 20, 30, 60, 25, 6, 0x02, false, 31, 30,
                {{20, 30, 31, 55}, {70, 30, 80, 55}, {31, 47, 70, 55}}},
        BoxCase{"bottom left", T, 20, 30, 60, 25, 6, 0x10, false, 20, 38, {{59, 30, 80, 55}, {20, 30, 59, 38}}},
        BoxCase{"bottom right", T, 20, 30, 60, 25, 6, 0x11, false, 41, 38, {{20, 30, 41, 55}, {41, 30, 80, 38}}},
        BoxCase{"middle left", T, 20, 30, 60, 25, 6, 0x20, false, 20, 34,
                {{59, 30, 80, 55}, {20, 30, 59, 34}, {20, 51, 59, 55}}},
        BoxCase{"middle right", T, 20, 30, 60, 25, 6, 0x21, false, 41, 34,
                {{20, 30, 41, 55}, {41, 30, 80, 34}, {41, 51, 80, 55}}},
        BoxCase{"middle centre", T, 20, 30, 60, 25, 6, 0x22, false, 31, 34,
                {{20, 30, 31, 55}, {70, 30, 80, 55}, {31, 30, 70, 34}, {31, 51, 70, 55}}},
        // Odd spares: 5 columns and 5 rows; the extra one goes left and above.
        BoxCase{"odd spare", T, 0, 0, 44, 22, 6, 0x22, false, 3, 3,
                {{0, 0, 3, 22}, {42, 0, 44, 22}, {3, 0, 42, 3}, {3, 20, 42, 22}}},
        BoxCase{"exact width keeps vertical margins", T, 5, 5, 39, 22, 6, 0x21, false, 5, 8,
                {{5, 5, 44, 8}, {5, 25, 44, 27}}},
        BoxCase{"height below the cell grows to it", T, 5, 5, 50, 3, 6, 0x10, false, 5, 5, {{44, 5, 55, 22}}},
        BoxCase{"W=0 H=0 paints only cells", T, 7, 9, 0, 0, 6, 0x22, false, 7, 9, {}},
        BoxCase{"overflow right starts at X, no margins", T, 50, 60, 20, 30, 6, 0x11, false, 50, 73, {}},
        BoxCase{"overflow centre", T, 50, 60, 38, 30, 6, 0x22, false, 50, 67, {}},
        BoxCase{"overflow left", T, 50, 60, 10, 17, 6, 0x00, false, 50, 60, {}},
        // Wide glyphs, painted sixteen pixels at a time where the machine can.
        BoxCase{"value digits", "42.0", 10, 10, 0, 0, 0, 0x00, false, 10, 10, {}},
        BoxCase{"accent arc", "a", 5, 100, 0, 0, 2, 0x00, false, 5, 100, {}},
        BoxCase{"missing characters are skipped", "4~2", 0, 0, 30, 17, 6, 0x00, false, 0, 0, {{22, 0, 30, 17}}},
        BoxCase{"empty text paints the box", "", 10, 10, 8, 4, 6, 0x22, false, 14, 10, {{10, 10, 14, 27}, {14, 10, 18, 27}}},
        // 80x160: "p BANK" in font 8 measures 13+3+8+9+9+9 = 51 but paints 54 columns
        // plus unpainted gaps; the space paints 6 and advances 7.
        BoxCase{"small display gaps and space", "p BANK", 90, 100, 60, 14, 8, 0x00, true, 90, 100,
                {{141, 100, 150, 114}}},
        BoxCase{"small display right aligned", "42", 90, 100, 30, 14, 8, 0x01, true, 104, 100, {{90, 100, 104, 114}}}),
    [](const ::testing::TestParamInfo<BoxCase>& info) {
        std::string name = info.param.what;
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return name;
    });

TEST(TextBoxSmallDisplay, GapColumnsKeepWhatWasThere)
{
    Canvas canvas(true);
    canvas.drawer.DrawTextBox("42", 90, 100, 0, 0, BgSlot, FgSlot, 8, 0x00);
    // '4' is 7 wide: the column after it is the gap and is left alone.
    EXPECT_EQ(canvas.drawer.Bitmap().Pixel(97, 105), Sentinel);
    EXPECT_EQ(canvas.drawer.Bitmap().Pixel(105, 105), Sentinel);
    EXPECT_NE(canvas.drawer.Bitmap().Pixel(98, 100), Sentinel);
}

TEST(Ramp, BlendsEachTermWithTruncation)
{
    Canvas canvas;
    const auto ramp = [&](TColor bg, TColor fg) {
        canvas.colors[3] = bg;
        canvas.colors[4] = fg;
        canvas.drawer.SetRamp(SlotId::Main_Batts, SlotId::Main_BattsNum);
    };
    ramp(MakeColor(0, 0, 0), MakeColor(255, 255, 255));
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(canvas.drawer.RampEntry(i), MakeColor(17 * i, 17 * i, 17 * i)) << i;
    ramp(MakeColor(100, 100, 100), MakeColor(100, 100, 100));
    EXPECT_EQ(canvas.drawer.RampEntry(0), MakeColor(100, 100, 100));
    EXPECT_EQ(canvas.drawer.RampEntry(1), MakeColor(99, 99, 99));
    EXPECT_EQ(canvas.drawer.RampEntry(3), MakeColor(100, 100, 100));
    EXPECT_EQ(canvas.drawer.RampEntry(15), MakeColor(100, 100, 100));
    // Channels are blended separately; equal channels dip where both terms truncate.
    ramp(MakeColor(0, 7, 9), MakeColor(150, 7, 9));
    EXPECT_EQ(canvas.drawer.RampEntry(6), MakeColor(60, 6, 8));
}

TEST(Measure, SpacesMissingCharactersAndFontSelection)
{
    Canvas large(false), small(true);
    EXPECT_EQ(large.drawer.MeasureText("", 3), (std::pair<std::uint16_t, std::uint16_t>(0, 21)));
    EXPECT_EQ(large.drawer.CurrentFontHeight(), 21);
    EXPECT_EQ(large.drawer.MeasureText("4 2", 6).first, 11 + 6 + 11);
    EXPECT_EQ(small.drawer.MeasureText("4 2", 8).first, 8 + 3 + 8);
    EXPECT_EQ(large.drawer.MeasureText("a", 6).first, 0);  // font 6 has no 'a'
    EXPECT_EQ(large.drawer.MeasureText("42", 200).second, 17);  // unknown font number: font 6
    EXPECT_EQ(large.drawer.MeasureText("42.0", 0).first, 33 + 34 + 13 + 33);
}

TEST(Primitives, FillBoxIsHalfOpenAndClipped)
{
    Canvas canvas;
    canvas.drawer.FillBox(10, 20, 12, 23, FgSlot);
    canvas.drawer.FillBox(230, 310, 400, 400, BgSlot);  // clipped at the edge
    canvas.drawer.FillBox(50, 50, 50, 60, FgSlot);      // empty
    canvas.drawer.FillBox(-5, -5, 1, 1, BgSlot);
    Picture expected;
    expected.Fill(10, 20, 12, 23, Fg);
    expected.Fill(230, 310, 240, 320, Bg);
    expected.Fill(0, 0, 1, 1, Bg);
    canvas.ExpectEquals(expected);
}

TEST(Primitives, GlyphsAndImagesAreClippedAtTheBitmapEdge)
{
    Canvas canvas;
    canvas.drawer.SelectFont(2);
    canvas.drawer.SetRamp(BgSlot, FgSlot);
    EXPECT_EQ(canvas.drawer.DrawGlyph('a', 200, 310, BgSlot), 215);
    EXPECT_EQ(canvas.drawer.DrawGlyph('q', 0, 0, BgSlot), 0);
    Picture expected;
    expected.Text("a", 200, 310, 2, false);
    canvas.ExpectEquals(expected);

    const std::uint8_t image[] = {10, 2, 0xFF, 0xC0, 0x80, 0x00};
    Canvas img;
    img.drawer.DrawMonoImage(image, 235, 318, BgSlot, FgSlot);
    EXPECT_EQ(img.drawer.Bitmap().Pixel(235, 318), Fg);
    EXPECT_EQ(img.drawer.Bitmap().Pixel(239, 318), Fg);
    EXPECT_EQ(img.drawer.Bitmap().Pixel(235, 319), Fg);
    EXPECT_EQ(img.drawer.Bitmap().Pixel(236, 319), Bg);
}

TEST(Primitives, MonoImagesPaintExactlyTheirOwnPixels)
{
    // Rows are painted several pixels per store; every width and cut at either
    // edge must still end exactly at the image's last visible pixel.
    for (int w = 1; w <= 21; ++w)
        for (int x : {0, 1, 3, -1, -5, PreviewWidth - w + 3, PreviewWidth - 2}) {
            std::vector<std::uint8_t> image = {static_cast<std::uint8_t>(w), 3};
            const int rowBytes = (w + 7) / 8;
            for (int i = 0; i < rowBytes * 3; ++i)
                image.push_back(static_cast<std::uint8_t>(0x5B * (i + w) ^ 0xA6));
            Canvas canvas;
            canvas.drawer.DrawMonoImage(image.data(), x, 100, BgSlot, FgSlot);
            Picture expected;
            for (int r = 0; r < 3; ++r)
                for (int k = 0; k < w; ++k) {
                    const bool set = (image[2 + r * rowBytes + k / 8] >> (7 - k % 8)) & 1;
                    expected.Set(x + k, 100 + r, set ? Fg : Bg);
                }
            SCOPED_TRACE(::testing::Message() << "width " << w << " at x " << x);
            canvas.ExpectEquals(expected);
        }
}

TEST(Primitives, ValueUnitCentresThePair)
{
    // "42.0" (113) and "W" (25) in font 0 and 1 share no font, so use one font:
    // font 6 "42" = 22, "W" = 16, box 100 wide: spare 62, S = 31.
    Canvas canvas;
    canvas.drawer.DrawValueUnit("42", "W", 10, 10, 100, 30, BgSlot, FgSlot, FgSlot, 6);
    Picture expected;
    expected.Fill(10, 10, 110, 40, Bg);
    expected.Text("42", 10 + 31, 10 + 7, 6, false);
    expected.Text("W", 10 + 53, 10 + 7, 6, false);
    canvas.ExpectEquals(expected);
}

}  // namespace

// Every text the theme card writes can be drawn whole in its font: no
// character of a page, section or slot name is lost (a comma reads as a slash).
TEST(ThemeCard, EveryTextIsInItsFont)
{
    std::vector<std::string> texts(std::begin(PageNames), std::end(PageNames));
    for (const ThemeSlot& slot : ThemeSlots) {
        texts.push_back(slot.section);
        texts.push_back(CardSlotLabel(static_cast<SlotId>(slot.index)));
    }
    const TFontTable& font = FontTableFor(6);
    for (const std::string& text : texts)
        for (char c : CardText(text))
            EXPECT_TRUE(c == ' ' || FindCharIndex(font, static_cast<std::uint8_t>(c)) >= 0) << text << ": '" << c << "'";
    EXPECT_EQ(CardText("Info, Dialogs"), "INFO / DIALOGS");
    EXPECT_EQ(CardText("Voltage (normal)"), "VOLTAGE - NORMAL");
}
