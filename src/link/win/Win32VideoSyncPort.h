#pragma once

#include "link/VideoSyncPort.h"

// The visibility and quality sync's port on Windows: the two senders over TCP (link/win/ControlSender.h);
// everything else is the process's own services (VideoSyncPort).
class Win32VideoSyncPort final : public VideoSyncPort {
public:
    bool SendVideoVisibility(const std::string& ip, bool hidden, uint32_t viewSeq,
                             const char* reason) override;
    bool SendVideoQuality(const std::string& ip, bool ultra, uint32_t qualitySeq, uint32_t attempt) override;
};
