#include "link/win/NetDeviceParents.h"

#include <windows.h>
#include <cfgmgr32.h>
#include <setupapi.h>

#include <string>

#include "core/Log.h"
#include "core/LogThrottle.h"
#include "core/win/Handles.h"
#include "core/win/TextConvert.h"

namespace {

// The setup class of network adapters (GUID_DEVCLASS_NET).
constexpr GUID kNetClass = {0x4d36e972, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};
constexpr DWORD kInstanceIdChars = 64; // "{GUID}" and its terminator fit with room to spare

std::u16string ReadNetCfgInstanceId(HDEVINFO set, SP_DEVINFO_DATA& device) {
    HKEY opened = SetupDiOpenDevRegKey(set, &device, DICS_FLAG_GLOBAL, 0, DIREG_DRV, KEY_QUERY_VALUE);
    if (opened == INVALID_HANDLE_VALUE || opened == nullptr)
        return {};
    UniqueRegKey key(opened);
    wchar_t id[kInstanceIdChars] = {};
    DWORD type = 0;
    DWORD bytes = sizeof id - sizeof(wchar_t); // the last character stays the terminator
    if (RegQueryValueExW(key.Get(), L"NetCfgInstanceId", nullptr, &type, reinterpret_cast<BYTE*>(id),
                         &bytes) != ERROR_SUCCESS ||
        type != REG_SZ)
        return {};
    return std::u16string(AsUtf16(id));
}

// The parent's instance id, then its hardware ids, NUL-separated; empty when the parent cannot be read.
std::u16string ReadParentIds(DEVINST child) {
    DEVINST parent = 0;
    if (CM_Get_Parent(&parent, child, 0) != CR_SUCCESS)
        return {};
    wchar_t instanceId[MAX_DEVICE_ID_LEN] = {};
    if (CM_Get_Device_IDW(parent, instanceId, MAX_DEVICE_ID_LEN, 0) != CR_SUCCESS)
        return {};
    std::u16string ids(AsUtf16(instanceId));

    ULONG type = 0;
    ULONG bytes = 0;
    if (CM_Get_DevNode_Registry_PropertyW(parent, CM_DRP_HARDWAREID, &type, nullptr, &bytes, 0) ==
            CR_BUFFER_SMALL &&
        bytes > 0) {
        std::wstring hardwareIds(bytes / sizeof(wchar_t) + 1, L'\0');
        if (CM_Get_DevNode_Registry_PropertyW(parent, CM_DRP_HARDWAREID, &type, hardwareIds.data(), &bytes,
                                              0) == CR_SUCCESS &&
            (type == REG_MULTI_SZ || type == REG_SZ)) {
            hardwareIds.resize(bytes / sizeof(wchar_t));
            ids.push_back(u'\0');
            ids.append(AsUtf16(hardwareIds.c_str()).data(), hardwareIds.size());
        }
    }
    return ids;
}

} // namespace

std::vector<NetDeviceParent> ReadNetDeviceParents() {
    std::vector<NetDeviceParent> parents;
    UniqueDevInfoSet devices(SetupDiGetClassDevsW(&kNetClass, nullptr, nullptr, DIGCF_PRESENT));
    if (!devices.Valid()) {
        DWORD error = GetLastError();
        if (LogThrottle::Allow("rndis.parents.setupapi.fail", 10000))
            Log::Write("[RNDIS] SetupDiGetClassDevs(Net) failed err=%lu", static_cast<unsigned long>(error));
        return parents;
    }
    for (DWORD index = 0;; ++index) {
        SP_DEVINFO_DATA device = {};
        device.cbSize = sizeof device;
        if (!SetupDiEnumDeviceInfo(devices.Get(), index, &device))
            break;
        std::u16string adapterId = ReadNetCfgInstanceId(devices.Get(), device);
        if (adapterId.empty())
            continue;
        std::u16string parentIds = ReadParentIds(device.DevInst);
        if (!parentIds.empty())
            parents.push_back({std::move(adapterId), std::move(parentIds)});
    }
    return parents;
}
