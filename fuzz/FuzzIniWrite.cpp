// The INI writer: load arbitrary bytes, set a key, and check that the key reads
// back and that only one line of the old text changed (everything else is kept
// byte for byte; new lines may be added).
#include "IniFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string before(reinterpret_cast<const char*>(data), size);
    IniDocument ini(before);
    ini.WriteString("Main", "Main_Dom", "$1234");
    const std::string& after = ini.Bytes();

    std::string value;
    if (!ini.Find("Main", "Main_Dom", value) || value != "$1234")
        std::abort();

    std::size_t prefix = 0;
    while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix])
        ++prefix;
    std::size_t suffix = 0;
    while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    // What left the old text lies within one line.
    const std::string removed = before.substr(prefix, before.size() - prefix - suffix);
    const std::size_t lineEnd = removed.find_first_of("\r\n");
    if (lineEnd != std::string::npos && removed.find_first_not_of("\r\n", lineEnd) != std::string::npos)
        std::abort();
    return 0;
}
