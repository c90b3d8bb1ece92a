#include "ui/TrayCableCommands.h"

#include "core/Log.h"
#include "input/UsbHidLink.h"
#include "ui/TrayCommands.h"

namespace {

// Lets the cable settle between its keyboard defaults and the Ctrl+Alt+Del reports.
constexpr uint32_t kCtrlAltDelPauseMs = 80;

} // namespace

TrayCableSides& CableSides() {
    static TrayCableSides sides;
    return sides;
}

int TraySetUsbDiskSide(UsbHidContext& context, TrayCableSides& sides, bool remote, int cachedHid) {
    if (cachedHid != 1) {
        Log::Write("Tray USB disk side ignored: cachedHid=%d", cachedHid);
        return -1;
    }
    const uint8_t side = CableSideFor(remote);
    const int rc = UsbHidLink::SetUSBDiskChange(context, side);
    Log::Write("[HW][USB-DISK] status=%d ret=%d", side, rc);
    if (rc >= 0)
        sides.diskRemote.store(remote);
    Log::Write("Tray USB disk side switched uiRemote=%d hwSide=%d rc=%d cachedHid=%d", remote ? 1 : 0, side,
               rc, cachedHid);
    return rc;
}

int TraySetUsbOtherDeviceSide(UsbHidContext& context, TrayCableSides& sides, bool remote, int cachedHid) {
    if (cachedHid != 1) {
        Log::Write("Tray USB other-device side ignored: cachedHid=%d", cachedHid);
        return -1;
    }
    const uint8_t side = CableSideFor(remote);
    const int rc = UsbHidLink::SetUSBPORTChange(context, side);
    Log::Write("[HW][USB-PORT] status=%d ret=%d", side, rc);
    if (rc >= 0)
        sides.otherDeviceRemote.store(remote);
    Log::Write("Tray USB other-device side switched uiRemote=%d hwSide=%d rc=%d cachedHid=%d", remote ? 1 : 0,
               side, rc, cachedHid);
    return rc;
}

int TrayDeviceReset(UsbHidContext& context, int cachedHid) {
    if (cachedHid != 1) {
        Log::Write("Tray device reset ignored: cachedHid=%d", cachedHid);
        return -1;
    }
    const int rc = UsbHidLink::SetUSBHardWareReset(context);
    Log::Write("[HW][RESET] ret=%d", rc);
    Log::Write("Tray device reset rc=%d", rc);
    return rc;
}

int TrayKeyboardDefault(UsbHidContext& context) {
    const int rc = UsbHidLink::SetUSBKBDefault(context);
    Log::Write("[HW][KB-DEFAULT] ret=%d", rc);
    return rc;
}

int TraySendCtrlAltDel(UsbHidContext& context) {
    const int kbDefault = TrayKeyboardDefault(context);
    Log::Write("Tray send Ctrl+Alt+Del SetUSBKBDefault rc=%d", kbDefault);
    context.sleepMs(kCtrlAltDelPauseMs);
    Log::Write("Tray send Ctrl+Alt+Del via local HID only");
    Log::Write("[HW][SYSTEM-KEY] Ctrl+Alt+Del via HID");
    return UsbHidLink::SetSystemKey(context);
}
