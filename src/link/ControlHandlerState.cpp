#include "link/ControlHandlerState.h"

#include "core/Log.h"
#include "link/ControlMessageRead.h"
#include "link/KvmSessionManager.h"

DuplicateRequestFields ReadDuplicateRequestFields(std::string_view message) {
    DuplicateRequestFields fields;
    fields.capability = Discovery::PeerHasUltraCapability(message);
    fields.viewHidden = Discovery::ReadMessageFlag(message, "view_hidden");
    fields.viewSeq = Discovery::ReadMessageNumber(message, "view_seq");
    if (std::optional<std::string_view> audio = Discovery::FindMessageValue(message, "req_audio"))
        fields.audio = *audio == "1";
    if (std::optional<std::string_view> quality = Discovery::FindMessageValue(message, "req_quality"))
        fields.ultra = *quality == "1" && fields.capability;
    fields.qualitySeq = Discovery::ReadMessageNumber(message, "quality_seq");
    return fields;
}

DuplicateRequestUpdate ApplyDuplicateRequest(StoredControlRequest& stored, std::string_view senderIp,
                                             const DuplicateRequestFields& fields) {
    DuplicateRequestUpdate update;
    if (!stored.ownerIp.empty() && stored.ownerIp != senderIp) {
        update.otherOwner = true;
        return update;
    }
    if (stored.ownerIp.empty())
        stored.ownerIp = std::string(senderIp);
    ControlRequestParams& p = stored.params;

    if (fields.viewSeq == 0 || p.viewSeq == 0 || IsSequenceNotOlder(fields.viewSeq, p.viewSeq)) {
        p.viewHidden = fields.viewHidden ? 1 : 0;
        if (fields.viewSeq != 0)
            p.viewSeq = fields.viewSeq;
        update.visibility = true;
    }

    if (fields.audio) {
        uint32_t audio = *fields.audio ? 1 : 0;
        if (audio != p.audio) {
            update.audio = true;
            update.oldAudio = p.audio;
            update.newAudio = audio;
            p.audio = audio;
        }
    }

    if (fields.ultra) {
        bool stale = p.qualitySeq != 0 &&
                     (fields.qualitySeq == 0 || !IsSequenceNotOlder(fields.qualitySeq, p.qualitySeq));
        if (!stale) {
            uint32_t quality = *fields.ultra ? 1 : 0;
            if (quality != p.quality) {
                update.quality = true;
                update.oldQuality = p.quality;
                update.newQuality = quality;
                p.quality = quality;
            }
            if (fields.qualitySeq != 0)
                p.qualitySeq = fields.qualitySeq;
        }
    }
    return update;
}

DuplicateRequestUpdate ControlRequestStore::ApplyDuplicate(std::string_view senderIp,
                                                           const DuplicateRequestFields& fields) {
    std::lock_guard<std::mutex> lock(m_mutex);
    return ApplyDuplicateRequest(m_stored, senderIp, fields);
}

void ControlRequestStore::Store(std::string_view senderIp, const ControlRequestParams& params) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_stored.ownerIp = std::string(senderIp);
    m_stored.params = params;
}

ControlRequestParams ControlRequestStore::RequestOwnedBy(std::string_view ip) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (ip.empty() || m_stored.ownerIp != ip)
        return {};
    return m_stored.params;
}

void ControlRequestStore::Reset() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stored = {};
    }
    Log::Write("Discovery controller video visibility/request cache reset");
}

void ControlRequestStore::WithStoredRequest(const std::function<void(StoredControlRequest&)>& f) {
    std::lock_guard<std::mutex> lock(m_mutex);
    f(m_stored);
}

DesktopLockChange DesktopLockCache::Report(bool locked) {
    std::lock_guard<std::mutex> lock(m_mutex);
    DesktopLockChange change = DesktopLockChange::None;
    if (locked && m_value != 1)
        change = DesktopLockChange::BecameLocked;
    else if (!locked && m_value == 1)
        change = DesktopLockChange::BecameUnlocked;
    m_value = locked ? 1 : 0;
    return change;
}

int32_t DesktopLockCache::Value() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_value;
}

void DesktopLockCache::SetUnlocked() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_value = 0;
}

void DesktopLockCache::Reset() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_value = kUnknown;
    }
    Log::Write("Discovery desktop state cache reset");
}

ControlHandlerState& ControlHandlerState::Instance() {
    static ControlHandlerState* state = new ControlHandlerState();
    return *state;
}

namespace Discovery {

ControlRequestParams GetControllerVideoRequest() {
    return ControlHandlerState::Instance().requests.RequestOwnedBy(
        KvmSessionManager::Instance().ActivePeerIp());
}

bool IsControllerViewHidden() {
    return GetControllerVideoRequest().viewHidden != 0;
}

bool ControllerRequestedAudio() {
    return GetControllerVideoRequest().audio != 0;
}

void ResetVideoRequestCache() {
    ControlHandlerState::Instance().requests.Reset();
}

void ResetDesktopStateCache() {
    ControlHandlerState::Instance().desktop.Reset();
}

void ResetControlCaches() {
    ControlHandlerState::Instance().health.Clear();
    ResetDesktopStateCache();
    ResetVideoRequestCache();
}

} // namespace Discovery
