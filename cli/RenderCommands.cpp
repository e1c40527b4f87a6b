// lsthtool fonts: images of what the drawer paints.

#include "CliCommon.h"
#include "GlyphSheet.h"
#include "PngWriter.h"

#include <cstdio>

int RunFonts(const Args& args)
{
    if (WantsHelp(args) || args.size() != 2 || args[0] != "-o") {
        std::printf("usage: lsthtool fonts -o FILE.png\n"
                    "Draws every character of the ten fonts, enlarged, for review.\n");
        return WantsHelp(args) ? 0 : 1;
    }
    std::string error;
    if (!WritePngFile(args[1], RenderGlyphSheet(), &error))
        return Fail(args[1] + ": " + error);
    return 0;
}
