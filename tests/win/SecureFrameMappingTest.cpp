// Tessaly's frame reader against a real publisher process (SecureFramePublisherTool) on the real named
// mapping and event.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <vector>

#include "ProgramRun.h"
#include "media/win/SecureDesktopFrameReader.h"

namespace {

// Whether every pixel of a width x height BGRA picture shows the publisher's pattern for sequence, taken
// from a source of sourceWidth x sourceHeight.
bool ShowsFrame(const std::vector<uint8_t>& pixels, int32_t width, int32_t height, int32_t sourceWidth,
                int32_t sourceHeight, uint64_t sequence) {
    if (pixels.size() != static_cast<size_t>(width) * height * 4)
        return false;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            const uint8_t* p = &pixels[(static_cast<size_t>(y) * width + x) * 4];
            if (p[0] != static_cast<uint8_t>(sequence) ||
                p[1] != static_cast<uint8_t>(x * sourceWidth / width) ||
                p[2] != static_cast<uint8_t>(y * sourceHeight / height) || p[3] != 0xFF)
                return false;
        }
    return true;
}

// Opens the reader once the publisher has made the objects.
bool OpenWithin(SecureDesktopFrameReader& reader, DWORD timeoutMs) {
    const ULONGLONG start = GetTickCount64();
    while (!reader.Open()) {
        if (GetTickCount64() - start >= timeoutMs)
            return false;
        Sleep(10);
    }
    return true;
}

TEST(SecureFrameMapping, WithoutAPublisherThereIsNothingToOpen) {
    SecureDesktopFrameReader reader;
    EXPECT_FALSE(reader.Open());
    std::vector<uint8_t> out;
    uint64_t last = 0;
    EXPECT_FALSE(reader.ReadFrame(out, 64, 48, &last));
    EXPECT_EQ(reader.ReadyEvent(), nullptr);
    reader.Close();
}

TEST(SecureFrameMapping, PublishedFramesArriveInOrderWithTheirPictures) {
    ProgramRun publisher(L"SecureFramesInOrder", L"SecureFramePublisherTool.exe");
    ASSERT_TRUE(publisher.Start(L"64 48 40 40 1000"));
    SecureDesktopFrameReader reader;
    ASSERT_TRUE(OpenWithin(reader, 10000));
    ASSERT_NE(reader.ReadyEvent(), nullptr);

    std::vector<uint64_t> sequences;
    std::vector<uint8_t> out;
    uint64_t last = 0;
    bool pictures = true;
    const ULONGLONG start = GetTickCount64();
    while (last < 40 && GetTickCount64() - start < 10000) {
        WaitForSingleObject(reader.ReadyEvent(), 200);
        if (!reader.ReadFrame(out, 64, 48, &last))
            continue;
        sequences.push_back(last);
        pictures = pictures && ShowsFrame(out, 64, 48, 64, 48, last);
    }
    ASSERT_FALSE(sequences.empty());
    EXPECT_TRUE(pictures);
    EXPECT_EQ(sequences.back(), 40u);
    EXPECT_GE(sequences.size(), 20u) << "the reader waits on the ready event, so it sees most frames";
    for (size_t i = 1; i < sequences.size(); ++i)
        EXPECT_LT(sequences[i - 1], sequences[i]);

    EXPECT_FALSE(reader.ReadFrame(out, 64, 48, &last)) << "nothing new after the last frame";
    uint64_t again = 0;
    ASSERT_TRUE(reader.ReadFrame(out, 32, 24, &again)) << "the last frame, scaled";
    EXPECT_EQ(again, 40u);
    EXPECT_TRUE(ShowsFrame(out, 32, 24, 64, 48, 40));
    ASSERT_TRUE(reader.ReadFrame(out, 100, 70, nullptr));
    EXPECT_TRUE(ShowsFrame(out, 100, 70, 64, 48, 40));
    EXPECT_EQ(publisher.WaitExit(10000), 0u);
}

TEST(SecureFrameMapping, AFrameNotFollowedByAnotherGoesStale) {
    ProgramRun publisher(L"SecureFramesStale", L"SecureFramePublisherTool.exe");
    ASSERT_TRUE(publisher.Start(L"16 16 1 0 8000"));
    SecureDesktopFrameReader reader;
    ASSERT_TRUE(OpenWithin(reader, 10000));
    std::vector<uint8_t> out;
    const ULONGLONG start = GetTickCount64();
    while (!reader.ReadFrame(out, 16, 16, nullptr) && GetTickCount64() - start < 2000)
        Sleep(10);
    ASSERT_TRUE(ShowsFrame(out, 16, 16, 16, 16, 1));
    const ULONGLONG firstRead = GetTickCount64();
    while (reader.ReadFrame(out, 16, 16, nullptr) && GetTickCount64() - firstRead < 6000)
        Sleep(50);
    const ULONGLONG staleAfter = GetTickCount64() - firstRead;
    EXPECT_TRUE(publisher.Running()) << "the mapping still exists";
    EXPECT_GE(staleAfter, 2500u);
    EXPECT_LT(staleAfter, 3600u);
    EXPECT_FALSE(reader.ReadFrame(out, 16, 16, nullptr));
}

TEST(SecureFrameMapping, ANewPublisherTakesOverTheMappingAReaderStillHolds) {
    SecureDesktopFrameReader reader;
    std::vector<uint8_t> out;
    uint64_t last = 0;
    {
        ProgramRun first(L"SecureFramesFirst", L"SecureFramePublisherTool.exe");
        ASSERT_TRUE(first.Start(L"16 16 3 20 300"));
        ASSERT_TRUE(OpenWithin(reader, 10000));
        const ULONGLONG start = GetTickCount64();
        while (last < 3 && GetTickCount64() - start < 5000)
            if (WaitForSingleObject(reader.ReadyEvent(), 200) == WAIT_OBJECT_0)
                reader.ReadFrame(out, 16, 16, &last);
        ASSERT_EQ(last, 3u);
        ASSERT_EQ(first.WaitExit(10000), 0u);
    }
    // The reader's handles keep the objects; the next worker opens them, rewrites the header and counts
    // from 1 again, and the open reader sees its frames.
    ProgramRun second(L"SecureFramesSecond", L"SecureFramePublisherTool.exe");
    ASSERT_TRUE(second.Start(L"16 16 1 0 3000"));
    const ULONGLONG start = GetTickCount64();
    while (!reader.ReadFrame(out, 16, 16, &last) && GetTickCount64() - start < 5000)
        WaitForSingleObject(reader.ReadyEvent(), 100);
    EXPECT_EQ(last, 1u);
    EXPECT_TRUE(ShowsFrame(out, 16, 16, 16, 16, 1));
}

} // namespace
