#include "service/SecureFrameRead.h"

#include <atomic>
#include <cstddef>
#include <cstring>

#include "service/WardletShared.h"

namespace {

// The writer changes the index atomically and the sequence last; read both as single loads. The view is
// read-only, which rules out std::atomic_ref.
uint32_t LoadIndex(const uint8_t* view) {
    return __atomic_load_n(
        reinterpret_cast<const uint32_t*>(view + offsetof(SecureFrameHeader, publishedIndex)),
        __ATOMIC_ACQUIRE);
}

size_t DescriptorOffset(uint32_t index) {
    return offsetof(SecureFrameHeader, descriptors) + index * sizeof(SecureFrameDescriptor);
}

uint64_t LoadSequence(const uint8_t* view, uint32_t index) {
    return __atomic_load_n(reinterpret_cast<const uint64_t*>(view + DescriptorOffset(index) +
                                                             offsetof(SecureFrameDescriptor, sequence)),
                           __ATOMIC_ACQUIRE);
}

bool HeaderMatches(const uint8_t* view) {
    SecureFrameHeader header;
    std::memcpy(&header, view, offsetof(SecureFrameHeader, descriptors));
    return header.magic == kSecureFrameMagic && header.version == kSecureFrameVersion &&
           header.headerSize == kSecureFrameHeaderSize && header.capacity == kSecureFrameCapacity;
}

// In 64 bits: in 32 bits a width of 0x40000001 times 4 wraps to 4 and would pass for a one-pixel frame.
bool DescriptorValid(const SecureFrameDescriptor& d) {
    if (d.pixelFormat != kSecureFramePixelFormatBgra || d.width < 1 || d.height < 1)
        return false;
    const uint64_t rowBytes = uint64_t{d.width} * 4;
    const uint64_t size = rowBytes * d.height;
    // The writer always packs its rows; any other stride is not its frame.
    return d.stride == rowBytes && d.size == size && size <= kSecureFrameCapacity;
}

bool Fresh(uint64_t publishTick, uint64_t nowTick) {
    return publishTick != 0 && publishTick <= nowTick && nowTick - publishTick <= kSecureFrameMaxAgeMs;
}

} // namespace

bool ReadSecureFrame(std::span<const uint8_t> view, uint64_t nowTick, int32_t targetWidth,
                     int32_t targetHeight, uint64_t* lastSequence, std::vector<uint8_t>& raw,
                     std::vector<uint8_t>& out) {
    if (targetWidth < 1 || targetHeight < 1 || view.size() < kSecureFrameHeaderSize ||
        !HeaderMatches(view.data()))
        return false;
    for (int attempt = 0; attempt < kSecureFrameReadAttempts; ++attempt) {
        const uint32_t index = LoadIndex(view.data());
        if (index > 1)
            return false;
        std::atomic_thread_fence(std::memory_order_seq_cst);
        // One copy of the descriptor: every check and the copy below use these values, never the shared ones.
        SecureFrameDescriptor d;
        std::memcpy(&d, view.data() + DescriptorOffset(index), sizeof d);
        if (!DescriptorValid(d) || kSecureFrameBufferOffset[index] + d.size > view.size())
            return false;
        if (!Fresh(d.publishTick, nowTick))
            return false;
        if (lastSequence != nullptr && *lastSequence == d.sequence)
            return false;
        raw.resize(d.size);
        std::memcpy(raw.data(), view.data() + kSecureFrameBufferOffset[index], d.size);
        std::atomic_thread_fence(std::memory_order_seq_cst);
        if (LoadIndex(view.data()) != index || LoadSequence(view.data(), index) != d.sequence)
            continue; // the writer reused this buffer while it was copied
        ScaleNearestBgra(raw.data(), d.width, d.height, d.stride, targetWidth, targetHeight, out);
        if (lastSequence != nullptr)
            *lastSequence = d.sequence;
        return true;
    }
    return false;
}

void ScaleNearestBgra(const uint8_t* source, uint32_t width, uint32_t height, uint32_t stride,
                      int32_t targetWidth, int32_t targetHeight, std::vector<uint8_t>& out) {
    if (targetWidth < 1 || targetHeight < 1) {
        out.clear();
        return;
    }
    const uint64_t outWidth = static_cast<uint64_t>(targetWidth);
    const uint64_t outHeight = static_cast<uint64_t>(targetHeight);
    const uint64_t outRow = outWidth * 4;
    out.resize(outRow * outHeight);
    if (outWidth == width && outHeight == height && stride == outRow) {
        std::memcpy(out.data(), source, out.size());
        return;
    }
    for (uint64_t y = 0; y < outHeight; ++y) {
        const uint8_t* sourceRow = source + (y * height / outHeight) * stride;
        uint8_t* outPixel = out.data() + y * outRow;
        for (uint64_t x = 0; x < outWidth; ++x, outPixel += 4)
            std::memcpy(outPixel, sourceRow + (x * width / outWidth) * 4, 4);
    }
}
