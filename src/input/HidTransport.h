#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

// What the cable's device layer needs from the system: find the HID interface by its ids, open it, and on
// an open device read its report lengths, prepare an output report, write one report and read one, each
// transfer bounded by a time-out. Windows supplies SetupAPI and HID (or the simulated cable); the tests a
// recording fake.

struct HidReportLengths {
    uint32_t input = 0;  // InputReportByteLength, report id included
    uint32_t output = 0; // OutputReportByteLength, report id included
};

enum class HidIoStatus { Done, TimedOut, Failed };

struct HidIoResult {
    HidIoStatus status = HidIoStatus::Failed;
    uint32_t bytes = 0; // transferred
    uint32_t error = 0; // the system's error code when not Done
};

// One open handle to the device; destroying it closes the handle. The device layer calls one member at a
// time (under its context's lock).
class IHidDevice {
public:
    virtual ~IHidDevice() = default;
    // The report lengths from the device's preparsed data; nullopt when the preparsed data cannot be had.
    virtual std::optional<HidReportLengths> ReportLengths() = 0;
    // Sets the (empty) list of output usages of usage page 1 into the assembled report; false when the
    // device refuses it.
    virtual bool PrepareOutputReport(uint8_t* report, uint32_t length) = 0;
    virtual HidIoResult WriteReport(const uint8_t* report, uint32_t length, uint32_t timeoutMs) = 0;
    virtual HidIoResult ReadReport(uint8_t* buffer, uint32_t length, uint32_t timeoutMs) = 0;
};

class IHidTransport {
public:
    virtual ~IHidTransport() = default;
    // The interface path of the first present HID device with these ids; nullopt when none.
    virtual std::optional<std::string> FindDevice(uint16_t vendorId, uint16_t productId) = 0;
    // Opens the path for reading and writing, shared; null with the system's error code on failure.
    virtual std::unique_ptr<IHidDevice> Open(const std::string& path, uint32_t& error) = 0;
};
