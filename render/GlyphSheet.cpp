#include "GlyphSheet.h"

#include "BitmapText.h"
#include "Fonts.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr int SheetWidth = 1600;
constexpr int Pad = 8;
const TColor Paper = MakeColor(236, 236, 232);
const TColor Ink = MakeColor(24, 24, 28);
const TColor Grid = MakeColor(128, 128, 128);
const TColor Light = MakeColor(255, 255, 255);

bool OneBit(int font) { return font >= 7; }

// Labels use font 6 itself, one to one.
int DrawLabel(Bitmap& b, int x, int y, const std::string& text) { return DrawBitmapText(b, x, y, text, 6, Paper, Ink); }

bool Labelable(unsigned char c) { return FindCharIndex(FontTableFor(6), c) >= 0; }

struct Tile {
    int font, index, x, y, scale;
};

int Scale(int font) { return font == 0 || font == 2 ? 3 : 4; }

int TileWidth(int font, int index) { return std::max(GlyphWidth(FontTableFor(font), index) * Scale(font), 60); }
int TileHeight(int font) { return 20 + 2 * (FontTableFor(font).header[0] * Scale(font)) + 4; }

void DrawTile(Bitmap& b, const Tile& t)
{
    const TFontTable& f = FontTableFor(t.font);
    const unsigned char c = f.chars[t.index];
    std::string label = std::to_string(t.font) + ":" + (Labelable(c) ? std::string(1, static_cast<char>(c))
                                                                      : "#" + std::to_string(c));
    DrawLabel(b, t.x, t.y, label);
    const int w = GlyphWidth(f, t.index), h = f.header[0], s = t.scale;
    for (int variant = 0; variant < 2; ++variant) {
        const int top = t.y + 20 + variant * (h * s + 4);
        const TColor bg = variant == 0 ? Ink : Light, fg = variant == 0 ? Light : Ink;
        FillRect(b, t.x, top, t.x + w * s + 1, top + h * s + 1, Grid);
        for (int r = 0; r < h; ++r)
            for (int k = 0; k < w; ++k) {
                const TColor px = BlendLevel(bg, fg, GlyphPixel(f, t.index, k, r, OneBit(t.font)));
                FillRect(b, t.x + k * s + 1, top + r * s + 1, t.x + (k + 1) * s, top + (r + 1) * s, px);
            }
    }
}

}  // namespace

Bitmap RenderGlyphSheet()
{
    // Lay the tiles out first to learn the sheet's height.
    std::vector<Tile> tiles;
    std::vector<std::pair<int, int>> headers;  // font, y
    int y = Pad;
    for (int font = 0; font < FontCount; ++font) {
        headers.emplace_back(font, y);
        y += 22;
        int x = Pad, rowHeight = TileHeight(font);
        const TFontTable& f = FontTableFor(font);
        for (int i = 0; f.chars[i] != 255; ++i) {
            const int w = TileWidth(font, i);
            if (x + w > SheetWidth - Pad && x > Pad) {
                x = Pad;
                y += rowHeight + Pad;
            }
            tiles.push_back({font, i, x, y, Scale(font)});
            x += w + Pad;
        }
        y += rowHeight + 2 * Pad;
    }
    Bitmap sheet(SheetWidth, y);
    FillRect(sheet, 0, 0, sheet.Width(), sheet.Height(), Paper);
    for (const auto& [font, hy] : headers) {
        const TFontTable& f = FontTableFor(font);
        DrawLabel(sheet, Pad, hy, "FONT " + std::to_string(font) + "  H " + std::to_string(f.header[0]) +
                                      (OneBit(font) ? "  1-BIT" : "  4-BIT"));
    }
    for (const Tile& t : tiles)
        DrawTile(sheet, t);
    return sheet;
}
