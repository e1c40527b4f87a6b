#pragma once
// What each of the ten fonts holds: cell height, bit depth, and every character
// with its cell width, in table order. The drawer's tables are baked from this.

#include <vector>

struct CharSpec {
    unsigned char code;
    int width;
};

struct FontSpec {
    int number;
    int height;
    bool fourBit;
    std::vector<CharSpec> chars;
};

const std::vector<FontSpec>& AllFontSpecs();
