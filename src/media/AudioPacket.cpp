#include "media/AudioPacket.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "core/LittleEndian.h"

AudioPacketHeader MakeAudioPacketHeader(AudioPacketKind kind, uint32_t sequence, uint32_t payloadBytes,
                                        uint32_t rate) {
    AudioPacketHeader h;
    h.kind = static_cast<uint16_t>(kind);
    h.sequence = sequence;
    h.payloadBytes = payloadBytes;
    h.sampleRate = rate;
    h.avgBytesPerSec = rate * kAudioStreamBlockAlign;
    return h;
}

void PackAudioPacketHeader(const AudioPacketHeader& h, uint8_t* out) {
    std::memcpy(out, h.magic, 4);
    PutLe16(out + 4, h.kind);
    PutLe16(out + 6, h.headerSize);
    PutLe32(out + 8, h.sequence);
    PutLe32(out + 12, h.payloadBytes);
    PutLe32(out + 16, h.sampleRate);
    PutLe16(out + 20, h.channels);
    PutLe16(out + 22, h.bitsPerSample);
    PutLe16(out + 24, h.formatTag);
    PutLe16(out + 26, h.blockAlign);
    PutLe32(out + 28, h.avgBytesPerSec);
}

AudioPacketHeader ParseAudioPacketHeader(const uint8_t* in) {
    AudioPacketHeader h;
    std::memcpy(h.magic, in, 4);
    h.kind = GetLe16(in + 4);
    h.headerSize = GetLe16(in + 6);
    h.sequence = GetLe32(in + 8);
    h.payloadBytes = GetLe32(in + 12);
    h.sampleRate = GetLe32(in + 16);
    h.channels = GetLe16(in + 20);
    h.bitsPerSample = GetLe16(in + 22);
    h.formatTag = GetLe16(in + 24);
    h.blockAlign = GetLe16(in + 26);
    h.avgBytesPerSec = GetLe32(in + 28);
    return h;
}

AudioWaveFormat MakeAudioStreamFormat(uint32_t mixRate) {
    AudioWaveFormat f;
    f.formatTag = kWaveFormatPcm;
    f.channels = kAudioStreamChannels;
    f.sampleRate = mixRate != 0 ? mixRate : kAudioDefaultRate;
    f.avgBytesPerSec = f.sampleRate * kAudioStreamBlockAlign;
    f.blockAlign = kAudioStreamBlockAlign;
    f.bitsPerSample = kAudioStreamBits;
    return f;
}

std::vector<uint8_t> BuildAudioFormatDatagram(uint32_t rate) {
    const std::vector<uint8_t> format = PackWaveFormat(MakeAudioStreamFormat(rate));
    std::vector<uint8_t> datagram(kAudioHeaderBytes + format.size());
    PackAudioPacketHeader(
        MakeAudioPacketHeader(AudioPacketKind::Format, 0, static_cast<uint32_t>(format.size()), rate),
        datagram.data());
    std::memcpy(datagram.data() + kAudioHeaderBytes, format.data(), format.size());
    return datagram;
}

uint32_t AudioFramesPerPacket(uint32_t rate) {
    constexpr uint32_t kMaxFrames = (kAudioMaxDatagramBytes - kAudioHeaderBytes) / kAudioStreamBlockAlign;
    const uint64_t frames = static_cast<uint64_t>(rate) * kAudioPacketMs / 1000;
    return static_cast<uint32_t>(std::clamp<uint64_t>(frames, 1, kMaxFrames));
}

AudioDatagramCheck ReadAudioDatagram(const uint8_t* data, size_t size, AudioDatagram& out) {
    if (data == nullptr || size < kAudioHeaderBytes)
        return AudioDatagramCheck::Ignored;
    const AudioPacketHeader h = ParseAudioPacketHeader(data);
    if (std::memcmp(h.magic, kAudioMagic, 4) != 0 || h.headerSize != kAudioHeaderBytes)
        return AudioDatagramCheck::Ignored;
    if (h.kind != static_cast<uint16_t>(AudioPacketKind::Format) &&
        h.kind != static_cast<uint16_t>(AudioPacketKind::Pcm))
        return AudioDatagramCheck::Ignored;
    out.header = h;
    out.kind = static_cast<AudioPacketKind>(h.kind);
    if (h.payloadBytes > size - kAudioHeaderBytes)
        return AudioDatagramCheck::BadPayload;
    out.payload = data + kAudioHeaderBytes;
    out.payloadBytes = h.payloadBytes;
    if (out.kind == AudioPacketKind::Pcm)
        return out.payloadBytes != 0 ? AudioDatagramCheck::Ok : AudioDatagramCheck::BadPayload;
    std::optional<AudioWaveFormat> format = ParseWaveFormat(out.payload, out.payloadBytes);
    if (!format)
        return AudioDatagramCheck::BadPayload;
    out.format = std::move(*format);
    return AudioDatagramCheck::Ok;
}
