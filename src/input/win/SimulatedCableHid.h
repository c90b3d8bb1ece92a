#pragma once

#include <string>

#include "input/HidTransport.h"

// Test aid: the cable's HID interface as if it were plugged in, for machines without the cable (the test
// rigs run under Wine, which has no such device). Chosen while the environment variable TSLY_SIM_CABLE_HID
// names a file (HidDevice.cpp):
// - the cable's vendor and product ids are found at kSimulatedCablePath, with 64-byte input and output
//   reports;
// - every output report written is appended to that file, exactly the 64 bytes written, one report after
//   another;
// - a read answers at once with one 64-byte report: report id 0, then the frame
//   55 AA 00 <command of the last report written> 01 00 <checksum>, zeros after it.
inline constexpr char kSimulatedCablePath[] = "\\\\?\\hid#vid_35e6&pid_2402#tsly_simulated_cable";
inline constexpr uint32_t kSimulatedReportLength = 64;

class SimulatedCableHidTransport final : public IHidTransport {
public:
    explicit SimulatedCableHidTransport(std::wstring reportFile) : m_reportFile(std::move(reportFile)) {}
    std::optional<std::string> FindDevice(uint16_t vendorId, uint16_t productId) override;
    std::unique_ptr<IHidDevice> Open(const std::string& path, uint32_t& error) override;

private:
    std::wstring m_reportFile;
};
