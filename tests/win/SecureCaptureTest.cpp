// Under Wine with Xvfb: the capture worker's loop in this process, publishing into a real frame mapping.
// Wine has no desktop duplication (DuplicateOutput says E_NOTIMPL), so the loop captures with GDI; a fake
// duplication on a real Direct3D 11 device drives the duplication path's copy, format check and release.
#include <gtest/gtest.h>

#include <windows.h>
#include <d3d11.h>
#include <dxgi1_2.h>
#include <wrl/client.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "ClassedTestWindow.h"
#include "FakeOutputDuplication.h"
#include "LogAssertions.h"
#include "TestWait.h"
#include "core/win/Handles.h"
#include "core/win/TextConvert.h"
#include "service/SecureFrameRead.h"
#include "service/WardletShared.h"
#include "service/win/SecureCapture.h"
#include "service/win/SecureFramePublisher.h"
#include "service/win/WardletLog.h"

namespace {

using Microsoft::WRL::ComPtr;

// What a reader of the mapping gets: the newest frame at the size asked for, and what the writer stored
// about it.
struct SharedFrame {
    bool present = false;
    uint64_t sequence = 0;
    SecureFrameDescriptor descriptor{};
    uint32_t width = 0;
    std::vector<uint8_t> pixels;

    uint32_t At(uint32_t x, uint32_t y) const {
        uint32_t value = 0;
        std::memcpy(&value, &pixels[(size_t(y) * width + x) * 4], 4);
        return value;
    }
};

// The frame mapping opened read-only, as Tessaly opens it.
class SharedFrameView {
public:
    SharedFrameView() {
        m_mapping.Reset(::OpenFileMappingW(FILE_MAP_READ, FALSE, AsWide(kSecureFrameMappingName).c_str()));
        if (m_mapping)
            m_view = UniqueMappedView(::MapViewOfFile(m_mapping.Get(), FILE_MAP_READ, 0, 0, 0));
    }
    bool Open() const { return static_cast<bool>(m_view); }

    // The newest fresh frame, read at width x height.
    SharedFrame Latest(uint32_t width, uint32_t height) {
        SharedFrame frame;
        const auto* base = static_cast<const uint8_t*>(m_view.Get());
        frame.present =
            ReadSecureFrame(std::span<const uint8_t>(base, kSecureFrameMappingSize), ::GetTickCount64(),
                            int32_t(width), int32_t(height), &frame.sequence, m_raw, frame.pixels);
        if (!frame.present)
            return frame;
        frame.width = width;
        // A later publish may have moved on; what is checked here is the same for every frame of a run.
        const auto* header = reinterpret_cast<const SecureFrameHeader*>(base);
        const uint32_t index = *reinterpret_cast<const volatile uint32_t*>(&header->publishedIndex);
        std::atomic_thread_fence(std::memory_order_acquire);
        if (index <= 1)
            std::memcpy(&frame.descriptor, &header->descriptors[index], sizeof frame.descriptor);
        return frame;
    }

    // Waits (dispatching this thread's window messages) for a frame of at least this sequence; a frame
    // that is not present when the time is up.
    SharedFrame WaitForSequence(uint64_t minimum, uint32_t width, uint32_t height, DWORD timeoutMs) {
        SharedFrame frame;
        if (!PumpUntil(
                [&] {
                    frame = Latest(width, height);
                    return frame.present && frame.sequence >= minimum;
                },
                timeoutMs))
            frame.present = false;
        return frame;
    }

private:
    UniqueHandle m_mapping;
    UniqueMappedView m_view;
    std::vector<uint8_t> m_raw;
};

// Wardlet's log file, shared by every run of the tests.
std::string WardletLogText() {
    return ReadWholeFile(WardletLogPath());
}

// Run on a thread of its own, as in the worker process, with the test's stop and rebuild events.
class SecureCaptureRun : public ::testing::Test {
protected:
    void SetUp() override {
        m_stop.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
        m_rebuild.Reset(::CreateEventW(nullptr, TRUE, TRUE, nullptr)); // the first pass builds the pipeline
        ASSERT_TRUE(m_stop && m_rebuild);
        m_logStart = WardletLogText().size();
    }
    void TearDown() override {
        if (m_thread.joinable()) {
            ::SetEvent(m_stop.Get());
            m_thread.join();
        }
    }

    void Start(SecureCapture& capture, uint32_t accessDeniedExitCode, bool publishShared) {
        m_thread = std::thread([this, &capture, accessDeniedExitCode, publishShared] {
            m_result = capture.Run(m_stop.Get(), m_rebuild.Get(), false, accessDeniedExitCode, publishShared);
            m_done = true;
        });
    }

    // Sets the stop event; true when Run returned within the frame wait and a margin.
    bool StopWithinBound() {
        const DWORD start = ::GetTickCount();
        ::SetEvent(m_stop.Get());
        const bool ended = PumpUntil([&] { return m_done.load(); }, 3000);
        m_thread.join();
        m_stopMs = ::GetTickCount() - start;
        return ended;
    }

    // What this test added to Wardlet's log.
    std::string NewLog() const {
        const std::string log = WardletLogText();
        return log.size() > m_logStart ? log.substr(m_logStart) : std::string();
    }

    size_t m_logStart = 0;
    UniqueHandle m_stop;
    UniqueHandle m_rebuild;
    std::thread m_thread;
    std::atomic<bool> m_done{false};
    std::atomic<uint32_t> m_result{0xFFFFFFFF};
    DWORD m_stopMs = 0;
};

TEST_F(SecureCaptureRun, CaptureOnceEndsWithTheDuplicationInitResult) {
    SecureCapture capture(nullptr, L"");
    EXPECT_EQ(capture.Run(m_stop.Get(), m_rebuild.Get(), true, 0, false), 0x80004001u);
    EXPECT_TRUE(InOrder(NewLog(), {"DDA initialize begin", "DDA initialize failed hr=0x80004001"}));
}

TEST_F(SecureCaptureRun, MissingDuplicationIsCapturedWithGdiAndPublished) {
    // The test desktop may be black, and black frames are never published: show something.
    const RECT rect{0, 0, 160, 120};
    ClassedTestWindow window(L"TslySecureCaptureWhite", rect);
    SecureFramePublisher publisher;
    ASSERT_TRUE(publisher.Init());
    SharedFrameView view;
    ASSERT_TRUE(view.Open());
    const uint32_t width = uint32_t(::GetSystemMetrics(SM_CXVIRTUALSCREEN));
    const uint32_t height = uint32_t(::GetSystemMetrics(SM_CYVIRTUALSCREEN));
    ASSERT_FALSE(view.Latest(width, height).present);

    SecureCapture capture(&publisher, L"");
    Start(capture, kWardletExitWinlogonActive, true);
    const SharedFrame first = view.WaitForSequence(2, width, height, 10000);
    ASSERT_TRUE(first.present);
    const SharedFrame later = view.WaitForSequence(first.sequence + 2, width, height, 10000);
    ASSERT_TRUE(later.present);
    EXPECT_TRUE(StopWithinBound());
    EXPECT_EQ(m_result.load(), 0u);
    EXPECT_LT(m_stopMs, 1500u) << "a stop is seen within the 100 ms frame wait";

    const SecureFrameDescriptor& d = later.descriptor;
    EXPECT_EQ(d.width, width);
    EXPECT_EQ(d.height, height);
    EXPECT_EQ(d.stride, width * 4);
    EXPECT_EQ(d.pixelFormat, kSecureFramePixelFormatBgra);
    EXPECT_EQ(d.processId, ::GetCurrentProcessId());
    ASSERT_EQ(later.pixels.size(), size_t(width) * height * 4);
    // The white window, at the virtual screen's origin here.
    const int32_t originX = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int32_t originY = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    EXPECT_EQ(later.At(uint32_t(80 - originX), uint32_t(60 - originY)) & 0x00FFFFFFu, 0x00FFFFFFu);

    EXPECT_TRUE(InOrder(
        NewLog(), {"DDA initialize failed hr=0x80004001",
                   "[SECURE_GDI][INIT] desktop=" + std::to_string(originX) + "," + std::to_string(originY),
                   "[SECURE_GDI][ENTER] DuplicateOutput unsupported; continue Winlogon capture with GDI "
                   "shared-frame publisher",
                   "frame delivered path=GDI frame=1 shared=1 bmp=0"}));
}

// A real device with a fake duplication of a known picture in place of the one Wine lacks.
class SecureCaptureOnFakeDuplication : public SecureCaptureRun {
protected:
    SecureDuplicationSource::DuplicateOutputFn Duplicate(DXGI_FORMAT format, uint8_t green) {
        return [this, format, green](IDXGIOutput1*, ID3D11Device* device,
                                     ComPtr<IDXGIOutputDuplication>& duplication) {
            std::vector<uint8_t> pixels(size_t(kWidth) * kHeight * 4, 0);
            for (size_t i = 0; i < pixels.size(); i += 4)
                pixels[i + 1] = green;
            ComPtr<FakeOutputDuplication> fake = FakeOutputDuplication::Create(
                device, kWidth, kHeight, format, pixels, DXGI_MODE_ROTATION_IDENTITY);
            if (!fake)
                return E_FAIL;
            duplication = fake;
            std::lock_guard<std::mutex> lock(m_fakesMutex);
            m_fakes.push_back(fake);
            return S_OK;
        };
    }
    ComPtr<FakeOutputDuplication> LatestFake() {
        std::lock_guard<std::mutex> lock(m_fakesMutex);
        return m_fakes.empty() ? nullptr : m_fakes.back();
    }
    bool AllReleased() {
        std::lock_guard<std::mutex> lock(m_fakesMutex);
        for (const ComPtr<FakeOutputDuplication>& fake : m_fakes)
            if (fake->acquired.load() != fake->released.load())
                return false;
        return true;
    }

    static constexpr UINT kWidth = 64;
    static constexpr UINT kHeight = 32;
    std::mutex m_fakesMutex;
    std::vector<ComPtr<FakeOutputDuplication>> m_fakes; // one per pipeline the run built
};

TEST_F(SecureCaptureOnFakeDuplication, FramesArePublishedAndAStillScreenIsPublishedAgain) {
    SecureFramePublisher publisher;
    ASSERT_TRUE(publisher.Init());
    SharedFrameView view;
    ASSERT_TRUE(view.Open());
    SecureCapture capture(&publisher, L"", Duplicate(DXGI_FORMAT_B8G8R8A8_UNORM, 0x90));
    Start(capture, kWardletExitWinlogonActive, true);

    const SharedFrame frame = view.WaitForSequence(1, kWidth, kHeight, 10000);
    ASSERT_TRUE(frame.present);
    EXPECT_EQ(frame.descriptor.width, kWidth);
    EXPECT_EQ(frame.descriptor.height, kHeight);
    ASSERT_EQ(frame.pixels.size(), size_t(kWidth) * kHeight * 4);
    EXPECT_EQ(frame.At(5, 7) & 0x00FFFFFFu, 0x00009000u);

    // The screen stands still: duplication only times out, yet the mapping keeps getting fresh ticks.
    const ComPtr<FakeOutputDuplication> fake = LatestFake();
    ASSERT_NE(fake.Get(), nullptr);
    fake->nextResult = DXGI_ERROR_WAIT_TIMEOUT;
    const SharedFrame still = view.Latest(kWidth, kHeight);
    const SharedFrame republished = view.WaitForSequence(still.sequence + 2, kWidth, kHeight, 6000);
    ASSERT_TRUE(republished.present);
    EXPECT_GT(republished.descriptor.publishTick, still.descriptor.publishTick);
    EXPECT_EQ(republished.pixels, frame.pixels);

    EXPECT_TRUE(StopWithinBound());
    EXPECT_EQ(m_result.load(), 0u);
    EXPECT_LT(m_stopMs, 2500u) << "at most one AcquireNextFrame wait and the frame wait";
    EXPECT_TRUE(AllReleased()) << "every acquired frame was given back";
    EXPECT_TRUE(InOrder(NewLog(), {"DuplicateOutput begin", "DuplicateOutput success",
                                   "DDA initialized output=", " size=64x32 format=87 rotation=1",
                                   "frame delivered path=DDA frame=1 shared=1 bmp=0"}));
}

TEST_F(SecureCaptureOnFakeDuplication, UnreadableFormatIsNeverPublishedAndTheFrameGoesBack) {
    SecureFramePublisher publisher;
    ASSERT_TRUE(publisher.Init());
    SharedFrameView view;
    ASSERT_TRUE(view.Open());
    SecureCapture capture(&publisher, L"", Duplicate(DXGI_FORMAT_R8G8B8A8_UNORM, 0x90));
    Start(capture, kWardletExitWinlogonActive, true);
    // Each refused frame rebuilds the pipeline after 250 ms; wait for the second build.
    ASSERT_TRUE(
        WaitUntil([&] { return CountOf(NewLog(), "capture failed path=DDA hr=0x887A0004") >= 2; }, 10000));
    EXPECT_TRUE(StopWithinBound());
    EXPECT_EQ(m_result.load(), 0u);
    EXPECT_FALSE(view.Latest(kWidth, kHeight).present);
    EXPECT_TRUE(AllReleased());
}

} // namespace
