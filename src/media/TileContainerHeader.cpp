#include "media/TileContainerHeader.h"

#include "core/LittleEndian.h"
#include "media/VideoLimits.h"

void PackTileContainerHeader(const TileContainerHeader& header, uint8_t* out) {
    PutLe32(out, header.magic);
    PutLe16(out + 4, header.version);
    PutLe16(out + 6, header.headerSize);
    PutLe32(out + 8, static_cast<uint32_t>(header.width));
    PutLe32(out + 12, static_cast<uint32_t>(header.height));
    PutLe16(out + 16, header.gridColumns);
    PutLe16(out + 18, header.gridRows);
    for (size_t i = 0; i < kTileCount; ++i)
        PutLe32(out + 20 + 4 * i, header.tileBytes[i]);
}

TileContainerHeader ParseTileContainerHeader(const uint8_t* data) {
    TileContainerHeader header;
    header.magic = GetLe32(data);
    header.version = GetLe16(data + 4);
    header.headerSize = GetLe16(data + 6);
    header.width = static_cast<int32_t>(GetLe32(data + 8));
    header.height = static_cast<int32_t>(GetLe32(data + 12));
    header.gridColumns = GetLe16(data + 16);
    header.gridRows = GetLe16(data + 18);
    for (size_t i = 0; i < kTileCount; ++i)
        header.tileBytes[i] = GetLe32(data + 20 + 4 * i);
    return header;
}

bool IsTileFrameSize(int32_t width, int32_t height) {
    auto sideOk = [](int32_t side) { return side >= 2 && side <= kMaxVideoDimension && side % 2 == 0; };
    return sideOk(width) && sideOk(height);
}

TileOrigin TileOriginOf(size_t index, size_t tileWidth, size_t tileHeight) {
    return TileOrigin{(index & 1) * tileWidth, (index >> 1) * tileHeight};
}
