#include "link/VideoSyncRequestRules.h"

#include "link/ControlHandlerState.h"

namespace {

// False (owner named) when another sender owns the stored request; makes the sender the owner when none does.
bool TakeOwnership(StoredControlRequest& stored, std::string_view sender, std::string& owner) {
    if (stored.ownerIp.empty())
        stored.ownerIp = std::string(sender);
    if (stored.ownerIp == sender)
        return true;
    owner = stored.ownerIp;
    return false;
}

} // namespace

VisibilityRequestResult ApplyVisibilityRequest(StoredControlRequest& stored, std::string_view sender,
                                               bool hidden, uint32_t viewSeq) {
    VisibilityRequestResult result;
    if (!TakeOwnership(stored, sender, result.owner))
        return result;
    ControlRequestParams& p = stored.params;
    if (viewSeq != 0 && p.viewSeq != 0 && !IsSequenceNotOlder(viewSeq, p.viewSeq)) {
        result.verdict = SyncRequestVerdict::Stale;
        result.replySeq = p.viewSeq;
        return result;
    }
    p.viewHidden = hidden ? 1 : 0;
    if (viewSeq != 0)
        p.viewSeq = viewSeq;
    result.verdict = SyncRequestVerdict::Accepted;
    result.replySeq = p.viewSeq;
    return result;
}

QualityRequestResult ApplyQualityRequest(StoredControlRequest& stored, std::string_view sender, bool ultra,
                                         uint32_t qualitySeq) {
    QualityRequestResult result;
    if (!TakeOwnership(stored, sender, result.owner))
        return result;
    ControlRequestParams& p = stored.params;
    result.oldUltra = p.quality != 0;
    if (p.qualitySeq == 0 || IsSequenceNotOlder(qualitySeq, p.qualitySeq)) {
        result.verdict = SyncRequestVerdict::Accepted;
        result.changed = result.oldUltra != ultra;
        p.qualitySeq = qualitySeq;
        p.quality = ultra ? 1 : 0;
    } else {
        result.verdict = SyncRequestVerdict::Stale;
    }
    result.replySeq = p.qualitySeq;
    result.replyUltra = p.quality != 0;
    return result;
}
