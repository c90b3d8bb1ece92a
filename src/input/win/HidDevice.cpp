#include "input/win/HidDevice.h"

#include <windows.h>

#include <optional>
#include <string>

#include "core/win/EnvironmentVariable.h"
#include "input/win/HidDebugPrint.h"
#include "input/win/HidTransportWin.h"
#include "input/win/SimulatedCableHid.h"

namespace {

constexpr wchar_t kSimulatedCableVariable[] = L"TSLY_SIM_CABLE_HID";

// The file named by TSLY_SIM_CABLE_HID, read at each search and open, so a test can set or clear it in its
// own process at any time; nullopt while it is unset or empty.
std::optional<std::wstring> SimulatedCableFile() {
    std::optional<std::wstring> file = EnvironmentValue(kSimulatedCableVariable);
    if (file && file->empty())
        return std::nullopt;
    return file;
}

// The real cable, or the simulated one (SimulatedCableHid.h) while the test variable names a file. An
// already open device keeps the transport it was opened through until it is closed.
class CableHidTransport final : public IHidTransport {
public:
    std::optional<std::string> FindDevice(uint16_t vendorId, uint16_t productId) override {
        if (std::optional<std::wstring> file = SimulatedCableFile())
            return SimulatedCableHidTransport(*file).FindDevice(vendorId, productId);
        return m_system.FindDevice(vendorId, productId);
    }
    std::unique_ptr<IHidDevice> Open(const std::string& path, uint32_t& error) override {
        if (std::optional<std::wstring> file = SimulatedCableFile())
            return SimulatedCableHidTransport(*file).Open(path, error);
        return m_system.Open(path, error);
    }

private:
    SetupApiHidTransport m_system;
};

// Shared by every context; holds no handle. Never destroyed: detached threads may still use a context as
// the process ends.
IHidTransport& Transport() {
    static CableHidTransport* const transport = new CableHidTransport();
    return *transport;
}

UsbHidContext* NewContext() {
    return new UsbHidContext(
        Transport(), [](uint32_t ms) { Sleep(ms); }, [](const char* text) { HidDebugPrint("%s", text); });
}

} // namespace

UsbHidContext& GlobalHidContext() {
    // Never destroyed, like the transport: the "InputHost" thread and the probe may use it until the process
    // ends; the system closes its handle then.
    static UsbHidContext* const context = NewContext();
    return *context;
}

std::unique_ptr<UsbHidContext, void (*)(UsbHidContext*)> MakeHidContext() {
    return {NewContext(), [](UsbHidContext* context) { delete context; }};
}
