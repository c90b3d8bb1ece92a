#include "media/VideoFrameHeader.h"

#include <cstring>

#include "core/LittleEndian.h"
#include "media/AnnexB.h"
#include "media/VideoColor.h"
#include "media/VideoLimits.h"

uint32_t VideoFrameHeader::Magic() const {
    return GetLe32(magic);
}

VideoFrameHeader MakeVideoFrameHeader(uint32_t frameId, uint32_t frameBytes, uint32_t videoWidth,
                                      uint32_t videoHeight, uint32_t desktopWidth, uint32_t desktopHeight,
                                      VideoCodecFlag codec, bool hdrSwitchOn) {
    VideoFrameHeader header;
    header.frameId = frameId;
    header.frameBytes = frameBytes;
    header.payloadBytes = frameBytes;
    header.codec = static_cast<uint32_t>(codec);
    header.videoWidth = videoWidth;
    header.videoHeight = videoHeight;
    header.desktopWidth = desktopWidth;
    header.desktopHeight = desktopHeight;
    header.colorMode = static_cast<uint32_t>(VideoColorMode::SdrBt709Nv12);
    header.transfer = static_cast<uint32_t>(VideoTransfer::Bt709);
    header.bitDepth = 8;
    header.hdrFlags = kVideoHdrFlagsBase | (hdrSwitchOn ? kVideoHdrFlagHdrDesktop : 0);
    return header;
}

void PackVideoFrameHeader(const VideoFrameHeader& h, uint8_t* out) {
    std::memcpy(out, h.magic, 4);
    PutLe16(out + 4, h.version);
    PutLe16(out + 6, h.headerSize);
    PutLe32(out + 8, h.frameId);
    PutLe16(out + 12, h.reserved);
    PutLe16(out + 14, h.frameCount);
    PutLe32(out + 16, h.frameBytes);
    PutLe32(out + 20, h.payloadBytes);
    PutLe32(out + 24, h.codec);
    PutLe32(out + 28, h.videoWidth);
    PutLe32(out + 32, h.videoHeight);
    PutLe32(out + 36, h.desktopWidth);
    PutLe32(out + 40, h.desktopHeight);
    PutLe32(out + 44, h.colorMode);
    PutLe32(out + 48, h.transfer);
    PutLe32(out + 52, h.bitDepth);
    PutLe32(out + 56, h.hdrFlags);
}

VideoFrameHeader ParseVideoFrameHeader(const uint8_t* in) {
    VideoFrameHeader h;
    std::memcpy(h.magic, in, 4);
    h.version = GetLe16(in + 4);
    h.headerSize = GetLe16(in + 6);
    h.frameId = GetLe32(in + 8);
    h.reserved = GetLe16(in + 12);
    h.frameCount = GetLe16(in + 14);
    h.frameBytes = GetLe32(in + 16);
    h.payloadBytes = GetLe32(in + 20);
    h.codec = GetLe32(in + 24);
    h.videoWidth = GetLe32(in + 28);
    h.videoHeight = GetLe32(in + 32);
    h.desktopWidth = GetLe32(in + 36);
    h.desktopHeight = GetLe32(in + 40);
    h.colorMode = GetLe32(in + 44);
    h.transfer = GetLe32(in + 48);
    h.bitDepth = GetLe32(in + 52);
    h.hdrFlags = GetLe32(in + 56);
    return h;
}

VideoHeaderCheck CheckVideoFrameHeader(const VideoFrameHeader& h) {
    if (std::memcmp(h.magic, kVideoFrameMagic, 4) != 0 || h.version != kVideoFrameVersion ||
        h.headerSize != kVideoFrameHeaderBytes)
        return VideoHeaderCheck::BadFormat;
    if (h.frameBytes == 0 || h.frameBytes > kVideoMaxFrameBytes || h.payloadBytes != h.frameBytes ||
        h.frameCount != 1)
        return VideoHeaderCheck::BadFrame;
    // The sizes size the decoder, the tile buffers and the input mapping on the controller.
    constexpr uint32_t kMax = static_cast<uint32_t>(kMaxVideoDimension);
    if (h.videoWidth > kMax || h.videoHeight > kMax || h.desktopWidth > kMax || h.desktopHeight > kMax)
        return VideoHeaderCheck::BadSize;
    return VideoHeaderCheck::Ok;
}

const char* VideoCodecName(uint32_t codec) {
    return codec == static_cast<uint32_t>(VideoCodecFlag::Tiles) ? "ULTRA" : "H264";
}

namespace {

// A start code 00 00 01 (header behind it) or 00 00 00 01, looked for at every i with i + 4 below the frame
// size; a unit whose header is the frame's last byte is not seen. The first IDR slice ends the search.
bool HoldsIdrSlice(const uint8_t* frame, size_t size) {
    for (size_t i = 0; i + 4 < size; ++i) {
        size_t header;
        if (frame[i] == 0 && frame[i + 1] == 0 && frame[i + 2] == 1)
            header = i + 3;
        else if (frame[i] == 0 && frame[i + 1] == 0 && frame[i + 2] == 0 && frame[i + 3] == 1)
            header = i + 4;
        else
            continue;
        if (header < size && (frame[header] & 0x1F) == kNalIdrSlice)
            return true;
    }
    return false;
}

} // namespace

namespace {

// Calls visit(header, offset) for each whole frame at the start of the buffer, stopping at the first
// invalid header or incomplete frame; returns the number of frames visited.
template <typename Visit> size_t WalkWholeFrames(const uint8_t* data, size_t size, Visit visit) {
    size_t frames = 0;
    size_t offset = 0;
    while (offset + kVideoFrameHeaderBytes <= size) {
        const VideoFrameHeader header = ParseVideoFrameHeader(data + offset);
        if (CheckVideoFrameHeader(header) != VideoHeaderCheck::Ok)
            break;
        const size_t frameBytes = header.frameBytes;
        if (frameBytes > size - offset - kVideoFrameHeaderBytes)
            break;
        visit(header, offset);
        ++frames;
        offset += kVideoFrameHeaderBytes + frameBytes;
    }
    return frames;
}

} // namespace

size_t FindLastIdrFrameOffset(const uint8_t* data, size_t size, size_t& completeFrames) {
    size_t lastIdr = 0;
    completeFrames = WalkWholeFrames(data, size, [&](const VideoFrameHeader& header, size_t offset) {
        const uint8_t* frame = data + offset + kVideoFrameHeaderBytes;
        if (header.codec == static_cast<uint32_t>(VideoCodecFlag::H264) && header.frameBytes >= 5 &&
            HoldsIdrSlice(frame, header.frameBytes))
            lastIdr = offset;
    });
    return lastIdr;
}

TileResumePoint FindLastTileFrame(const uint8_t* data, size_t size) {
    TileResumePoint point;
    point.completeFrames = WalkWholeFrames(
        data, size, [&, index = size_t{0}](const VideoFrameHeader& header, size_t offset) mutable {
            if (header.codec == static_cast<uint32_t>(VideoCodecFlag::Tiles)) {
                point.offset = offset;
                point.framesBefore = index;
            }
            ++index;
        });
    return point;
}
