#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

// Cuts the sender's converted 16-bit stereo bytes into PCM datagrams of at most 10 ms (AudioFramesPerPacket),
// always whole frames, each with the next sequence number. One per sender run: the numbers count up from 1
// across pipeline rebuilds.
class AudioPacketizer {
public:
    using Send = std::function<void(const uint8_t* datagram, size_t size)>;

    // The stream rate, written into every header; it may change when the pipeline is rebuilt.
    void SetRate(uint32_t rate) { m_rate = rate; }
    // Hands each datagram to send, in order; a partial frame at the end is not sent. The number of datagrams.
    size_t Cut(const uint8_t* pcm, size_t bytes, const Send& send);
    // The sequence number of the last datagram cut; 0 before the first.
    uint32_t Sequence() const { return m_sequence; }

private:
    uint32_t m_rate = 0;
    uint32_t m_sequence = 0;
    std::vector<uint8_t> m_datagram;
};
