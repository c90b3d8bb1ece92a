#include "link/win/Win32VideoSyncPort.h"

#include "link/win/ControlSender.h"

bool Win32VideoSyncPort::SendVideoVisibility(const std::string& ip, bool hidden, uint32_t viewSeq,
                                             const char* reason) {
    return Discovery::SendVideoVisibility(ip, hidden, viewSeq, reason);
}

bool Win32VideoSyncPort::SendVideoQuality(const std::string& ip, bool ultra, uint32_t qualitySeq,
                                          uint32_t attempt) {
    return Discovery::SendVideoQuality(ip, ultra, qualitySeq, attempt);
}
