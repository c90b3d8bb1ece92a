#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include "input/HidTransport.h"

inline constexpr uint16_t kCableHidVendorId = 0x35E6;
inline constexpr uint16_t kCableHidProductId = 0x2402;
inline constexpr size_t kHidPathCapacity = 260; // a longer path is refused, not cut
inline constexpr uint32_t kHidReportBufferSize = 1024;
inline constexpr int kHidModifierSlotCount = 8;
inline constexpr int kHidButtonCount = 3;

// Slots of the modifier keys (the other four stay 0) and their bits in the report's modifier byte.
enum HidModifierSlot { kHidSlotCtrl = 0, kHidSlotShift = 1, kHidSlotAlt = 2, kHidSlotWin = 3 };
inline constexpr uint32_t kHidModifierBits[4] = {0x01, 0x02, 0x04, 0x08};
// Button states: left, right, middle, each holding its bit of the report's button byte while down.
inline constexpr uint32_t kHidButtonBits[kHidButtonCount] = {0x01, 0x02, 0x04};

// How long a write or a reply read may take before the device layer gives up on it, so that a cable that
// stops answering cannot hold a thread (and the context's lock) for good.
inline constexpr uint32_t kHidWriteTimeoutMs = 1000;
inline constexpr uint32_t kHidReplyTimeoutMs = 1000;

// One device context: its own handle to the cable's HID interface and the key and button state that the
// next report carries. Every UsbHidLink function takes `mutex` for the whole of its work, so callers on
// several threads (UI, "InputHost", the probe) never interleave reports or close the handle under a
// writer; a context is not copied or moved.
struct UsbHidContext {
    UsbHidContext(IHidTransport& transportIn, std::function<void(uint32_t ms)> sleepIn,
                  std::function<void(const char* text)> debugPrintIn)
        : transport(transportIn), sleepMs(std::move(sleepIn)), debugPrint(std::move(debugPrintIn)) {}
    UsbHidContext(const UsbHidContext&) = delete;
    UsbHidContext& operator=(const UsbHidContext&) = delete;

    uint16_t vendorId = kCableHidVendorId;
    uint16_t productId = kCableHidProductId;
    std::unique_ptr<IHidDevice> device; // the open handle; null until opened
    char devicePath[kHidPathCapacity] = {};
    uint32_t modifierSlots[kHidModifierSlotCount] = {};
    uint32_t buttons[kHidButtonCount] = {};
    int32_t screenWidth = 3840; // kept with the context; nothing computes with these four
    int32_t screenHeight = 2160;
    int32_t windowWidth = 1024; // what SetWindosSize stores
    int32_t windowHeight = 768;
    uint32_t outputReportLength = 0; // buffer size, set when the device is opened
    uint8_t outputReport[kHidReportBufferSize] = {};
    uint8_t inputReport[kHidReportBufferSize] = {};

    // The last absolute position sent, for the debug lines only.
    int32_t currentX = 0;
    int32_t currentY = 0;

    IHidTransport& transport;
    std::function<void(uint32_t ms)> sleepMs;
    std::function<void(const char* text)> debugPrint; // receives the text without the "[HKAPP]-" prefix
    std::mutex mutex;
};
