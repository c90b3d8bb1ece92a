#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <regex>
#include <string>
#include <vector>

#include "FakeOutputDuplication.h"
#include "LogAssertions.h"
#include "core/Log.h"
#include "media/CaptureOutputRank.h"
#include "media/win/DesktopDuplicator.h"

namespace {

// Wine 8 offers Direct3D 11 and DXGI outputs but no desktop duplication: Init must pick the output, try it,
// and fail cleanly, so that the host falls back to the GDI capture. On real Windows duplication works and
// the test has nothing to show.
TEST(DesktopDuplicator, InitFailsCleanlyWithoutDesktopDuplication) {
    ASSERT_TRUE(Log::Open());
    DesktopDuplicator duplicator;
    EXPECT_FALSE(duplicator.StartAsyncCapture(1280, 720)); // nothing to capture before Init
    const bool ready = duplicator.Init();
    Log::Flush();
    const std::string log = OwnLog();
    Log::Close();
    if (ready)
        GTEST_SKIP() << "desktop duplication works on this system";

    // The output that shows the primary screen was found and scored with both bonuses.
    const int64_t area = int64_t{GetSystemMetrics(SM_CXSCREEN)} * GetSystemMetrics(SM_CYSCREEN);
    const std::string score = std::to_string(area + kCaptureOriginBonus + kCaptureExactBonus);
    EXPECT_TRUE(std::regex_search(
        log, std::regex(R"(\[DXGI\]\[SELECT\]\[CANDIDATE\] adapter=0 output=0 vendor=0x[0-9A-F]{4} )"
                        R"(device=0x[0-9A-F]{4} name=.* display=.* desktop=0,0,)" +
                        std::to_string(GetSystemMetrics(SM_CXSCREEN)) + "," +
                        std::to_string(GetSystemMetrics(SM_CYSCREEN)) + R"( rotation=\d score=)" + score +
                        "\r\n")))
        << log;
    // The device was created and the duplication refused (E_NOTIMPL), then the whole attempt gave up.
    EXPECT_TRUE(std::regex_search(
        log, std::regex(R"(\[DXGI\]\[SELECT\]\[DUP_FAIL\] rank=0 adapter=0 output=0 vendor=0x[0-9A-F]{4} )"
                        R"(device=0x[0-9A-F]{4} display=.* hr=0x80004001\r\n)")))
        << log;
    EXPECT_TRUE(InOrder(log, {"[DXGI][SELECT][CANDIDATE]", "[DXGI][SELECT][DUP_FAIL]",
                              "DesktopDuplicator all adapter/output DuplicateOutput attempts failed\r\n"}));
    EXPECT_EQ(CountOf(log, "DesktopDuplicator init OK"), 0u);
    EXPECT_EQ(CountOf(log, "[DXGI][SELECT][SUCCESS]"), 0u);

    // Nothing runs and nothing waits after the failure.
    EXPECT_EQ(duplicator.Status(), CaptureStatus::NoNewFrame);
    EXPECT_FALSE(duplicator.StartAsyncCapture(1280, 720));
    EXPECT_FALSE(duplicator.StartAsyncCaptureNV12());
    EXPECT_FALSE(duplicator.AsyncRunning());
    std::vector<uint8_t> bytes;
    int32_t width = 0, height = 0;
    const DWORD start = GetTickCount();
    EXPECT_FALSE(duplicator.GetLatestFrame(bytes, width, height, 2000));
    EXPECT_FALSE(duplicator.GetLatestFrameBGRA(bytes, width, height, 2000));
    EXPECT_LT(GetTickCount() - start, 1000u);
    EXPECT_TRUE(bytes.empty());
    const CaptureColorDescription color = duplicator.ColorDescription();
    EXPECT_EQ(color.bitDepth, 8u);
    EXPECT_EQ(color.hdrFlags, 0x100u);
    EXPECT_FALSE(duplicator.HdrDesktopActive());

    // Shutdown twice, then a second Init fails the same way.
    duplicator.Shutdown();
    duplicator.Shutdown();
    EXPECT_EQ(duplicator.Status(), CaptureStatus::NoNewFrame);
    EXPECT_EQ(duplicator.Rotation(), CaptureRotation::Identity);
    EXPECT_FALSE(duplicator.Init());
    duplicator.Shutdown();
}

} // namespace

namespace {

using Microsoft::WRL::ComPtr;

// Polls cond for up to five seconds.
template <typename Cond> bool WaitUntil(Cond cond) {
    const DWORD start = GetTickCount();
    while (!cond()) {
        if (GetTickCount() - start > 5000)
            return false;
        Sleep(5);
    }
    return true;
}

// An upright desktop picture with distinct pixels: B, G = low bytes of x, y; R = their high bits; A = 0x40.
struct Picture {
    UINT width, height;
    std::vector<uint8_t> bgra;

    uint32_t At(UINT x, UINT y) const {
        uint32_t value = 0;
        memcpy(&value, &bgra[(size_t(y) * width + x) * 4], 4);
        return value;
    }
};

uint32_t PixelValue(UINT x, UINT y) {
    return (x & 0xFF) | (y & 0xFF) << 8 | ((x >> 8) | (y >> 8) << 4) << 16 | 0x40u << 24;
}

Picture UprightPicture(UINT width, UINT height) {
    Picture picture{width, height, std::vector<uint8_t>(size_t(width) * height * 4)};
    for (UINT y = 0; y < height; ++y)
        for (UINT x = 0; x < width; ++x) {
            const uint32_t value = PixelValue(x, y);
            memcpy(&picture.bgra[(size_t(y) * width + x) * 4], &value, 4);
        }
    return picture;
}

// The duplicated image of an upright picture on an output turned by DXGI_MODE_ROTATION_ROTATE90: the picture
// a quarter turn counter-clockwise, so its top-right corner is the raw image's top-left.
Picture Rotate90Raw(const Picture& upright) {
    Picture raw{upright.height, upright.width, std::vector<uint8_t>(upright.bgra.size())};
    for (UINT y = 0; y < upright.height; ++y)
        for (UINT x = 0; x < upright.width; ++x) {
            const uint32_t value = upright.At(x, y);
            memcpy(&raw.bgra[(size_t(upright.width - 1 - x) * raw.width + y) * 4], &value, 4);
        }
    return raw;
}

// A real Direct3D 11 device and the real selection, with a fake duplication of a known picture in place of
// the one the system lacks.
class DuplicatorOnFakeDuplication : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Log::Open());
        m_width = UINT(GetSystemMetrics(SM_CXSCREEN));
        m_height = UINT(GetSystemMetrics(SM_CYSCREEN));
    }
    void TearDown() override { Log::Close(); }

    DesktopDuplicator::DuplicateOutputFn Duplicate(const Picture& raw, DXGI_FORMAT format,
                                                   DXGI_MODE_ROTATION rotation) {
        return [this, raw, format, rotation](IDXGIOutput1*, ID3D11Device* device,
                                             ComPtr<IDXGIOutputDuplication>& duplication) {
            m_fake = FakeOutputDuplication::Create(device, raw.width, raw.height, format, raw.bgra, rotation);
            duplication = m_fake;
            return m_fake ? S_OK : E_FAIL;
        };
    }

    UINT m_width = 0, m_height = 0;
    ComPtr<FakeOutputDuplication> m_fake;
};

TEST_F(DuplicatorOnFakeDuplication, CapturesScaledBgraWithOpaqueAlphaAndReportsAccessLost) {
    const Picture upright = UprightPicture(m_width, m_height);
    DesktopDuplicator duplicator(Duplicate(upright, DXGI_FORMAT_B8G8R8X8_UNORM, DXGI_MODE_ROTATION_IDENTITY));
    ASSERT_TRUE(duplicator.Init());
    EXPECT_EQ(duplicator.LogicalWidth(), int32_t(m_width));
    EXPECT_EQ(duplicator.LogicalHeight(), int32_t(m_height));
    EXPECT_EQ(duplicator.Rotation(), CaptureRotation::Identity);

    // No video processor here, so the GPU mode is refused and the CPU mode takes over.
    EXPECT_FALSE(duplicator.StartAsyncCaptureNV12());
    ASSERT_TRUE(duplicator.StartAsyncCapture(int32_t(m_width / 2), int32_t(m_height / 2)));
    std::vector<uint8_t> bytes;
    int32_t width = 0, height = 0;
    ASSERT_TRUE(duplicator.GetLatestFrameBGRA(bytes, width, height, 5000));
    EXPECT_FALSE(duplicator.GetLatestFrame(bytes, width, height, 0)); // no NV12 from the CPU mode
    ASSERT_TRUE(duplicator.GetLatestFrameBGRA(bytes, width, height, 5000));
    ASSERT_EQ(width, int32_t(m_width / 2));
    ASSERT_EQ(height, int32_t(m_height / 2));
    ASSERT_EQ(bytes.size(), size_t(width) * size_t(height) * 4);
    const Picture frame{UINT(width), UINT(height), bytes};
    for (UINT y = 0; y < frame.height; y += 7)
        for (UINT x = 0; x < frame.width; x += 5)
            ASSERT_EQ(frame.At(x, y), (PixelValue(2 * x, 2 * y) & 0x00FFFFFFu) | 0xFF000000u)
                << x << "," << y;
    EXPECT_TRUE(WaitUntil([&] { return duplicator.CapturedFps() > 0; }));

    m_fake->nextResult = DXGI_ERROR_ACCESS_LOST;
    EXPECT_TRUE(WaitUntil([&] { return duplicator.Status() == CaptureStatus::AccessLost; }));
    duplicator.Shutdown();
    EXPECT_FALSE(duplicator.AsyncRunning());
    EXPECT_EQ(duplicator.Status(), CaptureStatus::NoNewFrame);
    EXPECT_GT(m_fake->acquired.load(), 1);
    EXPECT_EQ(m_fake->acquired.load(), m_fake->released.load());

    Log::Flush();
    const std::string log = OwnLog();
    const std::string size = std::to_string(m_width) + "x" + std::to_string(m_height);
    EXPECT_TRUE(InOrder(
        log, {"[DXGI][SELECT][SUCCESS] rank=0 adapter=0 output=0",
              "[COLOR][CAPTURE][DECISION] windowsHdrActual=0 hdrFrameworkEnv=0 "
              "advertisedColor=SDR_BT709_NV12 transfer=BT709 bitDepth=8 hdrFlags=0x00000100 "
              "transportCurrent=H264_NV12_SDR_FULL_RANGE\r\n",
              "[ROTATION][CAPTURE][INIT] adapter=0 output=0 logical=" + size + " raw=" + size +
                  " rotation=1(IDENTITY) desktopImageInSystemMemory=0 nativeNv12=1\r\n",
              "DesktopDuplicator init OK\r\n", "DesktopDuplicator query ID3D11VideoDevice failed",
              "DesktopDuplicator NV12 async start failed; GPU path unavailable\r\n",
              "DesktopDuplicator async capture started max=" + std::to_string(m_width / 2) + "x" +
                  std::to_string(m_height / 2) + " native=" + size + "\r\n",
              "[ROTATION][CAPTURE][STAGING] raw=" + size + " format=88(B8G8R8X8_UNORM)",
              "[COLOR][CAPTURE][BGRA-STATS] BGRA sample=", "Async AcquireNextFrame access lost 0x887A0026",
              "DesktopDuplicator StopAsyncCapture joining capture thread\r\n",
              "DesktopDuplicator async capture stopped\r\n"}));
    // The stop request wakes the loop before the join is logged, so its exit line may come either side of it.
    EXPECT_TRUE(InOrder(log, {"Async AcquireNextFrame access lost 0x887A0026",
                              "DesktopDuplicator async thread exited\r\n",
                              "DesktopDuplicator async capture stopped\r\n"}));
}

TEST_F(DuplicatorOnFakeDuplication, TurnsARotatedDesktopUprightAndRefusesTheGpuModeOnIt) {
    const Picture upright = UprightPicture(m_width, m_height);
    DesktopDuplicator duplicator(
        Duplicate(Rotate90Raw(upright), DXGI_FORMAT_B8G8R8A8_UNORM, DXGI_MODE_ROTATION_ROTATE90));
    ASSERT_TRUE(duplicator.Init());
    EXPECT_EQ(duplicator.Rotation(), CaptureRotation::Rotate90);
    EXPECT_FALSE(duplicator.StartAsyncCaptureNV12());
    ASSERT_TRUE(duplicator.StartAsyncCapture(0, 0));
    std::vector<uint8_t> bytes;
    int32_t width = 0, height = 0;
    ASSERT_TRUE(duplicator.GetLatestFrameBGRA(bytes, width, height, 5000));
    ASSERT_EQ(width, int32_t(m_width));
    ASSERT_EQ(height, int32_t(m_height));
    EXPECT_TRUE(bytes == upright.bgra) << "the captured picture is not the upright desktop";
    duplicator.Shutdown();
    EXPECT_EQ(m_fake->acquired.load(), m_fake->released.load());

    Log::Flush();
    const std::string log = OwnLog();
    EXPECT_EQ(
        CountOf(log, "[ROTATION][CAPTURE][PATH] native GPU NV12 disabled logical=" + std::to_string(m_width) +
                         "x" + std::to_string(m_height) + " raw=" + std::to_string(m_height) + "x" +
                         std::to_string(m_width) + " rotation=2(ROTATE90); use BGRA rotation fallback\r\n"),
        1u)
        << log;
}

} // namespace
