#pragma once

#include <cstdint>

// The short name of a virtual key in the injection logs: the modifiers, the lock keys and a few others;
// "" for any other key.
const char* VirtualKeyName(uint32_t vk);
