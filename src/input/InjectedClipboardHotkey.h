#pragma once

#include "input/InputPacket.h"
#include "input/InputPeers.h"

// An injected Ctrl+C or Ctrl+V drives the clipboard's file offer on the controlled PC: Ctrl+C there lets the
// clipboard channel look for files to offer; Ctrl+V, while the peer offers files and the local clipboard is
// empty, pastes those files instead of being typed. Ctrl is tracked from injected Ctrl keys and from the
// keyboard-state sync, which can press or release Ctrl without a Ctrl KEY packet.
// Used on the one thread that injects.
class InjectedClipboardHotkey {
public:
    // KEY packets only; true when the packet is consumed (not to be injected).
    bool Handle(const InputPacket& packet, IInputPeers& peers);
    // The keyboard-state sync left Ctrl down (wanted) or up.
    void OnKeyboardSync(bool ctrlWanted);

    bool CtrlHeld() const { return m_ctrlHeld; }
    bool CtrlCHandled() const { return m_ctrlCHandled; }

private:
    void SetCtrl(bool down);

    bool m_ctrlHeld = false;
    bool m_ctrlCHandled = false; // one probe per Ctrl+C press, not per key repeat
};
