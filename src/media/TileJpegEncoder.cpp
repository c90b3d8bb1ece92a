#include "media/TileJpegEncoder.h"

#include <cstring>
#include <exception>
#include <utility>

#include "core/Log.h"

namespace {

constexpr int kEncodeFlags = TJFLAG_NOREALLOC | TJFLAG_FASTDCT;

} // namespace

std::unique_ptr<TileJpegEncoder> TileJpegEncoder::Create(WorkerThread::Launcher launcher) {
    return std::unique_ptr<TileJpegEncoder>(new TileJpegEncoder(std::move(launcher)));
}

TileJpegEncoder::TileJpegEncoder(WorkerThread::Launcher launcher) : m_pool(std::move(launcher)) {
    bool all = true;
    for (TurboJpegHandle& compressor : m_compressors) {
        compressor.reset(tjInitCompress());
        all = all && compressor != nullptr;
    }
    m_ready = all && m_pool.Running();
}

TileJpegEncoder::~TileJpegEncoder() {
    Destroy();
}

void TileJpegEncoder::Destroy() {
    m_ready = false;
    m_pool.Stop();
    for (TurboJpegHandle& compressor : m_compressors)
        compressor.reset();
}

bool TileJpegEncoder::Encode(const uint8_t* bgra, int32_t width, int32_t height, std::vector<uint8_t>& out) {
    if (!m_ready || bgra == nullptr || !IsTileFrameSize(width, height)) {
        Log::Write("[QUALITY][ENCODE] invalid input ready=%d bgra=%p size=%dx%d quality=%d", m_ready ? 1 : 0,
                   static_cast<const void*>(bgra), width, height, kTileJpegQuality);
        return false;
    }
    const size_t tileWidth = static_cast<size_t>(width) / 2;
    const size_t tileHeight = static_cast<size_t>(height) / 2;
    const size_t pitch = static_cast<size_t>(width) * 4;

    const bool ran = m_pool.RunAndWait([&](uint64_t tile) {
        std::string& error = m_tileErrors[tile];
        error.clear();
        try {
            CompressTile(static_cast<size_t>(tile), bgra, tileWidth, tileHeight, pitch);
        } catch (const std::exception& e) {
            error = e.what();
        }
    });
    if (!ran) {
        Log::Write("[QUALITY][ENCODE] worker pool not running");
        return false;
    }
    for (size_t i = 0; i < kTileCount; ++i) {
        if (!m_tileErrors[i].empty()) {
            Log::Write("[QUALITY][ENCODE] tile=%zu failed error=%s", i, m_tileErrors[i].c_str());
            return false;
        }
    }

    TileContainerHeader header;
    header.width = width;
    header.height = height;
    size_t total = kTileContainerHeaderSize;
    for (size_t i = 0; i < kTileCount; ++i) {
        header.tileBytes[i] = static_cast<uint32_t>(m_tiles[i].size());
        total += m_tiles[i].size();
    }
    out.resize(total);
    PackTileContainerHeader(header, out.data());
    size_t offset = kTileContainerHeaderSize;
    for (const std::vector<uint8_t>& jpeg : m_tiles) {
        std::memcpy(out.data() + offset, jpeg.data(), jpeg.size());
        offset += jpeg.size();
    }
    return true;
}

void TileJpegEncoder::CompressTile(size_t tile, const uint8_t* bgra, size_t tileWidth, size_t tileHeight,
                                   size_t pitch) {
    std::vector<uint8_t>& jpeg = m_tiles[tile];
    std::string& error = m_tileErrors[tile];
    const unsigned long capacity =
        tjBufSize(static_cast<int>(tileWidth), static_cast<int>(tileHeight), TJSAMP_444);
    if (capacity == static_cast<unsigned long>(-1) || capacity > kMaxTileBytes) {
        error = "invalid output capacity";
        return;
    }
    jpeg.resize(capacity);
    const TileOrigin origin = TileOriginOf(tile, tileWidth, tileHeight);
    unsigned char* buffer = jpeg.data();
    unsigned long size = capacity;
    const int result =
        tjCompress2(m_compressors[tile].get(), bgra + origin.y * pitch + origin.x * 4,
                    static_cast<int>(tileWidth), static_cast<int>(pitch), static_cast<int>(tileHeight),
                    TJPF_BGRA, &buffer, &size, TJSAMP_444, kTileJpegQuality, kEncodeFlags);
    if (result != 0 || buffer != jpeg.data() || size < 1 || size > capacity) {
        const char* text = tjGetErrorStr2(m_compressors[tile].get());
        error = text != nullptr && text[0] != 0 ? text : "compression failed";
        return;
    }
    jpeg.resize(size);
}
