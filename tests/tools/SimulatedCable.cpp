// Makes the bridge cable present or absent inside this Wine prefix, for tests of cable presence:
//   SimulatedCable add      registers a root device that carries the cable's hardware ids; it stays
//                           present (SetupDiGetClassDevsW with DIGCF_PRESENT lists it) until removed
//   SimulatedCable remove   removes every device this tool registered (unplugging the cable)
// No device-arrival message is sent: Tessaly finds the change by polling. Exit 0, 1 when a SetupAPI call
// failed (the error is printed), 2 for a bad argument.
#include <windows.h>
#include <setupapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "core/win/Handles.h"

namespace {

// The device class of USB devices, {36FC9E60-C465-11CF-8056-444553540000}.
const GUID kUsbClass = {0x36FC9E60, 0xC465, 0x11CF, {0x80, 0x56, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
// Registered as ROOT\TSLY_SIMULATED_CABLE\nnnn: the instance id itself does not carry the bridge id, so a
// scan can only find the cable through the hardware ids.
constexpr wchar_t kDeviceName[] = L"TSLY_SIMULATED_CABLE";
constexpr wchar_t kHardwareIds[] = L"USB\\VID_067B&PID_27A5&REV_0100\0USB\\VID_067B&PID_27A5\0";

int Fail(const char* call) {
    std::fprintf(stderr, "SimulatedCable: %s failed gle=%lu\n", call,
                 static_cast<unsigned long>(GetLastError()));
    return 1;
}

int Add() {
    UniqueDevInfoSet set(SetupDiCreateDeviceInfoList(&kUsbClass, nullptr));
    if (!set.Valid())
        return Fail("SetupDiCreateDeviceInfoList");
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof device;
    if (!SetupDiCreateDeviceInfoW(set.Get(), kDeviceName, &kUsbClass, L"Simulated bridge cable", nullptr,
                                  DICD_GENERATE_ID, &device))
        return Fail("SetupDiCreateDeviceInfoW");
    // Both strings and the closing empty string of the multi-string.
    if (!SetupDiSetDeviceRegistryPropertyW(set.Get(), &device, SPDRP_HARDWAREID,
                                           reinterpret_cast<const BYTE*>(kHardwareIds), sizeof kHardwareIds))
        return Fail("SetupDiSetDeviceRegistryPropertyW");
    if (!SetupDiRegisterDeviceInfo(set.Get(), &device, 0, nullptr, nullptr, nullptr))
        return Fail("SetupDiRegisterDeviceInfo");
    return 0;
}

bool IsOurs(HDEVINFO set, SP_DEVINFO_DATA& device) {
    wchar_t id[1024] = {};
    if (!SetupDiGetDeviceInstanceIdW(set, &device, id, 1024, nullptr))
        return false;
    std::wstring prefix = std::wstring(L"ROOT\\") + kDeviceName + L"\\";
    return _wcsnicmp(id, prefix.c_str(), prefix.size()) == 0;
}

int Remove() {
    UniqueDevInfoSet set(SetupDiGetClassDevsW(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES));
    if (!set.Valid())
        return Fail("SetupDiGetClassDevsW");
    int removed = 0;
    for (DWORD index = 0;; ++index) {
        SP_DEVINFO_DATA device = {};
        device.cbSize = sizeof device;
        if (!SetupDiEnumDeviceInfo(set.Get(), index, &device))
            break;
        if (!IsOurs(set.Get(), device))
            continue;
        if (!SetupDiRemoveDevice(set.Get(), &device))
            return Fail("SetupDiRemoveDevice");
        ++removed;
    }
    std::printf("SimulatedCable: removed %d\n", removed);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 2 && std::wcscmp(argv[1], L"add") == 0)
        return Add();
    if (argc == 2 && std::wcscmp(argv[1], L"remove") == 0)
        return Remove();
    std::fprintf(stderr, "usage: SimulatedCable add | remove\n");
    return 2;
}
