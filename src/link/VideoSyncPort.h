#pragma once

#include <cstdint>
#include <optional>
#include <string>

class DiscoveryRun;
class SyncWake;

// What the visibility and quality sync needs from the rest of the program. The defaults are the process's
// own services (runtime state, session controller, peer table, settings, tray notification); the senders
// send nothing by default ("not confirmed"), and the Windows shell installs a subclass that sends over TCP.
// Called from the UI thread, the client session thread and the two sync workers.
class VideoSyncPort {
public:
    virtual ~VideoSyncPort() = default;

    // --- Clock and waits [the log's tick; the wake; the run's sleep].
    virtual uint32_t Now();
    virtual void Wait(SyncWake& wake, uint32_t ms);
    // False when the run was stopped.
    virtual bool Sleep(const DiscoveryRun& run, uint32_t ms);

    // --- This PC's role and client session (runtime state); the active peer (the session controller,
    // with the settings' peerAddress when none is active; empty: no peer); the peer table's ULTRA flag of
    // the record at ip, nullopt when the table holds no record there.
    virtual int32_t Role();
    virtual bool ClientRunning();
    virtual std::string ActivePeerIp();
    virtual std::optional<bool> PeerUltraCapability(const std::string& ip);

    // --- Senders [nothing sent: false]. Each returns true when the reply confirms the request.
    virtual bool SendVideoVisibility(const std::string& ip, bool hidden, uint32_t viewSeq,
                                     const char* reason);
    virtual bool SendVideoQuality(const std::string& ip, bool ultra, uint32_t qualitySeq, uint32_t attempt);
    // The full control request, which carries req_quality and quality_seq [the installed session controller
    // services].
    virtual void SendControlRequest(const std::string& ip);

    // --- Settings: the desired quality (VideoQualityMode), and storing a new one: logs
    // "[CONFIG][SERVICE] videoQualityMode=%s reason=%s" and saves; returns whether the save worked.
    virtual bool DesiredUltra();
    virtual bool StoreQualityMode(bool ultra, const char* reason);

    // --- A tray balloon titled "Marlo" in the user interface's language.
    virtual void Notify(const char16_t* english, const char16_t* chinese, uint32_t icon, uint32_t timeoutMs);
};

// Balloon icons (the tray's NIIF_INFO and NIIF_WARNING).
inline constexpr uint32_t kBalloonInfoIcon = 1;
inline constexpr uint32_t kBalloonWarningIcon = 2;
