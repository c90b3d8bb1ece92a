#pragma once

#include <cstdint>

// Windows virtual key -> usage on the USB HID keyboard page, for the cable's keyboard reports. Keys
// without a usage here, the modifiers included, give 0: modifiers travel in the report's modifier byte.
uint8_t VkToHidUsage(uint32_t vk);
