// Under Wine: a real RemoteView child window with a recording input route. Messages go in with
// SendMessage, the route and the log show what RemoteView made of them.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "HdropBuilder.h"
#include "LogAssertions.h"
#include "RecordingInputRoute.h"
#include "TestWait.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "dragdrop/RemoteDragOffer.h"
#include "dragdrop/RemoteDragSlot.h"
#include "dragdrop/VirtualScreenEdge.h"
#include "media/RemoteViewCover.h"
#include "ui/win/BlackCover.h"
#include "ui/win/MainWindow.h"
#include "ui/win/RemoteViewWindow.h"
#include "ui/win/StateViewVisibility.h"

namespace {

constexpr wchar_t kParentClass[] = L"TslyRemoteViewTestParent";

void SetCtrlAlt(bool down) {
    BYTE keys[256] = {};
    const BYTE state = down ? 0x80 : 0;
    keys[VK_CONTROL] = keys[VK_LCONTROL] = keys[VK_MENU] = keys[VK_LMENU] = state;
    SetKeyboardState(keys);
}

class RemoteViewTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSW view{};
        view.style = CS_DBLCLKS;
        view.lpfnWndProc = RemoteViewWndProc;
        view.hInstance = instance;
        view.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        view.lpszClassName = kRemoteViewClass;
        RegisterClassW(&view);
        WNDCLASSW parent{};
        parent.lpfnWndProc = DefWindowProcW;
        parent.hInstance = instance;
        parent.lpszClassName = kParentClass;
        RegisterClassW(&parent);
        RegisterBlackCoverClass(instance);
        InstallBlackCover();
    }

    void SetUp() override {
        ASSERT_TRUE(Log::Open());
        RuntimeStateReset();
        SetRemoteInputRoute(&m_route);
        m_parent = CreateWindowExW(0, kParentClass, L"main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 700,
                                   500, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(m_parent, nullptr);
        m_view = CreateWindowExW(0, kRemoteViewClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 320,
                                 240, m_parent, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(m_view, nullptr);
        RuntimeSetMainWindow(reinterpret_cast<RuntimeWindow>(m_parent));
        RuntimeSetRemoteViewWindow(reinterpret_cast<RuntimeWindow>(m_view));
        RuntimeSetDesktopSize(1920, 1080);
        SetCtrlAlt(false);
    }

    void TearDown() override {
        SetCtrlAlt(false);
        ReleaseCapture();
        RemoteDragSlot::Instance().Clear();
        if (m_parent != nullptr)
            DestroyWindow(m_parent); // RemoteView and its cover with it
        RuntimeSetRemoteViewWindow(0);
        RuntimeSetMainWindow(0);
        SetRemoteInputRoute(nullptr);
        RuntimeStateReset();
        Log::Close();
    }

    std::string FlushedLog() {
        Log::Flush();
        return OwnLog();
    }
    bool TakeFromParent(UINT message) {
        MSG msg{};
        return PeekMessageW(&msg, m_parent, message, message, PM_REMOVE) != 0;
    }

    RecordingInputRoute m_route;
    HWND m_parent = nullptr;
    HWND m_view = nullptr;
};

TEST_F(RemoteViewTest, OrdinaryKeysGoToThePeerDownAndUp) {
    SendMessageW(m_view, WM_KEYDOWN, 'A', 0x001E0001);
    SendMessageW(m_view, WM_KEYUP, 'A', static_cast<LPARAM>(0xC01E0001u));
    SendMessageW(m_view, WM_SYSKEYDOWN, VK_F4, 0x203E0001);
    EXPECT_EQ(m_route.Calls(),
              (std::vector<std::string>{"key 0x0100 65", "key 0x0101 65", "key 0x0104 115"}));
}

TEST_F(RemoteViewTest, CtrlAltZeroTwiceWithin250MsTogglesStateViewOnceAndSendsNothing) {
    Sleep(300); // clear of any earlier toggle's debounce
    const bool before = IsStateViewVisible();
    SetCtrlAlt(true);
    SendMessageW(m_view, WM_KEYDOWN, '0', 0x000B0001);
    SendMessageW(m_view, WM_KEYDOWN, '0', 0x400B0001);
    EXPECT_TRUE(m_route.Calls().empty());
    EXPECT_NE(IsStateViewVisible(), before) << "flipped exactly once";
    const std::string log = FlushedLog();
    EXPECT_EQ(CountOf(log, "StateView toggled by RemoteView Ctrl+Alt+0: visible="), 1u) << log;
    EXPECT_EQ(CountOf(log, "StateView RemoteView Ctrl+Alt+0 ignored by debounce"), 1u) << log;
    Sleep(260);
    SendMessageW(m_view, WM_KEYDOWN, '0', 0x000B0001);
    EXPECT_EQ(IsStateViewVisible(), before) << "a press after the debounce toggles again";
}

TEST_F(RemoteViewTest, CtrlAltF11PostsFullscreenToggleToTheParentAndSendsNothing) {
    SetCtrlAlt(true);
    SendMessageW(m_view, WM_KEYDOWN, VK_F11, 0x00570001);
    EXPECT_TRUE(TakeFromParent(WM_APP_TOGGLE_FULLSCREEN));
    EXPECT_TRUE(m_route.Calls().empty());
    EXPECT_TRUE(InOrder(FlushedLog(), {"Fullscreen toggled by RemoteView Ctrl+Alt+F11"}));
    SetCtrlAlt(false);
    SendMessageW(m_view, WM_KEYDOWN, VK_F11, 0x00570001);
    EXPECT_FALSE(TakeFromParent(WM_APP_TOGGLE_FULLSCREEN)) << "F11 alone is the peer's";
    EXPECT_EQ(m_route.Calls(), std::vector<std::string>{"key 0x0100 122"});
}

TEST_F(RemoteViewTest, MouseMoveWithoutTcpGoesToTheHidQueueAndEntryLeaveSyncModifiersOnce) {
    m_route.tcpReady = false;
    SendMessageW(m_view, WM_MOUSEMOVE, 0, MAKELPARAM(10, 20));
    SendMessageW(m_view, WM_MOUSEMOVE, 0, MAKELPARAM(11, 21));
    SendMessageW(m_view, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(m_route.Calls(),
              (std::vector<std::string>{"sync RemoteViewMouseEnter", "hid 0x0200 10,20", "hid 0x0200 11,21",
                                        "release RemoteViewMouseLeave"}));
    EXPECT_TRUE(TakeFromParent(WM_APP_REMOTE_INPUT_LEAVE));
    EXPECT_FALSE(RuntimeIsKeyboardActive());
}

TEST_F(RemoteViewTest, MouseMoveWithTcpReadyIsMappedToTheDesktopSize) {
    m_route.tcpReady = true;
    SendMessageW(m_view, WM_MOUSEMOVE, 0, MAKELPARAM(10, 20)); // 320x240 over 1920x1080
    SendMessageW(m_view, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), MAKELPARAM(0, 0));
    const std::vector<std::string> calls = m_route.Calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[1], "move 60,90");
    EXPECT_EQ(calls[2].rfind("wheel -120 ", 0), 0u) << calls[2];
    EXPECT_TRUE(RuntimeIsKeyboardActive());
}

TEST_F(RemoteViewTest, LeftDragLeavingDuringARemoteDragReturnsThePeerCursorOnce) {
    m_route.tcpReady = true;
    RuntimeSetRole(RuntimeRole::Controller);
    RuntimeSetRemoteDrag(true, 1, 10, 1, 9, "x");
    RemoteDragSlot::Instance().Hold(9, 1, 0);
    SendMessageW(m_view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(32, 24));
    m_route.Clear();
    SendMessageW(m_view, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(-30), 24));
    SendMessageW(m_view, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(-60), 24));
    SendMessageW(m_view, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(100, 24)); // back inside: moves again
    EXPECT_EQ(m_route.Calls(),
              (std::vector<std::string>{"sync RemoteViewMouseEnter", "move 192,108", "move 600,108"}));
    EXPECT_TRUE(RemoteDragSlot::Instance().Read().armed);
    const std::string log = FlushedLog();
    EXPECT_EQ(CountOf(log,
                      "[RDRAG][LEAVE] return remote cursor to drag start remote=(192,108) localStart=(32,24) "
                      "reason=mousemove-outside"),
              1u)
        << log;
    EXPECT_EQ(CountOf(log, "[RDRAG][ARM] dragId=9 reason=mousemove-outside"), 1u) << log;
}

// Records the remote drag's calls; the download always starts.
class RecordingDragOffer final : public IRemoteDragOffer {
public:
    bool TriggerDownload(const std::u16string& target) override {
        calls.push_back("trigger " + std::string(target.begin(), target.end()));
        return true;
    }
    void CancelForLocalDrop(const char* reason) override { calls.push_back(std::string("cancel ") + reason); }
    std::vector<std::string> calls;
};

void PressLeftButton(bool down) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof(input));
}

TEST_F(RemoteViewTest, LeftReleaseOutsideDuringARemoteDragDownloadsHereAndCancelsThePeerDrag) {
    RecordingDragOffer offer;
    SetRemoteDragOffer(&offer);
    m_route.tcpReady = true;
    RuntimeSetRole(RuntimeRole::Controller);
    RuntimeSetRemoteDrag(true, 1, 10, 1, 4, "x");
    RemoteDragSlot::Instance().Hold(4, 1, 0);
    SendMessageW(m_view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(32, 24));
    RECT rc{};
    GetWindowRect(m_view, &rc);
    ASSERT_TRUE(SetCursorPos(rc.right + 40, rc.bottom + 40));
    m_route.Clear();
    SendMessageW(m_view, WM_LBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(rc.right - rc.left + 40), 24));
    SetRemoteDragOffer(nullptr);
    EXPECT_EQ(m_route.Calls(), (std::vector<std::string>{"move 192,108", "cancel-drag"}))
        << "the peer's cursor goes back, the peer's drag ends, and the release itself is not sent";
    EXPECT_EQ(offer.calls, std::vector<std::string>{"trigger "});
    EXPECT_TRUE(InOrder(FlushedLog(),
                        {"reason=button-up-outside",
                         "[RDRAG][DROP] RemoteView mouse-up outside target=<default> trigger=1 fallback=1"}));
}

TEST_F(RemoteViewTest, TimerReturnsThePeerCursorOnceWhileTheHeldLeftButtonIsOutside) {
    m_route.tcpReady = true;
    RuntimeSetRole(RuntimeRole::Controller);
    RuntimeSetRemoteDrag(true, 1, 10, 1, 5, "x");
    RemoteDragSlot::Instance().Hold(5, 1, 0);
    SendMessageW(m_view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(32, 24));
    RECT rc{};
    GetWindowRect(m_view, &rc);
    ASSERT_TRUE(SetCursorPos(rc.right + 40, rc.top + 10));
    PressLeftButton(true);
    PumpUntil([] { return (GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0; }, 1000);
    m_route.Clear();
    for (int tick = 0; tick < 3; ++tick)
        SendMessageW(m_view, WM_TIMER, kRemoteViewTimerId, 0);
    PressLeftButton(false);
    PumpUntil([] { return (GetAsyncKeyState(VK_LBUTTON) & 0x8000) == 0; }, 1000);
    const std::vector<std::string> calls = m_route.Calls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "move 192,108"), 1) << ::testing::PrintToString(calls);
    EXPECT_EQ(CountOf(FlushedLog(), "reason=timer-outside"), 2u) << "one return line and one arm line";
}

TEST_F(RemoteViewTest, DroppedFilesWhileNotControllingAreRefusedWithTheirCount) {
    m_route.active = false;
    HDROP drop = MakeHdrop({L"C:\\dropped\\one.txt", L"C:\\dropped\\two.txt"}, {5, 5}, true);
    ASSERT_NE(drop, nullptr);
    SendMessageW(m_view, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    const std::string log = FlushedLog();
    EXPECT_TRUE(InOrder(log, {"[DRAGMON][LOCAL->REMOTE] drop into RemoteView",
                              "[DRAG][HDROP] extracted count=2 valid=2",
                              "[TRANSFER][OFFER][FAIL] remote input/control path not ready count=2"}));
    EXPECT_EQ(CountOf(log, "RemoteView drop point"), 0u) << "a drop outside the client area moves nothing";
    EXPECT_EQ(CountOf(log, "RemoteView dropped files"), 0u);
    EXPECT_TRUE(m_route.Calls().empty());
    EXPECT_NE(RemoteViewLastDropTick(), 0u);
}

// A virtual screen whose edge is everywhere.
class EdgeEverywhere final : public IVirtualScreenEdge {
public:
    int32_t Mode() override { return 2; }
    bool IsPointAtEdge(int32_t, int32_t) override { return true; }
};

TEST_F(RemoteViewTest, FilesDroppedAtTheVirtualScreenEdgeAreIgnored) {
    EdgeEverywhere edge;
    SetVirtualScreenEdge(&edge);
    HDROP drop = MakeHdrop({L"C:\\dropped\\one.txt"}, {160, 120}, false);
    ASSERT_NE(drop, nullptr);
    SendMessageW(m_view, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    SetVirtualScreenEdge(nullptr);
    const std::string log = FlushedLog();
    EXPECT_TRUE(
        InOrder(log, {"[VSCREEN][GUARD] ignore WM_DROPFILES into RemoteView only on virtual edge pt="}));
    EXPECT_EQ(CountOf(log, "[DRAG][HDROP]"), 0u) << log;
    EXPECT_TRUE(m_route.Calls().empty());
}

TEST_F(RemoteViewTest, DropInsideTheClientAreaMovesThePeerCursorFirstThenQueuesTheOffer) {
    m_route.active = true;
    HDROP drop = MakeHdrop({L"C:\\dropped\\one.txt"}, {160, 120}, false);
    ASSERT_NE(drop, nullptr);
    SendMessageW(m_view, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    EXPECT_EQ(m_route.Calls(), std::vector<std::string>{"move 960,540 priority"});
    const std::string log = FlushedLog();
    // No clipboard channel is installed in this process: the list waits in the pending queue.
    EXPECT_TRUE(
        InOrder(log, {"RemoteView drop point local=(160,120) remote=(960,540), priority cursor update",
                      "[TRANSFER][OFFER] dropped-files count=1 clipRunning=0 clipConnected=0",
                      "[TRANSFER][PENDING][QUEUE] count=1 depth=", "reason=clipboard-not-running",
                      "RemoteView dropped files count=1"}))
        << log;
    EXPECT_EQ(RuntimeMakeSnapshot().statusMessage, "Sending dropped files...");
}

TEST_F(RemoteViewTest, CoverWishedFromAWorkerThreadIsMadeAndShownOnTheUiThread) {
    IRemoteViewCover* cover = RemoteViewCover();
    ASSERT_NE(cover, nullptr);
    ASSERT_EQ(BlackCoverWindow(), nullptr);
    std::thread worker([cover] { cover->Show(true); });
    worker.join();
    EXPECT_EQ(BlackCoverWindow(), nullptr) << "the worker only posted the wish";
    EXPECT_TRUE(cover->IsShown());
    ASSERT_TRUE(PumpUntil([] { return BlackCoverWindow() != nullptr; }, 2000));
    HWND made = BlackCoverWindow();
    EXPECT_EQ(GetWindowThreadProcessId(made, nullptr), GetCurrentThreadId());
    EXPECT_EQ(GetParent(made), m_view);
    EXPECT_TRUE(IsWindowVisible(made));
    RECT rc{};
    GetClientRect(made, &rc);
    EXPECT_EQ(rc.right, 320);
    EXPECT_EQ(rc.bottom, 240);

    std::thread hider([cover] { cover->Show(false); });
    hider.join();
    EXPECT_TRUE(PumpUntil([made] { return !IsWindowVisible(made); }, 2000));
    EXPECT_FALSE(cover->IsShown());
}

// The cover lies over RemoteView, so the real cursor is over the cover, not over RemoteView: leave tracking
// must follow the cover or every move over it would end the entry again and release the peer's modifiers.
TEST_F(RemoteViewTest, MovesOverTheCoverAreOneEntryWithoutReleasingThePeerModifiers) {
    RemoteViewCover()->Show(true);
    HWND cover = BlackCoverWindow();
    ASSERT_NE(cover, nullptr);
    RECT rc{};
    GetWindowRect(cover, &rc);
    m_route.Clear();
    ASSERT_TRUE(SetCursorPos((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2));
    PumpUntil([] { return false; }, 100);
    // Wine checks tracked windows on a timer of the hover time (400 ms): wait past it once.
    PumpUntil([] { return false; }, 700);
    for (int i = 0; i < 3; ++i) {
        SendMessageW(cover, WM_MOUSEMOVE, 0, MAKELPARAM(100 + i, 50));
        PumpUntil([] { return false; }, 60);
    }
    PumpUntil([] { return false; }, 700);
    const std::vector<std::string> calls = m_route.Calls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front(), "sync RemoteBlackCoverMouseEnter");
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "sync RemoteBlackCoverMouseEnter"), 1)
        << ::testing::PrintToString(calls);
    for (const std::string& call : calls)
        EXPECT_EQ(call.rfind("release", 0), std::string::npos) << ::testing::PrintToString(calls);
    EXPECT_EQ(calls.back(), "hid 0x0200 102,50");
    SendMessageW(cover, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(m_route.Calls().back(), "release RemoteBlackCoverMouseLeave");
}

TEST_F(RemoteViewTest, LayoutFitsRemoteViewAndItsCoverToTheMainClientArea) {
    RemoteViewCover()->Show(true); // this thread owns the windows: applied at once
    ASSERT_NE(BlackCoverWindow(), nullptr);
    RemoteViewDeferredMove(m_parent);
    RECT main{}, view{}, cover{};
    GetClientRect(m_parent, &main);
    GetClientRect(m_view, &view);
    GetClientRect(BlackCoverWindow(), &cover);
    EXPECT_EQ(view.right, main.right);
    EXPECT_EQ(view.bottom, main.bottom);
    EXPECT_EQ(cover.right, main.right);
    EXPECT_EQ(cover.bottom, main.bottom);
    EXPECT_TRUE(IsWindowVisible(BlackCoverWindow()));
}

TEST_F(RemoteViewTest, DestroyingRemoteViewStopsTheRendererAndTakesTheCover) {
    RemoteViewCover()->Show(true);
    ASSERT_NE(BlackCoverWindow(), nullptr);
    DestroyWindow(m_view);
    m_view = nullptr;
    EXPECT_EQ(BlackCoverWindow(), nullptr);
    EXPECT_TRUE(InOrder(FlushedLog(), {"RemoteView WM_DESTROY: stop renderer"}));
}

} // namespace
