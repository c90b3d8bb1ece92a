#include "link/DevicePresence.h"

#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/Utf.h"
#include "link/BridgeId.h"
#include "core/HasText.h"

DevicePresence::DevicePresence(ICableScanner& scanner) : m_scanner(scanner) {}

void DevicePresence::SetReactions(IDevicePresenceReactions* reactions) {
    m_reactions.store(reactions);
}

bool DevicePresence::Refresh(const char* reason) {
    std::lock_guard<std::mutex> lock(m_mutex);
    CableScan scan = m_scanner.FindDevice();
    m_lastScanTick.store(Log::TickCount());
    m_scanned.store(true);
    Publish(scan.present, HasText(reason) ? reason : "refresh", scan.instanceId);
    return scan.present;
}

void DevicePresence::Publish(bool present, const char* reason, std::u16string_view instanceId) {
    bool first = !m_published.load();
    if (!first && m_present.load() == present)
        return;
    m_present.store(present);
    m_published.store(true);
    // The first result only tells the user; the services react to changes.
    IDevicePresenceReactions* reactions = first ? nullptr : m_reactions.load();

    if (present) {
        RuntimeSetErrorText("");
        RuntimeSetStatusMessage("Authorized USB device inserted");
        Log::Write("DevicePresence: PRESENT reason=%s instance=%s", reason, Utf16ToUtf8(instanceId).c_str());
        if (reactions != nullptr) {
            reactions->SessionDeviceInserted();
            reactions->DiscoveryBroadcastNow();
            reactions->AutoConnectDevicePresent();
        }
        return;
    }

    const std::string required(kBridgeId);
    RuntimeSetStatusMessage("设备已断开，等待设备插入");
    RuntimeSetErrorText(("设备已断开: required USB device " + required + " not found").c_str());
    Log::Write("DevicePresence: MISSING reason=%s required=%s", reason, required.c_str());
    if (first)
        return;
    Log::Write(
        "DevicePresence: device removed -> publish WaitingDevice immediately; cleanup sessions without "
        "reconnect");
    if (reactions != nullptr) {
        reactions->SessionDeviceRemoved();
        reactions->DiscoveryClearPeerCache();
        reactions->AutoConnectDeviceRemoved();
        reactions->WakeDeviceListWaiters();
    }
}
