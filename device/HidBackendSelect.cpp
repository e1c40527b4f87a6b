#include "HidBackend.h"
#include "LinuxHidBackend.h"
#include "SimulatedHidBackend.h"

#include <cstdlib>

std::shared_ptr<HidBackend> CreateHidBackend()
{
    SimulatorModel model;
    const char* simulator = std::getenv("LARKSPUR_HID_SIMULATOR");
    if (simulator && ParseSimulatorModel(simulator, model)) {
        const char* file = std::getenv("LARKSPUR_HID_SIMULATOR_FILE");
        return std::make_shared<SimulatedHidBackend>(model, file ? file : "");
    }
    return std::make_shared<LinuxHidBackend>();
}
