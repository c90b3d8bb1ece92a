// One writer thread publishing as fast as it can while a reader copies: every copy the reader accepts is
// one whole frame, never a mix of two.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <span>
#include <thread>
#include <vector>

#include "service/SecureFrameRead.h"
#include "service/SecureFrameWrite.h"
#include "service/WardletShared.h"

namespace {

#if defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define TSLY_UNDER_TSAN 1
#endif
#endif

TEST(SecureFrameConcurrency, AcceptedCopiesAreNeverTorn) {
#ifdef TSLY_UNDER_TSAN
    GTEST_SKIP() << "the reader copies while the writer writes by design (the copy is checked afterwards), "
                    "which the thread sanitizer reports as a race";
#endif
    std::vector<uint8_t> mapping(kSecureFrameMappingSize);
    ASSERT_TRUE(InitSecureFrameHeader(mapping));
    constexpr uint64_t kTick = 10000;
    constexpr uint64_t kFrames = 6000;
    constexpr int kReads = 20000;
    // Two sizes, so that a torn copy could also mix a descriptor with the other frame's pixels.
    constexpr int32_t kSizes[2][2] = {{256, 128}, {128, 256}};

    std::atomic<bool> writerDone{false};
    std::thread writer([&] {
        std::vector<uint8_t> pixels(256 * 128 * 4);
        for (uint64_t sequence = 1; sequence <= kFrames; ++sequence) {
            std::fill(pixels.begin(), pixels.end(), static_cast<uint8_t>(sequence));
            const int32_t* size = kSizes[sequence % 2];
            PublishSecureFrame(mapping, pixels.data(), size[0], size[1], size[0] * 4,
                               {1, 1, kTick, sequence});
        }
        writerDone = true;
    });

    std::vector<uint8_t> raw, out;
    uint64_t last = 0;
    int accepted = 0, mixed = 0;
    // Reads go on while the writer runs (it ends after kFrames), and at least kReads times.
    for (int i = 0; i < kReads || !writerDone.load(); ++i) {
        const uint64_t before = last;
        if (!ReadSecureFrame(mapping, kTick, 64, 64, &last, raw, out))
            continue;
        ++accepted;
        EXPECT_GT(last, before) << "a frame older than the last one";
        const uint8_t expected = static_cast<uint8_t>(last);
        if (out.size() != 64u * 64u * 4u ||
            !std::all_of(out.begin(), out.end(), [&](uint8_t b) { return b == expected; }))
            ++mixed;
    }
    writer.join();
    EXPECT_EQ(mixed, 0) << "of " << accepted << " accepted copies";
    // Once the writer is still, the newest frame reads whole (unless the loop above already took it).
    if (last != kFrames) {
        ASSERT_TRUE(ReadSecureFrame(mapping, kTick, 64, 64, &last, raw, out));
        EXPECT_EQ(last, kFrames);
        EXPECT_TRUE(std::all_of(out.begin(), out.end(),
                                [](uint8_t b) { return b == static_cast<uint8_t>(kFrames); }));
    }
}

} // namespace
