#pragma once
// A glyph cell as coverage values 0..1, the baker's working surface.

#include <vector>

struct GlyphCanvas {
    int width;
    int height;
    std::vector<float> coverage;

    GlyphCanvas(int w, int h) : width(w), height(h), coverage(static_cast<std::size_t>(w) * h, 0.0f) {}
    float& At(int x, int y) { return coverage[static_cast<std::size_t>(y) * width + x]; }
    float At(int x, int y) const { return coverage[static_cast<std::size_t>(y) * width + x]; }
};
