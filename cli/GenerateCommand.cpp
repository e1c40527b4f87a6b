// lsthtool generate: a whole theme from seed colours or a picture, made as
// the editor's Generate Theme dialog makes it.

#include "CliCommon.h"
#include "ColorText.h"
#include "PictureSeeds.h"
#include "ThemeFile.h"
#include "ThemeFileUpdate.h"
#include "ThemeGenerator.h"
#include "ThemeSlots.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <set>

namespace {

struct GenerateRequest {
    GenerateOptions options;
    std::string picture;
    std::string keep;
    std::string out;
    int display = -1;  // -1: the kept theme's, else 240x320
};

bool ParseVariation(const std::string& text, std::uint32_t& value)
{
    if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const unsigned long long n = std::stoull(text);
    if (n > 0xFFFFFFFFull)
        return false;
    value = static_cast<std::uint32_t>(n);
    return true;
}

// An empty text when the arguments make a request, else what is wrong.
std::string ReadRequest(const Args& args, GenerateRequest& r)
{
    std::set<std::string> given;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        // Seeds may be many; every other option once, and one of --dark and --light.
        const std::string option = a == "--light" ? "--dark" : a;
        if (a != "--seed" && a.rfind("-", 0) == 0 && !given.insert(option).second)
            return a == option ? a + " is given twice" : "--dark and --light are given together";
        const bool hasValue = i + 1 < args.size();
        const auto value = [&]() -> const std::string& { return args[++i]; };
        if (a == "--dark" || a == "--light") {
            r.options.dark = a == "--dark";
        } else if (a == "--seed" || a == "--from-picture" || a == "--contrast" || a == "--variation" ||
                   a == "--keep" || a == "-o" || a == "--display" || a == "--style" || a == "--vividness") {
            if (!hasValue)
                return a + " needs a value";
            const std::string& v = value();
            if (a == "--seed") {
                TColor color = 0;
                if (!ParseColorText(v, color))
                    return "not a colour: " + Echo(v);
                if (r.options.seeds.size() == 3)
                    return "at most three seeds (base, accent, second accent)";
                r.options.seeds.push_back(color);
            } else if (a == "--from-picture") {
                r.picture = v;
            } else if (a == "--contrast") {
                if (v != "standard" && v != "high")
                    return "--contrast is standard or high, not " + Echo(v);
                r.options.highContrast = v == "high";
            } else if (a == "--variation") {
                if (!ParseVariation(v, r.options.variation))
                    return "--variation is a number from 0 to 4294967295, not " + Echo(v);
            } else if (a == "--style") {
                if (!ParseStyle(v, r.options.style))
                    return "--style is fidelity, vibrant, tonal, expressive or monochrome, not " + Echo(v);
            } else if (a == "--vividness") {
                std::uint32_t percent = 0;
                if (!ParseVariation(v, percent) || percent > 150)
                    return "--vividness is a percentage from 0 to 150, not " + Echo(v);
                r.options.vividness = int(percent);
            } else if (a == "--keep") {
                r.keep = v;
            } else if (a == "-o") {
                r.out = v;
            } else {
                if (v != "240x320" && v != "80x160")
                    return "unknown display size " + Echo(v) + " (240x320 or 80x160)";
                r.display = v == "80x160" ? 1 : 0;
            }
        } else {
            return "unknown argument " + Echo(a) + " (see lsthtool generate --help)";
        }
    }
    if (r.out.empty())
        return "-o OUT.lsth is needed";
    if (r.options.seeds.empty() == r.picture.empty())
        return "give one to three --seed colours or --from-picture, not both";
    return {};
}

}  // namespace

int RunGenerate(const Args& args)
{
    if (WantsHelp(args)) {
        std::printf("usage: lsthtool generate (--seed COLOUR [--seed COLOUR]... | --from-picture FILE)\n"
                    "         [--style fidelity|vibrant|tonal|expressive|monochrome] [--vividness PERCENT]\n"
                    "         [--dark|--light] [--contrast standard|high] [--variation N] [--keep FILE.lsth]\n"
                    "         [--display 240x320|80x160] -o OUT.lsth\n"
                    "Makes a theme from one to three seed colours (the hero, which the arcs and the menu\n"
                    "cursor take, then the second and third accents; #RRGGBB or any colour text a theme\n"
                    "file takes), or from the three a PNG or JPEG proposes, legible on every page at both\n"
                    "display sizes. --style says how the seeds are read (fidelity unless said);\n"
                    "--vividness scales the accents' chroma (100 unless said). --keep takes the locked\n"
                    "slots of a theme with their colours, and the display size. Prints the seeds; exit 1\n"
                    "when a pair cannot be mended around the locked slots, 2 for a wrong command line.\n");
        return 0;
    }
    GenerateRequest request;
    if (const std::string error = ReadRequest(args, request); !error.empty())
        return UsageError("generate: " + error);
    if (!request.picture.empty()) {
        std::string error;
        if (!SeedsFromPictureFile(request.picture, request.options.seeds, error))
            return Fail(request.picture + ": " + error);
    }
    // The kept theme's locks and locked colours, and its display size.
    LoadedTheme kept;
    ThemeLoadReport keptReport;
    if (!request.keep.empty() && !LoadForCli(request.keep, kept, &keptReport))
        return 1;

    // A theme already there keeps its other lines, and its locked slots their
    // colours, as --keep's do.
    GeneratedTheme theme;
    std::string error;
    const ThemeUpdateResult written = UpdateThemeFile(request.out, [&](ThemeFileState& file, std::string&) {
        if (!request.keep.empty()) {
            std::array<bool, ThemeSlotCount> lockedThere{};
            for (int index : keptReport.locked)
                lockedThere[static_cast<std::size_t>(index)] = true;
            TakeUnlocked(kept.packed, lockedThere, file.locked, file.words);
            file.locked.insert(file.locked.end(), keptReport.locked.begin(), keptReport.locked.end());
            std::sort(file.locked.begin(), file.locked.end());
            file.locked.erase(std::unique(file.locked.begin(), file.locked.end()), file.locked.end());
            file.smallDisplay = kept.smallDisplay;
        }
        if (request.display >= 0)
            file.smallDisplay = request.display == 1;
        TThemeColorTable current{};
        UnpackTheme(file.words, current);
        std::set<SlotId> keep;
        for (int index : file.locked)
            keep.insert(static_cast<SlotId>(index));
        theme = GenerateTheme(request.options, current, keep);
        PackTheme(theme.colors, file.words);
        return true;
    }, error);
    if (written != ThemeUpdateResult::Written)
        return Fail(request.out + ": " + error);
    std::printf("seeds");
    for (TColor seed : request.options.seeds)
        std::printf(" %s", ColorToHexText(seed).c_str());
    std::printf("\n");
    for (const UnmendablePair& u : theme.unmendable)
        std::printf("cannot mend %s on %s: %s\n", SlotKey(u.fg), SlotKey(u.bg), u.why.c_str());
    return theme.unmendable.empty() ? 0 : 1;
}
