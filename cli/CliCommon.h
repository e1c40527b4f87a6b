#pragma once
// Small helpers shared by the lsthtool commands.

#include "ColorModel.h"

#include <ctime>
#include <memory>
#include <string>
#include <vector>

using Args = std::vector<std::string>;

class HidBackend;
// The HID backend a device command uses; null after saying why (exit 2) when
// the simulator's settings cannot be used.
std::shared_ptr<HidBackend> CliBackend();

// True when args holds -h or --help.
bool WantsHelp(const Args& args);
// Prints "lsthtool: <message>" to stderr, control bytes escaped, and returns
// exit code 1.
int Fail(const std::string& message);
// Prints the message like Fail and returns 2: the command line was wrong.
int UsageError(const std::string& message);
// A value given on the command line, quoted for a message: at most 60
// characters of it, then "…".
std::string Echo(const std::string& value);
// The 42 words as "<slot> <key> $<WORD>" lines, then "Display <0|1>".
void PrintThemeWords(const TPackedTheme& packed, bool smallDisplay);

struct ThemeLoadReport;
struct LoadedTheme {
    TPackedTheme packed{};
    bool smallDisplay = false;
};
// Loads like the editor does; on failure prints "FILE: key: reason".
bool LoadForCli(const std::string& file, LoadedTheme& theme, ThemeLoadReport* report = nullptr);
int RunDump(const Args& args);
int RunCheck(const Args& args);
int RunSet(const Args& args);
int RunFonts(const Args& args);
int RunRender(const Args& args);
int RunInspect(const Args& args);
int RunLint(const Args& args);
// Mends the theme of `file`, read under the lock of the file written, and
// writes it to `out`, or back into `file`; 1 when a pair cannot be mended or
// nothing could be written.
int WriteLegibilityFix(const std::string& file, const std::string& out);
int RunGenerate(const Args& args);
int RunDiff(const Args& args);
int RunConvert(const Args& args);
int RunCard(const Args& args);
int RunDevices(const Args& args);
int RunHidCaps(const Args& args);
int RunDownload(const Args& args);
int RunUpload(const Args& args);
