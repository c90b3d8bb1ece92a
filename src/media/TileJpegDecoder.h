#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/TileContainerHeader.h"
#include "media/TileWorkerPool.h"
#include "media/TurboJpegHandle.h"

// The controller's ULTRA decoder: checks an MF44 tile container from the peer and decompresses its four
// JPEG quadrants in parallel straight into one BGRA frame. Decode is called from one thread at a time.
//
// Everything in the container is peer input. Before the frame is allocated, the declared size must be a
// tile frame size (even, 2 to kMaxVideoDimension per side), every tile must lie inside the data, and every
// tile's own JPEG header must describe exactly its quadrant in 4:4:4, so the allocation is bounded and no
// tile can write outside its quadrant.
class TileJpegDecoder {
public:
    // The ready flag of the result tells whether it can decode. launcher starts the pool's workers (empty:
    // plain threads).
    static std::unique_ptr<TileJpegDecoder> Create(WorkerThread::Launcher launcher = {});
    ~TileJpegDecoder();
    TileJpegDecoder(const TileJpegDecoder&) = delete;
    TileJpegDecoder& operator=(const TileJpegDecoder&) = delete;

    bool IsReady() const { return m_ready; }

    // Decodes the container of `size` bytes at data into frame (width * height * 4 bytes, packed rows).
    // An expected width or height of 1 or more must equal the container's; 0 accepts any valid size. On
    // false the frame is left as it was when the container itself is refused, and emptied when a tile
    // fails. decodeMs (optional) receives the time spent on the tiles, once the container was accepted.
    bool Decode(const uint8_t* data, size_t size, int32_t expectedWidth, int32_t expectedHeight,
                std::vector<uint8_t>& frame, double* decodeMs = nullptr);

    // Stops the pool and releases the decompressors; the decoder is no longer ready. The destructor calls it.
    void Destroy();

private:
    explicit TileJpegDecoder(WorkerThread::Launcher launcher);
    // Reads tile's JPEG header and checks it describes a tileWidth x tileHeight 4:4:4 image. Empty when it
    // does, else the reason; subsamp receives the subsampling read (-1 when none).
    std::string CheckTileHeader(size_t tile, const uint8_t* jpeg, size_t bytes, size_t tileWidth,
                                size_t tileHeight, int& subsamp);

    TileWorkerPool m_pool;
    std::array<TurboJpegHandle, kTileCount> m_decompressors;
    std::array<std::string, kTileCount> m_tileErrors; // each job writes only its own
    bool m_ready = false;
};
