#pragma once

#include <cstdint>

// What the input code asks of services in other areas: the host's video restart, the drag-visual overlay, the
// remote drag's watch over injected input, and the clipboard channel's remote file offer. The base class
// answers as if none existed (nothing done, nothing blocked, no offer); start-up installs the real one with
// SetInputPeers. The object must live to the end of the process.
class IInputPeers {
public:
    virtual ~IInputPeers() = default;

    // Controlled PC: asks the running host to rebuild its video pipeline.
    virtual void RequestHostVideoRestart() {}
    // Controlled PC: sets the drag-visual flag; when active starts the overlay once; redraws the overlay
    // window at once. True when the flag changed.
    virtual bool SetDragVisualActive(bool active) {
        (void)active;
        return false;
    }

    // Controlled PC, before a packet is injected: true blocks it (a remote drag has taken the input over).
    virtual bool RemoteDragTakeover(uint32_t type, int32_t data1, int32_t data2) {
        (void)type, (void)data1, (void)data2;
        return false;
    }
    // Controlled PC, after a packet was injected.
    virtual void RemoteDragObserve(uint32_t type, int32_t data1, int32_t data2) {
        (void)type, (void)data1, (void)data2;
    }

    // The clipboard channel holds a file offer of the peer (a non-empty payload with an id other than 0).
    virtual bool HasRemoteFileOffer() { return false; }
    // The local clipboard holds nothing.
    virtual bool IsLocalClipboardEmpty() { return false; }
    // Starts pasting the offered files; false when it could not start.
    virtual bool QueueRemoteFilesPaste() { return false; }
    // An injected Ctrl+C went down on the controlled PC: remember the clipboard sequence number as the
    // Ctrl+C one and clear the text-or-image flag, then start the offer probe when the channel is connected
    // and this PC is the controlled one.
    virtual void OnInjectedCtrlC() {}
};

void SetInputPeers(IInputPeers* peers);
IInputPeers& InputPeers();
