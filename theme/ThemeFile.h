#pragma once
// Theme files (*.lsth): the 42 slots as "$" plus four upper-case hex digits of
// their RGB565 word, and the display size, in INI sections Main, Menu, Saver,
// Info, Charge and Common.

#include "ColorModel.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

// What went wrong, for messages such as "FILE: Main_Clock: not an integer".
struct ThemeFileError {
    std::string key;     // the first key that failed; empty when the file itself failed
    std::string reason;
};

// What a load found besides the colours: the theme keys (the 42 colours and
// Display) the file lacks; they read as their defaults.
struct ThemeLoadReport {
    std::vector<std::string> missingKeys;
    // The slots the designer locked ([Editor] Locked=KEY,KEY...), in slot order.
    std::vector<int> locked;
    // Colour keys whose value is more than a 16-bit word, with their text:
    // the device sees only the low 16 bits, as the load does.
    std::vector<std::pair<std::string, std::string>> widerThanAWord;
    // No key of a theme at all: most likely not a theme file.
    bool NoThemeKeys() const;
};

// Packs the colour table into `packed`, then writes every key into the file,
// keeping every other line of an existing file. On success `themeFileName`
// becomes fileName. A failure leaves the old file as it was and the name alone.
// With `locked`, the [Editor] Locked key names those slots, and goes when
// none is locked; without, whatever the file says of locks stays.
bool SaveTheme(const std::string& fileName, const TThemeColorTable& colors, TPackedTheme& packed,
               bool smallDisplay, std::string& themeFileName, ThemeFileError* error = nullptr,
               const std::vector<int>* locked = nullptr);

// The same, for a caller that already holds the words to write: the file's new
// bytes, in the existing file's own encoding (UTF-16 files stay UTF-16).
std::string ThemeFileContent(const std::string& existing, const TPackedTheme& packed, bool smallDisplay,
                             const std::vector<int>* locked = nullptr);

// The 42 colours and the display size of a theme file's bytes, as LoadTheme
// reads them (the same failures, the same partly filled `packed`).
bool ParseTheme(const std::string& bytes, TPackedTheme& packed, bool& smallDisplay, ThemeFileError* error = nullptr,
                ThemeLoadReport* report = nullptr);

// Reads the 42 colours into `packed` and the display size. On success it calls
// switchDisplay(small) and sets `themeFileName`. On the first bad colour it stops:
// the earlier slots hold the file's words, nothing else is changed. A missing or
// unreadable file, or one over 1 MiB, fails without touching anything. A save
// that would grow the file past 1 MiB fails too, so every saved file loads.
bool LoadTheme(const std::string& fileName, TPackedTheme& packed,
               const std::function<void(bool smallDisplay)>& switchDisplay, std::string& themeFileName,
               ThemeFileError* error = nullptr, ThemeLoadReport* report = nullptr);
