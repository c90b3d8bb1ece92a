#include "input/win/HidTransportWin.h"

#include <vector>

#include "core/win/Handles.h"

namespace {

// Paths of device interfaces are short; anything this long is not a path to look at.
constexpr DWORD kMaxDetailBytes = 64 * 1024;

class WinHidDevice final : public IHidDevice {
public:
    WinHidDevice(UniqueHandle handle, UniqueHandle event)
        : m_handle(std::move(handle)), m_event(std::move(event)) {}

    std::optional<HidReportLengths> ReportLengths() override {
        UniquePreparsedData preparsed;
        if (!HidD_GetPreparsedData(m_handle.Get(), preparsed.Put()))
            return std::nullopt;
        HIDP_CAPS caps = {};
        if (HidP_GetCaps(preparsed.Get(), &caps) != HIDP_STATUS_SUCCESS)
            return std::nullopt;
        return HidReportLengths{caps.InputReportByteLength, caps.OutputReportByteLength};
    }

    bool PrepareOutputReport(uint8_t* report, uint32_t length) override {
        UniquePreparsedData preparsed;
        if (!HidD_GetPreparsedData(m_handle.Get(), preparsed.Put()))
            return false;
        USAGE usages[1] = {};
        ULONG usageCount = 0;
        return HidP_SetUsages(HidP_Output, 1, 0, usages, &usageCount, preparsed.Get(),
                              reinterpret_cast<PCHAR>(report), length) == HIDP_STATUS_SUCCESS;
    }

    HidIoResult WriteReport(const uint8_t* report, uint32_t length, uint32_t timeoutMs) override {
        return Transfer(true, const_cast<uint8_t*>(report), length, timeoutMs);
    }

    HidIoResult ReadReport(uint8_t* buffer, uint32_t length, uint32_t timeoutMs) override {
        return Transfer(false, buffer, length, timeoutMs);
    }

private:
    // One overlapped transfer, waited for at most timeoutMs; a late one is cancelled and its completion
    // awaited, since the OVERLAPPED and the buffer must outlive the I/O.
    HidIoResult Transfer(bool write, uint8_t* buffer, uint32_t length, uint32_t timeoutMs) {
        OVERLAPPED overlapped = {};
        overlapped.hEvent = m_event.Get();
        ResetEvent(m_event.Get());
        DWORD done = 0;
        const BOOL started = write ? WriteFile(m_handle.Get(), buffer, length, nullptr, &overlapped)
                                   : ReadFile(m_handle.Get(), buffer, length, nullptr, &overlapped);
        if (!started) {
            const DWORD error = GetLastError();
            if (error != ERROR_IO_PENDING)
                return {HidIoStatus::Failed, 0, error};
        }
        if (WaitForSingleObject(m_event.Get(), timeoutMs) != WAIT_OBJECT_0) {
            CancelIoEx(m_handle.Get(), &overlapped);
            GetOverlappedResult(m_handle.Get(), &overlapped, &done, TRUE);
            return {HidIoStatus::TimedOut, 0, WAIT_TIMEOUT};
        }
        if (!GetOverlappedResult(m_handle.Get(), &overlapped, &done, FALSE))
            return {HidIoStatus::Failed, done, GetLastError()};
        return {HidIoStatus::Done, done, 0};
    }

    UniqueHandle m_handle;
    UniqueHandle m_event; // manual-reset, one transfer at a time
};

std::optional<std::string> InterfacePath(HDEVINFO set, SP_DEVICE_INTERFACE_DATA& iface) {
    DWORD required = 0;
    SetupDiGetDeviceInterfaceDetailA(set, &iface, nullptr, 0, &required, nullptr);
    if (required < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A) || required > kMaxDetailBytes)
        return std::nullopt;
    // DWORD elements keep the detail structure aligned.
    std::vector<DWORD> storage((required + sizeof(DWORD) - 1) / sizeof(DWORD));
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(storage.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
    if (!SetupDiGetDeviceInterfaceDetailA(set, &iface, detail, required, nullptr, nullptr))
        return std::nullopt;
    const char* path = detail->DevicePath;
    const size_t room = required - offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_A, DevicePath);
    return std::string(path, strnlen(path, room));
}

bool HasIds(const std::string& path, uint16_t vendorId, uint16_t productId) {
    UniqueHandle probe(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!probe)
        return false;
    HIDD_ATTRIBUTES attributes = {};
    attributes.Size = sizeof attributes;
    return HidD_GetAttributes(probe.Get(), &attributes) && attributes.VendorID == vendorId &&
           attributes.ProductID == productId;
}

} // namespace

std::optional<std::string> SetupApiHidTransport::FindDevice(uint16_t vendorId, uint16_t productId) {
    GUID hidGuid = {};
    HidD_GetHidGuid(&hidGuid);
    UniqueDevInfoSet set(
        SetupDiGetClassDevsW(&hidGuid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
    if (!set.Valid())
        return std::nullopt;
    for (DWORD index = 0;; ++index) {
        SP_DEVICE_INTERFACE_DATA iface = {};
        iface.cbSize = sizeof iface;
        if (!SetupDiEnumDeviceInterfaces(set.Get(), nullptr, &hidGuid, index, &iface))
            return std::nullopt; // ERROR_NO_MORE_ITEMS, or the list cannot be read further
        std::optional<std::string> path = InterfacePath(set.Get(), iface);
        if (path && HasIds(*path, vendorId, productId))
            return path;
    }
}

std::unique_ptr<IHidDevice> SetupApiHidTransport::Open(const std::string& path, uint32_t& error) {
    UniqueHandle handle(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_OVERLAPPED, nullptr));
    if (!handle) {
        error = GetLastError();
        return nullptr;
    }
    UniqueHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!event) {
        error = GetLastError();
        return nullptr;
    }
    return std::make_unique<WinHidDevice>(std::move(handle), std::move(event));
}
