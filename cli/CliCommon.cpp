#include "CliCommon.h"

#include <cstdio>

bool WantsHelp(const Args& args)
{
    for (const std::string& a : args)
        if (a == "-h" || a == "--help")
            return true;
    return false;
}

int Fail(const std::string& message)
{
    std::fprintf(stderr, "lsthtool: %s\n", message.c_str());
    return 1;
}
