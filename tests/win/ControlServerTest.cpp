// The TCP control server over real sockets: replies byte-exact, a message in two pieces, the 4096-byte cap,
// garbage followed by a good connection, the sender rule (127.0.0.1 is outside 10/8; 10.77.0.1 is the link
// address the test namespace puts on loopback), the bind failure and the stop.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "LoopbackPort.h"
#include "LogAssertions.h"
#include "TestPaths.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/StateManager.h"
#include "core/win/Handles.h"
#include "link/ControlDispatchServer.h"
#include "link/ControlHandler.h"
#include "link/ControlHandlerState.h"
#include "link/DiscoveryRun.h"
#include "link/LocalIdentity.h"
#include "link/SessionControllerServices.h"
#include "link/VideoSyncHandler.h"
#include "link/win/ControlServer.h"

namespace {

constexpr const char* kLoopback = "127.0.0.1";
constexpr DWORD kWaitMs = 3000;

sockaddr_in Address(const char* ip, uint16_t port) {
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    ::inet_pton(AF_INET, ip, &address.sin_addr);
    return address;
}

// A client connection, optionally from a given local address.
UniqueSocket Connect(const char* to, uint16_t port, const char* from = nullptr) {
    UniqueSocket s(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (from != nullptr) {
        sockaddr_in local = Address(from, 0);
        if (::bind(s.Get(), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0)
            return UniqueSocket();
    }
    sockaddr_in remote = Address(to, port);
    if (::connect(s.Get(), reinterpret_cast<const sockaddr*>(&remote), sizeof remote) != 0)
        return UniqueSocket();
    DWORD timeout = kWaitMs;
    ::setsockopt(s.Get(), SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
    return s;
}

void SendText(SOCKET s, const std::string& text) {
    ::send(s, text.data(), static_cast<int>(text.size()), 0);
}

// Shuts the sending side and reads until the server closes.
std::string FinishAndRead(SOCKET s) {
    ::shutdown(s, SD_SEND);
    std::string reply;
    char buffer[512];
    int got;
    while ((got = ::recv(s, buffer, sizeof buffer, 0)) > 0)
        reply.append(buffer, static_cast<size_t>(got));
    return reply;
}

class RecordingTarget final : public IControlSessionTarget {
public:
    std::string ActivePeerIp() override { return {}; }
    bool IsActivePeer(std::string_view) override { return false; }
    bool SwitchToControlled(const std::string& ip, const std::string& name) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        switches.push_back(ip + " " + name);
        return true;
    }
    void StopAllSessions(const char*) override {}
    bool AdmitIncomingRequest(std::string_view, std::string_view) override { return true; }
    std::vector<std::string> Switches() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return switches;
    }

private:
    std::mutex m_mutex;
    std::vector<std::string> switches;
};

// Answers visibility (sequence 7) and quality (sequence 9, ULTRA); hands the rest to a control handler over
// the recording target. Keeps every message it got, in order.
class TestSink final : public IControlServerSink {
public:
    TestSink() : m_handler(target, m_state, &m_services) {}

    bool HandleVideoVisibility(const std::string& ip, std::string_view message, uint32_t& viewSeq) override {
        viewSeq = 7;
        Record(ip, message);
        return true;
    }
    bool HandleVideoQualityRequest(const std::string& ip, std::string_view message, uint32_t& qualitySeq,
                                   bool& ultra) override {
        qualitySeq = 9;
        ultra = true;
        Record(ip, message);
        return true;
    }
    void HandleControlMessage(const std::string& ip, std::string_view message) override {
        m_handler.HandleControlMessage(ip, message);
        Record(ip, message);
    }

    // The sender and text of the message number `index` (from 0), once it has been handled, and the tick
    // at which the server handed it over.
    bool WaitFor(size_t index, std::string& ip, std::string& message, DWORD* handledAt = nullptr) {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (!m_changed.wait_for(lock, std::chrono::milliseconds(kWaitMs),
                                [&] { return m_got.size() > index; }))
            return false;
        ip = m_got[index].ip;
        message = m_got[index].message;
        if (handledAt != nullptr)
            *handledAt = m_got[index].tick;
        return true;
    }
    size_t Count() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_got.size();
    }

    RecordingTarget target;

private:
    struct Handled {
        std::string ip;
        std::string message;
        DWORD tick;
    };

    void Record(const std::string& ip, std::string_view message) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_got.push_back({ip, std::string(message), GetTickCount()});
        m_changed.notify_all();
    }

    ControlHandlerState m_state;
    SessionControllerServices m_services;
    ControlHandler m_handler;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Handled> m_got;
};

const std::string kVisibility =
    "TSLY_VIDEO_VISIBILITY;id=TSLY-PEER;name=Peer;ver=1;hidden=1;view_seq=7;end=1;";

class ControlServer : public ::testing::Test {
protected:
    void SetUp() override {
        WSADATA data;
        ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
        ASSERT_TRUE(Log::Open());
        m_identity = Discovery::CurrentLocalIdentity();
        Discovery::SetLocalIdentity(Discovery::MakeLocalIdentity("SERVER"));
        port = FreeLoopbackPort();
        ASSERT_NE(port, 0);
    }
    void TearDown() override {
        StopServer();
        Discovery::SetLocalIdentity(m_identity);
        Log::Close();
        WSACleanup();
    }

    // Runs the server body on its own thread and waits until it accepts connections.
    void StartServer() {
        m_thread = std::thread([this] { Discovery::TcpControlServerLoop(m_run, port, sink); });
        for (int i = 0; i < 100; ++i) {
            UniqueSocket probe = Connect(kLoopback, port);
            if (probe.Valid()) {
                FinishAndRead(probe.Get()); // an empty message, dropped by the server
                return;
            }
            Sleep(20);
        }
        FAIL() << "server did not listen";
    }
    // Returns how long the body took to end after the stop.
    DWORD StopServer() {
        if (!m_thread.joinable())
            return 0;
        DWORD start = GetTickCount();
        m_run.RequestStop();
        m_thread.join();
        return GetTickCount() - start;
    }
    static std::string CloseAndReadLog() {
        Log::Close();
        return ReadWholeFile(TestExeFolder() + L"Tessaly.log");
    }

    // Sends one message and returns the reply; the server has handled the message (index) afterwards.
    std::string Exchange(const std::string& text, std::string& handled) {
        size_t index = sink.Count();
        UniqueSocket client = Connect(kLoopback, port);
        EXPECT_TRUE(client.Valid());
        SendText(client.Get(), text);
        std::string reply = FinishAndRead(client.Get());
        std::string ip;
        EXPECT_TRUE(sink.WaitFor(index, ip, handled));
        return reply;
    }

    uint16_t port = 0;
    TestSink sink;

private:
    DiscoveryRun m_run;
    std::thread m_thread;
    LocalIdentity m_identity;
};

TEST_F(ControlServer, RepliesAreByteExactAndTheStartIsLogged) {
    StartServer();
    std::string handled;
    EXPECT_EQ(Exchange(kVisibility, handled),
              "TSLY_ACK;verb=TSLY_VIDEO_VISIBILITY;view_seq=7;accepted=1;end=1;");
    EXPECT_EQ(handled, kVisibility);

    const std::string quality =
        "TSLY_VIDEO_QUALITY;id=TSLY-PEER;name=Peer;ver=1;quality=1;quality_seq=9;cap_uq=1;"
        "end=1;";
    EXPECT_EQ(Exchange(quality, handled),
              "TSLY_ACK;verb=TSLY_VIDEO_QUALITY;quality_seq=9;quality=1;accepted=1;end=1;");
    EXPECT_EQ(handled, quality);

    StopServer();
    EXPECT_TRUE(InOrder(CloseAndReadLog(),
                        {"Discovery TCP control started port=" + std::to_string(port),
                         "Discovery TCP control empty message peer=127.0.0.1 recvCalls=1",
                         "[VIDEO][VISIBILITY][RX_ACK] peer=127.0.0.1 accepted=1 viewSeq=7 ackOk=1",
                         "[QUALITY][RX_ACK] peer=127.0.0.1 accepted=1 qualitySeq=9 mode=ULTRA ackOk=1",
                         "Discovery TCP control stopped"}));
}

// The accepted socket inherits the listener's non-blocking mode; read that way, the second piece (and a first
// piece that comes a moment after the connect) would be lost.
TEST_F(ControlServer, AMessageInTwoPiecesOrLateAfterTheConnectIsHandledWhole) {
    StartServer();
    for (DWORD firstDelayMs : {0u, 100u}) {
        SCOPED_TRACE(firstDelayMs);
        size_t index = sink.Count();
        UniqueSocket client = Connect(kLoopback, port);
        ASSERT_TRUE(client.Valid());
        Sleep(firstDelayMs);
        SendText(client.Get(), kVisibility.substr(0, 30));
        Sleep(100);
        SendText(client.Get(), kVisibility.substr(30));
        EXPECT_EQ(FinishAndRead(client.Get()),
                  "TSLY_ACK;verb=TSLY_VIDEO_VISIBILITY;view_seq=7;accepted=1;end=1;");
        std::string ip, handled;
        ASSERT_TRUE(sink.WaitFor(index, ip, handled));
        EXPECT_EQ(handled, kVisibility);
    }
}

TEST_F(ControlServer, AMessageIsCutAt4096Bytes) {
    StartServer();
    size_t index = sink.Count();
    UniqueSocket client = Connect(kLoopback, port);
    ASSERT_TRUE(client.Valid());
    SendText(client.Get(), "TSLY_CONTROL_STOP;" + std::string(6000, 'x'));
    std::string ip, handled;
    ASSERT_TRUE(sink.WaitFor(index, ip, handled));
    EXPECT_EQ(handled.size(), 4096u);
    EXPECT_EQ(handled.rfind("TSLY_CONTROL_STOP;xxx", 0), 0u);
}

TEST_F(ControlServer, GarbageDoesNotStopTheNextConnectionFromBeingAnswered) {
    StartServer();
    {
        UniqueSocket client = Connect(kLoopback, port);
        ASSERT_TRUE(client.Valid());
        std::string garbage;
        for (int i = 0; i < 700; ++i)
            garbage += static_cast<char>((i * 37 + 11) & 0xFF);
        SendText(client.Get(), garbage);
        FinishAndRead(client.Get());
    }
    std::string handled;
    EXPECT_EQ(Exchange(kVisibility, handled),
              "TSLY_ACK;verb=TSLY_VIDEO_VISIBILITY;view_seq=7;accepted=1;end=1;");
}

TEST_F(ControlServer, ARequestFromLoopbackIsIgnoredAsOutside10) {
    StartServer();
    std::string handled;
    Exchange("TSLY_CONTROL_REQUEST;id=TSLY-PEER;name=Peer;ver=1;req_fps=30;end=1;", handled);
    EXPECT_TRUE(sink.target.Switches().empty());
    StopServer();
    EXPECT_TRUE(
        InOrder(CloseAndReadLog(), {"Discovery ignored TCP/UDP control from non-10 peer ip=127.0.0.1"}));
}

TEST_F(ControlServer, ARequestFromTheLinkAddressMakesThisPcControlled) {
    const char* link = std::getenv("TSLY_TEST_LINK_ADDRESS");
    if (link == nullptr || *link == '\0')
        GTEST_SKIP() << "no link address in this namespace";
    StartServer();
    size_t index = sink.Count();
    UniqueSocket client = Connect(link, port, link);
    ASSERT_TRUE(client.Valid());
    SendText(client.Get(), "TSLY_CONTROL_REQUEST;id=TSLY-PEER;name=Peer;ver=1;req_fps=30;end=1;");
    FinishAndRead(client.Get());
    std::string ip, handled;
    ASSERT_TRUE(sink.WaitFor(index, ip, handled));
    EXPECT_EQ(ip, link);
    EXPECT_EQ(sink.target.Switches(), std::vector<std::string>{std::string(link) + " Peer"});
}

TEST_F(ControlServer, AStopEndsTheBodyWithinAPollAndClosesThePort) {
    StartServer();
    EXPECT_LT(StopServer(), 500u);
    EXPECT_FALSE(Connect(kLoopback, port).Valid());
}

// Discovery's stop clears the flag too, but it may do so before a body that has just started sets it: the
// body clears it again as it ends.
TEST_F(ControlServer, TheControlRunningFlagIsClearWhenTheBodyHasEnded) {
    StartServer();
    ASSERT_TRUE(RuntimeStateManager().IsControlRunning());
    StopServer();
    EXPECT_FALSE(RuntimeStateManager().IsControlRunning());
    // The "[NET][SERVICE]" line belongs to the state category, which is off here; the transition is not.
    EXPECT_TRUE(InOrder(CloseAndReadLog(), {"[DIAG][NETWORK] controlRunning 1 -> 0 reason=ControlStop",
                                            "Discovery TCP control stopped"}));
}

// A sender that drips one byte every 300 ms and never finishes holds the server for the 2000 ms message
// budget only; a connection waiting behind it is then answered. The server hands the dripped bytes on as
// an unfinished message once the budget has run out, which shows that the budget, and not the receive
// time-out or the end of the drip, let it go.
TEST_F(ControlServer, ASlowSenderHoldsTheServerOnlyForTheBudget) {
    StartServer();
    // Connected before the quick sender, so the server takes it first.
    UniqueSocket slow = Connect(kLoopback, port);
    ASSERT_TRUE(slow.Valid());
    const DWORD slowConnected = GetTickCount();
    std::atomic<bool> drip{true};
    std::thread dripper([&] {
        for (int i = 0; i < 20 && drip.load(); ++i) {
            SendText(slow.Get(), "x");
            Sleep(300);
        }
    });

    UniqueSocket quick = Connect(kLoopback, port);
    ASSERT_TRUE(quick.Valid());
    SendText(quick.Get(), kVisibility);
    std::string reply = FinishAndRead(quick.Get());
    const DWORD answered = GetTickCount();
    drip = false;
    dripper.join();

    std::string ip, dripped, handled;
    DWORD drippedAt = 0;
    ASSERT_TRUE(sink.WaitFor(0, ip, dripped, &drippedAt));
    ASSERT_TRUE(sink.WaitFor(1, ip, handled));
    EXPECT_EQ(dripped.find_first_not_of('x'), std::string::npos) << dripped;
    EXPECT_GE(dripped.size(), 6u) << "the server stopped reading before the budget";
    EXPECT_GE(drippedAt - slowConnected, Discovery::kControlMessageBudgetMs - 100);
    EXPECT_EQ(handled, kVisibility);
    EXPECT_EQ(reply, "TSLY_ACK;verb=TSLY_VIDEO_VISIBILITY;view_seq=7;accepted=1;end=1;");
    EXPECT_LT(answered - slowConnected, 2800u);
}

TEST_F(ControlServer, APortInUseEndsTheBodyWithItsLogLine) {
    UniqueSocket holder(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    BOOL exclusive = TRUE;
    ::setsockopt(holder.Get(), SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&exclusive),
                 sizeof exclusive);
    sockaddr_in address = Address("0.0.0.0", port);
    ASSERT_EQ(::bind(holder.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(holder.Get(), 1), 0);

    DiscoveryRun run;
    DWORD start = GetTickCount();
    Discovery::TcpControlServerLoop(run, port, sink); // returns by itself
    EXPECT_LT(GetTickCount() - start, 1000u);
    EXPECT_TRUE(InOrder(CloseAndReadLog(),
                        {"Discovery TCP control bind port=" + std::to_string(port) + " failed wsa="}));
}

// The controlled side of the visibility and quality sync behind the real server: a controller at the link
// address sends, the handler stores into the request the host session reads, and the replies come back
// byte-exact.
class VideoSyncServer : public ::testing::Test {
protected:
    class LinkPeer final : public IControlSessionTarget {
    public:
        std::string ActivePeerIp() override { return active; }
        bool IsActivePeer(std::string_view ip) override { return !ip.empty() && ip == active; }
        bool SwitchToControlled(const std::string&, const std::string&) override { return false; }
        void StopAllSessions(const char*) override {}
        bool AdmitIncomingRequest(std::string_view, std::string_view) override { return false; }
        std::string active;
    };
    class RestartRecorder final : public SessionControllerServices {
    public:
        void RequestHostVideoRestart() override { ++restarts; }
        std::atomic<int> restarts{0};
    };
    class HandlerSink final : public IControlServerSink {
    public:
        explicit HandlerSink(VideoSyncHandler& handler) : m_handler(handler) {}
        bool HandleVideoVisibility(const std::string& ip, std::string_view message,
                                   uint32_t& viewSeq) override {
            return m_handler.HandleVideoVisibility(ip, message, viewSeq);
        }
        bool HandleVideoQualityRequest(const std::string& ip, std::string_view message, uint32_t& qualitySeq,
                                       bool& ultra) override {
            return m_handler.HandleVideoQualityRequest(ip, message, qualitySeq, ultra);
        }
        void HandleControlMessage(const std::string&, std::string_view) override {}

    private:
        VideoSyncHandler& m_handler;
    };

    void SetUp() override {
        const char* link = std::getenv("TSLY_TEST_LINK_ADDRESS");
        if (link == nullptr || *link == '\0')
            GTEST_SKIP() << "no link address in this namespace";
        m_link = link;
        WSADATA data;
        ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
        ASSERT_TRUE(Log::Open());
        m_identity = Discovery::CurrentLocalIdentity();
        Discovery::SetLocalIdentity(Discovery::MakeLocalIdentity("SERVER"));
        RuntimeSetRole(RuntimeRole::Controlled);
        RuntimeSetHostRunning(true);
        peer.active = m_link;
        requests.Store(m_link, ControlRequestParams{0, 0, 30, 8000000, 0, 5, 1, 0, 2});
        port = FreeLoopbackPort();
        ASSERT_NE(port, 0);
        m_thread = std::thread([this] { Discovery::TcpControlServerLoop(m_run, port, m_sink); });
        for (int i = 0; i < 100; ++i) {
            UniqueSocket probe = Connect(m_link.c_str(), port);
            if (probe.Valid()) {
                FinishAndRead(probe.Get());
                return;
            }
            Sleep(20);
        }
        FAIL() << "server did not listen";
    }
    void TearDown() override {
        if (m_link.empty())
            return;
        m_run.RequestStop();
        if (m_thread.joinable())
            m_thread.join();
        RuntimeSetHostRunning(false);
        RuntimeSetRole(RuntimeRole::None);
        Discovery::SetLocalIdentity(m_identity);
        Log::Close();
        WSACleanup();
    }

    // One message from `from` (the link address unless given); the reply.
    std::string Send(const std::string& text, const char* from = nullptr) {
        UniqueSocket client =
            Connect(from != nullptr ? from : m_link.c_str(), port, from != nullptr ? from : m_link.c_str());
        EXPECT_TRUE(client.Valid());
        SendText(client.Get(), text);
        return FinishAndRead(client.Get());
    }

    uint16_t port = 0;
    LinkPeer peer;
    ControlRequestStore requests;
    RestartRecorder services;
    VideoSyncHandler handler{peer, requests, &services};

private:
    HandlerSink m_sink{handler};
    std::string m_link;
    LocalIdentity m_identity;
    DiscoveryRun m_run;
    std::thread m_thread;
};

TEST_F(VideoSyncServer, VisibilityAndQualityAreStoredAndAnsweredWithWhatIsHeld) {
    const std::string link = peer.active;
    EXPECT_EQ(Send("TSLY_VIDEO_VISIBILITY;id=TSLY-PEER;name=Peer;ver=1;hidden=1;view_seq=6;end=1;"),
              "TSLY_ACK;verb=TSLY_VIDEO_VISIBILITY;view_seq=6;accepted=1;end=1;");
    EXPECT_EQ(requests.RequestOwnedBy(link).viewHidden, 1u);
    EXPECT_EQ(Send("TSLY_VIDEO_VISIBILITY;id=TSLY-PEER;name=Peer;ver=1;hidden=0;view_seq=4;end=1;"),
              "TSLY_ACK;verb=TSLY_VIDEO_VISIBILITY;view_seq=6;accepted=0;end=1;");
    EXPECT_EQ(requests.RequestOwnedBy(link).viewHidden, 1u) << "a late, older message changes nothing";

    EXPECT_EQ(Send("TSLY_VIDEO_QUALITY;id=TSLY-PEER;name=Peer;ver=1;quality=1;quality_seq=3;cap_uq=1;end=1;"),
              "TSLY_ACK;verb=TSLY_VIDEO_QUALITY;quality_seq=3;quality=1;accepted=1;end=1;");
    EXPECT_EQ(requests.RequestOwnedBy(link).quality, 1u);
    EXPECT_EQ(services.restarts.load(), 1);
    EXPECT_EQ(Send("TSLY_VIDEO_QUALITY;id=TSLY-PEER;name=Peer;ver=1;quality=0;quality_seq=4;end=1;"),
              "TSLY_ACK;verb=TSLY_VIDEO_QUALITY;quality_seq=0;quality=0;accepted=0;end=1;")
        << "without the capability";
    EXPECT_EQ(
        Send("TSLY_VIDEO_VISIBILITY;id=TSLY-PEER;name=Peer;ver=1;hidden=0;view_seq=9;end=1;", "127.0.0.1"),
        "TSLY_ACK;verb=TSLY_VIDEO_VISIBILITY;view_seq=0;accepted=0;end=1;");

    Log::Close();
    EXPECT_TRUE(InOrder(
        OwnLog(),
        {"[VIDEO][VISIBILITY][RX] peer=" + link + " hidden=1 viewSeq=6 videoPolicy=HEARTBEAT_1FPS",
         "[VIDEO][VISIBILITY][RX_ACK] peer=" + link + " accepted=1 viewSeq=6 ackOk=1",
         "[VIDEO][VISIBILITY][RX_IGNORED] stale peer=" + link + " hidden=0 viewSeq=4 currentSeq=6",
         "[QUALITY][RX_APPLY] peer=" + link + " qualitySeq=3 old=H264 new=ULTRA",
         "[QUALITY][RX_ACK] peer=" + link + " accepted=1 qualitySeq=3 mode=ULTRA ackOk=1",
         "[QUALITY][RX_IGNORED] identity/active/capability peer=" + link + " peerId=TSLY-PEER active=1 cap=0",
         "[VIDEO][VISIBILITY][RX_IGNORED] non-10 peer=127.0.0.1"}));
    ASSERT_TRUE(Log::Open());
}

} // namespace
