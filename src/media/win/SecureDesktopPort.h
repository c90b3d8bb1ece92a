#pragma once

#include <cstdint>
#include <string>

#include "media/HostPipelinePorts.h"
#include "media/win/SecureDesktopFrameReader.h"

// The host pipeline's secure desktop on Windows: the input desktop's name, the service's capture request
// and the frames its capture worker publishes in the shared mapping.
class SecureDesktopPort final : public IHostSecureDesktop {
public:
    bool IsActive() override;
    bool RequestWorkerFrame(const char* reason) override;
    void SetFrameSize(int32_t width, int32_t height) override;
    bool ReadFreshFrame(HostFrame& frame, uint64_t& sequence) override;
    // On the mapping's ready event once the mapping is open, else a plain sleep.
    void WaitFrameReady(uint32_t ms) override;
    std::string MappingName() override;
    std::string EventName() override;
    void Close() override;

private:
    SecureDesktopFrameReader m_reader;
    int32_t m_width = 0, m_height = 0;
    uint64_t m_lastSequence = 0;
};
