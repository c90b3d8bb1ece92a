#include "media/VideoFrameAssembler.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <utility>

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

void LogOverflow(size_t buffered, size_t add) {
    Log::Write("TCP video receive buffer overflow rx=%zu add=%d; reset connection", buffered,
               static_cast<int>(std::min<size_t>(add, 0x7FFFFFFF)));
}

} // namespace

size_t VideoFrameAssembler::ReadAllowance() const {
    if (Buffered() < kVideoReceiveHighWaterBytes)
        return kVideoReceivePieceBytes;
    const VideoFrameHeader h = ParseVideoFrameHeader(Data());
    // An invalid header needs no more bytes: the next take resets the connection.
    if (CheckVideoFrameHeader(h) != VideoHeaderCheck::Ok)
        return 0;
    const size_t whole = kVideoFrameHeaderBytes + h.frameBytes;
    return Buffered() < whole ? std::min(whole - Buffered(), kVideoReceivePieceBytes) : 0;
}

uint8_t* VideoFrameAssembler::PrepareAppend(size_t size) {
    m_prepared = size;
    if (m_capacity - m_end >= size)
        return m_storage.get() + m_end;
    const size_t buffered = Buffered();
    if (m_begin >= buffered && m_capacity - buffered >= size) {
        std::memmove(m_storage.get(), m_storage.get() + m_begin, buffered);
    } else {
        size_t capacity = std::max<size_t>(m_capacity * 2, 4096);
        while (capacity - buffered < size)
            capacity *= 2;
        auto storage = std::make_unique_for_overwrite<uint8_t[]>(capacity);
        if (buffered > 0)
            std::memcpy(storage.get(), m_storage.get() + m_begin, buffered);
        m_storage = std::move(storage);
        m_capacity = capacity;
    }
    m_begin = 0;
    m_end = buffered;
    return m_storage.get() + m_end;
}

bool VideoFrameAssembler::CommitAppend(size_t written) {
    const size_t prepared = std::exchange(m_prepared, 0);
    if (written > prepared)
        written = prepared;
    if (written > kVideoReceiveBufferCap - Buffered()) {
        LogOverflow(Buffered(), written);
        return false;
    }
    m_end += written;
    return true;
}

bool VideoFrameAssembler::Append(const uint8_t* data, size_t size) {
    if (size > kVideoReceiveBufferCap - Buffered()) {
        LogOverflow(Buffered(), size); // refused before any room is made for it
        return false;
    }
    if (size > 0)
        std::memcpy(PrepareAppend(size), data, size);
    return CommitAppend(size);
}

void VideoFrameAssembler::TrimBacklog() {
    if (TrimTileBacklog() || Buffered() < kVideoTrimThresholdBytes)
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

bool VideoFrameAssembler::TrimTileBacklog() {
    // Tile frames are small when little changes on screen, so a byte threshold would let seconds of them
    // queue up behind a controller that draws slower than the peer sends.
    const TileResumePoint point = FindLastTileFrame(Data(), Buffered());
    if (point.completeFrames < kVideoTrimMinFrames || point.framesBefore == 0)
        return false;
    Consume(point.offset);
    Log::Write("[VIDEO][LOW_LATENCY] dropped stale tile frames=%zu bytes=%zu complete_frames=%zu remain=%zu",
               point.framesBefore, point.offset, point.completeFrames, Buffered());
    return true;
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
    m_storage.reset();
    m_capacity = m_begin = m_end = m_prepared = 0;
}

void VideoFrameAssembler::Consume(size_t count) {
    m_begin += count;
    if (m_begin == m_end)
        m_begin = m_end = 0;
}
