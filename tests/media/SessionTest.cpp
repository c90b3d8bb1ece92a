#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/StateTestSupport.h"
#include "media/ClientSession.h"
#include "media/HostSession.h"
#include "support/TestLog.h"

namespace {

using namespace std::chrono_literals;

// Every wait in these tests is bounded by this; a healthy run needs milliseconds.
constexpr auto kBound = 10s;

bool HasLine(const std::string& needle) {
    std::vector<std::string> lines = TestLog().Messages();
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& l) { return l.find(needle) != std::string::npos; });
}

size_t CountLines(const std::string& needle) {
    std::vector<std::string> lines = TestLog().Messages();
    return std::count_if(lines.begin(), lines.end(),
                         [&](const std::string& l) { return l.find(needle) != std::string::npos; });
}

template <typename Predicate> bool WaitFor(Predicate done) {
    const auto deadline = std::chrono::steady_clock::now() + kBound;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

// A one-shot latch the test opens; waits are bounded.
class Gate {
public:
    void Open() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_open = true;
        m_cv.notify_all();
    }
    bool Wait() {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_cv.wait_for(lock, kBound, [this] { return m_open; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_open = false;
};

// The services a session calls, recording every call, with channel flags that a run body "starts" and the
// stops clear. Its threads report when they have finished, as their very last action.
class FakeServices final : public SessionServices {
public:
    void SetActivePeer(const std::string& ip) override {
        Note("activePeer " + ip);
        std::lock_guard<std::mutex> lock(m_mutex);
        m_activePeer = ip;
    }
    bool IsActivePeer(const std::string& ip) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        return !ip.empty() && ip == m_activePeer;
    }
    bool IsDevicePresent() override { return devicePresent.load(); }
    void StopAudioSender() override {
        Note("stopAudioSender");
        audioRunning = false;
    }
    void StopAudioPlayer() override {
        Note("stopAudioPlayer");
        audioRunning = false;
    }
    bool IsClipboardRunning() override { return clipboardRunning.load(); }
    bool IsClipboardConnected() override { return false; }
    void StopClipboardChannel() override {
        Note("stopClipboard");
        clipboardRunning = false;
    }
    void CancelHidQueue(const char* reason) override { Note(std::string("cancelHid ") + reason); }
    void StopInputChannel() override {
        Note("stopInput");
        inputRunning = false;
    }
    void StopRenderer() override { Note("stopRenderer"); }
    void ResetQualitySwitch() override { Note("resetQuality"); }
    void RestoreClearTypeGuard(const char* reason) override { Note(std::string("clearType ") + reason); }

    std::thread StartThread(SessionThreadProc entry, SessionThreadArg* arg) override {
        if (failStart == 1)
            throw std::runtime_error("no thread");
        if (failStart == 2)
            throw 7;
        ++started;
        return std::thread([this, entry, arg] {
            entry(arg);
            finished.fetch_add(1); // last touch of the test's objects
        });
    }

    void Note(const std::string& call) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_notes.push_back(call);
    }
    std::vector<std::string> Notes() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_notes;
    }
    size_t CountNote(const std::string& call) {
        std::lock_guard<std::mutex> lock(m_mutex);
        return std::count(m_notes.begin(), m_notes.end(), call);
    }

    std::atomic<bool> devicePresent{true};
    std::atomic<bool> inputRunning{false}, clipboardRunning{false}, audioRunning{false};
    std::atomic<int> failStart{0};
    std::atomic<int> started{0}, finished{0};

private:
    std::mutex m_mutex;
    std::vector<std::string> m_notes;
    std::string m_activePeer;
};

// A run body whose behaviour the test plans per generation; unplanned generations hold until stopped.
class PlannedRunBody final : public ISessionRunBody {
public:
    using Step = std::function<SessionRunEnd(const SessionThreadArg&)>;

    void Plan(uint32_t generation, Step step) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_plan[generation] = std::move(step);
    }
    SessionRunEnd Run(const SessionThreadArg& arg) override {
        Step step;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_entered.push_back(arg.generation);
            m_peers.push_back(arg.peerIp);
            auto it = m_plan.find(arg.generation);
            if (it != m_plan.end())
                step = it->second;
        }
        m_cv.notify_all();
        return step ? step(arg) : HoldUntilStopped(arg);
    }
    bool WaitEntered(uint32_t generation) {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_cv.wait_for(lock, kBound, [&] {
            return std::find(m_entered.begin(), m_entered.end(), generation) != m_entered.end();
        });
    }
    std::vector<std::string> Peers() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_peers;
    }
    static SessionRunEnd HoldUntilStopped(const SessionThreadArg& arg) {
        WaitFor([&] { return !IsSessionGenerationCurrent(arg.session, arg.generation); });
        return SessionRunEnd::Finished;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::map<uint32_t, Step> m_plan;
    std::vector<uint32_t> m_entered;
    std::vector<std::string> m_peers;
};

enum class Role { Host, Client };

// Everything a session test touches; heap-held so that a thread that never ends leaks it instead of
// using freed memory.
struct World {
    World() : host(ownership), client(ownership) {
        host.SetServices(&services);
        client.SetServices(&services);
        host.SetRunBody(&hostBody);
        client.SetRunBody(&clientBody);
    }
    RuntimeTestBinding t;
    SessionOwnership ownership;
    FakeServices services;
    PlannedRunBody hostBody, clientBody;
    HostSession host;
    ClientSession client;
    Gate gates[3];
    std::atomic<bool> bodyReturned{false};
};

class SessionTestBase : public ::testing::Test {
protected:
    void SetUp() override {
        Log::Open();
        TestLog().Clear();
        w = std::make_unique<World>();
    }
    void TearDown() override {
        for (Gate& gate : w->gates)
            gate.Open();
        w->host.Stop();
        w->client.Stop();
        if (!WaitAllFinished()) {
            ADD_FAILURE() << "a session thread did not end; its objects are leaked";
            w.release();
        }
    }

    bool WaitAllFinished() {
        return WaitFor([this] { return w->services.finished.load() == w->services.started.load(); });
    }
    bool WaitFinished(int count) {
        return WaitFor([this, count] { return w->services.finished.load() >= count; });
    }

    // What a run body does when its session connects: starts the process-wide channels and moves the
    // session's state on.
    static void StartChannelsLikeARun(World& world, Role role) {
        world.services.inputRunning = true;
        world.services.clipboardRunning = true;
        world.services.audioRunning = true;
        StateManager& state = RuntimeStateManager();
        for (int channel : {kChannelVideo, kChannelInput, kChannelAudio, kChannelClipboard})
            state.SetChannelState(channel, ChannelState::Connected, "test run connected");
        RuntimeSetProgramState(role == Role::Host ? ProgramState::Controlled : ProgramState::Controlling);
    }

    static void ExpectAllChannels(int32_t state) {
        for (int channel = 0; channel < kChannelCount; ++channel)
            EXPECT_EQ(RuntimeGetChannelState(channel), state) << ChannelName(channel);
    }

    std::unique_ptr<World> w;
};

class SessionRoleTest : public SessionTestBase, public ::testing::WithParamInterface<Role> {
protected:
    Session& S() { return GetParam() == Role::Host ? static_cast<Session&>(w->host) : w->client; }
    PlannedRunBody& Body() { return GetParam() == Role::Host ? w->hostBody : w->clientBody; }
    std::string Name() const { return GetParam() == Role::Host ? "HostSession" : "ClientSession"; }
    static bool RoleRunning() {
        return GetParam() == Role::Host ? RuntimeIsHostRunning() : RuntimeIsClientRunning();
    }
    static int32_t RunningRole() { return GetParam() == Role::Host ? 2 : 1; }
    static int32_t StartingState() { return GetParam() == Role::Host ? 1 : 3; }
    static int32_t ConnectedState() { return GetParam() == Role::Host ? 6 : 5; }
};

std::string RoleName(const ::testing::TestParamInfo<Role>& info) {
    return info.param == Role::Host ? "Host" : "Client";
}

TEST_P(SessionRoleTest, StartRaisesGenerationSetsStateAndStopEndsTheThread) {
    ASSERT_TRUE(S().Start("10.1.2.3"));
    EXPECT_EQ(S().running.load(), 1);
    EXPECT_EQ(S().generation.load(), 1u);
    EXPECT_TRUE(RuntimeIsAppRunning());
    EXPECT_TRUE(w->t.stateManager.IsRunning());
    EXPECT_TRUE(RoleRunning());
    EXPECT_EQ(RuntimeGetRole(), RunningRole());
    EXPECT_EQ(RuntimeGetProgramState(), StartingState());
    ASSERT_TRUE(Body().WaitEntered(1));
    EXPECT_EQ(Body().Peers(), std::vector<std::string>{"10.1.2.3"});
    EXPECT_EQ(w->services.Notes().front(), "activePeer 10.1.2.3");
    EXPECT_TRUE(HasLine(Name() + " started gen=1"));
    EXPECT_EQ(HasLine("[TEXT][CLEARTYPE][DISABLED] no OS display setting changes reason=host start"),
              GetParam() == Role::Host);

    S().Stop();
    EXPECT_TRUE(HasLine(Name() + " stopped"));
    ASSERT_TRUE(WaitFinished(1));
    EXPECT_TRUE(HasLine(Name() + " thread exit gen=1 current=1"));
    EXPECT_EQ(S().running.load(), 0);
    EXPECT_FALSE(RoleRunning());
    EXPECT_EQ(RuntimeGetRole(), 0);
    EXPECT_EQ(RuntimeGetProgramState(), 0);
    ExpectAllChannels(static_cast<int32_t>(ChannelState::Disconnected));
}

TEST_P(SessionRoleTest, StartWhileRunningIsIgnoredButNamesTheNewPeer) {
    ASSERT_TRUE(S().Start("10.1.2.3"));
    ASSERT_TRUE(Body().WaitEntered(1));
    RuntimeSetProgramState(ConnectedState());
    EXPECT_TRUE(S().Start("10.1.2.4"));
    EXPECT_TRUE(HasLine(Name() + " Start ignored: already running"));
    EXPECT_EQ(w->services.CountNote("activePeer 10.1.2.4"), 1u);
    EXPECT_EQ(S().generation.load(), 1u);
    EXPECT_EQ(RuntimeGetProgramState(), ConnectedState()) << "an ignored start changes no state";
    EXPECT_EQ(w->services.started.load(), 1);
}

// Once the shutdown has refused starts and cleared the running flags, a late start (a control request still
// being handled) must not set them again.
TEST_P(SessionRoleTest, StartAfterTheShutdownIsRefusedAndLeavesTheApplicationStopped) {
    w->ownership.RefuseStarts();
    RuntimeSetAppRunning(false);
    w->t.stateManager.SetRunning(false);

    EXPECT_FALSE(S().Start("10.1.2.3"));
    EXPECT_TRUE(HasLine(Name() + " Start refused: application is shutting down"));
    EXPECT_FALSE(RuntimeIsAppRunning());
    EXPECT_FALSE(w->t.stateManager.IsRunning());
    EXPECT_FALSE(RoleRunning());
    EXPECT_EQ(S().running.load(), 0);
    EXPECT_EQ(S().generation.load(), 0u);
    EXPECT_EQ(w->services.started.load(), 0);
    EXPECT_EQ(RuntimeGetProgramState(), 0);
    EXPECT_EQ(w->services.CountNote("activePeer 10.1.2.3"), 1u) << "a refused start still names the peer";
}

// The old thread is held in its run body past Stop; a new session starts and starts its channels; then the
// old thread ends. It must leave every shared value and every channel to the new session.
TEST_P(SessionRoleTest, StaleThreadLeavesTheNewerSessionAlone) {
    Body().Plan(1, [this](const SessionThreadArg&) {
        w->gates[0].Wait(); // ignores its stop until the test lets it go
        return SessionRunEnd::Finished;
    });
    const Role role = GetParam();
    Body().Plan(2, [this, role](const SessionThreadArg& arg) {
        StartChannelsLikeARun(*w, role);
        w->gates[1].Open();
        return PlannedRunBody::HoldUntilStopped(arg);
    });

    ASSERT_TRUE(S().Start("10.1.2.3"));
    ASSERT_TRUE(Body().WaitEntered(1));
    S().Stop(); // returns although the thread is still in its body
    EXPECT_EQ(w->services.finished.load(), 0);
    ASSERT_TRUE(S().Start("10.1.2.3"));
    EXPECT_EQ(S().generation.load(), 2u);
    ASSERT_TRUE(w->gates[1].Wait());
    const size_t notesBefore = w->services.Notes().size();

    w->gates[0].Open();
    ASSERT_TRUE(WaitFinished(1));
    EXPECT_TRUE(HasLine(Name() + " thread exit gen=1 current=0"));
    EXPECT_EQ(w->services.Notes().size(), notesBefore) << "the stale end called no service";
    EXPECT_TRUE(w->services.inputRunning.load());
    EXPECT_TRUE(w->services.clipboardRunning.load());
    EXPECT_TRUE(w->services.audioRunning.load());
    EXPECT_EQ(S().running.load(), 1);
    EXPECT_TRUE(RoleRunning());
    EXPECT_EQ(RuntimeGetRole(), RunningRole());
    EXPECT_EQ(RuntimeGetProgramState(), ConnectedState());
    ExpectAllChannels(static_cast<int32_t>(ChannelState::Connected));
    EXPECT_FALSE(HasLine("session thread exit running="));

    S().Stop();
    ASSERT_TRUE(WaitFinished(2));
    EXPECT_TRUE(HasLine(Name() + " thread exit gen=2 current=1"));
}

TEST_P(SessionRoleTest, SecondStopLogsNoStopAndChangesNoState) {
    ASSERT_TRUE(S().Start("10.1.2.3"));
    S().Stop();
    ASSERT_TRUE(WaitFinished(1));
    TestLog().Clear();
    const int events = w->t.runtimeEvents.load();
    const size_t inputStops = w->services.CountNote("stopInput");

    S().Stop();
    EXPECT_FALSE(HasLine(Name() + " stopped"));
    EXPECT_EQ(w->t.runtimeEvents.load(), events) << "no change notice";
    EXPECT_EQ(RuntimeGetProgramState(), 0);
    EXPECT_EQ(w->services.CountNote("stopInput"), inputStops + 1) << "the channels are stopped again";
}

// Two threads stop the session at once while its thread ends by itself.
TEST_P(SessionRoleTest, ConcurrentStopsWhileTheThreadEnds) {
    Body().Plan(1, [this](const SessionThreadArg&) {
        w->gates[0].Wait();
        return SessionRunEnd::Finished;
    });
    ASSERT_TRUE(S().Start("10.1.2.3"));
    ASSERT_TRUE(Body().WaitEntered(1));
    Gate go;
    std::thread a([&] {
        go.Wait();
        S().Stop();
    });
    std::thread b([&] {
        go.Wait();
        S().Stop();
    });
    go.Open();
    w->gates[0].Open();
    a.join();
    b.join();
    ASSERT_TRUE(WaitFinished(1));
    // The thread's own end may clear the running flag first; then neither Stop saw a running session.
    EXPECT_LE(CountLines(Name() + " stopped"), 1u);
    EXPECT_EQ(S().running.load(), 0);
    EXPECT_FALSE(RoleRunning());
    EXPECT_EQ(RuntimeGetProgramState(), 0);
    EXPECT_EQ(RuntimeGetRole(), 0);
}

// Stop never waits for the thread: a body that ignores its stop keeps running detached, then ends by
// itself as the owner of the state (no newer session came) and cleans up.
TEST_P(SessionRoleTest, StopDetachesABodyThatIgnoresItsStop) {
    Body().Plan(1, [this](const SessionThreadArg&) {
        w->gates[0].Wait();
        w->bodyReturned = true;
        return SessionRunEnd::Finished;
    });
    ASSERT_TRUE(S().Start("10.1.2.3"));
    ASSERT_TRUE(Body().WaitEntered(1));
    StartChannelsLikeARun(*w, GetParam());

    S().Stop();
    EXPECT_FALSE(w->bodyReturned.load()) << "Stop returned while the body still runs";
    if (Log::IsDebugCategoryEnabled("startup"))
        EXPECT_TRUE(HasLine(Name() + "::m_thread: detach worker thread"));
    w->gates[0].Open();
    ASSERT_TRUE(WaitFinished(1));
    EXPECT_TRUE(w->bodyReturned.load());
    EXPECT_TRUE(HasLine(Name() + " thread exit gen=1 current=1"));
    EXPECT_EQ(RuntimeGetProgramState(), 0);
    ExpectAllChannels(static_cast<int32_t>(ChannelState::Disconnected));
    EXPECT_FALSE(w->services.inputRunning.load());
}

TEST_P(SessionRoleTest, WithoutARunBodyTheThreadEndsAtOnce) {
    S().SetRunBody(nullptr);
    ASSERT_TRUE(S().Start("10.1.2.3"));
    ASSERT_TRUE(WaitFinished(1));
    EXPECT_TRUE(HasLine("[SESSION][RUN] " + Name() + " has no run body installed; gen=1 ends"));
    EXPECT_TRUE(HasLine(Name() + " thread exit gen=1 current=1"));
    EXPECT_EQ(S().running.load(), 0);
    EXPECT_EQ(RuntimeGetProgramState(), 0);
}

INSTANTIATE_TEST_SUITE_P(Roles, SessionRoleTest, ::testing::Values(Role::Host, Role::Client), RoleName);

// A host thread that ends after the controller switched this PC to a client session: the host's generation
// is unchanged (Stop does not raise it), but a newer start came, so the host leaves the client's state.
TEST_F(SessionTestBase, StaleHostThreadLeavesTheNewClientSessionAlone) {
    w->hostBody.Plan(1, [this](const SessionThreadArg&) {
        w->gates[0].Wait();
        return SessionRunEnd::Finished;
    });
    w->clientBody.Plan(1, [this](const SessionThreadArg& arg) {
        StartChannelsLikeARun(*w, Role::Client);
        w->gates[1].Open();
        return PlannedRunBody::HoldUntilStopped(arg);
    });
    ASSERT_TRUE(w->host.Start("10.1.2.3"));
    ASSERT_TRUE(w->hostBody.WaitEntered(1));
    w->host.Stop();
    ASSERT_TRUE(w->client.Start("10.1.2.3"));
    ASSERT_TRUE(w->gates[1].Wait());
    const size_t notesBefore = w->services.Notes().size();

    w->gates[0].Open();
    ASSERT_TRUE(WaitFinished(1));
    EXPECT_TRUE(HasLine("HostSession thread exit gen=1 current=0"));
    EXPECT_EQ(w->services.Notes().size(), notesBefore);
    EXPECT_TRUE(w->services.inputRunning.load());
    EXPECT_TRUE(w->services.clipboardRunning.load());
    EXPECT_EQ(RuntimeGetRole(), 1);
    EXPECT_EQ(RuntimeGetProgramState(), 5);
    EXPECT_TRUE(RuntimeIsClientRunning());
    ExpectAllChannels(static_cast<int32_t>(ChannelState::Connected));
}

// --- Exceptions and the video failure paths, current and stale.

struct FailureCase {
    Role role;
    bool stale; // a newer session has started before the old thread fails
};

std::string FailureName(const ::testing::TestParamInfo<FailureCase>& info) {
    return std::string(info.param.role == Role::Host ? "Host" : "Client") +
           (info.param.stale ? "Stale" : "Current");
}

const FailureCase kFailureCases[] = {
    {Role::Host, false}, {Role::Host, true}, {Role::Client, false}, {Role::Client, true}};

class SessionFailureTest : public SessionTestBase, public ::testing::WithParamInterface<FailureCase> {
protected:
    bool IsHost() const { return GetParam().role == Role::Host; }
    Session& S() { return IsHost() ? static_cast<Session&>(w->host) : w->client; }
    PlannedRunBody& Body() { return IsHost() ? w->hostBody : w->clientBody; }
    std::string Name() const { return IsHost() ? "HostSession" : "ClientSession"; }
    bool RoleRunning() const { return IsHost() ? RuntimeIsHostRunning() : RuntimeIsClientRunning(); }

    // Runs generation 1 with `failing` as its body, either alone or overtaken by a connected generation 2.
    // Returns the number of service calls made before the failure.
    size_t RunFailing(std::function<SessionRunEnd()> failing) {
        Body().Plan(1, [this, failing](const SessionThreadArg&) {
            w->gates[0].Wait();
            return failing();
        });
        const Role role = GetParam().role;
        Body().Plan(2, [this, role](const SessionThreadArg& arg) {
            StartChannelsLikeARun(*w, role);
            w->gates[1].Open();
            return PlannedRunBody::HoldUntilStopped(arg);
        });
        EXPECT_TRUE(S().Start("10.1.2.3"));
        EXPECT_TRUE(Body().WaitEntered(1));
        if (GetParam().stale) {
            S().Stop();
            EXPECT_TRUE(S().Start("10.1.2.3"));
            EXPECT_TRUE(w->gates[1].Wait());
        }
        const size_t before = w->services.Notes().size();
        w->gates[0].Open();
        EXPECT_TRUE(WaitFinished(1));
        return before;
    }

    // The newer session is exactly as its run left it.
    void ExpectNewerSessionIntact(size_t notesBefore) {
        EXPECT_EQ(w->services.Notes().size(), notesBefore);
        EXPECT_EQ(S().running.load(), 1);
        EXPECT_TRUE(RoleRunning());
        EXPECT_EQ(RuntimeGetRole(), IsHost() ? 2 : 1);
        EXPECT_EQ(RuntimeGetProgramState(), IsHost() ? 6 : 5);
        ExpectAllChannels(static_cast<int32_t>(ChannelState::Connected));
        EXPECT_TRUE(w->services.inputRunning.load());
        EXPECT_TRUE(w->services.audioRunning.load());
    }
};

TEST_P(SessionFailureTest, StandardExceptionIsLoggedAndFailsOnlyTheCurrentSession) {
    const size_t before = RunFailing([]() -> SessionRunEnd { throw std::runtime_error("boom"); });
    EXPECT_TRUE(HasLine("[THREAD][EXCEPTION] name=" + Name() + " tid=1234 what=boom"));
    EXPECT_EQ(RuntimeMakeSnapshot().errorText, "boom") << "a fault is shown even from a stale thread";
    EXPECT_FALSE(HasLine(Name() + " thread exit")) << "an exception skips the common end";
    if (GetParam().stale) {
        ExpectNewerSessionIntact(before);
        return;
    }
    EXPECT_EQ(RuntimeGetProgramState(), 9);
    EXPECT_EQ(S().running.load(), 0);
    EXPECT_FALSE(RoleRunning());
    EXPECT_EQ(w->services.CountNote("clearType host thread exception"), IsHost() ? 1u : 0u);
}

TEST_P(SessionFailureTest, UnknownExceptionIsLoggedAndFailsOnlyTheCurrentSession) {
    const size_t before = RunFailing([]() -> SessionRunEnd { throw 42; });
    EXPECT_TRUE(HasLine("[THREAD][EXCEPTION] name=" + Name() + " tid=1234 unknown"));
    EXPECT_EQ(RuntimeMakeSnapshot().errorText, "unknown thread exception");
    if (GetParam().stale) {
        ExpectNewerSessionIntact(before);
        return;
    }
    EXPECT_EQ(RuntimeGetProgramState(), 9);
    EXPECT_EQ(S().running.load(), 0);
    EXPECT_FALSE(RoleRunning());
}

TEST_P(SessionFailureTest, VideoFailurePathIsGuardedLikeTheEnd) {
    const size_t before = RunFailing([] { return SessionRunEnd::VideoFailed; });
    RuntimeSnapshot snapshot = RuntimeMakeSnapshot();
    if (GetParam().stale) {
        ExpectNewerSessionIntact(before);
        EXPECT_EQ(snapshot.errorText, "");
        EXPECT_TRUE(HasLine("[SESSION][STALE] " + Name() +
                            " video failure of gen=1 left to the newer session gen=2"));
        return;
    }
    EXPECT_EQ(S().running.load(), 0);
    EXPECT_FALSE(RoleRunning());
    EXPECT_FALSE(HasLine(Name() + " thread exit")) << "the failure path replaces the common end";
    const std::vector<std::string> notes = w->services.Notes();
    const std::vector<std::string> calls(notes.begin() + static_cast<std::ptrdiff_t>(before), notes.end());
    const bool host = IsHost();
    EXPECT_EQ(snapshot.errorText,
              host ? "Host TCP video sender init failed" : "Client TCP video receiver init failed");
    EXPECT_EQ(snapshot.statusMessage, host ? "Host: TCP video sender init failed. See log."
                                           : "Client: TCP video receiver init failed. See log.");
    EXPECT_EQ(RuntimeGetChannelState(kChannelVideo), static_cast<int32_t>(ChannelState::Error));
    EXPECT_EQ(RuntimeGetProgramState(), 9) << "the failure shows as ERROR, not as a session still starting";
    EXPECT_EQ(calls, (std::vector<std::string>{host ? "stopAudioSender" : "stopAudioPlayer", "stopClipboard",
                                               "cancelHid session", "stopInput"}))
        << "the side channels the run started do not outlive the failed session";
    EXPECT_TRUE(
        w->t.stateLog.Has(host ? "[NET][SERVICE] channel=3 state=1 reason=host video connect failed"
                               : "[NET][SERVICE] channel=3 state=1 reason=client video listen failed"));
}

INSTANTIATE_TEST_SUITE_P(Cases, SessionFailureTest, ::testing::ValuesIn(kFailureCases), FailureName);

// --- Thread creation failure.

struct CreateFailureCase {
    Role role;
    int failKind; // 1 standard exception, 2 anything else
    const char* line;
    const char* clearTypeNote; // host only
};

const CreateFailureCase kCreateFailures[] = {
    {Role::Host, 1, "HostSession thread create failed: no thread", "clearType host thread create failed"},
    {Role::Host, 2, "HostSession thread create failed: unknown exception",
     "clearType host thread create failed unknown"},
    {Role::Client, 1, "ClientSession thread create failed: no thread", nullptr},
    {Role::Client, 2, "ClientSession thread create failed: unknown exception", nullptr},
};

class SessionCreateFailureTest : public SessionTestBase,
                                 public ::testing::WithParamInterface<CreateFailureCase> {};

TEST_P(SessionCreateFailureTest, StartReportsFailureAndTheNextStartWorks) {
    const CreateFailureCase& c = GetParam();
    Session& session = c.role == Role::Host ? static_cast<Session&>(w->host) : w->client;
    auto roleRunning = [&] {
        return c.role == Role::Host ? RuntimeIsHostRunning() : RuntimeIsClientRunning();
    };
    w->services.failStart = c.failKind;

    EXPECT_FALSE(session.Start("10.1.2.3"));
    EXPECT_TRUE(HasLine(c.line));
    EXPECT_EQ(w->services.CountNote("activePeer 10.1.2.3"), 1u);
    EXPECT_EQ(session.running.load(), 0);
    EXPECT_FALSE(roleRunning());
    EXPECT_EQ(RuntimeGetProgramState(), 9);
    EXPECT_EQ(session.generation.load(), 1u) << "the generation was raised before the attempt";
    if (c.clearTypeNote != nullptr)
        EXPECT_EQ(w->services.CountNote(c.clearTypeNote), 1u);
    EXPECT_EQ(w->services.started.load(), 0);

    w->services.failStart = 0;
    EXPECT_TRUE(session.Start("10.1.2.3"));
    EXPECT_EQ(session.generation.load(), 2u);
    EXPECT_TRUE(roleRunning());
}

INSTANTIATE_TEST_SUITE_P(Cases, SessionCreateFailureTest, ::testing::ValuesIn(kCreateFailures));

// --- Stop's last step: settle to idle only from a final program state.

struct StopStateCase {
    int32_t programState;
    bool otherRoleRunning;
    bool settlesIdle;
    bool skipLine;
};

class SessionStopStateTest : public SessionTestBase, public ::testing::WithParamInterface<StopStateCase> {};

TEST_P(SessionStopStateTest, HostStopOfANotRunningSession) {
    const StopStateCase& c = GetParam();
    RuntimeSetAppRunning(true);
    RuntimeSetRole(RuntimeRole::Switching);
    RuntimeSetProgramState(c.programState);
    RuntimeSetClientRunning(c.otherRoleRunning);
    TestLog().Clear();

    w->host.Stop();
    EXPECT_FALSE(HasLine("HostSession stopped"));
    EXPECT_EQ(RuntimeGetProgramState(), c.settlesIdle ? 0 : c.programState);
    EXPECT_EQ(RuntimeGetRole(), c.settlesIdle ? 0 : 3);
    if (Log::IsDebugCategoryEnabled("state"))
        EXPECT_EQ(HasLine("[SESSION][STOP][SKIP_IDLE] owner=HostSession::Stop currentProgramState=" +
                          std::to_string(c.programState)),
                  c.skipLine);
    EXPECT_EQ(w->services.CountNote("stopInput"), 1u) << "channels are stopped whatever the state";
}

INSTANTIATE_TEST_SUITE_P(
    States, SessionStopStateTest,
    ::testing::Values(StopStateCase{0, false, true, false}, StopStateCase{8, false, true, false},
                      StopStateCase{9, false, true, false}, StopStateCase{10, false, true, false},
                      StopStateCase{7, false, false, true}, StopStateCase{4, false, false, true},
                      StopStateCase{6, false, false, true}, StopStateCase{9, true, false, false},
                      StopStateCase{7, true, false, false}));

// A running session's Stop writes STOPPING first, so a switch state set by the caller does not survive.
TEST_F(SessionTestBase, StopOfARunningSessionPassesThroughStoppingToIdle) {
    ASSERT_TRUE(w->client.Start("10.1.2.3"));
    RuntimeSetRole(RuntimeRole::Switching);
    RuntimeSetProgramState(ProgramState::Switching);
    w->client.Stop();
    EXPECT_EQ(RuntimeGetProgramState(), 0);
    EXPECT_EQ(RuntimeGetRole(), 0);
}

// --- The role-specific common ends of an owning thread.

TEST_F(SessionTestBase, HostEndZeroesCountersStopsChannelsAndDisconnects) {
    w->hostBody.Plan(1, [this](const SessionThreadArg&) {
        StartChannelsLikeARun(*w, Role::Host);
        RuntimeSetHostVideoStats(30, 30, 30, 4000);
        RuntimeSetClientVideoStats(1, 2, 3, 4);
        return SessionRunEnd::Finished;
    });
    ASSERT_TRUE(w->host.Start("10.1.2.3"));
    ASSERT_TRUE(WaitFinished(1));
    RuntimeSnapshot s = RuntimeMakeSnapshot();
    EXPECT_EQ(std::vector<int32_t>({s.hostCaptureFps, s.hostEncodeFps, s.hostSendFps, s.hostKbps,
                                    s.clientReceiveFps, s.clientDecodeFps, s.clientDrawFps, s.clientKbps}),
              std::vector<int32_t>(8, 0));
    EXPECT_TRUE(HasLine("[CLIP][SERVICE][STOP] reason=host session thread exit running=1 connected=0"));
    EXPECT_EQ(w->services.Notes(),
              (std::vector<std::string>{"activePeer 10.1.2.3", "stopAudioSender", "stopClipboard",
                                        "cancelHid session", "stopInput"}));
    EXPECT_TRUE(w->t.stateLog.Has("[NET][SERVICE] channel=0 state=1 reason=HostSession exit"));
    EXPECT_TRUE(w->t.stateLog.Has("[NET][SERVICE] channel=3 state=1 reason=host session thread exit"));
    ExpectAllChannels(static_cast<int32_t>(ChannelState::Disconnected));
    EXPECT_EQ(RuntimeGetProgramState(), 0);
    EXPECT_EQ(RuntimeGetRole(), 0);
    EXPECT_EQ(w->host.running.load(), 0);
    EXPECT_FALSE(RuntimeIsHostRunning());
    EXPECT_TRUE(HasLine("HostSession thread exit gen=1 current=1"));
}

TEST_F(SessionTestBase, HostEndForControllerReconnectKeepsVideoAndInputReconnecting) {
    w->hostBody.Plan(1, [this](const SessionThreadArg& arg) {
        StartChannelsLikeARun(*w, Role::Host);
        StateManager& state = RuntimeStateManager();
        state.SetChannelState(kChannelVideo, ChannelState::Reconnecting, "display changed");
        state.SetChannelState(kChannelInput, ChannelState::Reconnecting, "display changed");
        arg.session->running.store(0); // the run stops its own session
        return SessionRunEnd::StoppedForReconnect;
    });
    ASSERT_TRUE(w->host.Start("10.1.2.3"));
    ASSERT_TRUE(WaitFinished(1));
    EXPECT_EQ(RuntimeGetChannelState(kChannelVideo), static_cast<int32_t>(ChannelState::Reconnecting));
    EXPECT_EQ(RuntimeGetChannelState(kChannelInput), static_cast<int32_t>(ChannelState::Reconnecting));
    EXPECT_EQ(RuntimeGetChannelState(kChannelAudio), static_cast<int32_t>(ChannelState::Disconnected));
    EXPECT_EQ(RuntimeGetChannelState(kChannelClipboard), static_cast<int32_t>(ChannelState::Disconnected));
    EXPECT_EQ(RuntimeGetProgramState(), 0);
    EXPECT_FALSE(RuntimeIsHostRunning());
    EXPECT_FALSE(w->services.inputRunning.load()) << "the input channel still stops";
    EXPECT_TRUE(HasLine("HostSession thread exit gen=1 current=1"));
}

struct ClientEndCase {
    SessionRunEnd end;
    bool hostRunning;
    int32_t programState; // after the end
    int32_t role;
    const char* videoReason;
};

class ClientEndTest : public SessionTestBase, public ::testing::WithParamInterface<ClientEndCase> {};

TEST_P(ClientEndTest, ClearsViewStateAndDisconnects) {
    const ClientEndCase& c = GetParam();
    w->clientBody.Plan(1, [this, c](const SessionThreadArg&) {
        StartChannelsLikeARun(*w, Role::Client);
        RuntimeSetDesktopSize(2560, 1440);
        RuntimeSetStreamSize(1920, 1080);
        RuntimeSetKeyboardActive(true);
        RuntimeStateManager().SetRemoteLocked(true, "test locked");
        if (c.hostRunning)
            RuntimeSetHostRunning(true);
        return c.end;
    });
    ASSERT_TRUE(w->client.Start("10.1.2.3"));
    ASSERT_TRUE(WaitFinished(1));

    RuntimeSnapshot s = RuntimeMakeSnapshot();
    EXPECT_EQ(s.programState, c.programState);
    EXPECT_EQ(s.role, c.role);
    EXPECT_EQ(std::vector<uint32_t>({s.desktopWidth, s.desktopHeight, s.streamWidth, s.streamHeight}),
              std::vector<uint32_t>(4, 0));
    EXPECT_FALSE(s.keyboardActive);
    EXPECT_FALSE(w->t.stateManager.IsRemoteLocked());
    EXPECT_TRUE(w->t.stateLog.Has("[STATE] remoteLocked=0"));
    EXPECT_TRUE(
        w->t.stateLog.Has("[DIAG][LOCK] remoteLocked 1 -> 0 reason=ClientSession exit source=StateManager"));
    EXPECT_TRUE(w->t.stateLog.Has(std::string("[NET][SERVICE] channel=0 state=1 reason=") + c.videoReason));
    EXPECT_TRUE(w->t.stateLog.Has("[NET][SERVICE] channel=1 state=1 reason=ClientSession exit"));
    ExpectAllChannels(static_cast<int32_t>(ChannelState::Disconnected));
    EXPECT_EQ(w->services.Notes(),
              (std::vector<std::string>{"activePeer 10.1.2.3", "stopAudioPlayer", "stopClipboard",
                                        "cancelHid session", "stopInput", "resetQuality", "stopRenderer"}));
    EXPECT_EQ(w->client.running.load(), 0);
    EXPECT_FALSE(RuntimeIsClientRunning());
    EXPECT_TRUE(HasLine("ClientSession thread exit gen=1 current=1"));
}

INSTANTIATE_TEST_SUITE_P(Ends, ClientEndTest,
                         ::testing::Values(ClientEndCase{SessionRunEnd::Finished, false, 0, 0,
                                                         "ClientSession exit"},
                                           ClientEndCase{SessionRunEnd::PeerLost, false, 8, 0, "peer lost"},
                                           // A host session runs: role and program state belong to it.
                                           ClientEndCase{SessionRunEnd::PeerLost, true, 5, 1, "peer lost"}));

// --- The current-thread tests.

struct CurrentCase {
    const char* name;
    bool nullSession;
    bool appRunning;
    uint8_t running;
    uint32_t sessionGeneration;
    bool expected;
};

class GenerationCurrentTest : public SessionTestBase, public ::testing::WithParamInterface<CurrentCase> {};

TEST_P(GenerationCurrentTest, Table) {
    const CurrentCase& c = GetParam();
    RuntimeSetAppRunning(c.appRunning);
    w->host.running = c.running;
    w->host.generation = c.sessionGeneration;
    EXPECT_EQ(IsSessionGenerationCurrent(c.nullSession ? nullptr : &w->host, 4), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, GenerationCurrentTest,
                         ::testing::Values(CurrentCase{"Current", false, true, 1, 4, true},
                                           CurrentCase{"NullSession", true, true, 1, 4, false},
                                           CurrentCase{"AppStopped", false, false, 1, 4, false},
                                           CurrentCase{"NotRunning", false, true, 0, 4, false},
                                           CurrentCase{"NewerGeneration", false, true, 1, 5, false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct StillCurrentCase {
    const char* name;
    std::function<void(World&)> breakIt; // null: nothing broken
    std::string peer;
    bool expected;
};

class StillCurrentTest : public SessionTestBase, public ::testing::WithParamInterface<StillCurrentCase> {};

TEST_P(StillCurrentTest, Table) {
    const StillCurrentCase& c = GetParam();
    RuntimeSetAppRunning(true);
    w->client.running = 1;
    w->client.generation = 3;
    RuntimeSetRole(RuntimeRole::Controller);
    RuntimeSetClientRunning(true);
    w->services.SetActivePeer("10.0.0.2");
    if (c.breakIt)
        c.breakIt(*w);
    EXPECT_EQ(w->client.IsStillCurrent(3, c.peer), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StillCurrentTest,
    ::testing::Values(
        StillCurrentCase{"AllHold", nullptr, "10.0.0.2", true},
        StillCurrentCase{"EmptyPeer", nullptr, "", false},
        StillCurrentCase{"OtherPeer", nullptr, "10.0.0.3", false},
        StillCurrentCase{"CableMissing", [](World& w) { w.services.devicePresent = false; }, "10.0.0.2",
                         false},
        StillCurrentCase{"NewerGeneration", [](World& w) { w.client.generation = 4; }, "10.0.0.2", false},
        StillCurrentCase{"Stopped", [](World& w) { w.client.running = 0; }, "10.0.0.2", false},
        StillCurrentCase{"RoleSwitching", [](World&) { RuntimeSetRole(RuntimeRole::Switching); }, "10.0.0.2",
                         false},
        StillCurrentCase{"ClientFlagClear", [](World&) { RuntimeSetClientRunning(false); }, "10.0.0.2",
                         false},
        StillCurrentCase{"HostRuns", [](World&) { RuntimeSetHostRunning(true); }, "10.0.0.2", false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
