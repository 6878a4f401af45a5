#include "EngineSwitches.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <thread>

namespace zori {

namespace {

constexpr int kMostSpreadsInFlight = 8;

} // namespace

EngineSwitches ReadEngineSwitches() {
    EngineSwitches switches;
    const int processors = static_cast<int>(std::thread::hardware_concurrency());
    switches.spreadsInFlight = std::clamp(processors, 1, kDefaultMostSpreadsInFlight);
    if (const char* inFlight = std::getenv("RELAYDESK_ENGINE_SPREADS_IN_FLIGHT")) {
        const int value = std::atoi(inFlight);
        if (value >= 1 && value <= kMostSpreadsInFlight)
            switches.spreadsInFlight = value;
    }
    if (const char* colour = std::getenv("RELAYDESK_ENGINE_COLOUR_MANAGEMENT"))
        switches.colourManagement = std::string(colour) != "0";
    return switches;
}

} // namespace zori
