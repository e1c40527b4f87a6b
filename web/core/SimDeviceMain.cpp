// The simulated device as a WebAssembly module, for the browser edition's
// tests: the same device the desktop's simulator plays, driven report by
// report from a scripted WebHID.

#include "SimulatedDevice.h"

#include <emscripten/emscripten.h>

#include <cstring>
#include <memory>
#include <string>

namespace {
std::unique_ptr<SimulatedDevice> device;
}

extern "C" {

// "large", "small" or "old"; 0 for anything else.
EMSCRIPTEN_KEEPALIVE int sim_create(const char* model)
{
    SimulatorModel m{};
    if (!ParseSimulatorModel(model, m))
        return 0;
    device = std::make_unique<SimulatedDevice>(m);
    return 1;
}

// One output report, its ID byte first; 1 when it stored a whole theme.
EMSCRIPTEN_KEEPALIVE int sim_receive(const std::uint8_t* report, int size)
{
    return device->Receive(report, static_cast<std::size_t>(size)) ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE int sim_reply_count() { return static_cast<int>(device->Replies().size()); }

// The next input report into `out` (room for 4096 bytes); its size.
EMSCRIPTEN_KEEPALIVE int sim_take_reply(std::uint8_t* out)
{
    const std::vector<std::uint8_t> reply = std::move(device->Replies().front());
    device->Replies().pop_front();
    const std::size_t size = std::min<std::size_t>(reply.size(), 4096);
    std::memcpy(out, reply.data(), size);
    return static_cast<int>(size);
}

EMSCRIPTEN_KEEPALIVE void sim_reset() { device->Reset(); }

// The theme block (128 bytes) out of, or into, the device.
EMSCRIPTEN_KEEPALIVE void sim_theme(std::uint8_t* out) { std::memcpy(out, device->Theme().data(), device->Theme().size()); }
EMSCRIPTEN_KEEPALIVE void sim_set_theme(const std::uint8_t* in)
{
    SimulatedDevice::Block block{};
    std::memcpy(block.data(), in, block.size());
    device->SetTheme(block);
}

EMSCRIPTEN_KEEPALIVE void sim_set_silent(int on) { device->SetSilent(on != 0); }
EMSCRIPTEN_KEEPALIVE void sim_set_reply_size(int bytes) { device->SetReplyPayloadSize(static_cast<std::size_t>(bytes)); }
EMSCRIPTEN_KEEPALIVE void sim_set_forget_writes(int on) { device->SetForgetWrites(on != 0); }

}
