// The receive path: arbitrary commands and payload sizes and contents. The
// assembly must never take more than the reply needs nor run past its buffer.
#include "DeviceProtocol.h"

#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    lsproto::ReceiveState rx;
    std::size_t at = 0;
    while (at + 2 <= size) {
        const std::uint8_t op = data[at++];
        if (op < 0x20) {
            static const std::uint8_t codes[] = {lsproto::CmdDataflashRead, lsproto::CmdThemeRead,
                                                 lsproto::CmdThemeWrite, 0x00};
            rx.Start(codes[op % 4]);
            continue;
        }
        const std::size_t length = static_cast<std::size_t>(data[at++]) * 4;  // up to 1020 bytes
        std::vector<std::uint8_t> payload(length, op);
        const std::size_t before = rx.ReceivedBytes() + rx.ExpectedBytes();
        rx.Append(payload.data(), payload.size());
        if (rx.ReceivedBytes() > lsproto::DataflashSize)
            std::abort();
        if (rx.ExpectedBytes() > 0 && rx.ReceivedBytes() + rx.ExpectedBytes() != before)
            std::abort();
    }
    return 0;
}
