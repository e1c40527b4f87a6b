#include "ThemeFileUpdate.h"

#include "FileIo.h"
#include "FileLock.h"
#include "ThemeFile.h"

#include <algorithm>

const char* const NoThemeInFile = "holds no theme colours; not overwritten";

void TakeUnlocked(const TPackedTheme& from, const std::array<bool, ThemeSlotCount>& given, const std::vector<int>& locked,
                  TPackedTheme& words)
{
    for (int i = 0; i < ThemeSlotCount; ++i) {
        const auto at = static_cast<std::size_t>(i);
        if (given[at] && std::find(locked.begin(), locked.end(), i) == locked.end())
            words[at] = from[at];
    }
}

bool ReadThemeFile(const std::string& path, ThemeFileState& state, std::string& error)
{
    state = ThemeFileState{};
    TThemeColorTable defaults{};
    LoadDefaultTheme(defaults);
    PackTheme(defaults, state.words);
    std::string message;
    switch (ReadFileLimited(path, MaxIniFileSize, state.bytes, &message)) {
    case FileReadStatus::Missing:
        state.bytes.clear();
        return true;
    case FileReadStatus::Ok:
        break;
    default:
        // Rewriting a file we could not read whole would lose its other lines.
        error = message;
        return false;
    }
    state.exists = true;
    // An empty file has nothing to lose; anything else must be a theme.
    if (state.bytes.empty())
        return true;
    ThemeFileError fault;
    ThemeLoadReport report;
    if (!ParseTheme(state.bytes, state.words, state.smallDisplay, &fault, &report)) {
        error = (fault.key.empty() ? "" : fault.key + ": ") + fault.reason;
        return false;
    }
    if (report.NoThemeKeys()) {
        error = NoThemeInFile;
        return false;
    }
    state.locked = report.locked;
    return true;
}

ThemeUpdateResult UpdateThemeFile(const std::string& path, const ThemeFileChange& change, std::string& error,
                                  int lockWaitMs)
{
    error.clear();
    FileLock lock;
    if (!lock.Acquire(path, &error, lockWaitMs))
        return ThemeUpdateResult::Failed;
    ThemeFileState state;
    if (!ReadThemeFile(path, state, error))
        return ThemeUpdateResult::Refused;
    if (change && !change(state, error))
        return ThemeUpdateResult::Failed;
    std::sort(state.locked.begin(), state.locked.end());
    state.locked.erase(std::unique(state.locked.begin(), state.locked.end()), state.locked.end());
    const std::string content = ThemeFileContent(state.bytes, state.words, state.smallDisplay, &state.locked);
    if (content.size() > MaxIniFileSize) {
        // It could never be loaded again.
        error = "the file would grow past " + std::to_string(MaxIniFileSize) + " bytes";
        return ThemeUpdateResult::Failed;
    }
    if (!WriteFileAtomically(path, content, &error))
        return ThemeUpdateResult::Failed;
    return ThemeUpdateResult::Written;
}
