#include "OutlineFont.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <vector>

struct OutlineFont::Impl {
    FT_Library library = nullptr;
    FT_Face face = nullptr;

    bool Load(unsigned long code) const
    {
        const FT_UInt index = FT_Get_Char_Index(face, code);
        if (index == 0)
            return false;
        return FT_Load_Glyph(face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING) == 0 &&
               face->glyph->format == FT_GLYPH_FORMAT_OUTLINE;
    }
};

OutlineFont::OutlineFont() : impl_(new Impl) {}

OutlineFont::~OutlineFont()
{
    if (impl_->face)
        FT_Done_Face(impl_->face);
    if (impl_->library)
        FT_Done_FreeType(impl_->library);
    delete impl_;
}

bool OutlineFont::Open(const std::string& path, std::string& error)
{
    if (FT_Init_FreeType(&impl_->library) != 0) {
        error = "cannot start FreeType";
        return false;
    }
    if (FT_New_Face(impl_->library, path.c_str(), 0, &impl_->face) != 0) {
        error = "cannot open " + path;
        return false;
    }
    return true;
}

bool OutlineFont::Ink(unsigned long code, InkBox& box) const
{
    if (!impl_->Load(code))
        return false;
    FT_BBox b;
    FT_Outline_Get_CBox(&impl_->face->glyph->outline, &b);
    box = {b.xMin, b.yMin, b.xMax, b.yMax};
    return true;
}

bool OutlineFont::Render(unsigned long code, double sx, double sy, double xLeft, double baselineY,
                         GlyphCanvas& canvas) const
{
    InkBox ink{};
    if (!Ink(code, ink))
        return false;
    FT_Outline& outline = impl_->face->glyph->outline;
    // FreeType's bitmap has y up from its bottom edge; the cell has y down.
    const double baselineUp = canvas.height - baselineY;
    for (int i = 0; i < outline.n_points; ++i) {
        FT_Vector& p = outline.points[i];
        const double x = (static_cast<double>(p.x) - ink.xMin) * sx + xLeft;
        const double y = static_cast<double>(p.y) * sy + baselineUp;
        p.x = std::lround(x * 64);
        p.y = std::lround(y * 64);
    }
    std::vector<unsigned char> buffer(static_cast<std::size_t>(canvas.width) * canvas.height, 0);
    FT_Bitmap bitmap{};
    bitmap.rows = static_cast<unsigned>(canvas.height);
    bitmap.width = static_cast<unsigned>(canvas.width);
    bitmap.pitch = canvas.width;
    bitmap.buffer = buffer.data();
    bitmap.num_grays = 256;
    bitmap.pixel_mode = FT_PIXEL_MODE_GRAY;
    if (FT_Outline_Get_Bitmap(impl_->library, &outline, &bitmap) != 0)
        return false;
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x)
            canvas.At(x, y) = std::min(1.0f, canvas.At(x, y) + buffer[static_cast<std::size_t>(y) * canvas.width + x] / 255.0f);
    return true;
}

int OutlineFont::HintedHeight(unsigned long code, int ppem) const
{
    FT_Face face = impl_->face;
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(ppem)) != 0 ||
        FT_Load_Char(face, code, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) != 0)
        return -1;
    return static_cast<int>(face->glyph->bitmap.rows);
}

bool OutlineFont::RenderHintedMono(unsigned long code, int ppemX, int ppemY, int baselineRow, GlyphCanvas& canvas) const
{
    FT_Face face = impl_->face;
    if (FT_Set_Pixel_Sizes(face, static_cast<FT_UInt>(ppemX), static_cast<FT_UInt>(ppemY)) != 0 ||
        FT_Load_Char(face, code, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) != 0)
        return false;
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bm = slot->bitmap;
    const int w = static_cast<int>(bm.width);
    if (w > canvas.width)
        return false;
    const int left = (canvas.width - w) / 2;
    const int top = baselineRow + 1 - slot->bitmap_top;
    for (int r = 0; r < static_cast<int>(bm.rows); ++r)
        for (int k = 0; k < w; ++k) {
            const unsigned char byte = bm.buffer[r * bm.pitch + k / 8];
            if (((byte >> (7 - k % 8)) & 1) && top + r >= 0 && top + r < canvas.height)
                canvas.At(left + k, top + r) = 1.0f;
        }
    return top >= 0 && top + static_cast<int>(bm.rows) <= canvas.height;
}
