#include "media/HostFramePacer.h"

#include <algorithm>

namespace {
constexpr uint32_t kSecureFrameMs = 100;
constexpr uint32_t kHiddenFrameMs = 1000;
constexpr uint32_t kHiddenWaitMs = 50;
constexpr uint32_t kMaxLagMs = 200;

// Signed distance from a to b on the wrapping tick.
int32_t Ahead(uint32_t from, uint32_t to) {
    return static_cast<int32_t>(to - from);
}
} // namespace

uint32_t HostFrameIntervalMs(HostFrameSource source, uint32_t activeFrameMs) {
    switch (source) {
    case HostFrameSource::Secure:
        return kSecureFrameMs;
    case HostFrameSource::Hidden:
        return kHiddenFrameMs;
    case HostFrameSource::Normal:
        break;
    }
    return std::max<uint32_t>(1, activeFrameMs);
}

void HostFramePacer::Reset(uint32_t now) {
    m_due = now;
}

uint32_t HostFramePacer::RemainingMs(uint32_t now) const {
    const int32_t ahead = Ahead(now, m_due);
    return ahead > 0 ? static_cast<uint32_t>(ahead) : 0;
}

uint32_t HostFramePacer::WaitMs(HostFrameSource source, uint32_t remaining) {
    switch (source) {
    case HostFrameSource::Secure:
        return std::clamp<uint32_t>(remaining, 1, kSecureFrameMs);
    case HostFrameSource::Hidden:
        return remaining > kHiddenWaitMs ? kHiddenWaitMs : std::max<uint32_t>(1, remaining);
    case HostFrameSource::Normal:
        break;
    }
    return 1;
}

void HostFramePacer::Advance(uint32_t now, uint32_t intervalMs) {
    m_due += intervalMs;
    if (Ahead(m_due, now) > static_cast<int32_t>(kMaxLagMs))
        m_due = now + intervalMs;
}
