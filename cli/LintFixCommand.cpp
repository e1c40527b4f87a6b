// lsthtool lint --fix: the theme mended as the editor's Fix All mends it,
// written back (or to another file, keeping every line of the original that
// is no colour), with each change printed.

#include "CliCommon.h"
#include "ColorText.h"
#include "FileIo.h"
#include "FileLock.h"
#include "LegibilityFix.h"
#include "ThemeFile.h"
#include "ThemeSlots.h"

#include <cstdio>
#include <set>

int WriteLegibilityFix(const std::string& file, TThemeColorTable colors, bool small, const std::vector<int>& locked,
                       const std::string& out)
{
    const std::string target = out.empty() ? file : out;
    FileLock lock;
    std::string error;
    if (!lock.Acquire(target, &error))
        return Fail(target + ": " + error);
    std::set<SlotId> kept;
    for (int index : locked)
        kept.insert(static_cast<SlotId>(index));
    const LegibilityFixResult result = FixLegibility(colors, ContrastNeeds(), kept);
    for (const ColorFix& fix : result.changes)
        std::printf("%s %s -> %s (%.2f:1 -> %.2f:1)\n", SlotKey(fix.slot),
                    ColorToHexText(fix.before).c_str(), ColorToHexText(fix.after).c_str(), fix.worstBefore, fix.worstAfter);
    for (const UnmendablePair& u : result.unmendable)
        std::printf("cannot mend %s on %s: %s\n", SlotKey(u.fg),
                    SlotKey(u.bg), u.why.c_str());
    if (target != file) {
        // The other file starts as a copy, so its comments and other keys are the original's.
        std::string bytes;
        if (ReadFileLimited(file, MaxIniFileSize, bytes, &error) != FileReadStatus::Ok)
            return Fail(file + ": " + error);
        if (!WriteFileAtomically(target, bytes, &error))
            return Fail(target + ": " + error);
    }
    if (!result.changes.empty() || target != file) {
        TPackedTheme packed{};
        PackTheme(colors, packed);
        std::string name;
        ThemeFileError saveError;
        if (!SaveTheme(target, colors, packed, small, name, &saveError))
            return Fail(target + ": " + saveError.reason);
    }
    return result.unmendable.empty() ? 0 : 1;
}
