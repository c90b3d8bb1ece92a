#include "media/AudioPacketizer.h"

#include <algorithm>
#include <cstring>

#include "media/AudioPacket.h"

size_t AudioPacketizer::Cut(const uint8_t* pcm, size_t bytes, const Send& send) {
    const size_t maxPayload = static_cast<size_t>(AudioFramesPerPacket(m_rate)) * kAudioStreamBlockAlign;
    const size_t whole = bytes - bytes % kAudioStreamBlockAlign;
    size_t count = 0;
    for (size_t at = 0; at < whole; at += maxPayload) {
        const size_t payload = std::min(maxPayload, whole - at);
        m_datagram.resize(kAudioHeaderBytes + payload);
        PackAudioPacketHeader(
            MakeAudioPacketHeader(AudioPacketKind::Pcm, ++m_sequence, static_cast<uint32_t>(payload), m_rate),
            m_datagram.data());
        std::memcpy(m_datagram.data() + kAudioHeaderBytes, pcm + at, payload);
        send(m_datagram.data(), m_datagram.size());
        ++count;
    }
    return count;
}
