#include "media/VideoFrameAssembler.h"

#include <atomic>

#include "core/Log.h"
#include "media/VideoColor.h"
#include "media/VideoFrameHeader.h"
#include "media/VideoLimits.h"

namespace {

std::atomic<bool> g_firstFrameLogged{false};

unsigned long Ul(uint32_t value) {
    return static_cast<unsigned long>(value);
}

void LogFirstFrameOnce(const VideoFrameHeader& h) {
    bool expected = false;
    if (!g_firstFrameLogged.compare_exchange_strong(expected, true))
        return;
    Log::Write(
        "[COLOR][RX][VIDEO-HDR] firstFrame id=%lu frameBytes=%lu video=%lux%lu desktop=%lux%lu codec=%s "
        "color=%s transfer=%s(%lu) bitDepth=%lu hdrFlags=0x%08lX headerSize=%u version=%u",
        Ul(h.frameId), Ul(h.frameBytes), Ul(h.videoWidth), Ul(h.videoHeight), Ul(h.desktopWidth),
        Ul(h.desktopHeight), VideoCodecName(h.codec), VideoColorModeName(h.colorMode),
        VideoTransferName(h.transfer), Ul(h.transfer), Ul(h.bitDepth), Ul(h.hdrFlags),
        static_cast<unsigned>(h.headerSize), static_cast<unsigned>(h.version));
    Log::Write("TCP video first frame color=%s transfer=%lu bitDepth=%lu hdrFlags=0x%08lX",
               VideoColorModeName(h.colorMode), Ul(h.transfer), Ul(h.bitDepth), Ul(h.hdrFlags));
}

} // namespace

bool VideoFrameAssembler::Append(const uint8_t* data, size_t size) {
    if (size > kVideoReceiveBufferCap - Buffered()) {
        Log::Write("TCP video receive buffer overflow rx=%zu add=%d; reset connection", Buffered(),
                   static_cast<int>(size > 0x7FFFFFFF ? 0x7FFFFFFF : size));
        return false;
    }
    if (m_head > 0 && m_head >= m_bytes.size() / 2) {
        m_bytes.erase(m_bytes.begin(), m_bytes.begin() + static_cast<std::ptrdiff_t>(m_head));
        m_head = 0;
    }
    m_bytes.insert(m_bytes.end(), data, data + size);
    return true;
}

void VideoFrameAssembler::TrimBacklog() {
    if (Buffered() < kVideoTrimThresholdBytes)
        return;
    size_t completeFrames = 0;
    const size_t idrOffset = FindLastIdrFrameOffset(Data(), Buffered(), completeFrames);
    if (completeFrames < kVideoTrimMinFrames || idrOffset == 0)
        return;
    Consume(idrOffset);
    Log::Write("[VIDEO][LOW_LATENCY] dropped stale compressed backlog bytes=%zu complete_frames=%zu "
               "resume_at_idr=1 remain=%zu",
               idrOffset, completeFrames, Buffered());
}

VideoFrameAssembler::Take VideoFrameAssembler::TakeFrame(std::vector<uint8_t>& payload,
                                                         VideoFrameInfo& info) {
    payload.clear();
    info = {};
    if (Buffered() < kVideoFrameHeaderBytes)
        return Take::NeedMore;
    const VideoFrameHeader h = ParseVideoFrameHeader(Data());
    switch (CheckVideoFrameHeader(h)) {
    case VideoHeaderCheck::Ok:
        break;
    case VideoHeaderCheck::BadFormat:
        Log::Write("TCP video bad frame header magic=0x%08X ver=%u header=%u; reset connection", h.Magic(),
                   static_cast<unsigned>(h.version), static_cast<unsigned>(h.headerSize));
        return Take::Reset;
    case VideoHeaderCheck::BadFrame:
        Log::Write("TCP video invalid frame header id=%lu size=%lu payload=%lu count=%u; reset connection",
                   Ul(h.frameId), Ul(h.frameBytes), Ul(h.payloadBytes), static_cast<unsigned>(h.frameCount));
        return Take::Reset;
    case VideoHeaderCheck::BadSize:
        Log::Write("TCP video frame size out of range id=%lu video=%lux%lu desktop=%lux%lu max=%d; reset "
                   "connection",
                   Ul(h.frameId), Ul(h.videoWidth), Ul(h.videoHeight), Ul(h.desktopWidth),
                   Ul(h.desktopHeight), static_cast<int>(kMaxVideoDimension));
        return Take::Reset;
    }
    const size_t frameBytes = h.frameBytes;
    if (Buffered() - kVideoFrameHeaderBytes < frameBytes)
        return Take::NeedMore;
    info.frameId = h.frameId;
    if (h.codec >= 2) {
        Log::Write("TCP video unsupported codec flag=%lu frame=%lu; drop frame", Ul(h.codec), Ul(h.frameId));
        Consume(kVideoFrameHeaderBytes + frameBytes);
        return Take::Skipped;
    }
    const uint8_t* frame = Data() + kVideoFrameHeaderBytes;
    payload.assign(frame, frame + frameBytes);
    info.codec = h.codec;
    info.videoWidth = h.videoWidth;
    info.videoHeight = h.videoHeight;
    info.desktopWidth = h.desktopWidth;
    info.desktopHeight = h.desktopHeight;
    Consume(kVideoFrameHeaderBytes + frameBytes);
    LogFirstFrameOnce(h);
    return Take::Frame;
}

void VideoFrameAssembler::Clear() {
    // A dropped connection may have left a large buffer behind; the next one starts small.
    std::vector<uint8_t>().swap(m_bytes);
    m_head = 0;
}

void VideoFrameAssembler::Consume(size_t count) {
    m_head += count;
    if (m_head == m_bytes.size()) {
        m_bytes.clear();
        m_head = 0;
    }
}
