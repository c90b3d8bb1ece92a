#include "input/win/SimulatedCableHid.h"

#include <cstring>

#include "core/win/Handles.h"
#include "input/HidCableFrame.h"
#include "input/UsbHidContext.h"

namespace {

class SimulatedCableDevice final : public IHidDevice {
public:
    explicit SimulatedCableDevice(std::wstring reportFile) : m_reportFile(std::move(reportFile)) {}

    std::optional<HidReportLengths> ReportLengths() override {
        return HidReportLengths{kSimulatedReportLength, kSimulatedReportLength};
    }

    bool PrepareOutputReport(uint8_t*, uint32_t) override { return true; }

    HidIoResult WriteReport(const uint8_t* report, uint32_t length, uint32_t) override {
        // Opened per report in append mode: two contexts (the exports' and the worker's) may write to the
        // same file, and each report lands whole.
        UniqueHandle file(CreateFileW(m_reportFile.c_str(), FILE_APPEND_DATA,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            return {HidIoStatus::Failed, 0, GetLastError()};
        DWORD written = 0;
        if (!WriteFile(file.Get(), report, length, &written, nullptr))
            return {HidIoStatus::Failed, written, GetLastError()};
        if (length > 4)
            m_lastCommand = report[4];
        return {HidIoStatus::Done, written, 0};
    }

    HidIoResult ReadReport(uint8_t* buffer, uint32_t length, uint32_t) override {
        uint8_t reply[kSimulatedReportLength] = {};
        const HidCableFrame frame = BuildOneByteFrame(static_cast<HidCableCommand>(m_lastCommand), 0x00);
        std::memcpy(reply + 1, frame.bytes.data(), frame.length);
        const uint32_t count = length < kSimulatedReportLength ? length : kSimulatedReportLength;
        std::memcpy(buffer, reply, count);
        return {HidIoStatus::Done, count, 0};
    }

private:
    std::wstring m_reportFile;
    uint8_t m_lastCommand = 0;
};

} // namespace

std::optional<std::string> SimulatedCableHidTransport::FindDevice(uint16_t vendorId, uint16_t productId) {
    if (vendorId != kCableHidVendorId || productId != kCableHidProductId)
        return std::nullopt;
    return std::string(kSimulatedCablePath);
}

std::unique_ptr<IHidDevice> SimulatedCableHidTransport::Open(const std::string& path, uint32_t& error) {
    if (path != kSimulatedCablePath) {
        error = ERROR_FILE_NOT_FOUND;
        return nullptr;
    }
    return std::make_unique<SimulatedCableDevice>(m_reportFile);
}
