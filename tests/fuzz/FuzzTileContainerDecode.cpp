// The tile decoder over arbitrary containers: it either refuses, leaving the frame alone or empty, or
// accepts and hands out exactly the declared frame; a declared size outside the tile rules is never
// accepted, whatever the tiles hold.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "media/TileContainerHeader.h"
#include "media/TileJpegDecoder.h"

#include "FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::unique_ptr<TileJpegDecoder> decoder = TileJpegDecoder::Create();
    FuzzCheck(decoder->IsReady(), "decoder not ready");

    const std::vector<uint8_t> untouched = {1, 2, 3};
    std::vector<uint8_t> frame = untouched;
    const bool ok = decoder->Decode(data, size, 0, 0, frame);
    if (!ok) {
        FuzzCheck(frame.empty() || frame == untouched, "a refused container left a partial frame");
        return 0;
    }
    FuzzCheck(size >= kTileContainerHeaderSize, "accepted a container shorter than its header");
    const TileContainerHeader header = ParseTileContainerHeader(data);
    FuzzCheck(IsTileFrameSize(header.width, header.height), "accepted a size outside the tile rules");
    FuzzCheck(frame.size() == static_cast<size_t>(header.width) * static_cast<size_t>(header.height) * 4,
              "frame size differs from the declared size");
    size_t total = kTileContainerHeaderSize;
    for (uint32_t bytes : header.tileBytes)
        total += bytes;
    FuzzCheck(total == size, "accepted a container whose tile sizes do not add up");
    return 0;
}
