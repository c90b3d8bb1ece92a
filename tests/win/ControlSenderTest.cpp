#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <string>
#include <thread>
#include <vector>

#include "LogAssertions.h"
#include "TestPaths.h"
#include "core/Log.h"
#include "core/win/Handles.h"
#include "link/ControlMessage.h"
#include "link/ControlMessageRead.h"
#include "link/ControlRequestParams.h"
#include "link/LocalIdentity.h"
#include "link/win/ControlSender.h"
#include "link/win/LocalIdentityWin.h"

namespace {

using namespace Discovery;

constexpr const char* kLoopback = "127.0.0.1";

sockaddr_in LoopbackAddress(uint16_t port) {
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    return address;
}

uint16_t BoundPort(SOCKET s) {
    sockaddr_in address = {};
    int size = sizeof address;
    ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &size);
    return ntohs(address.sin_port);
}

void SetReceiveTimeout(SOCKET s, DWORD ms) {
    ::setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&ms), sizeof ms);
}

// A peer on 127.0.0.1 that serves one connection on its own thread: it reads until the client shuts its
// sending side, writes the reply pieces 50 ms apart, keeps the connection open for holdMs and closes it.
class LoopbackPeer {
public:
    explicit LoopbackPeer(uint16_t port, std::vector<std::string> reply = {}, DWORD holdMs = 0)
        : m_listener(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)) {
        sockaddr_in address = LoopbackAddress(port);
        if (!m_listener.Valid() ||
            ::bind(m_listener.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(m_listener.Get(), 4) != 0)
            return;
        m_port = BoundPort(m_listener.Get());
        m_thread = std::thread([this, reply = std::move(reply), holdMs] { Serve(reply, holdMs); });
    }
    LoopbackPeer(const LoopbackPeer&) = delete;
    LoopbackPeer& operator=(const LoopbackPeer&) = delete;
    ~LoopbackPeer() { Received(); }

    uint16_t Port() const { return m_port; }
    // Everything the client wrote; waits until the peer is done.
    std::string Received() {
        if (m_thread.joinable())
            m_thread.join();
        return m_received;
    }

private:
    void Serve(const std::vector<std::string>& reply, DWORD holdMs) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(m_listener.Get(), &readable);
        timeval wait = {5, 0};
        if (::select(0, &readable, nullptr, nullptr, &wait) != 1)
            return;
        UniqueSocket client(::accept(m_listener.Get(), nullptr, nullptr));
        if (!client.Valid())
            return;
        SetReceiveTimeout(client.Get(), 5000);
        char buffer[512];
        int got;
        while ((got = ::recv(client.Get(), buffer, sizeof buffer, 0)) > 0)
            m_received.append(buffer, static_cast<size_t>(got));
        for (const std::string& piece : reply) {
            ::send(client.Get(), piece.data(), static_cast<int>(piece.size()), 0);
            Sleep(50);
        }
        Sleep(holdMs);
    }

    UniqueSocket m_listener;
    uint16_t m_port = 0;
    std::string m_received;
    std::thread m_thread;
};

class UdpReceiver {
public:
    explicit UdpReceiver(uint16_t port) : m_socket(::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP)) {
        sockaddr_in address = LoopbackAddress(port);
        m_bound = m_socket.Valid() &&
                  ::bind(m_socket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    }
    bool Bound() const { return m_bound; }
    // One datagram, or empty when none came within timeoutMs.
    std::string Receive(DWORD timeoutMs) {
        SetReceiveTimeout(m_socket.Get(), timeoutMs);
        char buffer[2048];
        int got = ::recv(m_socket.Get(), buffer, sizeof buffer, 0);
        return got > 0 ? std::string(buffer, static_cast<size_t>(got)) : std::string();
    }

private:
    UniqueSocket m_socket;
    bool m_bound = false;
};

// A port that nothing listens on right now.
uint16_t ClosedPort() {
    UniqueSocket s(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    sockaddr_in address = LoopbackAddress(0);
    ::bind(s.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address);
    return BoundPort(s.Get());
}

const ControlRequestParams kRequest{1920, 1080, 30, 8000000, 0, 3, 1, 1, 4};

class ControlSender : public ::testing::Test {
protected:
    void SetUp() override {
        WSADATA data;
        ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
        ASSERT_TRUE(Log::Open());
        m_before = CurrentLocalIdentity();
        SetLocalIdentity(m_pc);
    }
    void TearDown() override {
        SetLocalIdentity(m_before);
        Log::Close();
        WSACleanup();
    }
    static std::string CloseAndReadLog() {
        Log::Close();
        return ReadWholeFile(TestExeFolder() + L"Tessaly.log");
    }

    const LocalIdentity m_pc = MakeLocalIdentity("WINTEST");
    LocalIdentity m_before;
};

TEST_F(ControlSender, ExchangeSendsTheMessageAndReadsAReplyThatArrivesInPieces) {
    std::string ack = BuildVisibilityAck(7, true);
    LoopbackPeer peer(0, {ack.substr(0, 20), ack.substr(20), "TRAILING"});
    ASSERT_NE(peer.Port(), 0);
    std::string message = BuildVideoVisibilityMessage(m_pc, true, 7);

    TcpExchangeResult result = ExchangeTcpMessage(kLoopback, peer.Port(), message,
                                                  kVisibilityConnectTimeoutMs, kVisibilityReplyTimeoutMs);
    EXPECT_EQ(result.stage, TcpExchangeStage::Sent);
    EXPECT_EQ(result.wsa, 0);
    EXPECT_EQ(result.reply, ack) << "reading stops at the ending";
    EXPECT_TRUE(AckConfirmsVisibility(result.reply, 7));
    EXPECT_EQ(peer.Received(), message);
}

TEST_F(ControlSender, AReplyWithoutEndingIsCutAt1024Bytes) {
    LoopbackPeer peer(0, {std::string(700, 'a'), std::string(700, 'b')});
    ASSERT_NE(peer.Port(), 0);
    TcpExchangeResult result = ExchangeTcpMessage(kLoopback, peer.Port(), "TSLY_X;end=1;", 350, 700);
    EXPECT_EQ(result.stage, TcpExchangeStage::Sent);
    EXPECT_EQ(result.reply, std::string(700, 'a') + std::string(324, 'b'));
}

// The connected socket is blocking again: the receive time-out, not an immediate "would block", ends the
// wait for a peer that stays silent.
TEST_F(ControlSender, ASilentPeerEndsTheReplyWaitAtTheTimeout) {
    LoopbackPeer peer(0, {}, 1500);
    ASSERT_NE(peer.Port(), 0);
    ULONGLONG start = GetTickCount64();
    TcpExchangeResult result =
        ExchangeTcpMessage(kLoopback, peer.Port(), "TSLY_X;end=1;", 350, kQualityReplyTimeoutMs);
    ULONGLONG elapsed = GetTickCount64() - start;
    EXPECT_EQ(result.stage, TcpExchangeStage::Sent);
    EXPECT_TRUE(result.reply.empty());
    EXPECT_GE(elapsed, 250u);
    EXPECT_LT(elapsed, 1400u);
}

TEST_F(ControlSender, ARefusedConnectFailsBeforeTheTimeout) {
    uint16_t port = ClosedPort();
    ULONGLONG start = GetTickCount64();
    TcpExchangeResult result =
        ExchangeTcpMessage(kLoopback, port, "TSLY_X;end=1;", kControlConnectTimeoutMs, 0);
    ULONGLONG elapsed = GetTickCount64() - start;
    EXPECT_EQ(result.stage, TcpExchangeStage::ConnectFailed);
    EXPECT_EQ(result.wsa, WSAECONNREFUSED);
    EXPECT_LT(elapsed, kControlConnectTimeoutMs);
}

// A listener whose queue is full answers no more connects: the time-out ends the attempt.
TEST_F(ControlSender, AnUnansweredConnectEndsAtTheTimeout) {
    UniqueSocket listener(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    sockaddr_in address = LoopbackAddress(0);
    ASSERT_EQ(::bind(listener.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listener.Get(), 1), 0);
    uint16_t port = BoundPort(listener.Get());
    std::vector<UniqueSocket> queued;
    int wsa = 0;
    ULONGLONG elapsed = 0;
    for (int i = 0; i < 16; ++i) {
        ULONGLONG start = GetTickCount64();
        UniqueSocket s = TcpConnectWithTimeout(kLoopback, port, kPingConnectTimeoutMs, wsa);
        elapsed = GetTickCount64() - start;
        if (!s.Valid())
            break;
        queued.push_back(std::move(s));
    }
    EXPECT_EQ(wsa, WSAETIMEDOUT);
    EXPECT_GE(elapsed, kPingConnectTimeoutMs - 30);
    EXPECT_LT(elapsed, 1000u);
}

TEST_F(ControlSender, AnAddressThatIsNotDottedIpv4FailsWithoutConnecting) {
    for (const char* ip : {"", "peer.local", "10.0.0"}) {
        TcpExchangeResult result = ExchangeTcpMessage(ip, kControlPort, "TSLY_X;end=1;", 350, 0);
        EXPECT_EQ(result.stage, TcpExchangeStage::ConnectFailed) << ip;
        EXPECT_EQ(result.wsa, WSAEINVAL) << ip;
    }
}

TEST_F(ControlSender, AControlRequestGoesByTcpWithItsEndingAndNotByUdp) {
    UdpReceiver primary(kDiscoveryPrimaryPort), legacy(kDiscoveryLegacyPort);
    ASSERT_TRUE(primary.Bound() && legacy.Bound());
    LoopbackPeer peer(kControlPort);
    ASSERT_EQ(peer.Port(), kControlPort);

    SendControlRequest(kLoopback, kRequest);
    std::string wire = peer.Received();
    EXPECT_EQ(wire, BuildControlRequestMessage(m_pc, kRequest, ControlTransport::Tcp));
    EXPECT_EQ(wire.substr(wire.size() - 6), "end=1;");
    EXPECT_EQ(ReadControlRequestParams(wire, kLoopback, false), kRequest);
    EXPECT_EQ(primary.Receive(200), "");
    EXPECT_EQ(legacy.Receive(50), "");
    std::string log = CloseAndReadLog();
    EXPECT_TRUE(InOrder(log, {"Discovery TCP control send verb=TSLY_CONTROL_REQUEST ip=127.0.0.1 bytes=" +
                              std::to_string(wire.size()) + " ok=1\r\n"}));
    EXPECT_EQ(log.find("UDP fallback"), std::string::npos) << log;
}

TEST_F(ControlSender, AControlRequestThatCannotConnectFallsBackToUdpOnBothPorts) {
    UdpReceiver primary(kDiscoveryPrimaryPort), legacy(kDiscoveryLegacyPort);
    ASSERT_TRUE(primary.Bound() && legacy.Bound());

    SendControlRequest(kLoopback, kRequest);
    std::string udpForm = BuildControlRequestMessage(m_pc, kRequest, ControlTransport::Udp);
    EXPECT_EQ(udpForm.find("end=1;"), std::string::npos);
    EXPECT_EQ(primary.Receive(2000), udpForm);
    EXPECT_EQ(legacy.Receive(2000), udpForm);
    EXPECT_TRUE(InOrder(CloseAndReadLog(),
                        {"Discovery TCP control connect failed ip=127.0.0.1 port=5003 wsa=10061\r\n",
                         "Discovery sent UDP fallback control request to 127.0.0.1 "
                         "ports=38999,58999\r\n"}));
}

TEST_F(ControlSender, AControlStopFallsBackToItsShortUdpForm) {
    UdpReceiver primary(kDiscoveryPrimaryPort), legacy(kDiscoveryLegacyPort);
    ASSERT_TRUE(primary.Bound() && legacy.Bound());
    SendControlStop(kLoopback);
    EXPECT_EQ(primary.Receive(2000), "TSLY_CONTROL_STOP;id=TSLY-WINTEST;name=WINTEST;");
    EXPECT_EQ(legacy.Receive(2000), "TSLY_CONTROL_STOP;id=TSLY-WINTEST;name=WINTEST;");
    EXPECT_TRUE(InOrder(CloseAndReadLog(),
                        {"Discovery sent UDP fallback control stop to 127.0.0.1 ports=38999,58999\r\n"}));
}

TEST_F(ControlSender, AControlStopThatConnectsSendsOnlyTheTcpForm) {
    UdpReceiver primary(kDiscoveryPrimaryPort);
    ASSERT_TRUE(primary.Bound());
    LoopbackPeer peer(kControlPort);
    ASSERT_EQ(peer.Port(), kControlPort);
    SendControlStop(kLoopback);
    EXPECT_EQ(peer.Received(), BuildControlStopMessage(m_pc, ControlTransport::Tcp));
    EXPECT_EQ(primary.Receive(200), "");
}

TEST_F(ControlSender, UdpFallbackSendsNothingWithoutAddressOrText) {
    UdpReceiver primary(kDiscoveryPrimaryPort);
    ASSERT_TRUE(primary.Bound());
    SendUdpFallback("", "TSLY_CONTROL_STOP;id=A;", "control stop");
    SendUdpFallback(kLoopback, "", "control stop");
    EXPECT_EQ(primary.Receive(200), "");
    EXPECT_TRUE(SendUdpFallback(kLoopback, "TSLY_X;", nullptr));
    EXPECT_EQ(primary.Receive(2000), "TSLY_X;");
    std::string log = CloseAndReadLog();
    EXPECT_TRUE(InOrder(log, {"Discovery sent UDP fallback control to 127.0.0.1 ports=38999,58999\r\n"}));
    EXPECT_EQ(log.find("UDP fallback control stop"), std::string::npos) << log;
}

// A datagram above the UDP limit cannot go out on either port: the log must not say it was sent.
TEST_F(ControlSender, UdpFallbackThatSendsNothingLogsTheFailure) {
    EXPECT_FALSE(SendUdpFallback(kLoopback, std::string(70000, 'x'), "control stop"));
    std::string log = CloseAndReadLog();
    EXPECT_TRUE(InOrder(log, {"Discovery UDP fallback control stop to 127.0.0.1 port=38999 failed wsa=",
                              "Discovery UDP fallback control stop to 127.0.0.1 port=58999 failed wsa=",
                              "Discovery UDP fallback control stop to 127.0.0.1 failed on both ports\r\n"}));
    EXPECT_EQ(log.find("Discovery sent UDP fallback"), std::string::npos) << log;
}

TEST_F(ControlSender, DesktopStateGoesByTcpOnly) {
    {
        LoopbackPeer peer(kControlPort);
        ASSERT_EQ(peer.Port(), kControlPort);
        EXPECT_TRUE(NotifyDesktopState(kLoopback, true));
        EXPECT_EQ(peer.Received(), BuildDesktopStateMessage(m_pc, true));
    }
    UdpReceiver primary(kDiscoveryPrimaryPort);
    ASSERT_TRUE(primary.Bound());
    EXPECT_FALSE(NotifyDesktopState(kLoopback, false));
    EXPECT_FALSE(NotifyDesktopState("", false));
    EXPECT_EQ(primary.Receive(200), "");
    std::string bytes = std::to_string(BuildDesktopStateMessage(m_pc, true).size());
    EXPECT_TRUE(InOrder(
        CloseAndReadLog(),
        {"Discovery TCP control-extra send verb=TSLY_DESKTOP_STATE ip=127.0.0.1 extra=locked=1 bytes=" +
             bytes + " ok=1\r\n",
         "Discovery TCP control-extra connect failed ip=127.0.0.1 port=5003 wsa=10061\r\n"}));
}

TEST_F(ControlSender, LivenessPingSucceedsOnlyWhenTheControlPortAnswers) {
    {
        LoopbackPeer peer(kControlPort);
        ASSERT_EQ(peer.Port(), kControlPort);
        EXPECT_TRUE(SendLivenessPing(kLoopback));
        EXPECT_EQ(peer.Received(), "TSLY_PING;id=TSLY-WINTEST;name=WINTEST;ver=20260827.3;end=1;");
    }
    EXPECT_FALSE(SendLivenessPing(kLoopback));
}

// The visibility and quality senders against a peer on port 5003 that answers with a scripted reply: only
// an ACK of the verb sent, with its sequence (and mode), and "accepted" exactly "1" confirms the request.
class VideoSyncSender : public ControlSender {};

TEST_F(VideoSyncSender, VisibilityIsConfirmedOnlyByAnExactAcceptedReply) {
    struct Case {
        const char* name;
        std::string reply;
        bool confirmed;
    } const cases[] = {
        {"accepted", BuildVisibilityAck(7, true), true},
        {"refused", BuildVisibilityAck(7, false), false},
        {"accepted=11", "TSLY_ACK;verb=TSLY_VIDEO_VISIBILITY;view_seq=7;accepted=11;end=1;", false},
        {"accepted=true", "TSLY_ACK;verb=TSLY_VIDEO_VISIBILITY;view_seq=7;accepted=true;end=1;", false},
        {"another sequence", BuildVisibilityAck(6, true), false},
        {"the quality verb", "TSLY_ACK;verb=TSLY_VIDEO_QUALITY;view_seq=7;accepted=1;end=1;", false},
    };
    for (const Case& c : cases) {
        LoopbackPeer peer(kControlPort, {c.reply});
        ASSERT_EQ(peer.Port(), kControlPort) << c.name;
        EXPECT_EQ(SendVideoVisibility(kLoopback, true, 7, "state-change"), c.confirmed) << c.name;
        EXPECT_EQ(peer.Received(), BuildVideoVisibilityMessage(m_pc, true, 7)) << c.name;
    }
    EXPECT_TRUE(InOrder(CloseAndReadLog(),
                        {"[VIDEO][VISIBILITY][TX_ACK] peer=127.0.0.1 hidden=1 viewSeq=7 ackSeq=7 accepted=1 "
                         "confirmed=1 reason=state-change ackBytes=64",
                         "[VIDEO][VISIBILITY][TX_ACK] peer=127.0.0.1 hidden=1 viewSeq=7 ackSeq=7 accepted=0 "
                         "confirmed=0 reason=state-change"}));
}

TEST_F(VideoSyncSender, QualityIsConfirmedOnlyByItsSequenceAndMode) {
    struct Case {
        const char* name;
        std::string reply;
        bool confirmed;
    } const cases[] = {
        {"accepted", BuildQualityAck(4, true, true), true},
        {"the other mode is held", BuildQualityAck(4, false, true), false},
        {"stale: a newer sequence is held", BuildQualityAck(6, true, false), false},
    };
    for (const Case& c : cases) {
        LoopbackPeer peer(kControlPort, {c.reply});
        ASSERT_EQ(peer.Port(), kControlPort) << c.name;
        EXPECT_EQ(SendVideoQuality(kLoopback, true, 4, 2), c.confirmed) << c.name;
        EXPECT_EQ(peer.Received(), BuildVideoQualityMessage(m_pc, true, 4)) << c.name;
    }
    EXPECT_TRUE(
        InOrder(CloseAndReadLog(),
                {"[QUALITY][TX_ACK] peer=127.0.0.1 qualitySeq=4 ackSeq=4 mode=ULTRA ackMode=ULTRA accepted=1 "
                 "confirmed=1 attempt=2 ackBytes=74",
                 "[QUALITY][TX_ACK] peer=127.0.0.1 qualitySeq=4 ackSeq=4 mode=ULTRA ackMode=H264 accepted=1 "
                 "confirmed=0 attempt=2",
                 "[QUALITY][TX_ACK] peer=127.0.0.1 qualitySeq=4 ackSeq=6 mode=ULTRA ackMode=ULTRA accepted=0 "
                 "confirmed=0 attempt=2"}));
}

// A silent peer: visibility waits 700 ms for the reply, quality 300 ms.
TEST_F(VideoSyncSender, ASilentPeerIsNotConfirmedAfterTheReplyTimeOut) {
    {
        LoopbackPeer peer(kControlPort, {}, 1500);
        ASSERT_EQ(peer.Port(), kControlPort);
        ULONGLONG start = GetTickCount64();
        EXPECT_FALSE(SendVideoVisibility(kLoopback, false, 3, nullptr));
        ULONGLONG elapsed = GetTickCount64() - start;
        EXPECT_GE(elapsed, 650u);
        EXPECT_LT(elapsed, 1400u);
    }
    {
        LoopbackPeer peer(kControlPort, {}, 1500);
        ASSERT_EQ(peer.Port(), kControlPort);
        ULONGLONG start = GetTickCount64();
        EXPECT_FALSE(SendVideoQuality(kLoopback, false, 2, 1));
        ULONGLONG elapsed = GetTickCount64() - start;
        EXPECT_GE(elapsed, 250u);
        EXPECT_LT(elapsed, 650u);
    }
    EXPECT_TRUE(
        InOrder(CloseAndReadLog(),
                {"[VIDEO][VISIBILITY][TX_ACK] peer=127.0.0.1 hidden=0 viewSeq=3 ackSeq=0 accepted=0 "
                 "confirmed=0 reason=sync ackBytes=0",
                 "[QUALITY][TX_ACK] peer=127.0.0.1 qualitySeq=2 ackSeq=0 mode=H264 ackMode=H264 accepted=0 "
                 "confirmed=0 attempt=1 ackBytes=0"}));
}

TEST_F(VideoSyncSender, NobodyListeningIsAConnectFailure) {
    EXPECT_FALSE(SendVideoVisibility(kLoopback, false, 3, "peer-change"));
    EXPECT_FALSE(SendVideoQuality(kLoopback, false, 2, 1));
    EXPECT_TRUE(
        InOrder(CloseAndReadLog(),
                {"[VIDEO][VISIBILITY][TX_CONNECT_FAIL] peer=127.0.0.1 hidden=0 viewSeq=3 reason=peer-change "
                 "wsa=10061",
                 "[QUALITY][TX_CONNECT_FAIL] peer=127.0.0.1 qualitySeq=2 mode=H264 attempt=1 wsa=10061"}));
}

TEST(LocalIdentityWin, IdentityComesFromTheComputerName) {
    LocalIdentity pc = ReadLocalIdentity();
    EXPECT_NE(pc.name, "Tessaly");
    EXPECT_FALSE(pc.name.empty());
    EXPECT_EQ(pc.id, "TSLY-" + pc.name);
    EXPECT_EQ(pc.version, "20260827.3");
    PrimaryScreenSize screen = ReadPrimaryScreenSize();
    EXPECT_GT(screen.width, 0);
    EXPECT_GT(screen.height, 0);
}

} // namespace
