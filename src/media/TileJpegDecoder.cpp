#include "media/TileJpegDecoder.h"

#include <chrono>
#include <cstdio>
#include <exception>
#include <utility>

#include "core/Log.h"

namespace {

// A truncated or damaged tile fails either way; stopping at the first warning saves decoding the rest of
// a picture that is thrown away.
constexpr int kDecodeFlags = TJFLAG_FASTDCT | TJFLAG_STOPONWARNING;

std::string TurboJpegError(tjhandle handle, const char* fallback) {
    const char* text = tjGetErrorStr2(handle);
    return text != nullptr && text[0] != 0 ? text : fallback;
}

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

unsigned long AsLogSide(int32_t side) {
    return static_cast<unsigned long>(static_cast<uint32_t>(side));
}

} // namespace

std::unique_ptr<TileJpegDecoder> TileJpegDecoder::Create(WorkerThread::Launcher launcher) {
    return std::unique_ptr<TileJpegDecoder>(new TileJpegDecoder(std::move(launcher)));
}

TileJpegDecoder::TileJpegDecoder(WorkerThread::Launcher launcher) : m_pool(std::move(launcher)) {
    bool all = true;
    for (TurboJpegHandle& decompressor : m_decompressors) {
        decompressor.reset(tjInitDecompress());
        all = all && decompressor != nullptr;
    }
    m_ready = all && m_pool.Running();
}

TileJpegDecoder::~TileJpegDecoder() {
    Destroy();
}

void TileJpegDecoder::Destroy() {
    m_ready = false;
    m_pool.Stop();
    for (TurboJpegHandle& decompressor : m_decompressors)
        decompressor.reset();
}

std::string TileJpegDecoder::CheckTileHeader(size_t tile, const uint8_t* jpeg, size_t bytes, size_t tileWidth,
                                             size_t tileHeight, int& subsamp) {
    int width = 0;
    int height = 0;
    int colorspace = -1;
    subsamp = -1;
    tjhandle handle = m_decompressors[tile].get();
    if (tjDecompressHeader3(handle, jpeg, static_cast<unsigned long>(bytes), &width, &height, &subsamp,
                            &colorspace) != 0)
        return TurboJpegError(handle, "unreadable header");
    char reason[96];
    if (width < 1 || height < 1 || static_cast<size_t>(width) != tileWidth ||
        static_cast<size_t>(height) != tileHeight) {
        std::snprintf(reason, sizeof reason, "image %dx%d is not the tile size %zux%zu", width, height,
                      tileWidth, tileHeight);
        return reason;
    }
    if (subsamp != TJSAMP_444)
        return "subsampling is not 4:4:4";
    if (colorspace != TJCS_YCbCr && colorspace != TJCS_RGB) {
        std::snprintf(reason, sizeof reason, "colour space %d is not YCbCr or RGB", colorspace);
        return reason;
    }
    return {};
}

bool TileJpegDecoder::Decode(const uint8_t* data, size_t size, int32_t expectedWidth, int32_t expectedHeight,
                             std::vector<uint8_t>& frame, double* decodeMs) {
    if (!m_ready || data == nullptr || size < kTileContainerHeaderSize)
        return false;

    const TileContainerHeader header = ParseTileContainerHeader(data);
    if (header.magic != kTileContainerMagic || header.version != kTileContainerVersion ||
        header.headerSize != kTileContainerHeaderSize || header.gridColumns != kTileGridColumns ||
        header.gridRows != kTileGridRows || !IsTileFrameSize(header.width, header.height) ||
        (expectedWidth >= 1 && header.width != expectedWidth) ||
        (expectedHeight >= 1 && header.height != expectedHeight)) {
        Log::Write(
            "[QUALITY][DECODE] invalid header magic=0x%08lX version=%u header=%u grid=%ux%u size=%lux%lu "
            "expected=%dx%d",
            static_cast<unsigned long>(header.magic), header.version, header.headerSize, header.gridColumns,
            header.gridRows, AsLogSide(header.width), AsLogSide(header.height), expectedWidth,
            expectedHeight);
        return false;
    }

    std::array<size_t, kTileCount> offsets{};
    size_t offset = kTileContainerHeaderSize;
    for (size_t i = 0; i < kTileCount; ++i) {
        const size_t bytes = header.tileBytes[i];
        if (bytes < 1 || bytes > kMaxTileBytes || bytes > size - offset) {
            Log::Write("[QUALITY][DECODE] invalid tile=%zu bytes=%zu offset=%zu payload=%zu", i, bytes,
                       offset, size);
            return false;
        }
        offsets[i] = offset;
        offset += bytes;
    }
    if (offset != size) {
        Log::Write("[QUALITY][DECODE] payload size mismatch parsed=%zu received=%zu", offset, size);
        return false;
    }

    const auto start = std::chrono::steady_clock::now();
    const size_t width = static_cast<size_t>(header.width);
    const size_t tileWidth = width / 2;
    const size_t tileHeight = static_cast<size_t>(header.height) / 2;
    const size_t pitch = width * 4;
    auto fail = [&](size_t tile, int subsamp, const std::string& error) {
        Log::Write("[QUALITY][DECODE] tile=%zu failed subsamp=%d error=%s", tile, subsamp, error.c_str());
        frame.clear();
        if (decodeMs != nullptr)
            *decodeMs = MillisecondsSince(start);
        return false;
    };

    // Every header is read before the frame is sized: a container whose tiles do not describe its own
    // quadrants never costs the allocation its declared size asks for.
    std::array<int, kTileCount> subsamps{};
    for (size_t i = 0; i < kTileCount; ++i) {
        std::string error =
            CheckTileHeader(i, data + offsets[i], header.tileBytes[i], tileWidth, tileHeight, subsamps[i]);
        if (!error.empty())
            return fail(i, subsamps[i], error);
    }

    try {
        frame.resize(pitch * static_cast<size_t>(header.height));
    } catch (const std::exception& e) {
        return fail(0, subsamps[0], e.what());
    }
    const bool ran = m_pool.RunAndWait([&](uint64_t tile) {
        const TileOrigin origin = TileOriginOf(tile, tileWidth, tileHeight);
        tjhandle handle = m_decompressors[tile].get();
        m_tileErrors[tile].clear();
        if (tjDecompress2(handle, data + offsets[tile], header.tileBytes[tile],
                          frame.data() + origin.y * pitch + origin.x * 4, static_cast<int>(tileWidth),
                          static_cast<int>(pitch), static_cast<int>(tileHeight), TJPF_BGRA,
                          kDecodeFlags) != 0)
            m_tileErrors[tile] = TurboJpegError(handle, "decompression failed");
    });
    if (!ran)
        return fail(0, subsamps[0], "worker pool not running");
    for (size_t i = 0; i < kTileCount; ++i) {
        if (!m_tileErrors[i].empty())
            return fail(i, subsamps[i], m_tileErrors[i]);
    }
    if (decodeMs != nullptr)
        *decodeMs = MillisecondsSince(start);
    return true;
}
