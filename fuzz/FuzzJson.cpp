// The palettes' JSON reader on arbitrary bytes: it must return, never crash,
// and a fault must name a line inside the text.
#include "JsonReader.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    JsonValue value;
    int line = 0;
    std::string reason;
    const bool ok = ParseJson(text, value, line, reason);
    const long lines = 1 + std::count(text.begin(), text.end(), '\n');
    if (!ok && (line < 1 || line > lines || reason.empty()))
        std::abort();
    return 0;
}
