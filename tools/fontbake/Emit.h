#pragma once
#include "FontSpecs.h"
#include "GlyphCanvas.h"

#include <string>
#include <vector>

struct BakedFont {
    const FontSpec* fontDef;
    std::vector<GlyphCanvas> glyphs;  // parallel to fontDef->chars
};

// Writes FontData.h and FontData.cpp into outDir. Returns false on an I/O error.
bool EmitFontSource(const std::vector<BakedFont>& fonts, const std::string& outDir, const std::string& origin);
