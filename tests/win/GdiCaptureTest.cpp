// Under Wine with Xvfb: the persistent GDI capture copies what a window shows on the screen, at full size
// and scaled, and reports a changed primary size; the display fingerprint reads a valid, stable layout;
// the input desktop is "Default" and a capture request reaches the service's event only when it exists.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "LogAssertions.h"
#include "core/Log.h"
#include "core/win/Handles.h"
#include "media/win/DisplayFingerprintQuery.h"
#include "media/win/PersistentGdiCapture.h"
#include "core/win/TextConvert.h"
#include "media/win/SecureDesktop.h"
#include "service/WardletShared.h"

namespace {

struct Bgr {
    uint8_t b;
    uint8_t g;
    uint8_t r;
};

// Quadrants of the test pattern; tile order: top left, top right, bottom left, bottom right.
constexpr Bgr kQuadrants[4] = {{0, 0, 255}, {0, 255, 0}, {255, 0, 0}, {255, 255, 255}};
constexpr int kLeft = 96;
constexpr int kTop = 120;
constexpr int kWidth = 240;
constexpr int kHeight = 160;

LRESULT CALLBACK PatternProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND)
        return 1;
    if (message != WM_PAINT)
        return DefWindowProcW(window, message, wParam, lParam);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    for (int q = 0; q < 4; ++q) {
        const RECT rect{(q % 2) * kWidth / 2, (q / 2) * kHeight / 2, (q % 2 + 1) * kWidth / 2,
                        (q / 2 + 1) * kHeight / 2};
        UniqueGdiObject brush(CreateSolidBrush(RGB(kQuadrants[q].r, kQuadrants[q].g, kQuadrants[q].b)));
        FillRect(dc, &rect, static_cast<HBRUSH>(brush.Get()));
    }
    EndPaint(window, &paint);
    return 0;
}

// A topmost borderless window at a known place on the screen showing four coloured quadrants.
class PatternWindow {
public:
    PatternWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = PatternProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TslyGdiCapturePattern";
        RegisterClassW(&wc);
        m_window =
            CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE,
                            kLeft, kTop, kWidth, kHeight, nullptr, nullptr, wc.hInstance, nullptr);
        UpdateWindow(m_window);
    }
    ~PatternWindow() {
        if (m_window != nullptr)
            DestroyWindow(m_window);
    }
    HWND Get() const { return m_window; }
    void Pump() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }

private:
    HWND m_window = nullptr;
};

Bgr PixelAt(const std::vector<uint8_t>& pixels, CaptureSize size, int x, int y) {
    const uint8_t* p = pixels.data() + (static_cast<size_t>(y) * size.width + x) * 4;
    return {p[0], p[1], p[2]};
}

// Screen point of the middle of quadrant q.
POINT QuadrantMiddle(int q) {
    return {kLeft + (q % 2) * kWidth / 2 + kWidth / 4, kTop + (q / 2) * kHeight / 2 + kHeight / 4};
}

// Each quadrant's middle, scaled from screen to output like the capture scales, has that quadrant's colour.
::testing::AssertionResult ShowsPattern(const std::vector<uint8_t>& pixels, CaptureSize source,
                                        CaptureSize output) {
    if (pixels.size() != static_cast<size_t>(output.width) * output.height * 4)
        return ::testing::AssertionFailure() << "pixel bytes " << pixels.size();
    for (int q = 0; q < 4; ++q) {
        const POINT at = QuadrantMiddle(q);
        const int x = static_cast<int>(static_cast<int64_t>(at.x) * output.width / source.width);
        const int y = static_cast<int>(static_cast<int64_t>(at.y) * output.height / source.height);
        const Bgr got = PixelAt(pixels, output, x, y);
        if (got.b != kQuadrants[q].b || got.g != kQuadrants[q].g || got.r != kQuadrants[q].r)
            return ::testing::AssertionFailure() << "quadrant " << q << " at " << x << "," << y << " is "
                                                 << int(got.b) << "," << int(got.g) << "," << int(got.r);
    }
    return ::testing::AssertionSuccess();
}

// Captures until the pattern shows (the window needs a moment to reach the X server), at most ~5 s.
::testing::AssertionResult CaptureShowsPattern(PersistentGdiCapture& capture, PatternWindow& window) {
    std::vector<uint8_t> pixels;
    ::testing::AssertionResult last = ::testing::AssertionFailure() << "no frame";
    for (int attempt = 0; attempt < 100; ++attempt) {
        window.Pump();
        if (!capture.CaptureFrame(pixels))
            return ::testing::AssertionFailure() << "capture failed";
        last = ShowsPattern(pixels, capture.Source(), capture.Output());
        if (last)
            return last;
        Sleep(50);
    }
    return last;
}

class GdiCapture : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Log::Open()); }
    void TearDown() override { Log::Close(); }
    static std::string CloseAndReadLog() {
        Log::Close();
        return OwnLog();
    }
};

TEST_F(GdiCapture, FullSizeCaptureShowsTheWindowsPixels) {
    PatternWindow window;
    ASSERT_NE(window.Get(), nullptr);
    PersistentGdiCapture capture;
    ASSERT_TRUE(capture.Init(0, 0));
    const CaptureSize screen = PrimaryScreenSize();
    EXPECT_EQ(capture.Source(), screen);
    EXPECT_EQ(capture.Output(), (CaptureSize{screen.width & ~1, screen.height & ~1}));
    EXPECT_TRUE(CaptureShowsPattern(capture, window));
    // The same objects serve the next frame.
    EXPECT_TRUE(CaptureShowsPattern(capture, window));

    const std::string line = "[GDI][CAPTURE][INIT] source=" + std::to_string(screen.width) + "x" +
                             std::to_string(screen.height) + " output=" + std::to_string(screen.width & ~1) +
                             "x" + std::to_string(screen.height & ~1) + " max=0x0 persistent_dib=1";
    EXPECT_EQ(CountOf(CloseAndReadLog(), line), 1u);
}

TEST_F(GdiCapture, ScaledCaptureHasTheMaximumSizeAndTheSamePicture) {
    PatternWindow window;
    PersistentGdiCapture capture;
    const CaptureSize screen = PrimaryScreenSize();
    ASSERT_TRUE(capture.Init(screen.width / 2, screen.height / 2));
    EXPECT_EQ(capture.Output(), GdiCaptureOutputSize(screen, screen.width / 2, screen.height / 2));
    EXPECT_EQ(capture.Output().width, (screen.width / 2) & ~1);
    EXPECT_TRUE(CaptureShowsPattern(capture, window));
}

TEST_F(GdiCapture, SnapshotGivesOneFrameOfTheScreen) {
    PatternWindow window;
    {
        // Let the window reach the screen first: the snapshot takes exactly one frame.
        PersistentGdiCapture warmUp;
        ASSERT_TRUE(warmUp.Init(0, 0));
        ASSERT_TRUE(CaptureShowsPattern(warmUp, window));
    }
    std::vector<uint8_t> pixels;
    CaptureSize size;
    ASSERT_TRUE(CaptureGdiSnapshot(0, 0, pixels, size));
    const CaptureSize screen = PrimaryScreenSize();
    EXPECT_EQ(size, (CaptureSize{screen.width & ~1, screen.height & ~1}));
    EXPECT_TRUE(ShowsPattern(pixels, screen, size));
}

TEST_F(GdiCapture, ChangedPrimarySizeFailsTheFrame) {
    const CaptureSize screen = PrimaryScreenSize();
    CaptureSize reported = screen;
    PersistentGdiCapture capture([&] { return reported; });
    ASSERT_TRUE(capture.Init(0, 0));
    std::vector<uint8_t> pixels;
    ASSERT_TRUE(capture.CaptureFrame(pixels));
    reported = {1024, 768};
    EXPECT_FALSE(capture.CaptureFrame(pixels));
    EXPECT_TRUE(capture.IsReady()) << "the owner decides to initialise again";
    const std::string line = "[GDI][CAPTURE][MODE_CHANGE] source=" + std::to_string(screen.width) + "x" +
                             std::to_string(screen.height) + " current=1024x768";
    EXPECT_EQ(CountOf(CloseAndReadLog(), line), 1u);
}

TEST_F(GdiCapture, NoPrimaryScreenFailsInit) {
    PersistentGdiCapture capture([] { return CaptureSize{0, 600}; });
    EXPECT_FALSE(capture.Init(0, 0));
    EXPECT_FALSE(capture.IsReady());
    std::vector<uint8_t> pixels;
    EXPECT_FALSE(capture.CaptureFrame(pixels));
    EXPECT_EQ(CountOf(CloseAndReadLog(), "[GDI][CAPTURE][INIT_FAIL] invalid primary size=0x600"), 1u);
}

TEST_F(GdiCapture, ReleaseThenInitAgainCaptures) {
    PersistentGdiCapture capture;
    ASSERT_TRUE(capture.Init(0, 0));
    capture.Release();
    EXPECT_FALSE(capture.IsReady());
    std::vector<uint8_t> pixels;
    EXPECT_FALSE(capture.CaptureFrame(pixels));
    ASSERT_TRUE(capture.Init(640, 400));
    EXPECT_TRUE(capture.CaptureFrame(pixels));
    EXPECT_EQ(pixels.size(), static_cast<size_t>(capture.Output().width) * capture.Output().height * 4);
}

TEST_F(GdiCapture, DisplayFingerprintIsValidAndStable) {
    const std::optional<DisplayFingerprint> first = QueryDisplayFingerprint();
    const std::optional<DisplayFingerprint> second = QueryDisplayFingerprint();
    ASSERT_TRUE(first.has_value());
    ASSERT_TRUE(second.has_value());
    EXPECT_TRUE(first->IsValid());
    EXPECT_TRUE(SameDisplayLayout(*first, *second));
    const CaptureSize screen = PrimaryScreenSize();
    EXPECT_EQ(first->primaryWidth, screen.width);
    EXPECT_EQ(first->primaryHeight, screen.height);
    ASSERT_EQ(first->count, static_cast<int32_t>(first->monitors.size()));
    int primaries = 0;
    for (const DisplayMonitor& m : first->monitors)
        primaries += m.primary;
    EXPECT_EQ(primaries, 1);
    EXPECT_EQ(CountOf(CloseAndReadLog(), "[DISPLAY][HOST][ENUM]"), 0u);
    std::printf("fingerprint: %s\n", first->ToText().c_str());
}

TEST_F(GdiCapture, InputDesktopIsTheDefaultDesktop) {
    EXPECT_FALSE(IsSecureDesktopActive());
}

TEST_F(GdiCapture, CaptureRequestFailsWithoutTheServicesEvent) {
    EXPECT_FALSE(RequestSecureDesktopWorkerFrame("test-no-service"));
    const std::string log = CloseAndReadLog();
    EXPECT_EQ(CountOf(log, "[SECURE_VIDEO][WORKER_REQUEST_FAIL] reason=test-no-service error=2 "
                           "event=Global\\MarloSecureDesktopCaptureRequestV1"),
              1u)
        << log;
    EXPECT_EQ(CountOf(log, "[SECURE_VIDEO][WORKER_REQUEST] "), 0u);
}

TEST_F(GdiCapture, CaptureRequestSetsTheServicesEvent) {
    UniqueHandle event(CreateEventW(nullptr, TRUE, FALSE, AsWide(kSecureCaptureRequestEventName).c_str()));
    ASSERT_TRUE(event);
    EXPECT_TRUE(RequestSecureDesktopWorkerFrame("test-with-service"));
    EXPECT_EQ(WaitForSingleObject(event.Get(), 0), WAIT_OBJECT_0);
    EXPECT_EQ(CountOf(CloseAndReadLog(),
                      "[SECURE_VIDEO][WORKER_REQUEST] reason=test-with-service ok=1 error=0 "
                      "event=Global\\MarloSecureDesktopCaptureRequestV1"),
              1u);
}

} // namespace
