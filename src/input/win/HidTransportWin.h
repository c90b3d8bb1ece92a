#pragma once

#include "input/HidTransport.h"

// The cable's HID interface through SetupAPI and the HID class driver. Handles are opened for overlapped
// I/O, so every write and read ends within its time-out even when the device stops answering.
class SetupApiHidTransport final : public IHidTransport {
public:
    std::optional<std::string> FindDevice(uint16_t vendorId, uint16_t productId) override;
    std::unique_ptr<IHidDevice> Open(const std::string& path, uint32_t& error) override;
};
