// Under Wine: the drag service's start and stop, the shell drop handle, arming a held remote drag, and the
// drag overlay's window, thread and drawing.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "HdropBuilder.h"
#include "LogAssertions.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/win/Handles.h"
#include "dragdrop/RemoteDragSlot.h"
#include "dragdrop/win/DragDrop.h"
#include "dragdrop/win/LocalDragMonitor.h"
#include "TestWait.h"

namespace {

class DragDropTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Log::Open());
        RuntimeStateReset();
        DragDrop::Stop(); // a window test before may have left the service running
        m_logStart = OwnLog().size();
    }
    void TearDown() override {
        DragDrop::Stop();
        DragVisualOverlay::Stop();
        RemoteDragSlot::Instance().Clear();
        RuntimeStateReset();
        Log::Close();
    }
    // This test's part of the process's log.
    std::string FlushedLog() const {
        Log::Flush();
        return OwnLogSince(m_logStart);
    }

    size_t m_logStart = 0;
};

HWND MonitorWindow() {
    return FindWindowExW(HWND_MESSAGE, nullptr, kLocalDragMonitorClass, nullptr);
}

TEST_F(DragDropTest, StartAndStopAreIdempotentAndOwnTheMonitorWindow) {
    DragDrop::KeepInstance(nullptr);
    EXPECT_FALSE(DragDrop::Start(nullptr));
    EXPECT_TRUE(InOrder(FlushedLog(), {"[DRAG][SERVICE][START] skipped no hInst"}));

    DragDrop::KeepInstance(GetModuleHandleW(nullptr));
    ASSERT_TRUE(DragDrop::Start(nullptr));
    EXPECT_NE(MonitorWindow(), nullptr);
    EXPECT_TRUE(DragDrop::Start(nullptr));
    EXPECT_TRUE(DragDrop::Start(nullptr));
    DragDrop::Stop();
    EXPECT_FALSE(DragDrop::IsRunning());
    EXPECT_EQ(MonitorWindow(), nullptr);
    DragDrop::Stop();
    ASSERT_TRUE(DragDrop::Start(nullptr)) << "a stopped service starts again";
    EXPECT_NE(MonitorWindow(), nullptr);

    const std::string log = FlushedLog();
    EXPECT_EQ(CountOf(log, "[DRAGMON] Local drag monitor started: idlePoll=120ms activeDragPoll=30ms"), 2u)
        << log;
    EXPECT_EQ(CountOf(log, "[DRAG][SERVICE][START] already running"), 1u) << "at most once per 5 s\n" << log;
    EXPECT_EQ(CountOf(log, "[DRAG][SERVICE][START] ok=1"), 2u) << log;
    EXPECT_EQ(CountOf(log, "[DRAGMON] Local drag monitor stopped"), 1u) << log;
}

TEST_F(DragDropTest, StopClearsTheRuntimeRemoteDrag) {
    ASSERT_TRUE(DragDrop::Start(GetModuleHandleW(nullptr)));
    RuntimeSetRemoteDrag(true, 2, 100, 1, 5, "C:\\x");
    DragDrop::Stop();
    const RuntimeSnapshot s = RuntimeMakeSnapshot();
    EXPECT_FALSE(s.remoteDragActive);
    EXPECT_EQ(s.remoteDragCount, 0);
}

TEST_F(DragDropTest, ExtractKeepsEveryNameWholeEvenPastTheOldFixedBuffer) {
    const std::wstring longPath = L"C:\\" + std::wstring(1500, L'd') + L"\\file.txt";
    HDROP drop = MakeHdrop({L"C:\\a.txt", longPath}, {0, 0}, false);
    ASSERT_NE(drop, nullptr);
    std::vector<std::u16string> paths{u"stale"};
    ASSERT_TRUE(DragDrop::ExtractHdropFiles(drop, paths, true));
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_EQ(paths[0], u"C:\\a.txt");
    EXPECT_EQ(paths[1].size(), longPath.size());
    EXPECT_EQ(paths[1], std::u16string(longPath.begin(), longPath.end()));
    EXPECT_TRUE(InOrder(FlushedLog(), {"[DRAG][HDROP] extracted count=2 valid=2"}));

    EXPECT_FALSE(DragDrop::ExtractHdropFiles(nullptr, paths, true));
    EXPECT_TRUE(paths.empty()) << "the output is emptied first";
}

TEST_F(DragDropTest, AllowShellDropMessagesNeedsAWindow) {
    EXPECT_FALSE(DragDrop::AllowShellDropMessages(nullptr, "test"));
    EXPECT_TRUE(InOrder(FlushedLog(), {"[DRAG][UIPI] allow shell drop skipped owner=test hwnd=0"}));
}

TEST_F(DragDropTest, ArmRemoteDragOnlyOnTheControllerAndOnlyOnce) {
    RemoteDragSlot::Instance().Hold(42, 1, 0);
    RuntimeSetRole(RuntimeRole::Controlled);
    EXPECT_TRUE(DragDrop::IsRemoteDragPending());
    DragDrop::ArmRemoteDrag("test-controlled");
    EXPECT_FALSE(RemoteDragSlot::Instance().Read().armed);
    RuntimeSetRole(RuntimeRole::Controller);
    DragDrop::ArmRemoteDrag("test-controller");
    DragDrop::ArmRemoteDrag("test-again");
    EXPECT_TRUE(RemoteDragSlot::Instance().Read().armed);
    const std::string log = FlushedLog();
    EXPECT_EQ(CountOf(log, "[RDRAG][ARM]"), 1u) << log;
    EXPECT_TRUE(InOrder(log, {"[RDRAG][ARM] dragId=42 reason=test-controller"}));
}

TEST_F(DragDropTest, VirtualScreenDropIsSkippedWhileTheModeIsOff) {
    EXPECT_FALSE(DragDrop::VirtualScreenLocalDrop({u"C:\\a"}, {0, 0}, nullptr));
    EXPECT_TRUE(InOrder(FlushedLog(), {"[VSCREEN][DROP][PUBLIC] skipped mode=off reason=public-edge-drop"}));
}

TEST_F(DragDropTest, OverlayFollowsTheCursorClickThroughAndHidesWhenTheFlagClears) {
    ASSERT_TRUE(SetCursorPos(200, 150));
    DragVisualOverlay::SetActive(true);
    DragVisualOverlay::StartOnce();
    ASSERT_TRUE(WaitUntil([] { return DragVisualOverlay::Window() != nullptr; }, 3000));
    HWND overlay = DragVisualOverlay::Window();
    PostMessageW(overlay, WM_TIMER, DragVisualOverlay::kTimerId, 0);
    ASSERT_TRUE(WaitUntil([] { return DragVisualOverlay::IsShown(); }, 2000));
    EXPECT_TRUE(IsWindowVisible(overlay));
    RECT rc{};
    GetWindowRect(overlay, &rc);
    EXPECT_EQ(rc.left, 218);
    EXPECT_EQ(rc.top, 168);
    EXPECT_EQ(rc.right - rc.left, 54);
    EXPECT_EQ(rc.bottom - rc.top, 38);
    EXPECT_EQ(SendMessageW(overlay, WM_NCHITTEST, 0, MAKELPARAM(220, 170)), HTTRANSPARENT);
    const LONG_PTR ex = GetWindowLongPtrW(overlay, GWL_EXSTYLE);
    for (LONG_PTR bit : {LONG_PTR{WS_EX_TOPMOST}, LONG_PTR{WS_EX_TRANSPARENT}, LONG_PTR{WS_EX_TOOLWINDOW},
                         LONG_PTR{WS_EX_LAYERED}, LONG_PTR{WS_EX_NOACTIVATE}})
        EXPECT_NE(ex & bit, 0) << std::hex << bit;
    EXPECT_NE(GetForegroundWindow(), overlay);

    DragVisualOverlay::SetActive(false);
    PostMessageW(overlay, WM_TIMER, DragVisualOverlay::kTimerId, 0);
    EXPECT_TRUE(WaitUntil([overlay] { return !IsWindowVisible(overlay); }, 2000));
    EXPECT_FALSE(DragVisualOverlay::IsShown());

    DragVisualOverlay::Stop();
    EXPECT_FALSE(DragVisualOverlay::IsRunning());
    EXPECT_EQ(DragVisualOverlay::Window(), nullptr);
    EXPECT_FALSE(IsWindow(overlay));
    EXPECT_TRUE(InOrder(FlushedLog(), {"[DRAGVIS][THREAD] started hwnd=", "[DRAGVIS][THREAD] stopped",
                                       "[DRAGVIS][SHUTDOWN]"}));
}

TEST_F(DragDropTest, OverlayStopRightAfterStartEndsTheThreadEveryTimeAndItStartsAgain) {
    for (int round = 0; round < 5; ++round) {
        DragVisualOverlay::StartOnce();
        DragVisualOverlay::Stop();
        EXPECT_FALSE(DragVisualOverlay::IsRunning()) << "round " << round;
        EXPECT_EQ(DragVisualOverlay::Window(), nullptr) << "round " << round;
    }
    const std::string log = FlushedLog();
    EXPECT_EQ(CountOf(log, "[DRAGVIS][THREAD] stopped"), 5u) << log;
    DragVisualOverlay::StartOnce();
    EXPECT_TRUE(WaitUntil([] { return DragVisualOverlay::Window() != nullptr; }, 3000));
}

COLORREF PixelAt(const uint32_t* bits, int width, int x, int y) {
    const uint32_t v = bits[y * width + x]; // BGRA in memory
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

TEST_F(DragDropTest, OverlayGlyphOnAMemoryDc) {
    constexpr int w = DragVisualOverlay::kWidth, h = DragVisualOverlay::kHeight;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* raw = nullptr;
    UniqueMemoryDC dc(CreateCompatibleDC(nullptr));
    UniqueGdiObject bitmap(CreateDIBSection(dc.Get(), &info, DIB_RGB_COLORS, &raw, nullptr, 0));
    ASSERT_NE(bitmap.Get(), nullptr);
    ScopedDCSelection selected(dc.Get(), SelectObject(dc.Get(), bitmap.Get()));
    HGDIOBJ penBefore = GetCurrentObject(dc.Get(), OBJ_PEN);
    HGDIOBJ brushBefore = GetCurrentObject(dc.Get(), OBJ_BRUSH);

    DragVisualOverlay::Draw(dc.Get(), {0, 0, w, h});
    GdiFlush();
    const auto* bits = static_cast<const uint32_t*>(raw);

    EXPECT_EQ(PixelAt(bits, w, 0, 0), RGB(255, 0, 255)) << "colour key outside the glyph";
    EXPECT_EQ(PixelAt(bits, w, 53, 0), RGB(255, 0, 255));
    EXPECT_EQ(PixelAt(bits, w, 10, 10), RGB(255, 255, 255)) << "page";
    EXPECT_EQ(PixelAt(bits, w, 4, 10), RGB(40, 40, 40)) << "page outline";
    EXPECT_EQ(PixelAt(bits, w, 35, 10), RGB(80, 80, 80)) << "shadow right of the page";
    EXPECT_EQ(PixelAt(bits, w, 12, 19), RGB(130, 130, 130)) << "first text line";
    EXPECT_EQ(PixelAt(bits, w, 47, 31), RGB(38, 180, 68)) << "badge";
    EXPECT_EQ(PixelAt(bits, w, 40, 27), RGB(255, 255, 255)) << "plus centre";
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_PEN), penBefore) << "the previous pen is selected back";
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BRUSH), brushBefore);
}

} // namespace
