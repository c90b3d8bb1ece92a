#include "media/AudioJitterQueue.h"

#include <algorithm>
#include <cstring>

namespace {

// bytesPerSecond x ms / 1000, rounded down to whole frames.
size_t WholeFramesFor(uint32_t rate, uint32_t blockAlign, uint32_t ms) {
    const uint64_t bytes = static_cast<uint64_t>(rate) * blockAlign * ms / 1000;
    return static_cast<size_t>(blockAlign == 0 ? 0 : bytes - bytes % blockAlign);
}

} // namespace

void AudioJitterQueue::Configure(uint32_t rate, uint32_t blockAlign) {
    m_rate = rate;
    m_blockAlign = blockAlign;
    m_threshold = WholeFramesFor(rate, blockAlign, kPrebufferMs);
    m_storage.assign(WholeFramesFor(rate, blockAlign, kMaxQueueMs), 0);
    Clear();
}

void AudioJitterQueue::Clear() {
    m_head = 0;
    m_size = 0;
    m_primed = false;
}

void AudioJitterQueue::Append(const uint8_t* bytes, size_t size) {
    const size_t cap = m_storage.size();
    if (cap == 0 || bytes == nullptr)
        return;
    size -= size % m_blockAlign;
    if (size > cap) {
        // Only the newest cap bytes can stay; whole frames, since both are multiples of the block.
        m_dropped += size - cap;
        bytes += size - cap;
        size = cap;
    }
    if (m_size + size > cap) {
        const size_t drop = m_size + size - cap;
        m_head = (m_head + drop) % cap;
        m_size -= drop;
        m_dropped += drop;
    }
    size_t tail = (m_head + m_size) % cap;
    const size_t first = std::min(size, cap - tail);
    std::memcpy(m_storage.data() + tail, bytes, first);
    std::memcpy(m_storage.data(), bytes + first, size - first);
    m_size += size;
}

uint32_t AudioJitterQueue::FramesToWrite(uint32_t freeFrames) {
    if (freeFrames == 0 || m_blockAlign == 0)
        return 0;
    if (!m_primed) {
        if (m_size < m_threshold || m_size == 0)
            return 0;
        m_primed = true;
    }
    return std::min(std::max<uint32_t>(m_rate / 100, 64), freeFrames);
}

void AudioJitterQueue::Take(uint8_t* dest, uint32_t frames) {
    const size_t want = static_cast<size_t>(frames) * m_blockAlign;
    const size_t have = std::min(want, m_size);
    Pop(dest, have);
    if (have < want) {
        std::memset(dest + have, 0, want - have);
        ++m_underruns;
        m_primed = false;
    }
}

void AudioJitterQueue::Pop(uint8_t* dest, size_t size) {
    const size_t cap = m_storage.size();
    if (size == 0)
        return;
    const size_t first = std::min(size, cap - m_head);
    std::memcpy(dest, m_storage.data() + m_head, first);
    std::memcpy(dest + first, m_storage.data(), size - first);
    m_head = (m_head + size) % cap;
    m_size -= size;
}
