#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The MF44 tile container of the ULTRA video mode: one frame cut into a 2 x 2 grid of equal quadrants, each
// a JPEG image. A 36-byte little-endian header is followed directly by the four images in tile order:
//   0 "MF44" (u32 0x3434464D) | 4 u16 version 1 | 6 u16 header size 36 | 8 i32 width | 12 i32 height
//   16 u16 grid columns 2 | 18 u16 grid rows 2 | 20, 24, 28, 32 u32 size of tile 0..3 (1 to 0x4000000)
// The container is exactly 36 bytes plus the four tile sizes. Tile i covers grid column i & 1 and row
// i >> 1 (0 top left, 1 top right, 2 bottom left, 3 bottom right), each width/2 x height/2 pixels.

inline constexpr uint32_t kTileContainerMagic = 0x3434464D;
inline constexpr uint16_t kTileContainerVersion = 1;
inline constexpr size_t kTileContainerHeaderSize = 36;
inline constexpr uint16_t kTileGridColumns = 2;
inline constexpr uint16_t kTileGridRows = 2;
inline constexpr size_t kTileCount = 4;
inline constexpr uint32_t kMaxTileBytes = 0x4000000;
// JPEG quality of every tile (4:4:4 chroma).
inline constexpr int kTileJpegQuality = 90;

struct TileContainerHeader {
    uint32_t magic = kTileContainerMagic;
    uint16_t version = kTileContainerVersion;
    uint16_t headerSize = static_cast<uint16_t>(kTileContainerHeaderSize);
    int32_t width = 0;
    int32_t height = 0;
    uint16_t gridColumns = kTileGridColumns;
    uint16_t gridRows = kTileGridRows;
    std::array<uint32_t, kTileCount> tileBytes{};
};

// Writes the 36 header bytes to out.
void PackTileContainerHeader(const TileContainerHeader& header, uint8_t* out);
// Reads the 36 header bytes at data as they stand; the caller checks the values.
TileContainerHeader ParseTileContainerHeader(const uint8_t* data);

// A frame size the tile codec handles: both sides even, at least 2 and at most kMaxVideoDimension, so
// width * height * 4 fits a size_t on every build and no peer can ask for more than that.
bool IsTileFrameSize(int32_t width, int32_t height);

// Where tile `index` starts in a frame whose tiles are tileWidth x tileHeight.
struct TileOrigin {
    size_t x = 0;
    size_t y = 0;
};
TileOrigin TileOriginOf(size_t index, size_t tileWidth, size_t tileHeight);
