#include "input/HidUsageTable.h"

namespace {

struct VkUsage {
    uint8_t vk;
    uint8_t usage;
};

// The keys that are not part of a run (letters, digits, keypad digits, function keys).
constexpr VkUsage kSingleKeys[] = {
    {0x08, 42},  // Backspace
    {0x09, 43},  // Tab
    {0x0D, 40},  // Enter
    {0x13, 72},  // Pause
    {0x14, 57},  // CapsLock
    {0x1B, 41},  // Esc
    {0x20, 44},  // Space
    {0x21, 75},  // Page Up
    {0x22, 78},  // Page Down
    {0x23, 77},  // End
    {0x24, 74},  // Home
    {0x25, 80},  // Left
    {0x26, 82},  // Up
    {0x27, 79},  // Right
    {0x28, 81},  // Down
    {0x2C, 70},  // Print Screen
    {0x2D, 73},  // Insert
    {0x2E, 76},  // Delete
    {0x5D, 101}, // Apps
    {0x6A, 85},  // keypad *
    {0x6B, 87},  // keypad +
    {0x6C, 133}, // separator
    {0x6D, 86},  // keypad -
    {0x6E, 99},  // keypad .
    {0x6F, 84},  // keypad /
    {0x90, 83},  // NumLock
    {0x91, 71},  // ScrollLock
    {0xBA, 51},  // ;:
    {0xBB, 46},  // =+
    {0xBC, 54},  // ,<
    {0xBD, 45},  // -_
    {0xBE, 55},  // .>
    {0xBF, 56},  // /?
    {0xC0, 53},  // `~
    {0xDB, 47},  // [{
    {0xDC, 49},  // \|
    {0xDD, 48},  // ]}
    {0xDE, 52},  // '"
};

} // namespace

uint8_t VkToHidUsage(uint32_t vk) {
    if (vk >= 'A' && vk <= 'Z')
        return static_cast<uint8_t>(4 + (vk - 'A'));
    if (vk >= '1' && vk <= '9')
        return static_cast<uint8_t>(30 + (vk - '1'));
    if (vk == '0')
        return 39;
    if (vk >= 0x61 && vk <= 0x69) // keypad 1..9
        return static_cast<uint8_t>(89 + (vk - 0x61));
    if (vk == 0x60) // keypad 0
        return 98;
    if (vk >= 0x70 && vk <= 0x7B) // F1..F12
        return static_cast<uint8_t>(58 + (vk - 0x70));
    if (vk == 0x7C) // F13 has a usage of its own; 70 would be Print Screen
        return 104;
    for (const VkUsage& key : kSingleKeys)
        if (key.vk == vk)
            return key.usage;
    return 0;
}
