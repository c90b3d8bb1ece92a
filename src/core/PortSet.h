#pragma once

#include <cstdint>

// The ports of the system: discovery and control are fixed, the channel ports come from the settings.
struct PortSet {
    uint16_t discoveryPrimary = 38999;
    uint16_t discoveryLegacy = 58999;
    uint16_t control = 5003;
    uint16_t video = 6000;
    uint16_t input = 5000;
    uint16_t audio = 7001;
    uint16_t clipboard = 5002;
    uint16_t http = 0; // chosen by the system when the file server starts
};
