// lsthtool lint --fix: the theme mended as the editor's Fix All mends it,
// written back (or to another file, which takes every line of the original
// that is no colour), with each change printed once it is written.

#include "CliCommon.h"
#include "ColorText.h"
#include "LegibilityFix.h"
#include "ThemeFileUpdate.h"
#include "ThemeSlots.h"

#include <cstdio>
#include <set>

namespace {

LegibilityFixResult Mend(ThemeFileState& theme)
{
    TThemeColorTable colors{};
    UnpackTheme(theme.words, colors);
    std::set<SlotId> kept;
    for (int index : theme.locked)
        kept.insert(static_cast<SlotId>(index));
    LegibilityFixResult result = FixLegibility(colors, ContrastNeeds(), kept);
    PackTheme(colors, theme.words);
    return result;
}

}  // namespace

int WriteLegibilityFix(const std::string& file, const std::string& out)
{
    // Another file starts from the original's bytes, read before its own
    // lock is taken: only the file written is locked.
    // The same rules as for the file written: a file that holds something
    // else is no theme to take lines from.
    ThemeFileState source;
    const bool another = !out.empty() && out != file;
    std::string error;
    if (another && !ReadThemeFile(file, source, error))
        return Fail(file + ": " + error);
    if (another && !source.exists)
        return Fail(file + ": cannot be read");
    const std::string target = out.empty() ? file : out;
    LegibilityFixResult result;
    const ThemeUpdateResult written = UpdateThemeFile(target, [&](ThemeFileState& theme, std::string&) {
        if (another)
            theme = source;
        result = Mend(theme);
        return true;
    }, error);
    if (written != ThemeUpdateResult::Written)
        return Fail(target + ": " + error);
    for (const ColorFix& fix : result.changes)
        std::printf("%s %s -> %s (%.2f:1 -> %.2f:1)\n", SlotKey(fix.slot), ColorToHexText(fix.before).c_str(),
                    ColorToHexText(fix.after).c_str(), fix.worstBefore, fix.worstAfter);
    for (const UnmendablePair& u : result.unmendable)
        std::printf("cannot mend %s on %s: %s\n", SlotKey(u.fg), SlotKey(u.bg), u.why.c_str());
    return result.unmendable.empty() ? 0 : 1;
}
