#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "dragdrop/DragVisualSwitch.h"
#include "dragdrop/RemoteDragSlot.h"

// What a download from a remote drag's offer came to.
enum class RemoteDragDownloadStart {
    Started,
    Busy,  // the receiver runs another transfer: the offer stays for a later release
    Failed // refused for good (receiver stopped, payload invalid, no worker)
};

// The controller's side of the remote drag as seen from the system: clock, role, mouse, runtime state,
// the receive manager and the user's notice.
class IRemoteDragReceiverPorts : public IDragVisualSwitch {
public:
    virtual uint32_t TickMs() = 0;
    virtual int32_t Role() = 0;
    virtual bool LeftButtonDown() = 0;
    // The runtime state's remote-drag record.
    virtual void SetRuntimeRemoteDrag(bool active, uint32_t count, uint64_t bytes, bool folder, uint64_t id,
                                      const std::string& detail) = 0;
    // Downloads the offer's payload into targetUtf8 (empty: the receive manager's default), with the file
    // transfer marked busy around the call.
    virtual RemoteDragDownloadStart BeginDownload(const std::string& payload,
                                                  const std::string& targetUtf8) = 0;
    virtual bool UiEnglish() = 0;
    // Shows the status line (repainting the state view) and a warning balloon.
    virtual void NotifyUser(const std::string& status, std::u16string_view title,
                            std::u16string_view body) = 0;
};

// The controller's side of the remote drag: holds the peer's offer in the slot, downloads it when a release
// outside RemoteView (or a late offer after one) asks for it, and drops it on a local drop. OnReceive runs
// on the clipboard channel's thread, the others on the UI thread; all state is in the slot, under its mutex,
// and no port is called while it is held.
class RemoteDragReceiver {
public:
    static constexpr uint32_t kConsumedDedupeMs = 800;
    static constexpr uint32_t kLateDropMs = 350;
    static constexpr int32_t kRoleController = 1;

    RemoteDragReceiver(RemoteDragSlot& slot, IRemoteDragReceiverPorts& ports)
        : m_slot(slot), m_ports(ports) {}

    // Message CB_DRAG_PAYLOAD from the peer.
    void OnReceive(std::string_view payload);
    // Starts the download of the held offer; true when it started.
    bool TriggerDownload(const std::string& targetUtf8);
    // Drops the held offer; tells the user when a local drop interrupted the drag.
    void CancelForLocalDrop(const char* reason);

private:
    RemoteDragSlot& m_slot;
    IRemoteDragReceiverPorts& m_ports;
};
