// The cable's own commands (Ctrl+Alt+Del, USB disk and port side, hardware reset, keyboard defaults). Each
// holds the context's lock for its whole sequence, pauses included, so no other report comes between.
#include "input/InputMessages.h"
#include "input/UsbHidLink.h"
#include "input/UsbHidLocked.h"

namespace {

// How long the cable needs after a reset or a return to its defaults before it takes reports again.
constexpr uint32_t kCableSettleMs = 1000;

// Sends a one-byte command; when it went out, reads the cable's reply (bounded by the reply time-out: the
// reply's content means nothing to the program, a missing one only costs the wait).
int SendCommand(UsbHidContext& context, HidCableCommand command, uint8_t data, bool readsReply) {
    if (UsbHidLocked::EnsureOpen(context) != 1)
        return -1;
    const int ret = UsbHidLocked::Send(context, BuildOneByteFrame(command, data));
    if (ret == 1 && readsReply)
        UsbHidLocked::Receive(context);
    return ret;
}

} // namespace

namespace UsbHidLink {

int SetSystemKey(UsbHidContext& context) {
    std::lock_guard<std::mutex> lock(context.mutex);
    // Opened before the slots are set: opening resets them.
    if (UsbHidLocked::EnsureOpen(context) != 1)
        return -1;
    context.modifierSlots[kHidSlotCtrl] = kHidModifierBits[kHidSlotCtrl];
    context.modifierSlots[kHidSlotAlt] = kHidModifierBits[kHidSlotAlt];
    UsbHidLocked::SendKey(context, InputVk::kDelete, InputMessage::kKeyDown);
    context.sleepMs(10);
    UsbHidLocked::SendKey(context, InputVk::kDelete, InputMessage::kKeyUp);
    for (uint32_t& slot : context.modifierSlots)
        slot = 0;
    return UsbHidLocked::SendKey(context, InputVk::kEscape, InputMessage::kKeyUp);
}

int SetUSBDiskChange(UsbHidContext& context, uint8_t side) {
    std::lock_guard<std::mutex> lock(context.mutex);
    return SendCommand(context, HidCableCommand::UsbDiskSwitch, side, true);
}

int SetUSBPORTChange(UsbHidContext& context, uint8_t side) {
    std::lock_guard<std::mutex> lock(context.mutex);
    return SendCommand(context, HidCableCommand::UsbPortSwitch, side, false);
}

int SetUSBHardWareReset(UsbHidContext& context) {
    std::lock_guard<std::mutex> lock(context.mutex);
    const int ret = SendCommand(context, HidCableCommand::UsbHardwareReset, 0x01, true);
    if (ret == 1) {
        context.sleepMs(kCableSettleMs);
        UsbHidLocked::ResetKeyboard(context);
    }
    return ret;
}

int SetUSBKBDefault(UsbHidContext& context) {
    std::lock_guard<std::mutex> lock(context.mutex);
    const int ret = SendCommand(context, HidCableCommand::KeyboardDefault, 0x01, true);
    if (ret == 1)
        context.sleepMs(kCableSettleMs);
    return ret;
}

void SetWindosSize(UsbHidContext& context, uint32_t width, uint32_t height) {
    std::lock_guard<std::mutex> lock(context.mutex);
    context.windowWidth = static_cast<int32_t>(width);
    context.windowHeight = static_cast<int32_t>(height);
}

} // namespace UsbHidLink
