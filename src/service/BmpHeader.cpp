#include "service/BmpHeader.h"

#include "core/LittleEndian.h"

std::optional<BmpHeaderBytes> BuildBmpHeader(int32_t width, int32_t height, int32_t stride) {
    if (width < 1 || height < 1)
        return std::nullopt;
    // 64-bit arithmetic: width * height * 4 overflows 32 bits long before the checks below refuse it.
    const uint64_t rowBytes = uint64_t(width) * 4;
    const uint64_t imageBytes = rowBytes * uint64_t(height);
    const uint64_t fileBytes = kBmpHeaderSize + imageBytes;
    if (stride < 0 || uint64_t(stride) < rowBytes || fileBytes > UINT32_MAX)
        return std::nullopt;

    BmpHeaderBytes header{};
    uint8_t* p = header.data();
    p[0] = 'B';
    p[1] = 'M';
    PutLe32(p + 2, static_cast<uint32_t>(fileBytes));
    PutLe32(p + 10, kBmpHeaderSize); // pixel data offset; the two reserved words before it stay 0
    PutLe32(p + 14, 40);             // BITMAPINFOHEADER
    PutLe32(p + 18, static_cast<uint32_t>(width));
    PutLe32(p + 22, static_cast<uint32_t>(-height));
    PutLe16(p + 26, 1);  // planes
    PutLe16(p + 28, 32); // bits per pixel
    PutLe32(p + 30, 0);  // BI_RGB
    PutLe32(p + 34, static_cast<uint32_t>(imageBytes));
    return header; // resolution and palette counts stay 0
}
