// Under Wine: the local drag monitor polling the real mouse, driven by SendInput from a second thread while
// this thread pumps the monitor's timer and the virtual screen's hook. A fake selection source stands in for
// Explorer (Wine's shell has no folder views to ask).
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "LogAssertions.h"
#include "RecordingVirtualScreenLink.h"
#include "TestWait.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "dragdrop/RemoteDragSlot.h"
#include "dragdrop/win/DragDrop.h"
#include "dragdrop/win/LocalDragMonitor.h"
#include "dragdrop/win/VirtualScreen.h"

namespace {

class FakeSelectionSource final : public ILocalSelectionSource {
public:
    std::vector<std::u16string> paths;
    std::atomic<int> asked{0};
    bool SelectionAt(ScreenPoint, std::vector<std::u16string>& out, std::string&) override {
        out = paths;
        ++asked;
        return true;
    }
};

// Counts Escape presses seen by a low-level keyboard hook on a thread of its own.
class EscapeWatch {
public:
    EscapeWatch() {
        m_thread = std::thread([this] {
            g_downs = 0;
            HHOOK hook = SetWindowsHookExW(WH_KEYBOARD_LL, Proc, GetModuleHandleW(nullptr), 0);
            m_threadId = GetCurrentThreadId();
            m_ready = true;
            MSG msg;
            while (GetMessageW(&msg, nullptr, 0, 0) > 0)
                DispatchMessageW(&msg);
            UnhookWindowsHookEx(hook);
        });
        WaitUntil([this] { return m_ready.load(); }, 2000);
    }
    ~EscapeWatch() {
        PostThreadMessageW(m_threadId, WM_QUIT, 0, 0);
        m_thread.join();
    }
    static int Downs() { return g_downs.load(); }

private:
    static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HC_ACTION && wParam == WM_KEYDOWN &&
            reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam)->vkCode == VK_ESCAPE)
            ++g_downs;
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline std::atomic<int> g_downs{0};
    std::thread m_thread;
    std::atomic<bool> m_ready{false};
    std::atomic<DWORD> m_threadId{0};
};

// SendInput from another thread, pumping here meanwhile (this thread owns the low-level mouse hook).
void InjectMouse(DWORD flags) {
    std::atomic<bool> done{false};
    std::thread injector([&] {
        INPUT in{};
        in.type = INPUT_MOUSE;
        in.mi.dwFlags = flags;
        SendInput(1, &in, sizeof in);
        done = true;
    });
    PumpUntil([&] { return done.load(); }, 3000);
    injector.join();
}

bool ButtonDown(int vk) {
    return (GetAsyncKeyState(vk) & 0x8000) != 0;
}

class LocalDragMonitorTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Log::Open());
        RuntimeStateReset();
        SetVirtualScreenLink(&m_link);
        SetRemoteDragOffer(&m_offer);
        SetLocalSelectionSource(&m_source);
        ASSERT_TRUE(VirtualScreen::Start(GetModuleHandleW(nullptr), nullptr));
        DragDrop::KeepInstance(GetModuleHandleW(nullptr));
        DragDrop::Stop();
        ASSERT_TRUE(DragDrop::Start(nullptr));
        m_width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
        m_logStart = OwnLog().size();
    }
    void TearDown() override {
        for (auto [vk, up] :
             {std::pair{VK_LBUTTON, MOUSEEVENTF_LEFTUP}, std::pair{VK_MBUTTON, MOUSEEVENTF_MIDDLEUP}})
            if (ButtonDown(vk))
                InjectMouse(up);
        DragDrop::Stop();
        VirtualScreen::Stop();
        PumpUntil([] { return false; }, 50); // messages already posted to the destroyed windows
        SetLocalSelectionSource(nullptr);
        SetVirtualScreenLink(nullptr);
        SetRemoteDragOffer(nullptr);
        RemoteDragSlot::Instance().Clear();
        DragVisualOverlay::Stop();
        RuntimeStateReset();
        Log::Close();
    }
    std::string FlushedLog() const {
        Log::Flush();
        return OwnLogSince(m_logStart);
    }
    // A left press at p that the monitor has taken as a new gesture.
    void PressAt(POINT p) {
        const uint64_t before = LocalDragMonitorGestureId();
        ASSERT_TRUE(SetCursorPos(p.x, p.y));
        InjectMouse(MOUSEEVENTF_LEFTDOWN);
        ASSERT_TRUE(PumpUntil([&] { return LocalDragMonitorGestureId() > before; }, 3000));
    }
    bool PumpUntilLogged(const std::string& text, DWORD timeoutMs, size_t count = 1) {
        return PumpUntil([&] { return CountOf(FlushedLog(), text) >= count; }, timeoutMs);
    }

    RecordingVirtualScreenLink m_link;
    RecordingRemoteDragOffer m_offer;
    FakeSelectionSource m_source;
    int m_width = 0;
    size_t m_logStart = 0;
};

TEST_F(LocalDragMonitorTest, PollsEvery120MsAndEvery30MsWhileAButtonIsDown) {
    ASSERT_TRUE(PumpUntil([] { return LocalDragMonitorInterval() == 120; }, 1000));
    InjectMouse(MOUSEEVENTF_MIDDLEDOWN); // switches the interval without starting a gesture
    EXPECT_TRUE(PumpUntil([] { return LocalDragMonitorInterval() == 30; }, 3000));
    InjectMouse(MOUSEEVENTF_MIDDLEUP);
    EXPECT_TRUE(PumpUntil([] { return LocalDragMonitorInterval() == 120; }, 3000));
}

TEST_F(LocalDragMonitorTest, FilesDraggedToTheEdgeCancelTheShellDragOnceAndDropOnThePeer) {
    EscapeWatch escapes;
    m_source.paths = {u"C:\\drag.txt"};
    VirtualScreen::SetMode(2);
    PressAt({300, 300});
    ASSERT_TRUE(SetCursorPos(330, 300)); // past 12 pixels: the selection is read off this thread
    ASSERT_TRUE(PumpUntil([&] { return m_source.asked.load() == 1; }, 3000)) << FlushedLog();

    ASSERT_TRUE(SetCursorPos(m_width - 5, 300));
    ASSERT_TRUE(PumpUntil([] { return EscapeWatch::Downs() >= 1; }, 3000)) << FlushedLog();
    EXPECT_TRUE(VirtualScreen::IsActive()) << "the files are carried onto the peer";
    EXPECT_TRUE(VirtualScreen::IsLocalFileDrag());
    // Several more polls at the edge send the cursor each time but no second Escape.
    const size_t sent = m_link.SentPackets().size();
    ASSERT_TRUE(PumpUntil([&] { return m_link.SentPackets().size() >= sent + 3; }, 3000));
    EXPECT_EQ(EscapeWatch::Downs(), 1);
    EXPECT_EQ(CountOf(FlushedLog(), "[CANCEL_NATIVE]"), 1u);
    bool visualOn = false;
    for (const auto& s : m_link.SentPackets())
        visualOn = visualOn || (s.packet == DragVisualPacket(true) && s.priority);
    EXPECT_TRUE(visualOn) << "the peer shows the drag";

    InjectMouse(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(PumpUntil([&] { return !m_link.Offered().empty(); }, 3000)) << FlushedLog();
    EXPECT_EQ(m_link.Offered()[0], (std::vector<std::u16string>{u"C:\\drag.txt"}));
    EXPECT_EQ(m_source.asked.load(), 1) << "the selection was read once for the gesture";
    EXPECT_TRUE(InOrder(FlushedLog(), {"[DRAGMON][VSCREEN][LOCAL->REMOTE][CANCEL_NATIVE]", "sent=2",
                                       "[DRAGMON][VSCREEN][LOCAL->REMOTE][MOUSE_UP_STARTSEL] id=", "ok=1"}));
}

TEST_F(LocalDragMonitorTest, AReleaseOutsideDownloadsTheHeldOfferAndARefusalRunsTheFailureBranch) {
    // A local drop onto the peer less than 600 ms ago (an earlier test's) would rightly suppress the
    // download.
    ASSERT_TRUE(PumpUntil(
        [] {
            const uint32_t dropped = VirtualScreen::LastLocalDropTick();
            return dropped == 0 || GetTickCount() - dropped >= 600;
        },
        2000));
    RuntimeSetRole(RuntimeRole::Controller);
    // The slot remembers the last drag used up across tests: this one takes a fresh id.
    const uint64_t id = RemoteDragSlot::Instance().Read().consumedDragId + 21;
    RemoteDragSlot::Instance().Hold(id, 3, 900);
    m_offer.startDownload = false;
    PressAt({400, 400});
    InjectMouse(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(PumpUntil([&] { return m_offer.downloads.size() == 1; }, 3000)) << FlushedLog();
    EXPECT_FALSE(RuntimeMakeSnapshot().dropReady) << "a refused download is not ready";
    EXPECT_NE(RemoteDragSlot::Instance().Read().consumedDragId, id) << "nor used up";
    EXPECT_EQ(m_link.Notes(), (std::vector<std::string>{"cancel-drag"}));
    EXPECT_TRUE(InOrder(FlushedLog(),
                        {"[RDRAG][CANCEL] ESC requested by "
                         "local-monitor-mouse-up-outside-trigger-failed-clear-takeover",
                         "[RDRAG][DROP][FAIL] download not started dragId=" + std::to_string(id),
                         "[RDRAG][DROP] release outside count=3 bytes=900 target=<default> trigger=0"}));

    // Tried again, the download starts and the drag is used up.
    m_offer.startDownload = true;
    PressAt({400, 400});
    InjectMouse(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(PumpUntil([&] { return m_offer.downloads.size() == 2; }, 3000));
    EXPECT_TRUE(RuntimeMakeSnapshot().dropReady);
    EXPECT_EQ(RemoteDragSlot::Instance().Read().consumedDragId, id);
}

} // namespace
