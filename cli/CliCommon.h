#pragma once
// Small helpers shared by the lsthtool commands.

#include "ColorModel.h"

#include <string>
#include <vector>

using Args = std::vector<std::string>;

// True when args holds -h or --help.
bool WantsHelp(const Args& args);
// Prints "lsthtool: <message>" to stderr, control bytes escaped, and returns
// exit code 1.
int Fail(const std::string& message);
// The 42 words as "<slot> <key> $<WORD>" lines, then "Display <0|1>".
void PrintThemeWords(const TPackedTheme& packed, bool smallDisplay);

int RunDump(const Args& args);
int RunCheck(const Args& args);
int RunSet(const Args& args);
int RunFonts(const Args& args);
int RunRender(const Args& args);
int RunInspect(const Args& args);
int RunLint(const Args& args);
int RunDevices(const Args& args);
int RunHidCaps(const Args& args);
int RunDownload(const Args& args);
int RunUpload(const Args& args);
