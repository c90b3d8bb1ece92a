#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "link/ControlRequestParams.h"
#include "link/HealthLine.h"

// What the control handling remembers between messages: the control request stored for the host session,
// the remote desktop's lock state and the Mac peer's last health line. Each has its own mutex; no two are
// held together and none is held while logging or calling out.

// The request of the controller that this PC serves; the owner is the sender it was stored for.
struct StoredControlRequest {
    std::string ownerIp; // empty: none stored
    ControlRequestParams params;
};

// Sequence a is not older than b: their signed 32-bit difference is 0 or more, so sequences may wrap.
inline bool IsSequenceNotOlder(uint32_t a, uint32_t b) {
    return static_cast<int32_t>(a - b) >= 0;
}

// The fields a repeated request of the active peer may change in a running session.
struct DuplicateRequestFields {
    bool viewHidden = false;
    uint32_t viewSeq = 0;
    std::optional<bool> audio; // req_audio, when present
    std::optional<bool> ultra; // req_quality, when present: ULTRA only for "1" with the capability
    uint32_t qualitySeq = 0;
    bool capability = false; // the sender offers ULTRA
};
DuplicateRequestFields ReadDuplicateRequestFields(std::string_view message);

struct DuplicateRequestUpdate {
    bool otherOwner = false; // another controller's request is stored: nothing changed
    bool visibility = false;
    bool audio = false;
    bool quality = false;
    uint32_t oldAudio = 0, newAudio = 0;
    uint32_t oldQuality = 0, newQuality = 0;
};

// The duplicate rule. Sequences are compared as signed 32-bit differences, so they may wrap:
// - visibility is taken when the new or the stored view_seq is 0, or the new one is not older; a zero
//   view_seq never replaces the stored one;
// - audio is taken when present and different;
// - quality is refused while a quality_seq is stored and the new one is 0 or older; otherwise a different
//   mode is taken and a non-zero quality_seq stored.
DuplicateRequestUpdate ApplyDuplicateRequest(StoredControlRequest& stored, std::string_view senderIp,
                                             const DuplicateRequestFields& fields);

class ControlRequestStore {
public:
    DuplicateRequestUpdate ApplyDuplicate(std::string_view senderIp, const DuplicateRequestFields& fields);
    void Store(std::string_view senderIp, const ControlRequestParams& params);
    // The stored request when its owner is ip (non-empty), else all zeros.
    ControlRequestParams RequestOwnedBy(std::string_view ip);
    // All nine values 0, no owner; logs "Discovery controller video visibility/request cache reset".
    void Reset();
    // Runs f on the stored request under the request mutex: the controlled side's visibility and quality
    // handlers share that mutex with the rule above. f must not log or call out.
    void WithStoredRequest(const std::function<void(StoredControlRequest&)>& f);

private:
    std::mutex m_mutex;
    StoredControlRequest m_stored;
};

enum class DesktopLockChange { None, BecameLocked, BecameUnlocked };

// The remote desktop's lock state as the peer last reported it: -1 no report yet, 0 unlocked, 1 locked.
class DesktopLockCache {
public:
    static constexpr int32_t kUnknown = -1;

    // Takes a report; a repeated state changes nothing.
    DesktopLockChange Report(bool locked);
    int32_t Value();
    void SetUnlocked();
    // Back to -1; logs "Discovery desktop state cache reset".
    void Reset();

private:
    std::mutex m_mutex;
    int32_t m_value = kUnknown;
};

// The process-wide memory of the control handling: created on first use, never destroyed.
struct ControlHandlerState {
    static ControlHandlerState& Instance();

    ControlRequestStore requests;
    DesktopLockCache desktop;
    MacHealthCache health;
};

// Readers of the stored request for the host session: they see it only when its owner is the active peer
// (KvmSessionManager::ActivePeerIp), else zeros / false.
namespace Discovery {
ControlRequestParams GetControllerVideoRequest();
bool IsControllerViewHidden();
bool ControllerRequestedAudio();
void ResetVideoRequestCache();
void ResetDesktopStateCache();
// Everything the control handling remembers about the peer: the Mac health line, the desktop-locked report
// and the stored request (discovery's peer cache clearing when the cable is removed).
void ResetControlCaches();
} // namespace Discovery
