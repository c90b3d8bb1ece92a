#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/TileContainerHeader.h"
#include "media/TileWorkerPool.h"
#include "media/TurboJpegHandle.h"

// The controlled PC's ULTRA encoder: cuts a BGRA frame into the 2 x 2 grid and compresses the quadrants
// in parallel (4:4:4, quality 90) into one MF44 tile container. One object per pipeline build; Encode is
// called from one thread at a time.
class TileJpegEncoder {
public:
    // The ready flag of the result tells whether it can encode. launcher starts the pool's workers (empty:
    // plain threads).
    static std::unique_ptr<TileJpegEncoder> Create(WorkerThread::Launcher launcher = {});
    ~TileJpegEncoder();
    TileJpegEncoder(const TileJpegEncoder&) = delete;
    TileJpegEncoder& operator=(const TileJpegEncoder&) = delete;

    bool IsReady() const { return m_ready; }

    // bgra holds width * height pixels in packed rows. Fills out with the whole container and returns true,
    // or returns false (logged) and leaves out as it was: a size that is odd, below 2 or above
    // kMaxVideoDimension, or a tile that fails, gives no container at all.
    bool Encode(const uint8_t* bgra, int32_t width, int32_t height, std::vector<uint8_t>& out);

    // Stops the pool and releases the compressors; the encoder is no longer ready. The destructor calls it.
    void Destroy();

private:
    explicit TileJpegEncoder(WorkerThread::Launcher launcher);
    // The job for one tile, on its worker: compresses the quadrant into m_tiles[tile] or sets its error.
    void CompressTile(size_t tile, const uint8_t* bgra, size_t tileWidth, size_t tileHeight, size_t pitch);

    TileWorkerPool m_pool;
    std::array<TurboJpegHandle, kTileCount> m_compressors;
    std::array<std::vector<uint8_t>, kTileCount> m_tiles; // each job writes only its own
    std::array<std::string, kTileCount> m_tileErrors;     // empty: the tile succeeded
    bool m_ready = false;
};
