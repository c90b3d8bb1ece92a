// Under Wine: the router with the process's state manager and runtime state, a recording input sender and the
// HID worker on the cable of HidCableAccess (none installed here: the cable is absent, as on a PC without
// it).
#include <gtest/gtest.h>

#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

#include "LogAssertions.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/StateManager.h"
#include "input/InputPacket.h"
#include "input/InputSender.h"
#include "input/win/AsyncHidWorker.h"
#include "input/win/HidPresence.h"
#include "input/win/InputRouter.h"
#include "input/win/InputRouterRoute.h"
#include "TestWait.h"

namespace {

// Records every packet with the queue it was given to.
class RecordingSender final : public IInputSender {
public:
    bool EnqueuePacket(const InputPacket& packet) override { return Add("normal", packet); }
    bool SendPriorityPacket(const InputPacket& packet) override { return Add("priority", packet); }
    bool SendPacket(const InputPacket& packet) override { return Add("send", packet); }
    size_t PurgeMoves(const char* reason) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        purges.push_back(reason);
        return 3;
    }
    bool IsConnected() const override { return connected; }

    struct Sent {
        std::string queue;
        InputPacket packet;
        bool operator==(const Sent&) const = default;
    };
    std::vector<Sent> Packets() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_sent;
    }

    bool connected = true;
    std::vector<std::string> purges;

private:
    bool Add(const char* queue, const InputPacket& packet) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_sent.push_back({queue, packet});
        return true;
    }
    std::mutex m_mutex;
    std::vector<Sent> m_sent;
};

void PrintTo(const RecordingSender::Sent& s, std::ostream* os) {
    *os << s.queue << " {" << InputPacketTypeName(s.packet.type) << " " << s.packet.x << "," << s.packet.y
        << " " << s.packet.data1 << " " << s.packet.data2 << "}";
}

RecordingSender::Sent Normal(InputPacketType type, int32_t x, int32_t y, int32_t d1, int32_t d2) {
    return {"normal", MakeInputPacket(type, x, y, d1, d2)};
}
RecordingSender::Sent Priority(InputPacketType type, int32_t x, int32_t y, int32_t d1, int32_t d2) {
    return {"priority", MakeInputPacket(type, x, y, d1, d2)};
}

constexpr wchar_t kViewClass[] = L"TslyInputRouterTestView";

class InputRouterTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        WNDCLASSW view{};
        view.lpfnWndProc = DefWindowProcW;
        view.hInstance = GetModuleHandleW(nullptr);
        view.lpszClassName = kViewClass;
        RegisterClassW(&view);
    }

    void SetUp() override {
        ASSERT_TRUE(Log::Open());
        RuntimeStateReset();
        StateManager& state = RuntimeStateManager();
        state.ExchangeHidForced(false);
        RuntimeSetAppRunning(true);
        RuntimeSetClientRunning(true);
        RuntimeSetRole(RuntimeRole::Controller);
        RuntimeSetProgramState(ProgramState::Controlling);
        RuntimeSetStreamSize(1920, 1080);
        state.SetChannelState(kChannelInput, ChannelState::Connected, "router test");
        SetInputSender(&m_sender);
        InstallInputRouterRoute();
        // A borderless window: its client area is exactly 960x540.
        m_view = CreateWindowExW(0, kViewClass, L"", WS_POPUP, 0, 0, 960, 540, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(m_view, nullptr);
        m_logStart = OwnLog().size();
    }

    void TearDown() override {
        DestroyWindow(m_view);
        SetRemoteInputRoute(nullptr);
        SetInputSender(nullptr);
        RuntimeStateManager().SetChannelState(kChannelInput, ChannelState::Disconnected, "router test");
        RuntimeStateReset();
    }

    uintptr_t View() const { return reinterpret_cast<uintptr_t>(m_view); }
    std::string Log() { return OwnLogSince(m_logStart); }

    RecordingSender m_sender;
    HWND m_view = nullptr;
    size_t m_logStart = 0;
};

TEST_F(InputRouterTest, WithTcpReadyButtonsWheelAndKeysBecomeTheirPackets) {
    IRemoteInputRoute& route = RemoteInputRoute();
    ASSERT_TRUE(route.IsTcpReady());
    EXPECT_TRUE(route.SendMouseButton(View(), WM_RBUTTONDBLCLK, 10, 10));
    EXPECT_TRUE(route.SendMouseButton(View(), WM_MBUTTONUP, 10, 10));
    EXPECT_TRUE(route.SendMouseWheel(View(), -240, 959, 539));
    EXPECT_TRUE(route.SendMouseWheel(0, 120, 959, 539)) << "no window: the wheel still goes, at 0,0";
    // 'A' down (scan 0x1E), right Ctrl up (scan 0x1D, extended).
    EXPECT_TRUE(route.SendWmKey(WM_KEYDOWN, 'A', 0x001E0001));
    EXPECT_TRUE(route.SendWmKey(WM_KEYUP, VK_RCONTROL, static_cast<intptr_t>(0xC11D0001u)));
    EXPECT_TRUE(route.SendHookKey(VK_LWIN, 0x5B, 0x01, true));

    using T = InputPacketType;
    const std::vector<RecordingSender::Sent> expected = {
        Normal(T::MouseButton, 0, 0, 1, 1),         Normal(T::MouseButton, 0, 0, 2, 0),
        Normal(T::MouseWheel, 1918, 1078, -240, 0), Normal(T::MouseWheel, 0, 0, 120, 0),
        Normal(T::Key, 0x1E, 0, 'A', 0x01),         Normal(T::Key, 0x1D, 0, VK_RCONTROL, 0x02),
        Normal(T::Key, 0x5B, 0, VK_LWIN, 0x03)};
    EXPECT_EQ(m_sender.Packets(), expected);
}

TEST_F(InputRouterTest, NumLockGoesFirstWithTheStateThePeerMustReach) {
    const int32_t on = (GetKeyState(VK_NUMLOCK) & 1) != 0 ? 0x08 : 0;
    EXPECT_TRUE(InputRouter::SendWmKey(WM_KEYDOWN, VK_NUMLOCK, 0x01450001));
    const std::vector<RecordingSender::Sent> expected = {
        Priority(InputPacketType::Key, 0x45, 0, VK_NUMLOCK, 0x01 | 0x02 | 0x04 | on)};
    EXPECT_EQ(m_sender.Packets(), expected);
    EXPECT_NE(Log().find("[KEY][NUMLOCK][TX] source=wmkey down=1 scan=69"), std::string::npos) << Log();
}

TEST_F(InputRouterTest, CancelRemoteDragSendsEscapeTwiceAndALeftReleaseFirst) {
    EXPECT_TRUE(InputRouter::CancelRemoteDrag());
    const int32_t scan = static_cast<int32_t>(MapVirtualKeyW(VK_ESCAPE, MAPVK_VK_TO_VSC));
    using T = InputPacketType;
    const std::vector<RecordingSender::Sent> expected = {Priority(T::Key, scan, 0, 27, 1),
                                                         Priority(T::Key, scan, 0, 27, 0),
                                                         Priority(T::MouseButton, 0, 0, 0, 0)};
    EXPECT_EQ(m_sender.Packets(), expected);
    EXPECT_NE(Log().find("[INPUT][ROUTER][RDRAG-CANCEL] ESCx1 + left-up ok=1"), std::string::npos);
}

TEST_F(InputRouterTest, ModifierSyncAndReleaseGoAsKeyboardSyncOnThePriorityQueue) {
    const int32_t flags = InputRouter::GetKeySyncFlags();
    EXPECT_TRUE(InputRouter::SyncRemoteModifiers("router-test"));
    EXPECT_TRUE(InputRouter::ReleaseRemoteModifiers("router-test"));
    using T = InputPacketType;
    const std::vector<RecordingSender::Sent> expected = {Priority(T::SystemKey, 0, 0, 3, flags),
                                                         Priority(T::SystemKey, 0, 0, 3, flags & 0x18)};
    EXPECT_EQ(m_sender.Packets(), expected);
}

TEST_F(InputRouterTest, LeavingTheVirtualScreenReleasesTheButtonsItForwarded) {
    InputRouter::SetVirtualScreenInputScope(true, "router-test");
    EXPECT_TRUE(InputRouter::IsVirtualScreenInputScope());
    InputRouter::SetVirtualScreenButtonForwarded(0, true);
    InputRouter::SetVirtualScreenButtonForwarded(2, true);
    InputRouter::SetVirtualScreenInputScope(true, "again"); // no change: nothing happens
    InputRouter::SetVirtualScreenInputScope(false);
    EXPECT_FALSE(InputRouter::IsVirtualScreenInputScope());

    using T = InputPacketType;
    const std::vector<RecordingSender::Sent> expected = {Normal(T::MouseButton, 0, 0, 0, 0),
                                                         Normal(T::MouseButton, 0, 0, 2, 0)};
    EXPECT_EQ(m_sender.Packets(), expected);
    EXPECT_EQ(m_sender.purges, (std::vector<std::string>{"VirtualScreenScopeOff"}));
    const std::string log = Log();
    EXPECT_EQ(CountOf(log, "[VSCREEN][INPUT_SCOPE] active=1"), 1u);
    EXPECT_NE(log.find("[VSCREEN][INPUT_SCOPE] active=0 purge_moves=3 release_buttons=1/0/1 "
                       "reason=VirtualScreenScopeOff"),
              std::string::npos)
        << log;
}

TEST_F(InputRouterTest, WithoutTcpTheRouteGoesHidAndItemsFailWithoutTheCable) {
    m_sender.connected = false;
    AsyncHidWorker& worker = AsyncHidWorker::Instance();
    const HidWorkerCounters before = worker.Counters();

    IRemoteInputRoute& route = RemoteInputRoute();
    EXPECT_FALSE(route.IsTcpReady());
    EXPECT_FALSE(route.SendHookKey('A', 0x1E, 0, true)) << "the hook's keys go only over TCP";
    EXPECT_TRUE(route.SendMouseButton(View(), WM_LBUTTONDOWN, 480, 270));
    EXPECT_TRUE(route.SendMouseWheel(View(), 120, 480, 270));
    EXPECT_TRUE(route.SendWmKey(WM_KEYDOWN, 'A', 0x001E0001)); // a modifier item, then the key
    EXPECT_TRUE(route.QueueHidMouse(View(), WM_MOUSEMOVE, 1, 1));
    EXPECT_TRUE(m_sender.Packets().empty());

    constexpr uint64_t kItems = 5;
    EXPECT_TRUE(WaitUntil([&] { return worker.Counters().failed >= before.failed + kItems; }, 5000))
        << "failed=" << worker.Counters().failed;
    const HidWorkerCounters after = worker.Counters();
    EXPECT_EQ(after.enqueued - before.enqueued, kItems);
    EXPECT_EQ(after.sent, before.sent);
    EXPECT_EQ(RuntimeStateManager().GetInputRoute(), static_cast<int32_t>(InputRoute::Hid));

    const std::string log = WaitForOwnLog("[HIDASYNC][WORKER] start tid=", 2000);
    EXPECT_EQ(CountOf(log, "[HIDASYNC][WORKER] start tid="), 1u);
    EXPECT_EQ(CountOf(Log(), "[HIDASYNC][WHEEL][QUEUE] delta=120 hid=2050,2051 queued=1"), 1u) << Log();

    // TCP comes back: the next event takes the TCP route again.
    m_sender.connected = true;
    EXPECT_TRUE(route.SendWmKey(WM_KEYUP, 'A', static_cast<intptr_t>(0xC01E0001u)));
    ASSERT_EQ(m_sender.Packets().size(), 1u);
}

TEST_F(InputRouterTest, TheWorkerStartsOnceAndCancelOfNothingIsSilent) {
    AsyncHidWorker& worker = AsyncHidWorker::Instance();
    worker.Start();
    worker.Start();
    worker.Cancel("router-test-empty");
    const std::string log = WaitForOwnLog("[HIDASYNC][WORKER] start tid=", 2000);
    EXPECT_EQ(CountOf(log, "[HIDASYNC][WORKER] start tid="), 1u);
    EXPECT_EQ(CountOf(log, "reason=router-test-empty"), 0u);
}

TEST_F(InputRouterTest, TheProbeRunsAtMostOncePerSecondAndFindsNoCableFast) {
    ASSERT_TRUE(WaitUntil([] { return !IsHidProbeRunning(); }, 3000));
    const DWORD start = GetTickCount();
    ASSERT_TRUE(StartHidProbeAsync("router-test-forced", true));
    EXPECT_FALSE(StartHidProbeAsync("router-test", false));
    ASSERT_TRUE(WaitUntil([] { return !IsHidProbeRunning(); }, 3000));
    EXPECT_LT(GetTickCount() - start, 1000u) << "without the cable the search ends fast";
    EXPECT_FALSE(StartHidProbeAsync("router-test", false)) << "less than a second after the last start";
    EXPECT_EQ(HidPresence::Cached(), -1);
    EXPECT_EQ(HidPresence::Probe(), -1);
    EXPECT_FALSE(RuntimeStateManager().IsHidPresent());
}

} // namespace
