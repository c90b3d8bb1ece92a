// Arbitrary bytes as a received video stream. The first byte picks how the rest is cut into appends; after
// each append the backlog trim runs and frames are taken until more bytes are needed, as the receiver does.
// Checked:
// - the buffer never holds more than the cap; a refused append changes nothing;
// - a frame handed out has 1..0x10000000 bytes, a codec word below 2 and every side within 16384;
// - a reset is only asked for when the front header is invalid, and the caller's Clear empties the buffer;
// - the IDR scan over the whole input returns 0 or the offset of a whole, valid H.264 frame behind at least
//   one other frame, and counts no more frames than fit.
#include <cstddef>
#include <algorithm>
#include <cstdint>
#include <vector>

#include "media/VideoFrameAssembler.h"
#include "media/VideoFrameHeader.h"
#include "media/VideoLimits.h"

#include "FuzzChecks.h"

namespace {

void CheckIdrScan(const uint8_t* data, size_t size) {
    size_t frames = 0;
    const size_t offset = FindLastIdrFrameOffset(data, size, frames);
    FuzzCheck(frames <= size / (kVideoFrameHeaderBytes + 1), "more frames than fit");
    if (offset == 0)
        return;
    FuzzCheck(frames >= 2, "IDR offset without two frames");
    FuzzCheck(offset + kVideoFrameHeaderBytes <= size, "IDR offset outside the buffer");
    const VideoFrameHeader header = ParseVideoFrameHeader(data + offset);
    FuzzCheck(CheckVideoFrameHeader(header) == VideoHeaderCheck::Ok, "IDR frame header invalid");
    FuzzCheck(header.codec == 0, "IDR frame not H.264");
    FuzzCheck(header.frameBytes >= 5 && header.frameBytes <= size - offset - kVideoFrameHeaderBytes,
              "IDR frame not whole");
}

void CheckFrame(const std::vector<uint8_t>& payload, const VideoFrameInfo& info) {
    constexpr uint32_t kMax = static_cast<uint32_t>(kMaxVideoDimension);
    FuzzCheck(!payload.empty() && payload.size() <= kVideoMaxFrameBytes, "frame size");
    FuzzCheck(info.codec < 2, "codec word handed out");
    FuzzCheck(info.videoWidth <= kMax && info.videoHeight <= kMax && info.desktopWidth <= kMax &&
                  info.desktopHeight <= kMax,
              "side above the cap");
}

void TakeAll(VideoFrameAssembler& assembler) {
    std::vector<uint8_t> payload;
    VideoFrameInfo info;
    for (;;) {
        const size_t before = assembler.Buffered();
        switch (assembler.TakeFrame(payload, info)) {
        case VideoFrameAssembler::Take::NeedMore:
            FuzzCheck(payload.empty() && assembler.Buffered() == before, "NeedMore consumed bytes");
            return;
        case VideoFrameAssembler::Take::Reset:
            FuzzCheck(before >= kVideoFrameHeaderBytes, "reset without a header");
            FuzzCheck(CheckVideoFrameHeader(ParseVideoFrameHeader(assembler.Data())) != VideoHeaderCheck::Ok,
                      "reset on a valid header");
            assembler.Clear();
            FuzzCheck(assembler.Buffered() == 0, "Clear left bytes");
            return;
        case VideoFrameAssembler::Take::Skipped:
            FuzzCheck(payload.empty() && assembler.Buffered() < before, "skip consumed nothing");
            break;
        case VideoFrameAssembler::Take::Frame:
            CheckFrame(payload, info);
            FuzzCheck(assembler.Buffered() == before - kVideoFrameHeaderBytes - payload.size(),
                      "frame bytes taken");
            break;
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    CheckIdrScan(data + 1, size - 1);
    const size_t pieceBase = 1 + data[0];
    VideoFrameAssembler assembler;
    size_t at = 1;
    size_t round = 0;
    while (at < size) {
        const size_t piece = std::min(size - at, pieceBase * (1 + round++ % 3));
        FuzzCheck(assembler.Append(data + at, piece), "append refused below the cap");
        FuzzCheck(assembler.Buffered() <= kVideoReceiveBufferCap, "buffer above the cap");
        at += piece;
        const size_t before = assembler.Buffered();
        assembler.TrimBacklog();
        FuzzCheck(assembler.Buffered() <= before, "trim grew the buffer");
        TakeAll(assembler);
    }
    return 0;
}
