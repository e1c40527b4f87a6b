// lsthtool download and upload: the device's theme without the window.

#include "CliCommon.h"
#include "DeviceSession.h"
#include "SettingsFile.h"
#include "ThemeFile.h"

#include "ExecutablePath.h"

#include <cstdio>

namespace {

// The editor's settings file: beside this tool, named like the editor.
std::string EditorOverrideText()
{
    std::string path = ExecutablePath();
    if (path.empty())
        return {};
    path = path.substr(0, path.find_last_of("/\\") + 1) + "larkspur-theme-editor";
#if defined(_WIN32)
    path += ".exe";
#endif
    return ReadOverrideText(SettingsPathForExecutable(path));
}

struct TransferOptions {
    std::string file;
    std::string output;
    std::string overrideText;
    bool overrideGiven = false;
    bool force = false;
};

bool ParseOptions(const Args& args, TransferOptions& o, bool wantsFile, std::string& error)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-o" || args[i] == "--override") {
            if (i + 1 >= args.size()) {
                error = args[i] + " needs a value";
                return false;
            }
            if (args[i] == "-o")
                o.output = args[++i];
            else {
                o.overrideText = args[++i];
                o.overrideGiven = true;
            }
        } else if (wantsFile && args[i] == "--force") {
            o.force = true;
        } else if (wantsFile && o.file.empty() && !args[i].empty() && args[i][0] != '-') {
            o.file = args[i];
        } else {
            error = "unexpected argument '" + args[i] + "'";
            return false;
        }
    }
    if (wantsFile && o.file.empty()) {
        error = "a theme file is needed";
        return false;
    }
    if (!o.overrideGiven)
        o.overrideText = EditorOverrideText();
    return true;
}

int Report(const DeviceSession& session) { return Fail(session.Message()); }

}  // namespace

int RunDownload(const Args& args)
{
    TransferOptions o;
    std::string error;
    if (WantsHelp(args) || !ParseOptions(args, o, false, error)) {
        std::printf("usage: lsthtool download [-o FILE.lsth] [--override TEXT]\n"
                    "Reads the connected device's theme. Without -o it prints the words like dump;\n"
                    "with -o it saves them, with the device's display size, into FILE.\n");
        if (!WantsHelp(args))
            return Fail("download: " + error);
        return 0;
    }
    auto backend = CliBackend();
    if (!backend)
        return 2;
    DeviceSession session(*backend);
    ThemeBlock block{};
    if (session.Connect(o.overrideText) != DeviceSession::Result::Ok || session.ReadTheme(block) != DeviceSession::Result::Ok)
        return Report(session);
    TPackedTheme packed{};
    PackedThemeFromBytes(block.data(), packed);
    const bool small = !session.LargeDisplay();
    if (o.output.empty()) {
        PrintThemeWords(packed, small);
        return 0;
    }
    TThemeColorTable colors{};
    UnpackTheme(packed, colors);
    std::string name;
    ThemeFileError fileError;
    if (!SaveTheme(o.output, colors, packed, small, name, &fileError))
        return Fail(o.output + ": " + fileError.reason);
    std::printf("Theme was downloaded successfully into %s\n", o.output.c_str());
    return 0;
}

int RunUpload(const Args& args)
{
    TransferOptions o;
    std::string error;
    if (WantsHelp(args) || !ParseOptions(args, o, true, error)) {
        std::printf("usage: lsthtool upload FILE.lsth [--override TEXT] [--force]\n"
                    "Writes the theme of FILE to the connected device; the device's own bytes beyond\n"
                    "the 42 colours are read first and go back unchanged. The theme is read back\n"
                    "afterwards, and only a device that holds it counts as success. A file without\n"
                    "a single theme key is refused unless --force is given.\n");
        if (!WantsHelp(args))
            return Fail("upload: " + error);
        return 0;
    }
    TPackedTheme packed{};
    std::string name;
    ThemeFileError fileError;
    ThemeLoadReport report;
    if (!LoadTheme(o.file, packed, nullptr, name, &fileError, &report))
        return Fail(o.file + ": " + (fileError.key.empty() ? "" : fileError.key + ": ") + fileError.reason);
    if (report.NoThemeKeys() && !o.force)
        return Fail(o.file + ": holds no theme colours (not a theme file?); --force sends the defaults");
    auto backend = CliBackend();
    if (!backend)
        return 2;
    DeviceSession session(*backend);
    if (session.Connect(o.overrideText) != DeviceSession::Result::Ok || session.Upload(PackedThemeBytes(packed)) != DeviceSession::Result::Ok)
        return Report(session);
    std::printf("%s\n", session.Message().c_str());
    return 0;
}
