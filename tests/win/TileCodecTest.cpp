#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cmath>
#include <vector>

#include "media/TileJpegDecoder.h"
#include "media/TileJpegEncoder.h"
#include "media/TileWorkerPool.h"
#include "media/win/TileWorkerPriority.h"

namespace {

TEST(TileCodecWinTest, WorkersRunAboveNormalPriority) {
    TileWorkerPool pool(TileWorkerPriorityLauncher());
    ASSERT_TRUE(pool.Running());
    std::array<std::atomic<int>, 4> priorities{};
    ASSERT_TRUE(
        pool.RunAndWait([&](uint64_t tile) { priorities[tile] = GetThreadPriority(GetCurrentThread()); }));
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(priorities[i].load(), THREAD_PRIORITY_ABOVE_NORMAL) << "tile " << i;
}

// The statically linked TurboJPEG of the Windows build: a gradient survives the round trip.
TEST(TileCodecWinTest, RoundTripWithTheWindowsBuildOfTurboJpeg) {
    const int32_t width = 320, height = 240;
    std::vector<uint8_t> picture(static_cast<size_t>(width) * height * 4);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            uint8_t* p = picture.data() + (static_cast<size_t>(y) * width + x) * 4;
            p[0] = static_cast<uint8_t>(x * 255 / width);
            p[1] = static_cast<uint8_t>(y * 255 / height);
            p[2] = static_cast<uint8_t>((x + y) % 256);
            p[3] = 255;
        }
    auto encoder = TileJpegEncoder::Create(TileWorkerPriorityLauncher());
    auto decoder = TileJpegDecoder::Create(TileWorkerPriorityLauncher());
    ASSERT_TRUE(encoder->IsReady());
    ASSERT_TRUE(decoder->IsReady());
    std::vector<uint8_t> container;
    ASSERT_TRUE(encoder->Encode(picture.data(), width, height, container));
    std::vector<uint8_t> frame;
    ASSERT_TRUE(decoder->Decode(container.data(), container.size(), width, height, frame));
    ASSERT_EQ(frame.size(), picture.size());
    double squares = 0;
    for (size_t i = 0; i < frame.size(); ++i)
        if (i % 4 != 3)
            squares += std::pow(static_cast<double>(frame[i]) - picture[i], 2);
    const double psnr = 10.0 * std::log10(255.0 * 255.0 * (frame.size() * 3 / 4) / squares);
    EXPECT_GT(psnr, 38.0);
}

} // namespace
