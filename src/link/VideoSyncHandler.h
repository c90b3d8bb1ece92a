#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class IControlSessionTarget;
class ControlRequestStore;
class SessionControllerServices;

// The controlled side of the visibility and quality sync: takes the controller's TSLY_VIDEO_VISIBILITY and
// TSLY_VIDEO_QUALITY into the stored control request (which the running host session reads) and answers
// with the accepted flag and what is stored now. Runs on the control server's thread (and the dispatcher's
// for a visibility message without reply); the stored request has its own mutex.
class VideoSyncHandler {
public:
    // The process-wide handler over KvmSessionManager::Instance() and ControlHandlerState::Instance().
    static VideoSyncHandler& Instance();

    // Null services: the installed ones, looked up at every call.
    VideoSyncHandler(IControlSessionTarget& session, ControlRequestStore& requests,
                     SessionControllerServices* services = nullptr);
    VideoSyncHandler(const VideoSyncHandler&) = delete;
    VideoSyncHandler& operator=(const VideoSyncHandler&) = delete;

    // Taken only from a 10.x sender with a foreign id that is the active peer, while this PC is controlled
    // with its host session running; otherwise not accepted with sequence 0 (each refusal logged
    // "[VIDEO][VISIBILITY][RX_IGNORED] ..."). Then the visibility rule (link/VideoSyncRequestRules.h).
    bool HandleVideoVisibility(std::string_view senderIp, std::string_view message, uint32_t& viewSeq);
    // The same gates, and the message must carry the ULTRA capability and a non-zero quality_seq
    // ("[QUALITY][RX_IGNORED] ..."); then the quality rule. An accepted change of mode sets the host's
    // video-restart request, so the running host rebuilds its video pipeline in the new mode.
    bool HandleVideoQualityRequest(std::string_view senderIp, std::string_view message, uint32_t& qualitySeq,
                                   bool& ultra);

private:
    SessionControllerServices& Services() const;

    IControlSessionTarget& m_session;
    ControlRequestStore& m_requests;
    SessionControllerServices* m_services;
};

namespace Discovery {
// VideoSyncHandler::Instance(); the installed session controller services forward to these.
bool HandleVideoVisibility(std::string_view senderIp, std::string_view message, uint32_t& viewSeq);
bool HandleVideoQualityRequest(std::string_view senderIp, std::string_view message, uint32_t& qualitySeq,
                               bool& ultra);
} // namespace Discovery
