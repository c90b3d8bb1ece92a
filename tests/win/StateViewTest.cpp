// Under Wine: the StateView panel inside the main window, with test services in place of the adapter list,
// the HID probe, the transfer model and the Mac health line. A screenshot of its rows against a kept
// reference, and its one-second timer doing its work while the panel is hidden.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <string>

#include "ViewsTestWindow.h"
#include "core/RuntimeState.h"
#include "core/win/Handles.h"
#include "ui/win/StateViewVisibility.h"

namespace {

class FakeServices final : public IStateViewServices {
public:
    FakeServices() : release(CreateEventW(nullptr, TRUE, TRUE, nullptr)) {}

    void CheckAdapter() override {
        checkThread = GetCurrentThreadId();
        const int running = ++checksRunning;
        if (running > maxChecksRunning)
            maxChecksRunning = running;
        ++checks;
        WaitForSingleObject(release.Get(), 10000);
        --checksRunning;
    }
    RndisAdapterInfo Adapter() override {
        RndisAdapterInfo a;
        a.found = true;
        a.up = true;
        a.ipv4 = u"10.0.0.1";
        a.mask = u"255.0.0.0";
        return a;
    }
    int32_t HidPresence() override { return hidPresence; }
    bool IsHidProbeRunning() override { return false; }
    void StartHidProbe() override { ++hidProbes; }
    std::string TransferTick() override {
        ++transferTicks;
        return transferLine;
    }
    MacHealthEntry MacHealth() override { return {}; }
    uint32_t NowMs() override { return GetTickCount(); }

    void Reset() {
        SetEvent(release.Get());
        checks = 0;
        maxChecksRunning = 0;
        hidProbes = 0;
        transferTicks = 0;
        hidPresence = -1;
    }

    UniqueHandle release; // set: CheckAdapter returns at once
    std::atomic<DWORD> checkThread{0};
    std::atomic<int> checks{0}, checksRunning{0}, maxChecksRunning{0};
    std::atomic<int> hidProbes{0}, transferTicks{0};
    int32_t hidPresence = -1;
    std::string transferLine;
};

// Kept to process end: an adapter check started just before a window closed may still call it.
FakeServices& Fake() {
    static FakeServices* fake = new FakeServices();
    return *fake;
}

class StateViewTest : public ViewsWindowTest {
protected:
    void SetUp() override {
        Fake().Reset();
        SetStateViewServices(&Fake());
        ViewsWindowTest::SetUp();
    }
    void TearDown() override {
        SetEvent(Fake().release.Get());
        ViewsWindowTest::TearDown();
        SetStateViewServices(nullptr);
    }

    FakeServices& m_services = Fake();
};

TEST_F(StateViewTest, TheTimerProbesAndTicksWhileThePanelIsHidden) {
    ASSERT_FALSE(IsStateViewVisible());
    ASSERT_FALSE(IsWindowVisible(m_state));
    // Ticks of the one-second timer, with the creation's own adapter check before them. No presence result
    // is cached, so a tick starts a probe (an earlier window's probe may hold the first tick back).
    ASSERT_TRUE(PumpUntil(
        [&] { return m_services.transferTicks.load() >= 2 && m_services.hidProbes.load() >= 1; }, 6000));
    EXPECT_GE(m_services.checks.load(), 2);
    // The next probe waits 3 s, longer than the tick that followed.
    EXPECT_EQ(m_services.hidProbes.load(), 1);
    EXPECT_NE(m_services.checkThread.load(), GetCurrentThreadId())
        << "the adapter check blocks: not on the UI thread";
    EXPECT_FALSE(IsWindowVisible(m_state));
}

TEST_F(StateViewTest, AnAdapterCheckStillRunningIsNotStartedAgain) {
    ResetEvent(m_services.release.Get());
    ASSERT_TRUE(PumpUntil([&] { return m_services.checksRunning.load() == 1; }, 5000));
    const int started = m_services.checks.load();
    // The UI thread goes on while the check waits, and further ticks leave it alone.
    for (int i = 0; i < 3; ++i)
        SendMessageW(m_state, WM_TIMER, kStateViewTimerId, 0);
    EXPECT_EQ(m_services.checks.load(), started);
    EXPECT_EQ(m_services.maxChecksRunning.load(), 1);
    SetEvent(m_services.release.Get());
    // Once it has finished, the next tick starts another.
    EXPECT_TRUE(PumpUntil([&] { return m_services.checks.load() > started; }, 5000));
}

TEST_F(StateViewTest, ThePanelLooksAsItsReference) {
    m_services.hidPresence = 1;
    RuntimeSetProgramState(ProgramState::Controlled);
    RuntimeSetRole(RuntimeRole::Controlled);
    RuntimeSetActivePeer("10.0.0.2", "studio-mac");
    RuntimeSetChannelState(0, 4);
    RuntimeSetChannelState(1, 4);
    RuntimeSetChannelState(2, 1);
    RuntimeSetChannelState(3, 5);
    RuntimeSetHttpServer(true, 5002);
    RuntimeSetHttpLastBytes(1536);
    RuntimeSetMouseState(640, 360, true, false, false);
    RuntimeSetScreenScale(1280, 800, 96, 100, 65);
    RuntimeSetCursorPath("C:\\Users\\tess\\Desktop");
    RuntimeSetHttpLastFile("C:\\Users\\tess\\Downloads");
    RuntimeSetRemoteDrag(true, 2, 3u << 20, 1, 7, "D:\\photos");
    RuntimeSetStreamSize(1920, 1080);
    RuntimeSetHostVideoStats(30, 30, 29, 4096);
    RuntimeSetStatusMessage("Peer studio-mac controls this PC");
    RuntimeSetErrorText("");
    PumpUntil([&] { return !RuntimeIsNotifyPending(); }, 2000);

    FlipStateViewVisible();
    ASSERT_TRUE(IsWindowVisible(m_state));
    EXPECT_TRUE(MatchesReference(CaptureSettled(m_state), "stateview-controlled"));
    FlipStateViewVisible();
}

} // namespace
