#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/ConfigService.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/StateTestSupport.h"
#include "media/ClientSession.h"
#include "support/TestLog.h"

namespace {

// Runs the reconnect's thread inline, so that every step is seen in order; `onPause` may make the session
// stale between the control requests.
class ReconnectServices final : public SessionServices {
public:
    bool IsDevicePresent() override { return devicePresent; }
    bool IsActivePeer(const std::string& ip) override { return ip == "10.0.0.2"; }
    bool IsInputClientConnected() override { return false; }
    void StartInputClient(const std::string& ip, uint16_t port, bool force) override {
        calls.push_back("input " + ip + ":" + std::to_string(port) + (force ? " force" : ""));
    }
    void StartHidProbe(const char* reason) override { calls.push_back(std::string("probe ") + reason); }
    void SendControlRequest(const std::string& ip) override { calls.push_back("request " + ip); }
    void StartDetachedThread(std::function<void()> work) override {
        ++threads;
        if (beforeThread)
            beforeThread();
        work();
    }
    void Pause(uint32_t ms) override {
        ++pauses;
        EXPECT_EQ(ms, 250u);
        if (onPause)
            onPause(pauses);
    }

    bool devicePresent = true;
    int threads = 0, pauses = 0;
    std::function<void()> beforeThread;
    std::function<void(int)> onPause;
    std::vector<std::string> calls;
};

struct ReconnectCase {
    const char* name;
    std::function<void(ReconnectServices&, ClientSession&)> setup;
    int threads;
    int requests;
    const char* line;
};

void PrintTo(const ReconnectCase& c, std::ostream* os) {
    *os << c.name;
}

class ClientNoVideoReconnectTest : public ::testing::TestWithParam<ReconnectCase> {
protected:
    void SetUp() override {
        Log::Open();
        TestLog().Clear();
        client.SetServices(&services);
        // A running controller session of generation 1 with 10.0.0.2 as its active peer.
        RuntimeSetAppRunning(true);
        client.running.store(1);
        client.generation.store(1);
        RuntimeSetRole(RuntimeRole::Controller);
        RuntimeSetClientRunning(true);
    }

    RuntimeTestBinding t;
    SessionOwnership ownership;
    ClientSession client{ownership};
    ReconnectServices services;
};

size_t Count(const std::vector<std::string>& calls, const std::string& prefix) {
    size_t n = 0;
    for (const std::string& call : calls)
        n += call.rfind(prefix, 0) == 0 ? 1 : 0;
    return n;
}

TEST_P(ClientNoVideoReconnectTest, StepsStopOnceTheSessionIsNoLongerCurrent) {
    GetParam().setup(services, client);
    ClientSession::ScheduleNoVideoReconnect(&client, 1, "10.0.0.2", "", 3100);
    EXPECT_EQ(services.threads, GetParam().threads);
    EXPECT_EQ(Count(services.calls, "request 10.0.0.2"), static_cast<size_t>(GetParam().requests));
    EXPECT_EQ(CountLogMessages(GetParam().line), 1u);
}

void Stale(ClientSession& client) {
    client.generation.store(2);
}

const ReconnectCase kCases[] = {
    {"Completes", [](ReconnectServices&, ClientSession&) {}, 1, 3,
     "[VIDEO][WATCHDOG] in-session reconnect requested peer=10.0.0.2 gen=1"},
    {"CableMissingBeforeSchedule", [](ReconnectServices& s, ClientSession&) { s.devicePresent = false; }, 0,
     0, "[VIDEO][WATCHDOG] reconnect canceled before schedule peer=10.0.0.2 devicePresent=0 current=1"},
    {"StaleBeforeSchedule", [](ReconnectServices&, ClientSession& c) { Stale(c); }, 0, 0,
     "[VIDEO][WATCHDOG] reconnect canceled before schedule peer=10.0.0.2 devicePresent=1 current=0"},
    {"StaleBeforeBegin", [](ReconnectServices& s, ClientSession& c) { s.beforeThread = [&c] { Stale(c); }; },
     1, 0, "[VIDEO][WATCHDOG] reconnect worker canceled before begin peer=10.0.0.2 gen=1"},
    {"StaleAfterTheFirstRequest",
     [](ReconnectServices& s, ClientSession& c) {
         s.onPause = [&c](int pause) {
             if (pause == 1)
                 Stale(c);
         };
     },
     1, 1, "[VIDEO][WATCHDOG] reconnect worker canceled peer=10.0.0.2 gen=1 step=1"},
    {"StaleBeforePublish",
     [](ReconnectServices& s, ClientSession& c) {
         s.onPause = [&c](int pause) {
             if (pause == 3)
                 Stale(c);
         };
     },
     1, 3, "[VIDEO][WATCHDOG] reconnect worker canceled before publish peer=10.0.0.2 gen=1"},
};

INSTANTIATE_TEST_SUITE_P(Cases, ClientNoVideoReconnectTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ClientNoVideoReconnectTest, ScheduleMarksTheSessionReconnectingAndRestartsInputForced) {
    ClientSession::ScheduleNoVideoReconnect(&client, 1, "10.0.0.2", "pc-b", 3100);
    const unsigned port = ConfigService::Instance().GetSnapshot().inputPort;
    EXPECT_EQ(
        CountLogMessages("[VIDEO][WATCHDOG] schedule in-session reconnect peer=10.0.0.2 sinceVideoMs=3100 "
                         "reason=no video packets for 2s"),
        1u);
    EXPECT_EQ(CountLogMessages("[VIDEO][WATCHDOG] in-session reconnect begin peer=10.0.0.2 name=pc-b"), 1u);
    EXPECT_EQ(Count(services.calls, "input 10.0.0.2:" + std::to_string(port) + " force"), 1u);
    EXPECT_EQ(Count(services.calls, "probe restart-client-prewin"), 1u);
    for (int attempt = 1; attempt <= 3; ++attempt)
        EXPECT_EQ(CountLogMessages("[VIDEO][WATCHDOG] control request resend #" + std::to_string(attempt) +
                                   " peer=10.0.0.2"),
                  1u);
    EXPECT_EQ(RuntimeGetProgramState(), static_cast<int32_t>(ProgramState::Connecting));
    EXPECT_EQ(RuntimeGetChannelState(kChannelVideo), static_cast<int32_t>(ChannelState::Reconnecting));
    EXPECT_EQ(RuntimeGetChannelState(kChannelInput), static_cast<int32_t>(ChannelState::Reconnecting));
    EXPECT_EQ(RuntimeMakeSnapshot().statusMessage, "Remote video reconnect requested");
}

TEST_F(ClientNoVideoReconnectTest, NothingWithoutAPeerAddress) {
    ClientSession::ScheduleNoVideoReconnect(&client, 1, "", "pc-b", 3100);
    ClientSession::ScheduleNoVideoReconnect(nullptr, 1, "10.0.0.2", "pc-b", 3100);
    EXPECT_EQ(services.threads, 0);
    EXPECT_TRUE(TestLog().Messages().empty());
}

} // namespace
