#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "media/CaptureAcquire.h"

namespace {

// Records every call in order; AcquireNextFrame answers with `acquireResult`, MapFrame with `image` or a
// failure.
class FakeDuplication : public IDesktopImageSource {
public:
    int32_t AcquireNextFrame(uint32_t timeoutMs) override {
        calls.push_back("acquire " + std::to_string(timeoutMs));
        return acquireResult;
    }
    void ReleaseFrame() override { calls.push_back("release"); }
    void ReportFailure(const char* message, int32_t hr) override {
        char code[16];
        std::snprintf(code, sizeof code, "0x%08X", static_cast<uint32_t>(hr));
        calls.push_back(std::string("report ") + message + " " + code);
    }
    bool MapFrame(DesktopImageView& mapped) override {
        calls.push_back("map");
        if (!mapOk)
            return false;
        mapped = image;
        return true;
    }
    void UnmapFrame() override { calls.push_back("unmap"); }

    int32_t acquireResult = 0;
    bool mapOk = true;
    DesktopImageView image;
    std::vector<std::string> calls;
};

struct AcquireCase {
    const char* name;
    int32_t hr;
    CaptureMode mode;
    CaptureStatus status;
    std::vector<std::string> calls;
};

class AcquireDesktopFrameTest : public ::testing::TestWithParam<AcquireCase> {};

TEST_P(AcquireDesktopFrameTest, StatusAndReport) {
    const AcquireCase& c = GetParam();
    FakeDuplication duplication;
    duplication.acquireResult = c.hr;
    EXPECT_EQ(AcquireDesktopFrame(duplication, c.mode), c.status);
    EXPECT_EQ(duplication.calls, c.calls);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AcquireDesktopFrameTest,
    ::testing::Values(
        AcquireCase{"Frame", 0, CaptureMode::CpuBgra, CaptureStatus::FrameDelivered, {"acquire 16"}},
        AcquireCase{
            "OtherSuccessCode", 1, CaptureMode::GpuNv12, CaptureStatus::FrameDelivered, {"acquire 16"}},
        AcquireCase{"TimeoutIsQuiet",
                    kDxgiErrorWaitTimeout,
                    CaptureMode::CpuBgra,
                    CaptureStatus::NoNewFrame,
                    {"acquire 16"}},
        AcquireCase{"AccessLostCpu",
                    kDxgiErrorAccessLost,
                    CaptureMode::CpuBgra,
                    CaptureStatus::AccessLost,
                    {"acquire 16", "report Async AcquireNextFrame access lost 0x887A0026"}},
        AcquireCase{"AccessLostNv12",
                    kDxgiErrorAccessLost,
                    CaptureMode::GpuNv12,
                    CaptureStatus::AccessLost,
                    {"acquire 16", "report NV12 AcquireNextFrame access lost 0x887A0026"}},
        AcquireCase{"DeviceRemoved",
                    kDxgiErrorDeviceRemoved,
                    CaptureMode::CpuBgra,
                    CaptureStatus::DeviceLost,
                    {"acquire 16", "report Async AcquireNextFrame device lost 0x887A0005"}},
        AcquireCase{"DeviceResetNv12",
                    kDxgiErrorDeviceReset,
                    CaptureMode::GpuNv12,
                    CaptureStatus::DeviceLost,
                    {"acquire 16", "report NV12 AcquireNextFrame device lost 0x887A0007"}},
        AcquireCase{"InvalidCall",
                    static_cast<int32_t>(0x887A0001),
                    CaptureMode::CpuBgra,
                    CaptureStatus::Failed,
                    {"acquire 16", "report Async AcquireNextFrame failed 0x887A0001"}},
        AcquireCase{"OutOfMemoryNv12",
                    static_cast<int32_t>(0x8007000E),
                    CaptureMode::GpuNv12,
                    CaptureStatus::Failed,
                    {"acquire 16", "report NV12 AcquireNextFrame failed 0x8007000E"}}),
    [](const auto& info) { return std::string(info.param.name); });

class CaptureDesktopBgraTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A 4x2 X8 desktop, every pixel (1, 2, 3, 0).
        m_pixels.assign(4 * 2 * 4, 0);
        for (size_t i = 0; i < m_pixels.size(); i += 4) {
            m_pixels[i] = 1;
            m_pixels[i + 1] = 2;
            m_pixels[i + 2] = 3;
        }
        m_duplication.image = {m_pixels.data(), 16, 4, 2, kCaptureFormatB8G8R8X8};
    }

    std::vector<uint8_t> m_pixels;
    FakeDuplication m_duplication;
    const CaptureGeometry m_geometry{4, 2, CaptureRotation::Identity};
};

TEST_F(CaptureDesktopBgraTest, DeliversTheCopyAndReleasesAfterUnmapping) {
    CapturedFrame frame;
    ASSERT_EQ(CaptureDesktopBgra(m_duplication, m_geometry, 0, 0, frame), CaptureStatus::FrameDelivered);
    EXPECT_EQ(frame.width, 4);
    EXPECT_EQ(frame.height, 2);
    ASSERT_EQ(frame.bytes.size(), 32u);
    EXPECT_EQ((std::vector<uint8_t>(frame.bytes.begin(), frame.bytes.begin() + 4)),
              (std::vector<uint8_t>{1, 2, 3, 255}));
    EXPECT_EQ(m_duplication.calls, (std::vector<std::string>{"acquire 16", "map", "unmap", "release"}));
}

TEST_F(CaptureDesktopBgraTest, ScalesToTheMaximum) {
    CapturedFrame frame;
    ASSERT_EQ(CaptureDesktopBgra(m_duplication, m_geometry, 2, 2, frame), CaptureStatus::FrameDelivered);
    EXPECT_EQ(frame.width, 2);
    EXPECT_EQ(frame.height, 2);
    EXPECT_EQ(frame.bytes.size(), 16u);
}

TEST_F(CaptureDesktopBgraTest, MapFailureStillReleasesTheFrame) {
    m_duplication.mapOk = false;
    CapturedFrame frame;
    EXPECT_EQ(CaptureDesktopBgra(m_duplication, m_geometry, 0, 0, frame), CaptureStatus::Failed);
    EXPECT_EQ(m_duplication.calls, (std::vector<std::string>{"acquire 16", "map", "release"}));
    EXPECT_TRUE(frame.bytes.empty());
}

TEST_F(CaptureDesktopBgraTest, UnreadableImageFailsAndStillUnmapsAndReleases) {
    m_duplication.image.format = 24; // R10G10B10A2 slipped through
    CapturedFrame frame;
    frame.bytes = {9};
    EXPECT_EQ(CaptureDesktopBgra(m_duplication, m_geometry, 0, 0, frame), CaptureStatus::Failed);
    EXPECT_EQ(m_duplication.calls, (std::vector<std::string>{"acquire 16", "map", "unmap", "release"}));
    EXPECT_EQ(frame.bytes, std::vector<uint8_t>{9});
}

TEST_F(CaptureDesktopBgraTest, FailedAcquireNeitherMapsNorReleases) {
    for (int32_t hr : {kDxgiErrorWaitTimeout, kDxgiErrorAccessLost, kDxgiErrorDeviceRemoved}) {
        m_duplication.calls.clear();
        m_duplication.acquireResult = hr;
        CapturedFrame frame;
        EXPECT_NE(CaptureDesktopBgra(m_duplication, m_geometry, 0, 0, frame), CaptureStatus::FrameDelivered);
        EXPECT_EQ(m_duplication.calls.front(), "acquire 16");
        for (const std::string& call : m_duplication.calls) {
            EXPECT_NE(call, "map");
            EXPECT_NE(call, "release");
        }
    }
}

} // namespace
