#include "input/InjectedClipboardHotkey.h"

#include "core/Log.h"
#include "input/InjectionPlan.h"

namespace {
constexpr uint16_t kVkCtrl = 17;
constexpr uint16_t kVkLeftCtrl = 162;
constexpr uint16_t kVkRightCtrl = 163;
constexpr uint16_t kVkC = 67;
constexpr uint16_t kVkV = 86;
} // namespace

void InjectedClipboardHotkey::SetCtrl(bool down) {
    m_ctrlHeld = down;
    if (!down)
        m_ctrlCHandled = false;
}

void InjectedClipboardHotkey::OnKeyboardSync(bool ctrlWanted) {
    SetCtrl(ctrlWanted);
}

bool InjectedClipboardHotkey::Handle(const InputPacket& packet, IInputPeers& peers) {
    if (!packet.Is(InputPacketType::Key))
        return false;
    const uint16_t vk = PacketVirtualKey(packet);
    const bool down = PacketKeyDown(packet);
    switch (vk) {
    case kVkCtrl:
    case kVkLeftCtrl:
    case kVkRightCtrl:
        SetCtrl(down);
        return false;
    case kVkC:
        if (!down) {
            m_ctrlCHandled = false;
            return false;
        }
        if (!m_ctrlHeld)
            return false;
        if (m_ctrlCHandled) {
            Log::Write("[CLIPFILE][HOTKEY] injected Ctrl+C duplicate down ignored");
            return false;
        }
        m_ctrlCHandled = true;
        peers.OnInjectedCtrlC();
        Log::Write("[CLIPFILE][HOTKEY] injected Ctrl+C detected; schedule offer probe");
        return false; // the Ctrl+C itself is still typed
    case kVkV:
        if (!down || !m_ctrlHeld || !peers.HasRemoteFileOffer())
            return false;
        if (peers.IsLocalClipboardEmpty()) {
            const bool ok = peers.QueueRemoteFilesPaste();
            Log::Write("[CLIPFILE][CTRLV] consume=1 reason=remote-file-offer-local-empty ok=%d", ok ? 1 : 0);
            return true;
        }
        Log::Write("[CLIPFILE][CTRLV] consume=0 reason=local-clipboard-not-empty");
        return false;
    default:
        return false;
    }
}
