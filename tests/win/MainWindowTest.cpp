// Under Wine: the main window in this process, with recording parts and a stubbed lifecycle (no discovery
// starts). The log is the oracle where the behaviour is a log line.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <atomic>
#include <memory>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "LogAssertions.h"
#include "core/CommandBus.h"
#include "core/ConfigService.h"
#include "core/EventBus.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/win/RuntimeNotifierWin.h"
#include "ui/TrayMenuGate.h"
#include "ui/win/MainWindow.h"
#include "ui/win/MainWindowParts.h"
#include "ui/win/StateViewVisibility.h"

namespace {

struct Balloon {
    std::wstring text;
    uint32_t flags, timeout;
};

class RecordingParts final : public IMainWindowParts {
public:
    void AddTrayIcon(HWND) override {
        ++adds;
        flagSeenAtAdd = TrayFlags().iconAdded;
        TrayFlags().iconAdded = true;
    }
    void ShowTrayBalloon(HWND, const std::wstring& text, uint32_t flags, uint32_t timeout) override {
        balloons.push_back({text, flags, timeout});
    }
    void ShowTrayMenu(HWND main, POINT at, const char* source) override {
        menuSources.push_back(source);
        IMainWindowParts::ShowTrayMenu(main, at, source);
    }
    bool IsClipboardServiceEnabled() override { return clipboardEnabled; }
    TransferUiSnapshot TransferSnapshot() override { return transfer; }
    void StartLongTransferWorker(uint64_t id, uint32_t delayMs) override {
        workerIds.push_back(id);
        workerDelay = delayMs;
    }
    void BringForwardForLongTransfer(HWND, uint64_t, uint32_t) override { ++bringForwards; }
    // These tests drive the window's own key handling: no hook or poll takes the shortcuts first
    // (KeyboardHookTest covers those).
    HOOKPROC KeyboardHookProc() override { return nullptr; }
    void HotkeyPoll(HWND) override {}

    int adds = 0;
    bool flagSeenAtAdd = true;
    std::vector<Balloon> balloons;
    std::vector<std::string> menuSources;
    bool clipboardEnabled = true;
    TransferUiSnapshot transfer;
    std::vector<uint64_t> workerIds;
    uint32_t workerDelay = 0;
    int bringForwards = 0;
};

RecordingParts* g_parts = nullptr;
std::atomic<int> g_starts{0};
std::atomic<int> g_stops{0};
std::atomic<bool> g_stopRanOffUiThread{false};
std::atomic<bool> g_uiAnsweredDuringStop{false};
DWORD g_uiThread = 0;
HWND g_probe = nullptr;
HANDLE g_probeAnswered = nullptr;

constexpr UINT kProbeMessage = WM_APP + 77;

LRESULT CALLBACK ProbeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kProbeMessage) {
        SetEvent(g_probeAnswered);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

bool StubStart() {
    ++g_starts;
    return true;
}

// Stands for a slow stop: it asks the UI thread for an answer and waits for it.
void StubStop(const char*) {
    ++g_stops;
    g_stopRanOffUiThread = GetCurrentThreadId() != g_uiThread;
    ResetEvent(g_probeAnswered);
    PostMessageW(g_probe, kProbeMessage, 0, 0);
    g_uiAnsweredDuringStop = WaitForSingleObject(g_probeAnswered, 3000) == WAIT_OBJECT_0;
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT)
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        Pump();
        if (done())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void PumpFor(DWORD ms) {
    PumpUntil([] { return false; }, ms);
}

class MainWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(Log::Open());
        HINSTANCE instance = GetModuleHandleW(nullptr);
        for (WindowClass c :
             {WindowClass::RemoteView, WindowClass::ControlView, WindowClass::StateView, WindowClass::Main})
            RegisterTessalyWindowClass(instance, c);
        WNDCLASSW wc{};
        wc.lpfnWndProc = ProbeProc;
        wc.hInstance = instance;
        wc.lpszClassName = L"TslyMainWindowTestProbe";
        RegisterClassW(&wc);
        g_probe = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance,
                                  nullptr);
        g_probeAnswered = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        g_uiThread = GetCurrentThreadId();
        SetMainWindowLifecycle({&StubStart, &StubStop});
        // Posts of the runtime-state notice go through the Win32 poster, as in the program.
        RuntimeSetWindowPoster(&Win32RuntimeWindowPoster());
        ConfigService::Instance().SetUiLanguageEnglish(true);
    }
    static void TearDownTestSuite() {
        SetMainWindowParts(nullptr);
        SetMainWindowLifecycle({});
        DestroyWindow(g_probe);
        CloseHandle(g_probeAnswered);
    }

    void SetUp() override {
        RuntimeStateReset();
        TrayFlags() = TrayUiFlags{};
        m_parts = std::make_unique<RecordingParts>();
        SetMainWindowParts(m_parts.get());
        m_logStart = OwnLog().size();
        ASSERT_TRUE(CreateMainWindow(GetModuleHandleW(nullptr), SW_SHOW).ok);
        m_window = MainWindowHandle();
        ASSERT_NE(m_window, nullptr);
        Pump();
    }

    void TearDown() override {
        if (m_window != nullptr && IsWindow(m_window))
            DestroyWindow(m_window);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        SetMainWindowParts(nullptr);
        RuntimeStateReset();
    }

    std::string Log() { return OwnLogSince(m_logStart); }
    bool WaitLog(const std::string& text, size_t count = 1, DWORD timeoutMs = 3000) {
        return PumpUntil([&] { return CountOf(Log(), text) >= count; }, timeoutMs);
    }

    std::unique_ptr<RecordingParts> m_parts;
    HWND m_window = nullptr;
    size_t m_logStart = 0;
};

TEST_F(MainWindowTest, CreationRunsItsStepsAndStateViewStartsHidden) {
    // The child windows' lines belong to the "ui" debug category, which is read once per process: the
    // windows themselves are the evidence.
    EXPECT_TRUE(InOrder(Log(), {"[TRANSFER][POLICY] conflict=overwrite", "Keyboard hook installed"}));
    HWND control = reinterpret_cast<HWND>(RuntimeGetControlViewWindow());
    EXPECT_TRUE(control != nullptr && IsWindow(control) && GetParent(control) == m_window);
    EXPECT_EQ(m_parts->adds, 1);
    EXPECT_GE(g_starts.load(), 1);
    EXPECT_TRUE(RuntimeIsAppRunning());
    HWND state = reinterpret_cast<HWND>(RuntimeGetStateViewWindow());
    ASSERT_NE(state, nullptr);
    EXPECT_FALSE(IsWindowVisible(state)) << "StateView must not cover the peer's picture at start";
    wchar_t title[128] = {};
    GetWindowTextW(m_window, title, 128);
    EXPECT_STREQ(title, L"Marlo  20260827.3 <--> Disconnected");
}

TEST_F(MainWindowTest, CloseHidesToTrayWithABalloonAndKeepsTheWindow) {
    int stopsBefore = g_stops.load();
    SendMessageW(m_window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(m_window));
    EXPECT_FALSE(IsWindowVisible(m_window));
    EXPECT_NE(Log().find("MainWindow WM_CLOSE: hide to tray"), std::string::npos);
    ASSERT_EQ(m_parts->balloons.size(), 1u);
    EXPECT_NE(m_parts->balloons[0].text.find(L"hidden to tray"), std::wstring::npos);
    EXPECT_EQ(m_parts->balloons[0].timeout, 3000u);
    EXPECT_EQ(g_stops.load(), stopsBefore) << "closing does not stop the program";
}

TEST_F(MainWindowTest, TaskbarCreatedAddsTheIconAgain) {
    ASSERT_TRUE(TrayFlags().iconAdded);
    SendMessageW(m_window, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_EQ(m_parts->adds, 2);
    EXPECT_FALSE(m_parts->flagSeenAtAdd) << "the old icon is gone with Explorer: the flag is cleared first";
}

TEST_F(MainWindowTest, TwoRightClicksPostOneMenuRequestAndAnOpenMenuIgnoresMore) {
    PostMessageW(m_window, WM_APP_TRAY_CALLBACK, 1, 0x205);
    PostMessageW(m_window, WM_APP_TRAY_CALLBACK, 1, 0x205);
    ASSERT_TRUE(PumpUntil([&] { return m_parts->menuSources.size() == 1; }, 2000));
    PumpFor(100);
    std::string log = Log();
    EXPECT_EQ(CountOf(log, "[TRAY][MENU] request posted source=tray-notify"), 1u);
    EXPECT_EQ(CountOf(log, "[TRAY][MENU] request coalesced source=tray-notify"), 1u);
    EXPECT_EQ(m_parts->menuSources, std::vector<std::string>{"posted-tray-menu"});

    TrayFlags().menuOpen = true;
    SendMessageW(m_window, WM_APP_TRAY_CALLBACK, 1, 0x7B);
    TrayFlags().menuOpen = false;
    EXPECT_EQ(CountOf(Log(), "[TRAY][MENU] request ignored: menu already open source=tray-notify"), 1u);
}

TEST_F(MainWindowTest, RuntimeStateWhileTheMenuIsOpenIsAppliedAfterItCloses) {
    CommandBus& bus = CommandBus::Instance();
    std::atomic<int> handled{0};
    uint64_t id = bus.Subscribe(9901, [&](const CommandMessage&) { ++handled; });
    TrayFlags().menuOpen = true;
    CommandMessage m;
    m.type = 9901;
    bus.Publish(m);
    PostMessageW(m_window, WM_APP_RUNTIME_STATE, 0, 0);
    PumpFor(300);
    EXPECT_EQ(handled.load(), 0) << "held while the menu is open";

    TrayFlags().menuOpen = false;
    DWORD closed = GetTickCount();
    EXPECT_TRUE(PumpUntil([&] { return handled.load() == 1; }, 2000));
    EXPECT_LT(GetTickCount() - closed, 1000u);

    // More than one drain's worth goes through on one notice: the drain re-raises it for the rest.
    for (int i = 0; i < 300; ++i)
        bus.Publish(m);
    PostMessageW(m_window, WM_APP_RUNTIME_STATE, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return handled.load() == 301; }, 3000)) << handled.load();
    bus.Unsubscribe(id);
}

TEST_F(MainWindowTest, CtrlAlt0TogglesStateViewOnceForTwoQuickPresses) {
    // Without RemoteView the main window keeps the focus and sees the keys itself.
    DestroyWindow(reinterpret_cast<HWND>(RuntimeGetRemoteViewWindow()));
    RuntimeSetRemoteViewWindow(0);
    SetForegroundWindow(m_window);
    SetFocus(m_window);
    Pump();
    ASSERT_EQ(GetFocus(), m_window);
    bool before = IsStateViewVisible();

    std::thread typist([] {
        auto key = [](WORD vk, bool up) {
            INPUT in{};
            in.type = INPUT_KEYBOARD;
            in.ki.wVk = vk;
            in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
            SendInput(1, &in, sizeof in);
        };
        key(VK_CONTROL, false);
        key(VK_MENU, false);
        for (int i = 0; i < 2; ++i) {
            key('0', false);
            key('0', true);
        }
        key(VK_MENU, true);
        key(VK_CONTROL, true);
    });
    bool seen = PumpUntil([&] { return CountOf(Log(), "WM_KEYDOWN Ctrl+Alt+0") >= 2; }, 3000);
    typist.join();
    PumpFor(50);
    ASSERT_TRUE(seen) << Log();
    std::string log = Log();
    EXPECT_EQ(CountOf(log, "StateView toggled by WM_KEYDOWN Ctrl+Alt+0"), 1u);
    EXPECT_EQ(CountOf(log, "StateView toggle ignored by debounce source=WM_KEYDOWN Ctrl+Alt+0"), 1u);
    EXPECT_NE(IsStateViewVisible(), before);
    EXPECT_EQ(IsWindowVisible(reinterpret_cast<HWND>(RuntimeGetStateViewWindow())) != FALSE,
              IsStateViewVisible());
}

HDROP MakeDrop(const std::vector<std::wstring>& paths) {
    size_t chars = 2; // the list ends with an empty name: two NULs even when it holds none
    for (const std::wstring& p : paths)
        chars += p.size() + 1;
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    wchar_t* out = reinterpret_cast<wchar_t*>(header + 1);
    for (const std::wstring& p : paths) {
        memcpy(out, p.c_str(), (p.size() + 1) * sizeof(wchar_t));
        out += p.size() + 1;
    }
    *out = 0;
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

TEST_F(MainWindowTest, DroppedFilesAreRefusedWithoutALivePeerOrWithSharingOff) {
    struct Case {
        const char* name;
        bool sharing;
        std::vector<std::wstring> paths;
        const char* line;
    } cases[] = {
        {"no live peer",
         true,
         {L"C:\\a.txt", L"C:\\b.txt"},
         "[TRANSFER][OFFER][FAIL] remote input/control path not ready count=2"},
        {"sharing off", false, {L"C:\\a.txt"}, "[TRANSFER][OFFER][FAIL] file control channel disabled"},
        {"empty list", true, {}, "[TRANSFER][OFFER][FAIL] empty path list"},
    };
    for (const Case& c : cases) {
        m_parts->clipboardEnabled = c.sharing;
        size_t before = CountOf(Log(), c.line);
        SendMessageW(m_window, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(c.paths)), 0);
        EXPECT_EQ(CountOf(Log(), c.line), before + 1) << c.name;
    }
}

TEST_F(MainWindowTest, DragServiceStateIsLoggedOncePerChange) {
    for (WPARAM connected : {1, 1, 0, 0, 1})
        PostMessageW(m_window, WM_APP_DRAG_SERVICE, connected, 0);
    PumpFor(100);
    std::string log = Log();
    EXPECT_EQ(CountOf(log, "[DRAG][SERVICE][UI_CONTROL] connected=1"), 2u);
    EXPECT_EQ(CountOf(log, "[DRAG][SERVICE][UI_CONTROL] connected=0"), 1u);
}

TEST_F(MainWindowTest, TransferEventsTrackTheControllersTransferAndTheLateShowChecksIt) {
    RuntimeSetRole(RuntimeRole::Controller);
    m_parts->transfer = {1, 7, 100};
    SendMessageW(m_window, WM_APP_TRANSFER_EVENT, 0, 0);
    EXPECT_NE(Log().find("[TRANSFER][LONG][START] id=7 phase=1 total=100 reason=file-transfer-event-ui"),
              std::string::npos);
    EXPECT_EQ(m_parts->workerIds, std::vector<uint64_t>{7});
    EXPECT_EQ(m_parts->workerDelay, 5000u);

    SendMessageW(m_window, WM_APP_LONG_TRANSFER_SHOW, 9, 1234);
    EXPECT_NE(Log().find("[TRANSFER][LONG][WORKER][UI_SKIP] reason=id-changed postedId=9 currentId=7"),
              std::string::npos);
    ShowWindow(m_window, SW_HIDE);
    SendMessageW(m_window, WM_APP_LONG_TRANSFER_SHOW, 7, 6000);
    EXPECT_NE(Log().find("[TRANSFER][LONG][WORKER][UI_SHOW] id=7 ageMs=6000"), std::string::npos);
    EXPECT_EQ(m_parts->bringForwards, 1);

    RuntimeSetRole(RuntimeRole::Controlled);
    SendMessageW(m_window, WM_APP_LONG_TRANSFER_SHOW, 7, 7000);
    EXPECT_NE(Log().find("[TRANSFER][LONG][WORKER][UI_SKIP] reason=not-running postedId=7"),
              std::string::npos);

    // A transfer event published on another thread reaches the window as a posted message.
    RuntimeSetRole(RuntimeRole::Controller);
    m_parts->transfer = {2, 8, 50};
    std::thread([] {
        TslyEvent e;
        e.type = kEventFileTransferUpdate;
        e.id = 8;
        EventBus::Instance().Publish(e);
    }).join();
    EXPECT_TRUE(WaitLog("[TRANSFER][LONG][START] id=8 phase=2 total=50"));
}

TEST_F(MainWindowTest, NotificationFromAWorkerBecomesABalloonOnTheUiThread) {
    std::thread([] {
        TslyEvent e;
        e.type = kEventNotification;
        e.text = "Title\nBody text";
        e.value1 = 1;
        EventBus::Instance().Publish(e);
    }).join();
    // The bus keeps the handlers of an earlier window of this process: notifications that other suites
    // published since then are queued ahead of this one.
    const Balloon* shown = nullptr;
    ASSERT_TRUE(PumpUntil(
        [&] {
            for (const Balloon& b : m_parts->balloons)
                if (b.text == L"Body text")
                    shown = &b;
            return shown != nullptr;
        },
        2000));
    EXPECT_EQ(shown->flags, 1u);
    EXPECT_EQ(shown->timeout, 2000u);
}

TEST_F(MainWindowTest, FinalDestroyStopsTheLifecycleOffTheUiThreadAndQuits) {
    int stopsBefore = g_stops.load();
    PostMessageW(m_window, WM_APP_FINAL_DESTROY, 0, 0);
    MSG msg{};
    bool quit = false;
    DWORD start = GetTickCount();
    while (!quit && GetTickCount() - start < 5000) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit = true;
                break;
            }
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    EXPECT_TRUE(quit);
    EXPECT_FALSE(IsWindow(m_window));
    EXPECT_EQ(MainWindowHandle(), nullptr);
    EXPECT_EQ(g_stops.load(), stopsBefore + 1);
    EXPECT_TRUE(g_stopRanOffUiThread.load());
    EXPECT_TRUE(g_uiAnsweredDuringStop.load()) << "the UI thread kept pumping while the lifecycle stopped";
    EXPECT_TRUE(InOrder(Log(), {"MainWindow final destroy after async shutdown", "MainWindow WM_DESTROY",
                                "Keyboard grab hook uninstalled"}));
    EXPECT_EQ(RuntimeGetControlViewWindow(), 0u);
    EXPECT_EQ(RuntimeGetStateViewWindow(), 0u);
}

} // namespace
