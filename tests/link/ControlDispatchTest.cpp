// The dispatcher's order of tests, and the control server's handling of one connection (reading across
// pieces, the 4096-byte cap, the time budget, the replies) over a scripted connection.
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "SessionControllerTestSupport.h"
#include "link/ControlDispatchServer.h"
#include "link/DiscoveryRun.h"

namespace {

using Calls = std::vector<std::string>;

class ControlDispatch : public SessionControllerFixture {};

TEST_F(ControlDispatch, VerbsArePrefixTestsInTheirOrderBehindTheSenderRule) {
    struct Case {
        const char* name;
        const char* sender;
        std::string message;
        const char* firstCall; // null: nothing happens
        const char* version;   // the peer version afterwards
    } cases[] = {
        {"sender outside 10/8", "192.168.1.5", "TSLY_CONTROL_REQUEST;id=TSLY-ZED;ver=7.7;", nullptr, ""},
        {"sender 1.0.0.1", "1.0.0.1", "TSLY_CONTROL_STOP;id=TSLY-ZED;ver=7.7;", nullptr, ""},
        {"liveness ping ends before the version", kPeerIp, "TSLY_PING;id=TSLY-ZED;ver=7.7;end=1;", nullptr,
         ""},
        {"visibility without reply", kPeerIp,
         "TSLY_VIDEO_VISIBILITY;id=TSLY-ZED;ver=7.7;hidden=1;view_seq=2;", "visibility 10.0.0.2", "7.7"},
        {"version only from the active peer", kOtherIp, "TSLY_VIDEO_VISIBILITY;id=TSLY-ZED;ver=7.7;",
         "visibility 10.0.0.3", ""},
        {"stop in its UDP form", kPeerIp, "TSLY_CONTROL_STOP;id=TSLY-ZED;name=Desk;",
         "refreshCable peer-control-stop-check", ""},
        {"request from another peer", kOtherIp, "TSLY_CONTROL_REQUEST;id=TSLY-ZED;name=Desk;ver=7.7;",
         "stopClient", "7.7"},
        {"verb needs its separator", kPeerIp, "TSLY_CONTROL_STOPPED;id=TSLY-ZED;ver=7.7;", nullptr, "7.7"},
        {"verbs are case-sensitive", kPeerIp, "tsly_control_stop;id=TSLY-ZED;", nullptr, ""},
        {"discovery is not a control message", kPeerIp, "TSLY_DISCOVER;id=TSLY-ZED;", nullptr, ""},
        {"empty", kPeerIp, "", nullptr, ""},
        {"a zero byte ends the text", kPeerIp, std::string("TSLY_CONTROL_STOP\0;id=TSLY-ZED;", 31), nullptr,
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BecomeControlledBy(kPeerIp); // kPeerIp is the active peer
        RuntimeSetPeerVersion("");

        handler.HandleControlMessage(c.sender, c.message);

        Calls calls = services.Calls();
        if (c.firstCall == nullptr)
            EXPECT_TRUE(calls.empty()) << calls.front();
        else
            EXPECT_EQ(calls.empty() ? "" : calls.front(), c.firstCall);
        EXPECT_EQ(RuntimeMakeSnapshot().peerVersion, c.version);
        EXPECT_EQ(HasLine(std::string("Discovery ignored TCP/UDP control from non-10 peer ip=") + c.sender),
                  std::string(c.sender).rfind("10.", 0) != 0);
    }
}

// --- One connection of the control server.

// Receives follow a script: each step gives bytes (cut to the size asked for, the rest stays for the next
// call) or an error, and advances the clock first. An empty script reads as the peer closing.
class ScriptedConnection final : public IControlConnection {
public:
    struct Step {
        std::string bytes;
        int error = 0;
        uint32_t advanceMs = 0;
    };
    int Receive(char* buffer, int capacity, int& wsa) override {
        asked.push_back(capacity);
        if (steps.empty())
            return 0;
        Step step = steps.front();
        steps.pop_front();
        TestLog().tick += step.advanceMs;
        if (step.error != 0) {
            wsa = step.error;
            return -1;
        }
        size_t n = std::min(step.bytes.size(), static_cast<size_t>(capacity));
        step.bytes.copy(buffer, n);
        if (n < step.bytes.size())
            steps.push_front({step.bytes.substr(n)});
        return static_cast<int>(n);
    }
    bool SendAll(std::string_view text, int& wsa) override {
        EXPECT_FALSE(shutDown) << "write after shutdown";
        sent += text;
        wsa = 0;
        return true;
    }
    void ShutdownSend() override { shutDown = true; }

    std::deque<Step> steps;
    std::vector<int> asked;
    std::string sent;
    bool shutDown = false;
};

class RecordingSink final : public IControlServerSink {
public:
    bool HandleVideoVisibility(const std::string& ip, std::string_view message, uint32_t& viewSeq) override {
        calls.push_back("visibility " + ip + " " + std::string(message));
        viewSeq = 7;
        return true;
    }
    bool HandleVideoQualityRequest(const std::string& ip, std::string_view message, uint32_t& qualitySeq,
                                   bool& ultra) override {
        calls.push_back("quality " + ip + " " + std::string(message));
        qualitySeq = 9;
        ultra = true;
        return true;
    }
    void HandleControlMessage(const std::string& ip, std::string_view message) override {
        calls.push_back("control " + ip + " " + std::string(message));
    }
    Calls calls;
};

class ControlConnection : public ::testing::Test {
protected:
    void SetUp() override {
        Log::Open();
        TestLog().Clear();
    }
    void TearDown() override { Log::Close(); }

    Discovery::ControlMessageRead Read() {
        return Discovery::ReadControlMessage(connection, "10.0.0.2", run);
    }
    void Serve() { Discovery::ServeControlConnection(connection, "10.0.0.2", sink, run); }
    static bool HasLine(const std::string& part) {
        for (const std::string& line : TestLog().Messages())
            if (line.find(part) != std::string::npos)
                return true;
        return false;
    }

    ScriptedConnection connection;
    RecordingSink sink;
    DiscoveryRun run;
};

TEST_F(ControlConnection, AMessageIsReadUntilEndEvenWhenItSpansPieces) {
    struct Case {
        const char* name;
        std::vector<const char*> pieces;
        const char* message;
        int calls;
    } cases[] = {
        {"one piece", {"TSLY_PING;id=A;end=1;"}, "TSLY_PING;id=A;end=1;", 1},
        {"split before the end",
         {"TSLY_CONTROL_REQ", "UEST;id=A;end=1;"},
         "TSLY_CONTROL_REQUEST;id=A;end=1;",
         2},
        {"end itself split, later bytes not read",
         {"TSLY_PING;id=A;end=", "1;", "MORE"},
         "TSLY_PING;id=A;end=1;",
         2},
        {"peer closes without end", {"TSLY_CONTROL_STOP;id=A;"}, "TSLY_CONTROL_STOP;id=A;", 2},
        {"end=1 must be followed by its separator",
         {"TSLY_PING;end=1", "0;x;end=1;"},
         "TSLY_PING;end=10;x;end=1;",
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        connection.steps.clear();
        for (const char* piece : c.pieces)
            connection.steps.push_back({piece});
        Discovery::ControlMessageRead read = Read();
        EXPECT_EQ(read.message, c.message);
        EXPECT_EQ(read.recvCalls, c.calls);
    }
}

TEST_F(ControlConnection, AMessageIsCutAt4096BytesReadIn1024BytePieces) {
    connection.steps.push_back({std::string(5000, 'x')});
    Discovery::ControlMessageRead read = Read();
    EXPECT_EQ(read.message, std::string(4096, 'x'));
    EXPECT_EQ(connection.asked, (std::vector<int>{1024, 1024, 1024, 1024}));
}

TEST_F(ControlConnection, ReceiveErrorsEndTheMessageAndOnlyRealErrorsAreLogged) {
    struct Case {
        int wsa;
        bool logged;
    } cases[] = {{10054, true}, {10060, false}, {10035, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.wsa);
        TestLog().Clear();
        connection.steps = {{"TSLY_CONTROL_STOP;id=A;"}, {"", c.wsa}};
        Discovery::ControlMessageRead read = Read();
        EXPECT_EQ(read.message, "TSLY_CONTROL_STOP;id=A;");
        EXPECT_EQ(HasLine("Discovery TCP control recv failed peer=10.0.0.2 calls=2 bytes=23 wsa=" +
                          std::to_string(c.wsa)),
                  c.logged);
    }
}

// However slowly the bytes come, one connection holds the server at most about 2000 ms plus one receive.
TEST_F(ControlConnection, ASlowSenderIsCutOffByTheBudget) {
    for (int i = 0; i < 10; ++i)
        connection.steps.push_back({"x", 0, 700});
    Discovery::ControlMessageRead read = Read();
    EXPECT_EQ(read.message, "xxx");
    EXPECT_EQ(read.recvCalls, 3);
}

TEST_F(ControlConnection, AStoppedServerReadsNothing) {
    run.RequestStop();
    connection.steps.push_back({"TSLY_PING;end=1;"});
    Serve();
    EXPECT_TRUE(connection.asked.empty());
    EXPECT_TRUE(sink.calls.empty());
    EXPECT_TRUE(HasLine("Discovery TCP control empty message peer=10.0.0.2 recvCalls=0"));
}

TEST_F(ControlConnection, VisibilityAndQualityAreAnsweredByteExactThenTheSendingSideIsShut) {
    const std::string visibility = "TSLY_VIDEO_VISIBILITY;id=A;name=B;ver=1;hidden=1;view_seq=7;end=1;";
    connection.steps = {{visibility.substr(0, 20)}, {visibility.substr(20)}};
    Serve();
    EXPECT_EQ(connection.sent, "TSLY_ACK;verb=TSLY_VIDEO_VISIBILITY;view_seq=7;accepted=1;end=1;");
    EXPECT_TRUE(connection.shutDown);
    EXPECT_EQ(sink.calls, Calls{"visibility 10.0.0.2 " + visibility});
    EXPECT_TRUE(
        HasLine("[VIDEO][VISIBILITY][RX_ACK] peer=10.0.0.2 accepted=1 viewSeq=7 ackOk=1 recvCalls=2 bytes=" +
                std::to_string(visibility.size())));

    ScriptedConnection quality;
    const std::string request =
        "TSLY_VIDEO_QUALITY;id=A;name=B;ver=1;quality=1;quality_seq=9;cap_uq=1;end=1;";
    quality.steps = {{request}};
    Discovery::ServeControlConnection(quality, "10.0.0.2", sink, run);
    EXPECT_EQ(quality.sent, "TSLY_ACK;verb=TSLY_VIDEO_QUALITY;quality_seq=9;quality=1;accepted=1;end=1;");
    EXPECT_TRUE(quality.shutDown);
    EXPECT_TRUE(HasLine(
        "[QUALITY][RX_ACK] peer=10.0.0.2 accepted=1 qualitySeq=9 mode=ULTRA ackOk=1 recvCalls=1 bytes=" +
        std::to_string(request.size())));
}

TEST_F(ControlConnection, OtherMessagesGoToTheDispatcherWithoutAReply) {
    connection.steps = {{"TSLY_CONTROL_REQUEST;id=A;end=1;"}};
    Serve();
    EXPECT_EQ(sink.calls, Calls{"control 10.0.0.2 TSLY_CONTROL_REQUEST;id=A;end=1;"});
    EXPECT_EQ(connection.sent, "");
    EXPECT_FALSE(connection.shutDown);
}

TEST_F(ControlConnection, AnEmptyMessageIsDropped) {
    Serve();
    EXPECT_TRUE(sink.calls.empty());
    EXPECT_TRUE(HasLine("Discovery TCP control empty message peer=10.0.0.2 recvCalls=1"));
}

} // namespace
