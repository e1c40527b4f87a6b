// lsthtool: theme files, previews and devices from the command line.

#include "CliCommon.h"

#include <csignal>
#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

struct Command {
    const char* name;
    int (*run)(const Args&);
    const char* summary;
};

const Command Commands[] = {
    {"dump", RunDump, "print a theme file's 42 words and display size"},
    {"check", RunCheck, "check that theme files load"},
    {"set", RunSet, "set colour keys and the display size of a theme file"},
    {"render", RunRender, "draw preview pages of a theme into a PNG"},
    {"lint", RunLint, "list the text and background pairs of a theme that are hard to read"},
    {"generate", RunGenerate, "make a legible theme from seed colours or a picture"},
    {"diff", RunDiff, "list the slots whose colours differ between two themes"},
    {"convert", RunConvert, "convert between theme files and .gpl, .json and .h palettes"},
    {"card", RunCard, "draw a theme card: its pages and swatches in one PNG"},
    {"inspect", RunInspect, "name the slots that paint one pixel of a preview page"},
    {"download", RunDownload, "read the connected device's theme"},
    {"upload", RunUpload, "write a theme file to the connected device"},
    {"devices", RunDevices, "list the HID interfaces of this machine"},
    {"hid-caps", RunHidCaps, "report lengths of a HID report descriptor file"},
    {"fonts", RunFonts, "draw every character of the ten fonts into a PNG"},
};

void PrintUsage()
{
    std::printf("usage: lsthtool COMMAND [ARGS]   (lsthtool COMMAND --help for more)\n\n");
    for (const Command& c : Commands)
        std::printf("  %-10s %s\n", c.name, c.summary);
}

// What a command printed is its result: a full disk or a closed pipe is a
// failure, not a success with nothing written.
int FinishOutput(int code)
{
    errno = 0;
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        const int error = errno ? errno : EIO;
        Fail(std::string("cannot write standard output: ") + std::strerror(error));
        return 1;
    }
    return code;
}

}  // namespace

int main(int argc, char** argv)
{
    // Past a file-size limit a write then fails with its error, and the save
    // cleans up like any other failed save, instead of the process being killed.
#if defined(SIGXFSZ)
    std::signal(SIGXFSZ, SIG_IGN);
#endif
#if defined(_WIN32)
    // What lsthtool prints is data: the same bytes as on Linux, no CR added.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    if (argc < 2)
        return UsageError("usage: lsthtool COMMAND [ARGS] (lsthtool --help lists them)");
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        PrintUsage();
        return FinishOutput(0);
    }
    const Args args(argv + 2, argv + argc);
    for (const Command& c : Commands)
        if (std::strcmp(argv[1], c.name) == 0)
            return FinishOutput(c.run(args));
    return UsageError(std::string("unknown command ") + Echo(argv[1]) + " (lsthtool --help lists them)");
}
