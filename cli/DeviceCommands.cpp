// lsthtool devices and hid-caps: support tools for devices and new revisions.

#include "CliCommon.h"
#include "SafeText.h"
#include "DeviceProtocol.h"
#include "FileIo.h"
#include "HidBackend.h"
#include "ReportDescriptor.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>

std::shared_ptr<HidBackend> CliBackend()
{
    std::string error;
    auto backend = CreateHidBackend(&error);
    if (!backend)
        UsageError(error);
    return backend;
}

int RunDevices(const Args& args)
{
    if (WantsHelp(args) || !args.empty()) {
        std::printf("usage: lsthtool devices\n"
                    "Lists every HID interface: path, vendor:product, whether it is a supported device,\n"
                    "whether it can be opened for reading and writing, and its report lengths.\n");
        return WantsHelp(args) ? 0 : 1;
    }
    auto backend = CliBackend();
    if (!backend)
        return 2;
    for (const HidInterfaceInfo& info : backend->Enumerate()) {
        const HidReportLengths& lengths = info.lengths;
        const bool parsed = lengths.input != 0 || lengths.output != 0;
        const HidAccess access = backend->Probe(info.path);
        std::printf("%s  %04x:%04x  %s  %s  input %s output %s  %s\n", EscapeForTerminal(info.path).c_str(), info.vendorId,
                    info.productId,
                    lsproto::IsAcceptedDevice(info.vendorId, info.productId) ? "supported" : "other",
                    HidAccessText(access), parsed ? std::to_string(lengths.input).c_str() : "?",
                    parsed ? std::to_string(lengths.output).c_str() : "?", EscapeForTerminal(info.name).c_str());
    }
    return 0;
}

namespace {

// A descriptor file: binary (as sysfs report_descriptor) or hex text.
bool ReadDescriptorFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& error)
{
    // Bounded and never blocking, as theme files are read: a device node, a
    // FIFO or a folder is refused with a reason. A descriptor is at most 4 KiB
    // (the kernel's limit); as hex text a few times that.
    constexpr std::size_t MaxDescriptorFile = 64 * 1024;
    std::string raw;
    if (ReadFileLimited(path, MaxDescriptorFile, raw, &error) != FileReadStatus::Ok)
        return false;
    const bool text = !raw.empty() && std::all_of(raw.begin(), raw.end(), [](unsigned char c) {
        return std::isxdigit(c) || std::isspace(c) || c == ',' || c == 'x' || c == 'X';
    });
    bytes.clear();
    if (raw.empty()) {
        error = "no descriptor: the file is empty";
        return false;
    }
    if (!text) {
        bytes.assign(raw.begin(), raw.end());
        return true;
    }
    std::string digits;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if ((c == 'x' || c == 'X') && !digits.empty() && digits.back() == '0' && digits.size() % 2 == 1) {
            digits.pop_back();  // "0x" prefix
            continue;
        }
        if (std::isxdigit(static_cast<unsigned char>(c)))
            digits += c;
        else if (digits.size() % 2 != 0) {
            error = "hex text with an odd digit at byte " + std::to_string(i);
            return false;
        }
    }
    if (digits.size() % 2 != 0) {
        error = "hex text with an odd number of digits";
        return false;
    }
    for (std::size_t i = 0; i < digits.size(); i += 2)
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
    if (bytes.empty()) {
        error = "no descriptor: the text holds no hex digits";
        return false;
    }
    return true;
}

}  // namespace

int RunHidCaps(const Args& args)
{
    if (WantsHelp(args) || args.size() != 1) {
        std::printf("usage: lsthtool hid-caps FILE\n"
                    "Prints the report lengths of a HID report descriptor (binary, as in sysfs\n"
                    "report_descriptor, or hex text) as \"input N\", \"output N\", \"feature N\", \"numbered yes|no\".\n");
        return WantsHelp(args) ? 0 : 1;
    }
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!ReadDescriptorFile(args[0], bytes, error))
        return Fail(args[0] + ": " + error);
    HidReportLengths lengths;
    if (!ParseReportDescriptor(bytes.data(), bytes.size(), lengths, &error))
        return Fail(args[0] + ": " + error);
    if (lengths.input == 0 && lengths.output == 0 && lengths.feature == 0)
        return Fail(args[0] + ": no descriptor: it declares no report");
    std::printf("input %u\noutput %u\nfeature %u\nnumbered %s\n", lengths.input, lengths.output, lengths.feature,
                lengths.numbered ? "yes" : "no");
    return 0;
}
