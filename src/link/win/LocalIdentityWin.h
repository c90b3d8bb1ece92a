#pragma once

#include <cstdint>

#include "link/LocalIdentity.h"

// What this PC tells its peer about itself, read from the system.
namespace Discovery {

// The identity from the computer name (UTF-8; MakeLocalIdentity("") when it cannot be read).
LocalIdentity ReadLocalIdentity();

// The primary screen in pixels (SM_CXSCREEN, SM_CYSCREEN), for the size of a control request.
struct PrimaryScreenSize {
    int32_t width = 0;
    int32_t height = 0;
};
PrimaryScreenSize ReadPrimaryScreenSize();

} // namespace Discovery
