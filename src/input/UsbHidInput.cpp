// Keyboard and absolute-mouse reports of the cable, with the key and button state they carry.
#include <cstdio>

#include "core/Log.h"
#include "core/LogThrottle.h"
#include "core/StallScope.h"
#include "input/HidUsageTable.h"
#include "input/InputMessages.h"
#include "input/UsbHidLink.h"
#include "input/UsbHidLocked.h"

namespace {

constexpr char kModule[] = "USBHID";

bool IsKeyDown(uint32_t msg) {
    return msg == InputMessage::kKeyDown || msg == InputMessage::kSysKeyDown;
}

bool IsKeyUp(uint32_t msg) {
    return msg == InputMessage::kKeyUp || msg == InputMessage::kSysKeyUp;
}

// The slot of a generic modifier key; -1 for every other key (left and right codes included: callers fold
// them first).
int ModifierSlot(uint32_t vk) {
    switch (vk) {
    case InputVk::kCtrl:
        return kHidSlotCtrl;
    case InputVk::kShift:
        return kHidSlotShift;
    case InputVk::kAlt:
        return kHidSlotAlt;
    case InputVk::kLeftWin:
        return kHidSlotWin;
    default:
        return -1;
    }
}

uint8_t ModifierByte(const UsbHidContext& context) {
    uint32_t bits = 0;
    for (uint32_t slot : context.modifierSlots)
        bits |= slot;
    return static_cast<uint8_t>(bits);
}

uint8_t ButtonByte(const UsbHidContext& context) {
    uint32_t bits = 0;
    for (uint32_t button : context.buttons)
        bits |= button;
    return static_cast<uint8_t>(bits);
}

// What a mouse message does to one button.
struct ButtonChange {
    bool known = false;
    int button = -1; // -1: none (a move)
    bool down = false;
    bool doubleClick = false;
};

ButtonChange ButtonChangeFor(uint32_t msg) {
    if (msg == InputMessage::kMouseMove)
        return {true, -1, false, false};
    if (msg < InputMessage::kLButtonDown || msg > InputMessage::kMButtonDblClk)
        return {};
    const uint32_t offset =
        msg - InputMessage::kLButtonDown; // three messages per button: down, up, double-click
    const uint32_t kind = offset % 3;
    return {true, static_cast<int>(offset / 3), kind != 1, kind == 2};
}

int SendMouse(UsbHidContext& context, int32_t x, int32_t y, int8_t wheel) {
    int ret = UsbHidLocked::Send(context, BuildMouseFrame(ButtonByte(context), x, y, wheel));
    context.currentX = x;
    context.currentY = y;
    return ret;
}

} // namespace

namespace UsbHidLocked {

int SendKey(UsbHidContext& context, uint32_t vk, uint32_t msg) {
    const int slot = ModifierSlot(vk);
    if (slot >= 0) {
        if (IsKeyDown(msg))
            context.modifierSlots[slot] = kHidModifierBits[slot];
        else if (IsKeyUp(msg))
            context.modifierSlots[slot] = 0;
    }
    const uint8_t usage = IsKeyDown(msg) ? VkToHidUsage(vk) : 0;
    return Send(context, BuildKeyboardFrame(ModifierByte(context), usage));
}

void ResetKeyboard(UsbHidContext& context) {
    for (uint32_t& slot : context.modifierSlots)
        slot = 0;
    for (uint32_t& button : context.buttons)
        button = 0;
    // The cable needs these pauses between the reset steps. The frames go only to a handle that is open:
    // opening runs this reset, so opening from here could recurse without end on a device that opens but
    // then fails every report.
    context.sleepMs(200);
    SendKey(context, InputVk::kLeftWin, InputMessage::kKeyDown);
    SendKey(context, InputVk::kLeftWin, InputMessage::kKeyUp);
    context.sleepMs(200);
    SendKey(context, InputVk::kEscape, InputMessage::kKeyDown);
    SendKey(context, InputVk::kEscape, InputMessage::kKeyUp);
}

} // namespace UsbHidLocked

namespace UsbHidLink {

// The device is opened before the key changes the state: opening resets the keyboard state, which would
// otherwise drop a modifier pressed by this very call.
int SetKBMsg(UsbHidContext& context, uint32_t vk, uint32_t msg) {
    StallScope scope(kModule, "SetKBMsg", 50);
    std::lock_guard<std::mutex> lock(context.mutex);
    if (UsbHidLocked::EnsureOpen(context) != 1)
        return -1;
    return UsbHidLocked::SendKey(context, vk, msg);
}

int SetMouseMsg(UsbHidContext& context, uint32_t msg, int32_t x, int32_t y) {
    StallScope scope(kModule, "SetMouseMsg", 50);
    const ButtonChange change = ButtonChangeFor(msg);
    if (!change.known)
        return -1;
    std::lock_guard<std::mutex> lock(context.mutex);
    // Opened first, as for keys: the reset on open would clear the button this message presses.
    if (UsbHidLocked::EnsureOpen(context) != 1)
        return -1;
    const bool logged = Log::IsDebugCategoryEnabled("hid");
    if (logged && (msg != InputMessage::kMouseMove || LogThrottle::Allow("usbhid.mouse.move", 1000)))
        Log::Write("[HID][MOUSE][RAW_PREP] wParam=0x%08lX x=%lu y=%lu curr=%d,%d beforeBufL=%u beforeBufR=%u "
                   "beforeBufM=%u",
                   static_cast<unsigned long>(msg), static_cast<unsigned long>(static_cast<uint32_t>(x)),
                   static_cast<unsigned long>(static_cast<uint32_t>(y)), context.currentX, context.currentY,
                   context.buttons[0], context.buttons[1], context.buttons[2]);
    if (change.button >= 0)
        context.buttons[change.button] = change.down ? kHidButtonBits[change.button] : 0;
    const int ret = SendMouse(context, x, y, 0);
    if (logged)
        Log::Write(
            "[HID][MOUSE][RAW_SEND] wParam=0x%08lX control=0x%02X bufL=%u bufR=%u bufM=%u isDbl=%d ret=%d",
            static_cast<unsigned long>(msg), ButtonByte(context), context.buttons[0], context.buttons[1],
            context.buttons[2], change.doubleClick ? 1 : 0, ret);
    return ret;
}

int SetMouseWheelMsg(UsbHidContext& context, uint32_t /*msg*/, int32_t x, int32_t y, int32_t delta) {
    StallScope scope(kModule, "SetMouseWheelMsg", 50);
    const int8_t wheel = HidWheelByte(delta);
    std::lock_guard<std::mutex> lock(context.mutex);
    char text[256];
    std::snprintf(text, sizeof text, "SetMouseWheelMsg: m_CurrX %d=%d,m_CurrY %d=%d[%d %d %d ]-[%X]\n",
                  context.currentX, x, context.currentY, y, static_cast<int>(context.buttons[0]),
                  static_cast<int>(context.buttons[1]), static_cast<int>(context.buttons[2]),
                  static_cast<unsigned>(static_cast<uint8_t>(wheel)));
    if (context.debugPrint)
        context.debugPrint(text);
    if (UsbHidLocked::EnsureOpen(context) != 1)
        return -1;
    return SendMouse(context, x, y, wheel);
}

void ResetKeyboard(UsbHidContext& context) {
    std::lock_guard<std::mutex> lock(context.mutex);
    UsbHidLocked::ResetKeyboard(context);
}

} // namespace UsbHidLink
