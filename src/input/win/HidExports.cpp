// Built as an object of its own and linked into every program that links the shell (see CMakeLists.txt):
// nothing in the program may call these, and an unreferenced object of a static library would be dropped
// from the link, and the names with it from the export table.
#include "input/win/HidExports.h"

#include "input/UsbHidLink.h"
#include "input/win/HidDevice.h"

extern "C" {

int32_t SearchHid() {
    return UsbHidLink::SearchHid(GlobalHidContext());
}

int32_t SetKBMsg(uint32_t vk, uint32_t msg) {
    return UsbHidLink::SetKBMsg(GlobalHidContext(), vk, msg);
}

int32_t SetMouseMsg(uint32_t msg, uint32_t x, uint32_t y) {
    return UsbHidLink::SetMouseMsg(GlobalHidContext(), msg, static_cast<int32_t>(x), static_cast<int32_t>(y));
}

int32_t SetMouseWheelMsg(uint32_t msg, uint32_t x, uint32_t y, int32_t delta) {
    return UsbHidLink::SetMouseWheelMsg(GlobalHidContext(), msg, static_cast<int32_t>(x),
                                        static_cast<int32_t>(y), delta);
}

int32_t SetSystemKey() {
    return UsbHidLink::SetSystemKey(GlobalHidContext());
}

int32_t SetUSBDiskChange(uint8_t side) {
    return UsbHidLink::SetUSBDiskChange(GlobalHidContext(), side);
}

int32_t SetUSBPORTChange(uint8_t side) {
    return UsbHidLink::SetUSBPORTChange(GlobalHidContext(), side);
}

int32_t SetUSBHardWareReset() {
    return UsbHidLink::SetUSBHardWareReset(GlobalHidContext());
}

int32_t SetUSBKBDefault() {
    return UsbHidLink::SetUSBKBDefault(GlobalHidContext());
}

void SetWindosSize(uint32_t width, uint32_t height) {
    UsbHidLink::SetWindosSize(GlobalHidContext(), width, height);
}

} // extern "C"
