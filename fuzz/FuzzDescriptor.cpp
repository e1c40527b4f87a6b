// The report-descriptor parser on arbitrary bytes.
#include "ReportDescriptor.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    HidReportLengths lengths;
    std::string error;
    if (!ParseReportDescriptor(data, size, lengths, &error) && error.empty())
        std::abort();  // every refusal says why
    return 0;
}
