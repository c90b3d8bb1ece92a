#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The player's jitter buffer: render-format bytes between the network and the device. It holds at most
// 120 ms (older bytes are dropped from the front) and starts handing out audio only once 50 ms are queued
// (primed); a shortfall plays silence, counts an underrun and waits for 50 ms again. Limits are whole frames,
// so dropping and silence never split a frame.
class AudioJitterQueue {
public:
    static constexpr uint32_t kPrebufferMs = 50;
    static constexpr uint32_t kMaxQueueMs = 120;

    // Sizes the queue for a render format (rate in Hz, block align in bytes) and empties it.
    void Configure(uint32_t rate, uint32_t blockAlign);
    // Empties the queue; it primes again.
    void Clear();
    // Appends whole frames; beyond the cap the oldest bytes go.
    void Append(const uint8_t* bytes, size_t size);
    // How many frames to write with `freeFrames` free in the device buffer: 0 while priming (fewer than 50 ms
    // queued), else min(max(rate/100, 64), freeFrames).
    uint32_t FramesToWrite(uint32_t freeFrames);
    // Writes `frames` frames to dest: what the queue holds, then silence for a shortfall (an underrun).
    void Take(uint8_t* dest, uint32_t frames);

    size_t QueuedBytes() const { return m_size; }
    size_t CapBytes() const { return m_storage.size(); }
    size_t ThresholdBytes() const { return m_threshold; }
    bool Primed() const { return m_primed; }
    uint64_t Underruns() const { return m_underruns; }
    uint64_t DroppedBytes() const { return m_dropped; }

private:
    void Pop(uint8_t* dest, size_t size);

    uint32_t m_rate = 0;
    uint32_t m_blockAlign = 0;
    size_t m_threshold = 0;
    std::vector<uint8_t> m_storage; // ring of CapBytes()
    size_t m_head = 0;              // oldest byte
    size_t m_size = 0;
    bool m_primed = false;
    uint64_t m_underruns = 0;
    uint64_t m_dropped = 0;
};
