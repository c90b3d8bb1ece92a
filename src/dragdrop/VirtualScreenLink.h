#pragma once

#include <string>
#include <vector>

#include "dragdrop/VirtualScreenPackets.h"

// What the virtual screen needs of the input and transfer areas, which sit beside it: start-up installs the
// link (src/app/win), tests install a recording fake. The default is a link that is never ready and sends
// nothing. Called on the UI thread, except OfferDroppedFiles (the drop worker).
class IVirtualScreenLink {
public:
    virtual ~IVirtualScreenLink() = default;
    // HID not forced, remote control active, the client session running and the input channel Connected.
    virtual bool IsInputReady() { return false; }
    // The input channel's normal queue, or its priority queue; true when queued.
    virtual bool Send(const VirtualScreenPacket& packet, bool priority) {
        (void)packet, (void)priority;
        return false;
    }
    // The input scope in which the keyboard and mouse belong to the peer while the cursor is there.
    virtual void SetInputScope(bool active, const char* reason) { (void)active, (void)reason; }
    virtual bool IsInputScope() { return false; }
    // A button the virtual screen forwarded as pressed (released when the scope ends), or its release.
    virtual void NoteButtonForwarded(int32_t button, bool down) { (void)button, (void)down; }
    virtual void SyncModifiers(const char* reason) { (void)reason; }
    virtual void ReleaseModifiers(const char* reason) { (void)reason; }
    // Escape and a left release on the peer, ending a drag it holds.
    virtual void CancelRemoteDrag() {}
    // Offers local files to the peer over the clipboard channel; any thread.
    virtual bool OfferDroppedFiles(const std::vector<std::u16string>& paths) {
        (void)paths;
        return false;
    }
    // A file transfer of a remote drag runs (the RemoteView shows it).
    virtual bool IsDragTransferActive() { return false; }
};

// The object must live to the end of the process; null restores the default.
void SetVirtualScreenLink(IVirtualScreenLink* link);
IVirtualScreenLink& VirtualScreenLink();
