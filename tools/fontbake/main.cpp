// Bakes the ten bitmap fonts into render/FontData.{h,cpp}.
// Usage: fontbake OUTPUT_DIR

#include "Emit.h"
#include "FontSpecs.h"

#include <cstdio>

namespace {

// A plain outlined box per character, until real artwork is drawn.
GlyphCanvas PlaceholderGlyph(int w, int h)
{
    GlyphCanvas g(w, h);
    for (int y = 1; y < h - 1; ++y)
        for (int x = 1; x < w - 1; ++x)
            if (y == 1 || y == h - 2 || x == 1 || x == w - 2)
                g.At(x, y) = 1.0f;
    return g;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fontbake OUTPUT_DIR\n");
        return 2;
    }
    std::vector<BakedFont> fonts;
    for (const FontSpec& spec : AllFontSpecs()) {
        BakedFont baked{&spec, {}};
        for (const CharSpec& ch : spec.chars)
            baked.glyphs.push_back(PlaceholderGlyph(ch.width, spec.height));
        fonts.push_back(std::move(baked));
    }
    return EmitFontSource(fonts, argv[1], "placeholder boxes") ? 0 : 1;
}
