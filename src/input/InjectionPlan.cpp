#include "input/InjectionPlan.h"

#include "input/AxisScale.h"

using namespace InjectionFlags;

uint32_t MouseButtonFlags(int32_t button, bool down) {
    switch (button) {
    case 0:
        return down ? kMouseLeftDown : kMouseLeftUp;
    case 1:
        return down ? kMouseRightDown : kMouseRightUp;
    case 2:
        return down ? kMouseMiddleDown : kMouseMiddleUp;
    default:
        return 0;
    }
}

const char* MouseButtonName(int32_t button) {
    switch (button) {
    case 0:
        return "L";
    case 1:
        return "R";
    case 2:
        return "M";
    default:
        return "?";
    }
}

PlannedInput PlanPacketInput(const InputPacket& packet, const VirtualDesktop& desktop) {
    PlannedInput input;
    switch (static_cast<InputPacketType>(packet.type)) {
    case InputPacketType::MouseMove:
        input.kind = PlannedInput::Kind::Mouse;
        input.flags = kMouseMove | kMouseVirtualDesk | kMouseAbsolute;
        input.dx = ScaleAxisToRange(packet.x, desktop.left, desktop.width, kAbsoluteMouseMax);
        input.dy = ScaleAxisToRange(packet.y, desktop.top, desktop.height, kAbsoluteMouseMax);
        return input;
    case InputPacketType::MouseButton:
        // No ABSOLUTE flag and no offset: the click lands where the last move put the cursor.
        input.flags = MouseButtonFlags(packet.data1, packet.data2 != 0);
        if (input.flags == 0) {
            input.skipReason = "unknown mouse button";
            return input;
        }
        input.kind = PlannedInput::Kind::Mouse;
        return input;
    case InputPacketType::MouseWheel:
        input.kind = PlannedInput::Kind::Mouse;
        input.flags = kMouseWheel;
        input.mouseData = packet.data1;
        return input;
    case InputPacketType::Key: {
        input.kind = PlannedInput::Kind::Keyboard;
        if (!PacketKeyDown(packet))
            input.flags |= kKeyUp;
        if ((packet.data2 & KeyPacketFlags::kExtended) != 0)
            input.flags |= kKeyExtended;
        // The scan code wins: it names the physical key whatever the layout of the controlled PC.
        if (uint16_t scan = PacketScanCode(packet); scan != 0) {
            input.scan = scan;
            input.flags |= kKeyScanCode;
        } else {
            input.vk = PacketVirtualKey(packet);
        }
        return input;
    }
    default:
        input.skipReason = "unknown type";
        return input;
    }
}

HidPoint HidWheelPoint(const InputPacket& packet, const VirtualDesktop& desktop) {
    return {ScaleAxisToRange(packet.x, desktop.left, desktop.width, kHidAbsoluteMax),
            ScaleAxisToRange(packet.y, desktop.top, desktop.height, kHidAbsoluteMax)};
}
