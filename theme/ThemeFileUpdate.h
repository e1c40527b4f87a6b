#pragma once
// The one way a theme file is changed, by the editor's Save and by every
// lsthtool command that writes one. The file's advisory lock is held from the
// read to the rename; a file that holds something but no theme key (a
// picture, a text) is never written into; the change sees the file's theme,
// locks included, and what it leaves is written in one atomic step, keeping
// every other line. On any failure the file stays byte for byte as it was.

#include "ColorModel.h"

#include <functional>
#include <string>
#include <vector>

// A theme file as a writer finds it, and as it will be written.
struct ThemeFileState {
    bool exists = false;       // the file was there
    std::string bytes;         // its bytes: the lines a write keeps
    TPackedTheme words{};      // its colours, or the default theme's for a new file
    bool smallDisplay = false;
    std::vector<int> locked;   // slot indices, ascending

};

// How a palette, a kept theme or any other set of colours goes into a theme
// file: the slots `given` names take their words from `from`, but for the
// locked ones, which keep theirs; every other slot, and the display size,
// stay. (The editor's document does the same with ThemeDocument::KeepLocked.)
void TakeUnlocked(const TPackedTheme& from, const std::array<bool, ThemeSlotCount>& given, const std::vector<int>& locked,
                  TPackedTheme& words);

// What is said of a file refused because it holds no theme.
extern const char* const NoThemeInFile;

// A change to make: false, with the reason, writes nothing.
using ThemeFileChange = std::function<bool(ThemeFileState& theme, std::string& error)>;

enum class ThemeUpdateResult {
    Written,
    Refused,  // the file could not be read as a theme, or holds none
    Failed,   // the change failed, or the file could not be written
};

// The theme of the file at `path` as a writer finds it: the defaults for a
// file that is not there or is empty. False with the reason for a file that
// cannot be read whole, or holds something but no theme.
bool ReadThemeFile(const std::string& path, ThemeFileState& state, std::string& error);

// Reads, changes and writes `path` under its lock (waiting at most
// lockWaitMs, or for as long as it takes when negative). `error` says why it
// was not written.
ThemeUpdateResult UpdateThemeFile(const std::string& path, const ThemeFileChange& change, std::string& error,
                                  int lockWaitMs = -1);
