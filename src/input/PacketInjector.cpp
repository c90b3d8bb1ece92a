#include "input/PacketInjector.h"

#include "core/Log.h"
#include "input/InjectionHid.h"
#include "input/InputPeers.h"

namespace {

const char* DownUp(bool down) {
    return down ? "down" : "up";
}

} // namespace

void PacketInjector::Inject(const InputPacket& packet) {
    if (packet.Is(InputPacketType::Hello)) {
        Log::Write("InjectInputPacket HELLO");
        return;
    }
    if (packet.Is(InputPacketType::SystemKey)) {
        InjectSystemKey(packet);
        return;
    }
    if (HandleClipboardHotkey(packet))
        return;
    if (InputPeers().RemoteDragTakeover(packet.type, packet.data1, packet.data2)) {
        if (packet.Is(InputPacketType::MouseButton))
            Log::Write("[MOUSE][BTN][INJECT_BLOCK] button=%s(%d) down=%d by remote-drag takeover",
                       MouseButtonName(packet.data1), packet.data1, packet.data2 != 0 ? 1 : 0);
        Log::Write("[INPUT][INJECT][BLOCK] type=%s by remote-drag takeover",
                   InputPacketTypeName(packet.type));
        return;
    }
    InjectPlanned(packet);
}

void PacketInjector::InjectSystemKey(const InputPacket& packet) {
    switch (static_cast<SystemKeyCode>(packet.data1)) {
    case SystemKeyCode::CtrlAltDel: {
        Log::Write("InjectInputPacket SYSTEM_KEY Ctrl+Alt+Del via HID");
        Log::Write("[HW][SYSTEM-KEY] Ctrl+Alt+Del via HID");
        const int result = InjectionHid().SetSystemKey();
        if (result <= 0)
            Log::Write("[HW][SYSTEM-KEY] Ctrl+Alt+Del via HID failed ret=%d", result);
        return;
    }
    case SystemKeyCode::VideoRestart:
        Log::Write("InjectInputPacket SYSTEM_KEY restart host video pipeline");
        InputPeers().RequestHostVideoRestart();
        Log::Write("Host video restart requested: %s", "remote secure desktop/unlock recovery");
        return;
    case SystemKeyCode::KeyboardSync:
        Log::Write("InjectInputPacket SYSTEM_KEY keyboard-state-sync flags=0x%X",
                   static_cast<unsigned>(packet.data2));
        ApplyKeyboardStateSync(packet);
        return;
    case SystemKeyCode::DragVisual: {
        const bool active = packet.data2 != 0;
        Log::Write("InjectInputPacket SYSTEM_KEY drag-visual active=%d", active ? 1 : 0);
        if (InputPeers().SetDragVisualActive(active))
            Log::Write("[DRAGVIS][STATE] active=%d reason=%s", active ? 1 : 0,
                       active ? "input-rx-on" : "input-rx-off");
        return;
    }
    default:
        Log::Write("InjectInputPacket unknown SYSTEM_KEY data1=%d", packet.data1);
        return;
    }
}

bool PacketInjector::HandleClipboardHotkey(const InputPacket& packet) {
    return m_clipboard.Handle(packet, InputPeers());
}

bool PacketInjector::ForwardWheelToCable(const InputPacket& packet) {
    IInjectionHid& hid = InjectionHid();
    if (hid.ProbePresent() != 1)
        return false;
    const HidPoint point = HidWheelPoint(packet, m_platform.Desktop());
    return hid.SendWheel(point.x, point.y, packet.data1) > 0;
}

void PacketInjector::LogButtonPrep(const InputPacket& packet, uint32_t flags) {
    const int32_t button = packet.data1;
    const bool down = packet.data2 != 0;
    Log::Write("[MOUSE][BTN][INJECT_PREP] button=%s(%d) down=%d flags=0x%08lX remote=%d,%d physL=%d physR=%d "
               "physM=%d",
               MouseButtonName(button), button, down ? 1 : 0, static_cast<unsigned long>(flags), packet.x,
               packet.y, m_platform.IsKeyDown(1) ? 1 : 0, m_platform.IsKeyDown(2) ? 1 : 0,
               m_platform.IsKeyDown(4) ? 1 : 0);
    m_buttons[button] = down;
    Log::Write("[MOUSE][BTN][%s][STATE] L=%d R=%d M=%d last=%s:%s", "INJECT_PREP", m_buttons[0] ? 1 : 0,
               m_buttons[1] ? 1 : 0, m_buttons[2] ? 1 : 0, MouseButtonName(button), DownUp(down));
}

void PacketInjector::InjectPlanned(const InputPacket& packet) {
    const bool isButton = packet.Is(InputPacketType::MouseButton);
    const bool isKey = packet.Is(InputPacketType::Key);
    const bool down = isKey ? PacketKeyDown(packet) : packet.data2 != 0;

    if (packet.Is(InputPacketType::MouseWheel) && ForwardWheelToCable(packet))
        return;
    if (isKey && ApplyRemoteNumLock(packet, down))
        return;

    const PlannedInput input = PlanPacketInput(packet, m_platform.Desktop());
    if (input.kind == PlannedInput::Kind::None) {
        if (isButton)
            Log::Write("InjectInputPacket unknown mouse button=%d", packet.data1);
        else
            Log::Write("InjectInputPacket unknown type=%u", packet.type);
        return;
    }
    if (isButton)
        LogButtonPrep(packet, input.flags);
    if (isKey)
        LogKeyDiag("INJECT_PREP", packet, down, input.flags);

    const uint32_t sent = m_platform.SendInputs(&input, 1);
    if (sent == 1) {
        if (isButton)
            Log::Write("[MOUSE][BTN][INJECT_DONE] button=%s(%d) down=%d ret=%u",
                       MouseButtonName(packet.data1), packet.data1, down ? 1 : 0, sent);
        if (isKey)
            LogKeyDiag("INJECT_DONE", packet, down, input.flags);
        InputPeers().RemoteDragObserve(packet.type, packet.data1, packet.data2);
        return;
    }
    const unsigned long error = m_platform.LastError();
    Log::Write("SendInput failed type=%s gle=%lu", InputPacketTypeName(packet.type), error);
    if (isButton)
        Log::Write("[MOUSE][BTN][INJECT_DONE] button=%s(%d) down=%d ret=%u gle=%lu",
                   MouseButtonName(packet.data1), packet.data1, down ? 1 : 0, sent, error);
    if (isKey)
        LogKeyDiag("INJECT_DONE_FAIL", packet, down, input.flags);
}
