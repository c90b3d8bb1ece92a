#include "link/win/DevicePresenceScan.h"

#include <windows.h>
#include <setupapi.h>

#include <string>
#include <vector>

#include "core/Log.h"
#include "core/LogThrottle.h"
#include "core/win/Handles.h"
#include "core/win/TextConvert.h"
#include "link/BridgeId.h"

namespace {

constexpr DWORD kInstanceIdChars = 1024;

// A REG_SZ or REG_MULTI_SZ property as wide text, every string kept (NUL-separated); empty otherwise.
std::u16string ReadTextProperty(HDEVINFO set, SP_DEVINFO_DATA& device, DWORD property) {
    DWORD type = 0;
    DWORD bytes = 0;
    SetupDiGetDeviceRegistryPropertyW(set, &device, property, &type, nullptr, 0, &bytes);
    if (bytes == 0 || (type != REG_SZ && type != REG_MULTI_SZ))
        return {};
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 2, L'\0');
    if (!SetupDiGetDeviceRegistryPropertyW(set, &device, property, &type,
                                           reinterpret_cast<BYTE*>(buffer.data()), bytes, nullptr) ||
        (type != REG_SZ && type != REG_MULTI_SZ))
        return {};
    return std::u16string(AsUtf16(buffer.data()).data(), bytes / sizeof(wchar_t));
}

std::u16string ReadInstanceId(HDEVINFO set, SP_DEVINFO_DATA& device) {
    wchar_t id[kInstanceIdChars] = {};
    if (!SetupDiGetDeviceInstanceIdW(set, &device, id, kInstanceIdChars, nullptr))
        return {};
    return std::u16string(AsUtf16(id));
}

} // namespace

CableScan SetupDiCableScanner::FindDevice() {
    UniqueDevInfoSet devices(
        SetupDiGetClassDevsW(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES | DIGCF_PRESENT));
    if (!devices.Valid()) {
        DWORD error = GetLastError();
        if (LogThrottle::Allow("device.presence.setupapi.fail", 10000))
            Log::Write("DevicePresence: SetupDiGetClassDevs failed err=%lu",
                       static_cast<unsigned long>(error));
        return {};
    }
    for (DWORD index = 0;; ++index) {
        SP_DEVINFO_DATA device = {};
        device.cbSize = sizeof device;
        if (!SetupDiEnumDeviceInfo(devices.Get(), index, &device))
            break;
        bool match = MatchesBridgeId(ReadTextProperty(devices.Get(), device, SPDRP_HARDWAREID));
        std::u16string compatible;
        if (!match)
            compatible = ReadTextProperty(devices.Get(), device, SPDRP_COMPATIBLEIDS);
        std::u16string instanceId = ReadInstanceId(devices.Get(), device);
        if (match || MatchesBridgeId(instanceId) || MatchesBridgeId(compatible))
            return {true, instanceId};
    }
    return {};
}
