#include "service/SecureFrameWrite.h"

#include <atomic>
#include <cstring>

#include "service/WardletShared.h"

namespace {

SecureFrameHeader& HeaderOf(std::span<uint8_t> mapping) {
    return *reinterpret_cast<SecureFrameHeader*>(mapping.data());
}

} // namespace

bool SecureFrameFits(int32_t width, int32_t height, int32_t sourceStride) {
    if (width < 1 || height < 1)
        return false;
    // In 64 bits: width * 4 and width * height * 4 overflow 32 bits long before they reach the checks.
    const int64_t rowBytes = int64_t{width} * 4;
    return int64_t{sourceStride} >= rowBytes && rowBytes * height <= int64_t{kSecureFrameCapacity};
}

bool InitSecureFrameHeader(std::span<uint8_t> mapping) {
    if (mapping.size() < kSecureFrameMappingSize)
        return false;
    std::memset(mapping.data(), 0, kSecureFrameHeaderSize);
    SecureFrameHeader& header = HeaderOf(mapping);
    header.magic = kSecureFrameMagic;
    header.version = kSecureFrameVersion;
    header.headerSize = kSecureFrameHeaderSize;
    header.capacity = kSecureFrameCapacity;
    std::atomic_ref<uint32_t>(header.publishedIndex).store(kSecureFrameNoIndex);
    return true;
}

bool PublishSecureFrame(std::span<uint8_t> mapping, const uint8_t* pixels, int32_t width, int32_t height,
                        int32_t sourceStride, const SecureFrameStamp& stamp) {
    if (mapping.size() < kSecureFrameMappingSize || pixels == nullptr ||
        !SecureFrameFits(width, height, sourceStride))
        return false;
    SecureFrameHeader& header = HeaderOf(mapping);
    std::atomic_ref<uint32_t> published(header.publishedIndex);
    // Never the published buffer: a reader may be copying it.
    const uint32_t target = published.load() == 0 ? 1 : 0;

    const size_t rowBytes = static_cast<size_t>(width) * 4;
    uint8_t* buffer = mapping.data() + kSecureFrameBufferOffset[target];
    for (int32_t y = 0; y < height; ++y)
        std::memcpy(buffer + static_cast<size_t>(y) * rowBytes,
                    pixels + static_cast<size_t>(y) * static_cast<size_t>(sourceStride), rowBytes);

    SecureFrameDescriptor& descriptor = header.descriptors[target];
    descriptor.width = static_cast<uint32_t>(width);
    descriptor.height = static_cast<uint32_t>(height);
    descriptor.stride = static_cast<uint32_t>(rowBytes);
    descriptor.size = static_cast<uint32_t>(rowBytes * static_cast<size_t>(height));
    descriptor.pixelFormat = kSecureFramePixelFormatBgra;
    descriptor.processId = stamp.processId;
    descriptor.sessionId = stamp.sessionId;
    descriptor.reserved = 0;
    descriptor.publishTick = stamp.publishTick;
    std::atomic_ref<uint64_t>(descriptor.sequence).store(stamp.sequence);

    // Sequentially consistent: pixels and descriptor are visible before the index names them.
    published.exchange(target);
    return true;
}
