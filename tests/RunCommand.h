#pragma once
// Runs a command line through the shell and collects its exit code and output.

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

struct CommandResult {
    int exitCode = -1;
    std::string out;  // stdout
    std::string err;  // stderr
};

inline CommandResult RunCommand(const std::string& commandLine, const std::string& errFile)
{
    CommandResult r;
    FILE* pipe = popen((commandLine + " 2>" + errFile).c_str(), "r");
    if (!pipe)
        return r;
    std::array<char, 4096> buffer{};
    size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        r.out.append(buffer.data(), n);
    const int status = pclose(pipe);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (FILE* f = std::fopen(errFile.c_str(), "rb")) {
        while ((n = fread(buffer.data(), 1, buffer.size(), f)) > 0)
            r.err.append(buffer.data(), n);
        std::fclose(f);
    }
    return r;
}
