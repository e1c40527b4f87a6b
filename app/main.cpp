#include "LarkspurApplication.h"
#include "Unit1.h"

#include <csignal>
#include <cstdio>
#include <cstring>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace {

const char* const Usage =
    "usage: larkspur-theme-editor [FILE.lsth]\n"
    "Designs the colour theme of a Larkspur handheld. With FILE, opens that theme file.\n"
    "  --help     show this text\n"
    "  --version  show the version\n";

#if defined(_WIN32)
// A window program starts without a console: what it prints goes to the
// console of the command prompt that started it, when there is one.
void UseParentConsole()
{
    // Output the caller redirected (to a file or a pipe) stays where it goes.
    const auto redirected = [](DWORD which) {
        const HANDLE handle = GetStdHandle(which);
        return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
    };
    static bool attached = false;
    if (attached || !AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    attached = true;
    if (!redirected(STD_OUTPUT_HANDLE))
        std::freopen("CONOUT$", "w", stdout);
    if (!redirected(STD_ERROR_HANDLE))
        std::freopen("CONOUT$", "w", stderr);
}
#else
void UseParentConsole() {}
#endif

}  // namespace

int main(int argc, char** argv)
{
    // Past a file-size limit a save fails with its error and keeps the old
    // file, instead of the process being killed.
#if defined(SIGXFSZ)
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    // Answered before the toolkit starts, so they work without a display.
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] == '-')
            UseParentConsole();
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(Usage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("larkspur-theme-editor %s\n", LARKSPUR_VERSION);
            return 0;
        }
    }
    LarkspurApplication app(argc, argv);
    app.setApplicationName(QString::fromLatin1(ApplicationTitle));
    // No display name: the platform would append it to every window title.

    // What is left once the toolkit has taken its own options. The file name
    // goes on as the bytes the system gave, so a name that is no valid UTF-8
    // still opens; Windows hands its names over as UTF-16.
    std::string file;
    bool haveFile = false;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args[i].startsWith(QLatin1Char('-')) || haveFile) {
            std::fprintf(stderr, "larkspur-theme-editor: unexpected argument '%s'\n%s", args[i].toLocal8Bit().constData(),
                         Usage);
            return 2;
        }
#if defined(_WIN32)
        file = args[i].toStdString();
#else
        file = argc == args.size() + 1 ? std::string(argv[i + 1]) : args[i].toStdString();
#endif
        haveFile = true;
    }
    TfrmMain frmMain;
    frmMain.Session().SetStartupFile(file);
    frmMain.show();
    return app.exec();
}
