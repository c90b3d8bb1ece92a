#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "LogAssertions.h"
#include "TestWait.h"
#include "core/ConfigService.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "transfer/FileTransferUi.h"
#include "ui/win/LongTransferWatcher.h"
#include "ui/win/MainWindow.h"
#include "ui/win/TransferProgressView.h"

namespace {

constexpr wchar_t kHostClass[] = L"TslyTransferViewTestHost";

// What the host window received of the long-transfer show message.
std::vector<std::pair<WPARAM, LPARAM>> g_shows;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP_LONG_TRANSFER_SHOW) {
        g_shows.emplace_back(wParam, lParam);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

class TransferProgressViewTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(Log::Open());
        HINSTANCE instance = GetModuleHandleW(nullptr);
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&controls);
        // Registered as the main window registers it.
        WNDCLASSW wc{};
        wc.lpfnWndProc = TransferProgressWindowProc();
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = L"Marlo_TransferProgressView";
        RegisterClassW(&wc);
        WNDCLASSW host{};
        host.lpfnWndProc = HostProc;
        host.hInstance = instance;
        host.lpszClassName = kHostClass;
        RegisterClassW(&host);
        ConfigService::Instance().SetUiLanguageEnglish(true);
    }

    void SetUp() override {
        RuntimeStateReset();
        RuntimeSetRole(RuntimeRole::Controller);
        FileTransferUi::Instance().Clear();
        g_shows.clear();
        HINSTANCE instance = GetModuleHandleW(nullptr);
        m_main = CreateWindowExW(0, kHostClass, L"host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 816,
                                 639, nullptr, nullptr, instance, nullptr);
        ASSERT_NE(m_main, nullptr);
        m_view = CreateWindowExW(WS_EX_TOPMOST, L"Marlo_TransferProgressView", L"",
                                 WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, kTransferViewWidth,
                                 kTransferViewHeight, m_main, nullptr, instance, nullptr);
        ASSERT_NE(m_view, nullptr);
        m_logStart = OwnLog().size();
    }

    void TearDown() override {
        if (IsWindow(m_main))
            DestroyWindow(m_main);
        FileTransferUi::Instance().Clear();
        RuntimeStateReset();
    }

    void Refresh() { SendMessageW(m_view, WM_APP_PROGRESS_RELAYOUT, 0, 0); }
    HWND Button() { return GetDlgItem(m_view, kTransferViewButtonId); }
    HWND Bar() { return FindWindowExW(m_view, nullptr, PROGRESS_CLASSW, nullptr); }
    std::wstring ButtonText() {
        wchar_t text[64] = {};
        GetWindowTextW(Button(), text, 64);
        return text;
    }
    void Press() {
        SendMessageW(m_view, WM_COMMAND, MAKEWPARAM(kTransferViewButtonId, BN_CLICKED),
                     reinterpret_cast<LPARAM>(Button()));
    }
    // The view's own visible style: the host stays hidden, since Wine without a window manager spends
    // seconds on hiding or destroying a shown top-level window.
    bool Visible() { return (GetWindowLongW(m_view, GWL_STYLE) & WS_VISIBLE) != 0; }

    HWND m_main = nullptr;
    HWND m_view = nullptr;
    size_t m_logStart = 0;
};

TEST_F(TransferProgressViewTest, CreationMakesTheBarAndTheButtonAndStaysHidden) {
    ASSERT_NE(Bar(), nullptr);
    ASSERT_NE(Button(), nullptr);
    EXPECT_EQ(ButtonText(), L"取消");
    EXPECT_EQ(SendMessageW(Bar(), PBM_GETRANGE, FALSE, 0), 100);
    EXPECT_FALSE(Visible());
}

TEST_F(TransferProgressViewTest, RefreshShowsAMovingOrFailedTransferAndHidesTheRest) {
    FileTransferUi& model = FileTransferUi::Instance();
    model.Start(FileTransferPhase::Sending, 501, u"a.bin", 1000);
    model.UpdateProgress(501, u"a.bin", 1000, 1000, 30, 120);
    Refresh();
    EXPECT_TRUE(Visible());
    EXPECT_EQ(SendMessageW(Bar(), PBM_GETPOS, 0, 0), 25);
    EXPECT_EQ(ButtonText(), L"Cancel");
    SendMessageW(m_view, WM_PAINT, 0, 0); // the double-buffered paint runs through

    model.Fail(501, u"recv failed");
    Refresh();
    EXPECT_TRUE(Visible()) << "a failure stays to be read";
    EXPECT_EQ(ButtonText(), L"Close");

    model.Clear();
    Refresh();
    EXPECT_FALSE(Visible());

    model.Start(FileTransferPhase::Receiving, 502, u"b.bin", 10);
    RuntimeSetRole(RuntimeRole::Controlled);
    Refresh();
    EXPECT_FALSE(Visible()) << "only the controller shows the window";
}

TEST_F(TransferProgressViewTest, TheButtonCancelsAMovingTransferAndClosesAFinishedOne) {
    FileTransferUi& model = FileTransferUi::Instance();
    model.Start(FileTransferPhase::Receiving, 503, u"c.bin", 100);
    Refresh();
    Press();
    EXPECT_TRUE(model.IsCancelRequested(503));
    FileTransferSnapshot s;
    model.Snapshot(s);
    EXPECT_EQ(s.message, u"Cancel requested");
    EXPECT_TRUE(Visible());

    model.Cancel(503, u"");
    EXPECT_FALSE(model.IsCancelRequested(503)) << "no request once the transfer is canceled";
    Refresh();
    EXPECT_EQ(ButtonText(), L"Close");
    Press();
    EXPECT_FALSE(model.Snapshot(s)) << "Close clears the model";
    EXPECT_FALSE(Visible());
}

TEST_F(TransferProgressViewTest, OneRefreshIsPendingPerBurst) {
    MarkTransferRefreshPending();
    Refresh();
    EXPECT_TRUE(MarkTransferRefreshPending());
    EXPECT_FALSE(MarkTransferRefreshPending()) << "already pending: no second post";
    Refresh();
    EXPECT_TRUE(MarkTransferRefreshPending()) << "the refresh cleared it";
    HideTransferProgressWithMainWindow(m_view);
    EXPECT_TRUE(MarkTransferRefreshPending()) << "hiding cleared it";
    Refresh();
}

TEST_F(TransferProgressViewTest, PositionCentresOverTheMainWindowAtLeast12PxIn) {
    RECT client;
    GetClientRect(m_main, &client);
    PositionTransferProgressWindow(m_main, m_view);
    RECT r;
    GetWindowRect(m_view, &r);
    MapWindowPoints(HWND_DESKTOP, m_main, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, std::max<LONG>(12, (client.right - 390) / 2));
    EXPECT_EQ(r.top, std::max<LONG>(12, (client.bottom - 158) / 2));

    SetWindowPos(m_main, nullptr, 0, 0, 300, 150, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    PositionTransferProgressWindow(m_main, m_view);
    GetWindowRect(m_view, &r);
    MapWindowPoints(HWND_DESKTOP, m_main, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 12);
    EXPECT_EQ(r.top, 12);
}

TEST_F(TransferProgressViewTest, TheWatcherPostsOncePerLongTransferAndStopsWithTheWindow) {
    FileTransferUi& model = FileTransferUi::Instance();
    model.Start(FileTransferPhase::Sending, 601, u"big.iso", 1 << 30);
    StartLongTransferWorker(m_main, 1); // clamped to the 1000 ms minimum
    ASSERT_TRUE(PumpUntil([] { return !g_shows.empty(); }, 4000));
    EXPECT_EQ(g_shows[0].first, 601u);
    EXPECT_GE(g_shows[0].second, 1000);
    PumpUntil([] { return false; }, 1200);
    EXPECT_EQ(g_shows.size(), 1u) << "once per transfer id";

    model.Start(FileTransferPhase::Sending, 602, u"next.iso", 1 << 30);
    StartLongTransferWorker(m_main, 1); // the running worker is kept
    ASSERT_TRUE(PumpUntil([] { return g_shows.size() == 2; }, 4000));
    EXPECT_EQ(g_shows[1].first, 602u);

    size_t stopsBefore = CountOf(OwnLog(), "[TRANSFER][LONG][WORKER] stop");
    DestroyWindow(m_main);
    std::string log = WaitForOwnLog("[TRANSFER][LONG][WORKER] stop", 3000, stopsBefore + 1);
    std::string since = log.substr(std::min(m_logStart, log.size()));
    EXPECT_EQ(CountOf(since, "[TRANSFER][LONG][WORKER] start hwnd="), 1u);
    // The tracking lines are left out of the log unless the transfer category is on.
    EXPECT_TRUE(InOrder(since, {"[TRANSFER][LONG][WORKER][POST] id=601",
                                "[TRANSFER][LONG][WORKER][POST] id=602", "[TRANSFER][LONG][WORKER] stop"}));
}

TEST_F(TransferProgressViewTest, ShowingForALongTransferRestoresAHiddenWindow) {
    ShowWindow(m_main, SW_HIDE);
    ShowMainWindowForLongTransfer(m_main, 701, 5123);
    EXPECT_TRUE(IsWindowVisible(m_main));
    EXPECT_EQ(GetWindowLongW(m_main, GWL_EXSTYLE) & WS_EX_TOPMOST, 0) << "topmost only for the switch";
    EXPECT_NE(
        OwnLogSince(m_logStart).find("[TRANSFER][LONG][SHOW] id=701 ageMs=5123 wasVisible=0 wasIconic=0"),
        std::string::npos);
}

} // namespace
