#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <turbojpeg.h>

#include "core/Log.h"
#include "media/TileContainerHeader.h"
#include "media/TileJpegDecoder.h"
#include "media/TileJpegEncoder.h"
#include "media/VideoLimits.h"
#include "support/ScreenPicture.h"
#include "support/TestLog.h"

namespace {

// Peak signal-to-noise ratio over the blue, green and red bytes of two BGRA pictures.
double Psnr(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    double squares = 0;
    size_t samples = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        if (i % 4 == 3)
            continue;
        const double d = static_cast<double>(a[i]) - b[i];
        squares += d * d;
        ++samples;
    }
    return squares == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 * samples / squares);
}

// Every quadrant of a width x height picture painted in its own colour; colours[i] is tile i's (B, G, R).
constexpr uint8_t kQuadrantColours[4][3] = {{200, 30, 30}, {30, 200, 30}, {30, 30, 200}, {200, 200, 30}};

std::vector<uint8_t> QuadrantPicture(int32_t width, int32_t height) {
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            const int quadrant = (x >= width / 2 ? 1 : 0) + (y >= height / 2 ? 2 : 0);
            uint8_t* p = pixels.data() + (static_cast<size_t>(y) * width + x) * 4;
            std::memcpy(p, kQuadrantColours[quadrant], 3);
            p[3] = 255;
        }
    return pixels;
}

// One JPEG compressed by TurboJPEG directly, for containers the encoder would never write.
std::vector<uint8_t> Jpeg(const std::vector<uint8_t>& bgra, int32_t width, int32_t height, int subsamp) {
    tjhandle handle = tjInitCompress();
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    EXPECT_EQ(tjCompress2(handle, bgra.data(), width, width * 4, height, TJPF_BGRA, &buffer, &size, subsamp,
                          90, TJFLAG_FASTDCT),
              0);
    std::vector<uint8_t> jpeg(buffer, buffer + size);
    tjFree(buffer);
    tjDestroy(handle);
    return jpeg;
}

std::vector<uint8_t> Container(int32_t width, int32_t height,
                               const std::array<std::vector<uint8_t>, 4>& tiles) {
    TileContainerHeader header;
    header.width = width;
    header.height = height;
    std::vector<uint8_t> out(kTileContainerHeaderSize);
    for (size_t i = 0; i < 4; ++i) {
        header.tileBytes[i] = static_cast<uint32_t>(tiles[i].size());
        out.insert(out.end(), tiles[i].begin(), tiles[i].end());
    }
    PackTileContainerHeader(header, out.data());
    return out;
}

// Where tile i's JPEG starts in a container.
size_t TileOffset(const std::vector<uint8_t>& container, size_t tile) {
    const TileContainerHeader header = ParseTileContainerHeader(container.data());
    size_t offset = kTileContainerHeaderSize;
    for (size_t i = 0; i < tile; ++i)
        offset += header.tileBytes[i];
    return offset;
}

// Rewrites the image size in the baseline frame header (SOF0) of the JPEG at jpeg.
void SetJpegSize(uint8_t* jpeg, size_t size, uint16_t width, uint16_t height) {
    for (size_t i = 0; i + 8 < size; ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + 5] = static_cast<uint8_t>(height >> 8);
            jpeg[i + 6] = static_cast<uint8_t>(height);
            jpeg[i + 7] = static_cast<uint8_t>(width >> 8);
            jpeg[i + 8] = static_cast<uint8_t>(width);
            return;
        }
    }
    ADD_FAILURE() << "no SOF0 marker";
}

class TileJpegCodecTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_encoder->IsReady());
        ASSERT_TRUE(m_decoder->IsReady());
        Log::Open();
        TestLog().Clear();
    }

    std::vector<uint8_t> Encode(const std::vector<uint8_t>& bgra, int32_t width, int32_t height) {
        std::vector<uint8_t> out;
        EXPECT_TRUE(m_encoder->Encode(bgra.data(), width, height, out));
        return out;
    }

    std::unique_ptr<TileJpegEncoder> m_encoder = TileJpegEncoder::Create();
    std::unique_ptr<TileJpegDecoder> m_decoder = TileJpegDecoder::Create();
};

TEST_F(TileJpegCodecTest, ScreenPictureRoundTripsWithinThePsnrBound) {
    const std::vector<uint8_t> picture = MakeScreenPicture(1920, 1080);
    const std::vector<uint8_t> container = Encode(picture, 1920, 1080);
    ASSERT_GT(container.size(), kTileContainerHeaderSize);
    // Quality 90 on screen content: far smaller than the raw frame.
    EXPECT_LT(container.size(), picture.size() / 4);

    std::vector<uint8_t> frame;
    double ms = -1;
    ASSERT_TRUE(m_decoder->Decode(container.data(), container.size(), 1920, 1080, frame, &ms));
    ASSERT_EQ(frame.size(), picture.size());
    EXPECT_GE(ms, 0.0);
    EXPECT_GT(Psnr(picture, frame), 36.0);
    for (size_t i = 3; i < frame.size(); i += 4)
        ASSERT_EQ(frame[i], 255) << "alpha at byte " << i;
}

TEST_F(TileJpegCodecTest, TileOneHoldsTheTopRightQuadrant) {
    const std::vector<uint8_t> picture = QuadrantPicture(64, 48);
    const std::vector<uint8_t> container = Encode(picture, 64, 48);
    const TileContainerHeader header = ParseTileContainerHeader(container.data());
    EXPECT_EQ(header.width, 64);
    EXPECT_EQ(header.height, 48);

    // Each tile decoded on its own, without the tile decoder, is its quadrant's colour.
    tjhandle handle = tjInitDecompress();
    for (size_t tile = 0; tile < 4; ++tile) {
        std::vector<uint8_t> pixels(32 * 24 * 4);
        ASSERT_EQ(tjDecompress2(handle, container.data() + TileOffset(container, tile),
                                header.tileBytes[tile], pixels.data(), 32, 32 * 4, 24, TJPF_BGRA, 0),
                  0);
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(pixels[(12 * 32 + 16) * 4 + c], kQuadrantColours[tile][c], 3) << "tile " << tile;
    }
    tjDestroy(handle);

    // And the decoder puts every tile back where it came from.
    std::vector<uint8_t> frame;
    ASSERT_TRUE(m_decoder->Decode(container.data(), container.size(), 0, 0, frame));
    EXPECT_GT(Psnr(picture, frame), 40.0);
}

struct EncodeRefusal {
    const char* name;
    bool nullPixels;
    int32_t width, height;
};

class TileEncodeRefusalTest : public TileJpegCodecTest,
                              public ::testing::WithParamInterface<EncodeRefusal> {};

TEST_P(TileEncodeRefusalTest, RefusedWithNoContainer) {
    const EncodeRefusal& c = GetParam();
    const std::vector<uint8_t> pixels(64 * 64 * 4, 128); // never read: every size here is refused first
    std::vector<uint8_t> out = {7, 7, 7};
    EXPECT_FALSE(m_encoder->Encode(c.nullPixels ? nullptr : pixels.data(), c.width, c.height, out));
    EXPECT_EQ(out, (std::vector<uint8_t>{7, 7, 7}));
    char expected[64];
    std::snprintf(expected, sizeof expected, "size=%dx%d quality=90", c.width, c.height);
    EXPECT_EQ(CountLogMessages("[QUALITY][ENCODE] invalid input ready=1 bgra="), 1u);
    EXPECT_EQ(CountLogMessages(expected), 1u);
}

INSTANTIATE_TEST_SUITE_P(Sizes, TileEncodeRefusalTest,
                         ::testing::Values(EncodeRefusal{"OddWidth1919", false, 1919, 1080},
                                           EncodeRefusal{"OddHeight", false, 64, 63},
                                           EncodeRefusal{"OnePixel", false, 1, 1},
                                           EncodeRefusal{"Zero", false, 0, 0},
                                           EncodeRefusal{"Negative", false, -64, 64},
                                           EncodeRefusal{"NullPixels", true, 64, 64},
                                           EncodeRefusal{"AboveLimit", false, kMaxVideoDimension + 2, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TileJpegCodecTest, DestroyedEncoderAndDecoderRefuse) {
    const std::vector<uint8_t> picture = QuadrantPicture(16, 16);
    const std::vector<uint8_t> container = Encode(picture, 16, 16);
    m_encoder->Destroy();
    m_decoder->Destroy();
    EXPECT_FALSE(m_encoder->IsReady());
    EXPECT_FALSE(m_decoder->IsReady());
    std::vector<uint8_t> out;
    EXPECT_FALSE(m_encoder->Encode(picture.data(), 16, 16, out));
    EXPECT_EQ(CountLogMessages("[QUALITY][ENCODE] invalid input ready=0"), 1u);
    EXPECT_FALSE(m_decoder->Decode(container.data(), container.size(), 0, 0, out));
    EXPECT_TRUE(out.empty());
}

// A container of a 64 x 48 quadrant picture, changed by `mutate` before Decode sees it.
struct DecodeCase {
    const char* name;
    std::function<void(std::vector<uint8_t>&)> mutate;
    int32_t expectedWidth, expectedHeight;
    bool ok;
    const char* log;   // a message that must be logged once; nullptr: nothing may be logged
    bool frameEmptied; // on failure: the frame was emptied (a tile failed) rather than left as it was
};

void PutHeader(std::vector<uint8_t>& c, const std::function<void(TileContainerHeader&)>& change) {
    TileContainerHeader header = ParseTileContainerHeader(c.data());
    change(header);
    PackTileContainerHeader(header, c.data());
}

std::array<std::vector<uint8_t>, 4> QuadrantTiles(int subsampOfTile2) {
    std::array<std::vector<uint8_t>, 4> tiles;
    for (size_t i = 0; i < 4; ++i) {
        std::vector<uint8_t> quadrant(32 * 24 * 4);
        for (size_t p = 0; p < quadrant.size(); p += 4) {
            std::memcpy(&quadrant[p], kQuadrantColours[i], 3);
            quadrant[p + 3] = 255;
        }
        tiles[i] = Jpeg(quadrant, 32, 24, i == 2 ? subsampOfTile2 : TJSAMP_444);
    }
    return tiles;
}

const DecodeCase kDecodeCases[] = {
    {"Valid", [](auto&) {}, 64, 48, true, nullptr, false},
    {"ExpectedZeroAcceptsAnyEvenSize", [](auto&) {}, 0, 0, true, nullptr, false},
    {"ExpectedWidthDiffers", [](auto&) {}, 66, 48, false,
     "[QUALITY][DECODE] invalid header magic=0x3434464D version=1 header=36 grid=2x2 size=64x48 "
     "expected=66x48",
     false},
    {"ExpectedHeightDiffers", [](auto&) {}, 0, 50, false, "size=64x48 expected=0x50", false},
    {"SizesOneByteShortOfReceived", [](auto& c) { c.push_back(0); }, 0, 0, false,
     "[QUALITY][DECODE] payload size mismatch parsed=", false},
    {"LastTileBeyondTheData", [](auto& c) { c.pop_back(); }, 0, 0, false,
     "[QUALITY][DECODE] invalid tile=3 bytes=", false},
    {"ShorterThanAHeader", [](auto& c) { c.resize(35); }, 0, 0, false, nullptr, false},
    {"BadMagic", [](auto& c) { c[0] = 'X'; }, 0, 0, false, "invalid header magic=0x34344658", false},
    {"Version2", [](auto& c) { PutHeader(c, [](auto& h) { h.version = 2; }); }, 0, 0, false, "version=2",
     false},
    {"HeaderSize40", [](auto& c) { PutHeader(c, [](auto& h) { h.headerSize = 40; }); }, 0, 0, false,
     "header=40", false},
    {"Grid3x2", [](auto& c) { PutHeader(c, [](auto& h) { h.gridColumns = 3; }); }, 0, 0, false, "grid=3x2",
     false},
    {"OddWidth", [](auto& c) { PutHeader(c, [](auto& h) { h.width = 63; }); }, 0, 0, false, "size=63x48",
     false},
    {"ZeroHeight", [](auto& c) { PutHeader(c, [](auto& h) { h.height = 0; }); }, 0, 0, false, "size=64x0",
     false},
    {"NegativeWidth", [](auto& c) { PutHeader(c, [](auto& h) { h.width = -64; }); }, 0, 0, false,
     "size=4294967232x48", false},
    {"HugeSize", [](auto& c) { PutHeader(c, [](auto& h) { h.width = h.height = 0x7FFFFFFE; }); }, 0, 0, false,
     "size=2147483646x2147483646", false},
    {"JustAboveTheSideLimit",
     [](auto& c) { PutHeader(c, [](auto& h) { h.width = kMaxVideoDimension + 2; }); }, 0, 0, false,
     "size=16386x48", false},
    {"EmptyTile", [](auto& c) { PutHeader(c, [](auto& h) { h.tileBytes[1] = 0; }); }, 0, 0, false,
     "[QUALITY][DECODE] invalid tile=1 bytes=0 offset=", false},
    {"TileAboveTheTileLimit",
     [](auto& c) { PutHeader(c, [](auto& h) { h.tileBytes[0] = kMaxTileBytes + 1; }); }, 0, 0, false,
     "[QUALITY][DECODE] invalid tile=0 bytes=67108865 offset=36 payload=", false},
    {"TileSizeWrapsTheSum", [](auto& c) { PutHeader(c, [](auto& h) { h.tileBytes[3] = 0xFFFFFFFFu; }); }, 0,
     0, false, "[QUALITY][DECODE] invalid tile=3 bytes=4294967295", false},
    {"FourTwoZeroTile", [](auto& c) { c = Container(64, 48, QuadrantTiles(TJSAMP_420)); }, 0, 0, false,
     "[QUALITY][DECODE] tile=2 failed subsamp=2 error=subsampling is not 4:4:4", true},
    {"TileImageLargerThanItsQuadrant",
     [](auto& c) { SetJpegSize(c.data() + TileOffset(c, 1), c.size() - TileOffset(c, 1), 8192, 8192); }, 0, 0,
     false, "[QUALITY][DECODE] tile=1 failed subsamp=0 error=image 8192x8192 is not the tile size 32x24",
     true},
    {"TileNotAJpeg", [](auto& c) { std::memset(c.data() + TileOffset(c, 3), 0x55, 16); }, 0, 0, false,
     "[QUALITY][DECODE] tile=3 failed subsamp=-1 error=", true},
    {"TileScanTruncated",
     [](auto& c) {
         // Tile 3 loses the end of its image data and its end marker; the sizes still add up.
         const size_t offset = TileOffset(c, 3);
         const size_t keep = c.size() - offset - 6;
         c.resize(offset + keep);
         PutHeader(c, [&](auto& h) { h.tileBytes[3] = static_cast<uint32_t>(keep); });
     },
     0, 0, false, "[QUALITY][DECODE] tile=3 failed subsamp=0 error=", true},
};

class TileDecodeCaseTest : public TileJpegCodecTest, public ::testing::WithParamInterface<DecodeCase> {};

TEST_P(TileDecodeCaseTest, Table) {
    const DecodeCase& c = GetParam();
    std::vector<uint8_t> container = Container(64, 48, QuadrantTiles(TJSAMP_444));
    c.mutate(container);
    TestLog().Clear();
    const std::vector<uint8_t> before = {1, 2, 3};
    std::vector<uint8_t> frame = before;
    EXPECT_EQ(m_decoder->Decode(container.data(), container.size(), c.expectedWidth, c.expectedHeight, frame),
              c.ok);
    if (c.log != nullptr) {
        EXPECT_EQ(CountLogMessages(c.log), 1u) << c.log;
    } else {
        EXPECT_EQ(CountLogMessages("[QUALITY]"), 0u);
    }
    if (c.ok) {
        ASSERT_EQ(frame.size(), 64u * 48 * 4);
        EXPECT_GT(Psnr(QuadrantPicture(64, 48), frame), 40.0);
    } else if (c.frameEmptied) {
        EXPECT_TRUE(frame.empty());
    } else {
        EXPECT_EQ(frame, before);
    }
}

INSTANTIATE_TEST_SUITE_P(Containers, TileDecodeCaseTest, ::testing::ValuesIn(kDecodeCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A peer that declares the largest frame but sends tiles of another size costs no frame allocation: the
// tile headers are checked before the frame is sized.
TEST_F(TileJpegCodecTest, HostileDeclaredSizeIsRefusedBeforeTheFrameIsAllocated) {
    for (int32_t side : {kMaxVideoDimension, 8192}) {
        std::vector<uint8_t> container = Container(side, side, QuadrantTiles(TJSAMP_444));
        std::vector<uint8_t> frame;
        TestLog().Clear();
        EXPECT_FALSE(m_decoder->Decode(container.data(), container.size(), 0, 0, frame));
        EXPECT_EQ(frame.capacity(), 0u) << side;
        char expected[96];
        std::snprintf(expected, sizeof expected, "error=image 32x24 is not the tile size %dx%d", side / 2,
                      side / 2);
        EXPECT_EQ(CountLogMessages("[QUALITY][DECODE] tile=0 failed subsamp=0 " + std::string(expected)), 1u);
    }
}

TEST_F(TileJpegCodecTest, NullDataIsRefusedQuietly) {
    std::vector<uint8_t> frame;
    EXPECT_FALSE(m_decoder->Decode(nullptr, 100, 0, 0, frame));
    EXPECT_EQ(CountLogMessages("[QUALITY]"), 0u);
}

} // namespace
