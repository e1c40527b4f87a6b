#include "HidBackend.h"
#if defined(_WIN32)
#include "WindowsHidBackend.h"
#else
#include "LinuxHidBackend.h"
#endif
#include "SimulatedHidBackend.h"

#include <cstdio>
#include <cstdlib>

std::shared_ptr<HidBackend> CreateHidBackend()
{
    SimulatorModel model;
    const char* simulator = std::getenv("LARKSPUR_HID_SIMULATOR");
    if (simulator && ParseSimulatorModel(simulator, model)) {
        const char* file = std::getenv("LARKSPUR_HID_SIMULATOR_FILE");
        auto backend = std::make_shared<SimulatedHidBackend>(model, file ? file : "");
        if (const char* faults = std::getenv("LARKSPUR_HID_SIMULATOR_FAULTS")) {
            std::string error;
            if (!backend->SetFaults(faults, &error))
                std::fprintf(stderr, "LARKSPUR_HID_SIMULATOR_FAULTS: %s\n", error.c_str());
        }
        return backend;
    }
#if defined(_WIN32)
    return std::make_shared<WindowsHidBackend>();
#else
    return std::make_shared<LinuxHidBackend>();
#endif
}
