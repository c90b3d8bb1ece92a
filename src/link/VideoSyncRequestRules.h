#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct StoredControlRequest;

// How the controlled side takes a TSLY_VIDEO_VISIBILITY or TSLY_VIDEO_QUALITY into the stored control
// request (link/ControlHandlerState.h). Callers hold the request mutex. The first sender becomes the owner
// when none is stored; another owner's request is left alone. Sequences compare as signed 32-bit differences.

enum class SyncRequestVerdict { OtherOwner, Stale, Accepted };

struct VisibilityRequestResult {
    SyncRequestVerdict verdict = SyncRequestVerdict::OtherOwner;
    std::string owner;     // the stored owner (for the log of OtherOwner)
    uint32_t replySeq = 0; // the view_seq the reply carries
};

// Stale when both the new and the stored view_seq are non-zero and the new one is older (reply: the stored
// one). Otherwise hidden is stored, and view_seq when non-zero (reply: the new one, or the stored one for 0).
VisibilityRequestResult ApplyVisibilityRequest(StoredControlRequest& stored, std::string_view sender,
                                               bool hidden, uint32_t viewSeq);

struct QualityRequestResult {
    SyncRequestVerdict verdict = SyncRequestVerdict::OtherOwner;
    std::string owner;
    uint32_t replySeq = 0; // the stored quality_seq and mode after the request
    bool replyUltra = false;
    bool oldUltra = false; // the stored mode before
    bool changed = false;  // accepted with another mode than stored
};

// qualitySeq is non-zero (a zero sequence is refused before). Accepted when no quality_seq is stored or the
// new one is not older: sequence and mode are stored. The reply carries what is stored afterwards.
QualityRequestResult ApplyQualityRequest(StoredControlRequest& stored, std::string_view sender, bool ultra,
                                         uint32_t qualitySeq);
