#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

// Whether the bridge cable is plugged in, and what its coming and going sets off.
//
// The scan itself is platform work (SetupAPI on Windows) behind ICableScanner; this class serialises scans,
// records when the last one ran and publishes the result: status and error texts in the runtime state, one
// log line, and, when presence changed after the first result, the reactions of the services around it.

// What one scan found: the first present device that carries the bridge id, and its instance id.
struct CableScan {
    bool present = false;
    std::u16string instanceId;
};

class ICableScanner {
public:
    virtual ~ICableScanner() = default;
    virtual CableScan FindDevice() = 0;
};

// What a change of presence sets off in the services built around the cable. Every member does nothing by
// default, so the presence service runs before those services exist; start-up installs the real reactions.
// They run on the scanning thread, under the presence mutex, in the order listed, and so must not call
// DevicePresence::Refresh. The first result after start-up is published without any of them.
class IDevicePresenceReactions {
public:
    virtual ~IDevicePresenceReactions() = default;

    // The cable was plugged in.
    virtual void SessionDeviceInserted() {}    // KvmSessionManager::OnLocalDeviceInserted
    virtual void DiscoveryBroadcastNow() {}    // set discovery's broadcast-now flag
    virtual void AutoConnectDevicePresent() {} // AutoConnect::OnDevicePresence(true)

    // The cable was pulled out.
    virtual void SessionDeviceRemoved() {}    // KvmSessionManager::OnLocalDeviceRemoved
    virtual void DiscoveryClearPeerCache() {} // Discovery::ClearPeerCacheForDeviceRemoval
    // When auto-connect runs with its intent enabled: state WaitingDevice, reason "authorized device removed"
    // (auto-connect logs its own state line).
    virtual void AutoConnectDeviceRemoved() {}
    virtual void WakeDeviceListWaiters() {} // bump the device-list generation and wake its waiters
};

class DevicePresence {
public:
    // The scanner must outlive this object; the process-wide one is never destroyed.
    explicit DevicePresence(ICableScanner& scanner);
    DevicePresence(const DevicePresence&) = delete;
    DevicePresence& operator=(const DevicePresence&) = delete;

    // Installs the reactions (null: none). The object must live to the end of the process.
    void SetReactions(IDevicePresenceReactions* reactions);

    // Scans now under the presence mutex, records the scan tick and publishes the result with the reason
    // ("refresh" when null or empty). Returns whether the cable is present.
    bool Refresh(const char* reason);

    bool IsPresent() const { return m_present.load(); }
    bool HasPublished() const { return m_published.load(); }
    bool HasScanned() const { return m_scanned.load(); }
    uint32_t LastScanTick() const { return m_lastScanTick.load(); }

private:
    void Publish(bool present, const char* reason, std::u16string_view instanceId);

    ICableScanner& m_scanner;
    std::atomic<IDevicePresenceReactions*> m_reactions{nullptr};
    std::mutex m_mutex; // serialises scans and publications
    std::atomic<bool> m_present{false};
    std::atomic<bool> m_published{false};
    std::atomic<bool> m_scanned{false};
    std::atomic<uint32_t> m_lastScanTick{0};
};
