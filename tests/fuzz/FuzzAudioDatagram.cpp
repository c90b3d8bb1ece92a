// Arbitrary bytes as the datagrams a player receives, handled as the player handles them: each datagram is
// read and checked, a FORMAT may ask for a render pipeline (which "starts" in a device format chosen by the
// input, or fails), PCM is converted and queued, and the device is fed after every datagram.
// Input: byte 0 picks the device's render format; then records of a 2-byte little-endian length, one byte
// of device state (free frames, whether a pipeline build succeeds) and the datagram.
// Checked:
// - a datagram read as Ok has its payload inside the datagram, and a FORMAT's extra bytes inside the payload;
// - a remote format that reaches the player always keeps the bounds (channels 1..8, 8..384 kHz, 16 bits);
// - the jitter queue never holds more than 120 ms, and never more than its own storage;
// - a feed writes no more frames than are free, and only once primed.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/LittleEndian.h"
#include "media/AudioPacket.h"
#include "media/AudioPlayerCore.h"

#include "FuzzChecks.h"

namespace {

AudioWaveFormat DeviceFormat(uint8_t pick) {
    struct Choice {
        uint16_t tag;
        uint16_t channels;
        uint32_t rate;
        uint16_t bits;
    };
    constexpr Choice kChoices[] = {
        {kWaveFormatPcm, 2, 48000, 16},        {kWaveFormatIeeeFloat, 2, 48000, 32},
        {kWaveFormatIeeeFloat, 8, 192000, 32}, {kWaveFormatPcm, 1, 44100, 24},
        {kWaveFormatPcm, 6, 96000, 32},        {kWaveFormatPcm, 2, 8000, 8}, // not convertible
        {kWaveFormatIeeeFloat, 1, 384000, 32}, {kWaveFormatPcm, 2, 11025, 16},
    };
    const Choice& c = kChoices[pick % std::size(kChoices)];
    AudioWaveFormat f;
    f.formatTag = c.tag;
    f.channels = c.channels;
    f.sampleRate = c.rate;
    f.bitsPerSample = c.bits;
    f.blockAlign = static_cast<uint16_t>(c.channels * c.bits / 8);
    f.avgBytesPerSec = c.rate * f.blockAlign;
    return f;
}

void CheckRead(const uint8_t* data, size_t size) {
    AudioDatagram read;
    if (ReadAudioDatagram(data, size, read) != AudioDatagramCheck::Ok)
        return;
    FuzzCheck(read.payload == data + kAudioHeaderBytes, "payload not behind the header");
    FuzzCheck(read.payloadBytes <= size - kAudioHeaderBytes, "payload beyond the datagram");
    if (read.kind == AudioPacketKind::Format)
        FuzzCheck(kWaveFormatBaseBytes + read.format.extra.size() <= read.payloadBytes,
                  "format beyond payload");
    else
        FuzzCheck(read.payloadBytes > 0, "empty PCM accepted");
}

void Feed(AudioPlayerCore& core, uint32_t freeFrames, std::vector<uint8_t>& device) {
    AudioJitterQueue& queue = core.Queue();
    FuzzCheck(queue.QueuedBytes() <= queue.CapBytes(), "queue above its storage");
    const AudioWaveFormat& render = core.RenderFormat();
    const uint64_t capBytes = static_cast<uint64_t>(render.sampleRate) * render.blockAlign * 120 / 1000;
    FuzzCheck(queue.QueuedBytes() <= capBytes, "queue above 120 ms");
    const bool primedBefore = queue.Primed();
    const size_t queuedBefore = queue.QueuedBytes();
    const uint32_t frames = queue.FramesToWrite(freeFrames);
    FuzzCheck(frames <= freeFrames, "more frames than free");
    if (frames == 0)
        return;
    FuzzCheck(primedBefore || queuedBefore >= queue.ThresholdBytes(), "written before 50 ms were queued");
    device.resize(static_cast<size_t>(frames) * render.blockAlign);
    queue.Take(device.data(), frames);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const AudioWaveFormat device = DeviceFormat(data[0]);
    AudioPlayerCore core;
    std::vector<uint8_t> deviceBuffer;
    size_t at = 1;
    while (at + 3 <= size) {
        const size_t length = std::min<size_t>(GetLe16(data + at), size - at - 3);
        const uint8_t state = data[at + 2];
        const uint8_t* datagram = data + at + 3;
        at += 3 + length;
        CheckRead(datagram, length);
        if (core.OnDatagram(datagram, length) == AudioPlayerCore::Action::BuildPipeline) {
            FuzzCheck(core.HasRemoteFormat(), "build without a format");
            FuzzCheck(RemoteFormatRefusal(core.RemoteFormat()) == nullptr, "unbounded remote format used");
            FuzzCheck(!core.PipelineRunning() && core.Queue().QueuedBytes() == 0, "old pipeline kept");
            if ((state & 0x80) == 0)
                core.PipelineStarted(device);
        }
        if (core.PipelineRunning())
            Feed(core, static_cast<uint32_t>(state & 0x7F) * 64, deviceBuffer);
    }
    return 0;
}
