#pragma once
// A theme's 42 colours in the files other tools read: GIMP palettes (.gpl,
// entries named by file key), JSON ({"display": …, "slots": {KEY: "#RRGGBB"},
// "words": {KEY: "0xXXXX"}}) and, written only, a C header with the words
// as a uint16_t array in slot order.

#include "ColorModel.h"

#include <optional>
#include <string>

enum class PaletteFormat { Gpl, Json, CHeader };

// The extension of the path's file name, without the dot; empty for none.
std::string FileExtension(const std::string& path);

// By the file's extension, whatever its letter case; none for others.
std::optional<PaletteFormat> PaletteFormatOf(const std::string& path);

// The file's text. `name` is the theme's, for the palette's title.
std::string WritePalette(PaletteFormat format, const TPackedTheme& words, bool smallDisplay, const std::string& name);

struct PaletteRead {
    TPackedTheme words{};
    // Which slots the file gave a colour; the others keep what `words` held.
    std::array<bool, ThemeSlotCount> given{};
    // Of those, the slots a colour went to by its place in the file, the
    // file naming none.
    std::array<bool, ThemeSlotCount> byPlace{};
    std::optional<bool> smallDisplay;  // when the file says
};

struct PaletteError {
    int line = 0;  // 1-based; 0 for the file as a whole
    std::string reason;
};

// Reads a .gpl or .json palette over `into` (its words stay where the file
// names no colour). A .gpl entry named by a file key goes to that slot, one
// with another name or none to the slot of its place in the file; a .json
// "slots" object names keys, a "slots" list goes in slot order. Colours are rounded to
// RGB565. False, with the first fault, for anything else.
bool ReadPalette(PaletteFormat format, const std::string& text, PaletteRead& into, PaletteError& error);

// The same for the file at `path`, in the format its extension names, read
// with the theme files' size limit; a file that cannot be read is a fault of
// line 0.
bool ReadPaletteFile(const std::string& path, PaletteRead& into, PaletteError& error);
