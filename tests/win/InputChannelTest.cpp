#include <gtest/gtest.h>

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "LoopbackPort.h"
#include "LoopbackSocket.h"
#include "LogAssertions.h"
#include "TestWait.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/StateManager.h"
#include "core/win/Handles.h"
#include "input/InputPacket.h"
#include "input/win/InputChannel.h"

// The input channel over loopback, one process. The channel is one object, so the host side is driven by
// raw test sockets playing the controller, and the client side by a raw test listener playing the host.
namespace {

constexpr const char* kLoopback = "127.0.0.1";
constexpr DWORD kWaitMs = 5000;

bool SendRecord(SOCKET s, const InputPacket& packet) {
    uint8_t bytes[kInputPacketSize];
    EncodeInputPacket(packet, bytes);
    return SendBytes(s, bytes, sizeof bytes);
}

// What a raw receive of one record gave.
enum class Got { Record, Closed, TimedOut };

Got ReceiveRecord(SOCKET s, InputPacket& packet, DWORD timeoutMs = kWaitMs) {
    uint8_t bytes[kInputPacketSize];
    size_t have = 0;
    const DWORD start = GetTickCount();
    while (have < sizeof bytes) {
        const std::optional<int> n = ReceiveBefore(s, bytes + have, sizeof bytes - have, start, timeoutMs);
        if (!n)
            return Got::TimedOut;
        if (*n <= 0)
            return Got::Closed;
        have += static_cast<size_t>(*n);
    }
    return DecodeInputPacket(bytes, packet) ? Got::Record : Got::Closed;
}

// Connects and completes the handshake; an invalid socket when it did not succeed.
UniqueSocket Handshaken(uint16_t port, int32_t nonce) {
    UniqueSocket s = ConnectLoopback(port);
    InputPacket ack;
    if (!s.Valid() || !SendRecord(s.Get(), MakeHelloPacket(nonce)) ||
        ReceiveRecord(s.Get(), ack) != Got::Record || !IsMatchingAck(ack, nonce))
        return UniqueSocket();
    return s;
}

// A test host: a plain listener the channel's client side connects to.
struct TestListener {
    UniqueSocket socket;
    uint16_t port = 0;

    // receiveBuffer: SO_RCVBUF of the accepted connections (0 keeps the default); set before listen so the
    // window is small from the first segment on.
    bool Listen(int receiveBuffer = 0) {
        socket.Reset(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
        if (receiveBuffer > 0)
            ::setsockopt(socket.Get(), SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&receiveBuffer),
                         sizeof receiveBuffer);
        port = ListenLoopback(socket.Get(), 4);
        return port != 0;
    }
    UniqueSocket Accept(DWORD timeoutMs = kWaitMs) { return AcceptWithin(socket.Get(), timeoutMs); }
};

// Reads the client's HELLO and answers with ack (built from its nonce); the HELLO read.
InputPacket AnswerHello(SOCKET s, const std::function<InputPacket(int32_t)>& ack) {
    InputPacket hello;
    EXPECT_EQ(ReceiveRecord(s, hello), Got::Record);
    EXPECT_TRUE(SendRecord(s, ack(hello.data1)));
    return hello;
}

// The state is reported just after the connected flag changes: waited for, bounded.
bool WaitChannelState(ChannelState state) {
    return WaitUntil(
        [state] {
            return RuntimeStateManager().GetChannelState(kChannelInput) == static_cast<int32_t>(state);
        },
        kWaitMs);
}

class InputChannelTest : public ::testing::Test {
protected:
    void SetUp() override {
        WSADATA data;
        ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
        ASSERT_TRUE(Log::Open());
        m_logStart = OwnLog().size();
        channel.SetInjector([this](const InputPacket& p) {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_injected.push_back(p);
        });
        channel.SetPeerFilter(nullptr);
    }
    void TearDown() override {
        channel.Stop();
        channel.SetInjector(nullptr);
        channel.SetPeerFilter(nullptr);
        Log::Close();
        WSACleanup();
    }

    uint16_t StartHost() {
        const uint16_t port = FreeLoopbackPort();
        EXPECT_TRUE(channel.StartHost(port));
        EXPECT_TRUE(WaitUntil(
            [&] {
                return LogSince().find("Input host listening on 0.0.0.0:" + std::to_string(port)) !=
                       std::string::npos;
            },
            kWaitMs));
        return port;
    }
    std::vector<InputPacket> Injected() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_injected;
    }
    bool WaitInjected(size_t count) {
        return WaitUntil([&] { return Injected().size() >= count; }, kWaitMs);
    }
    std::string LogSince() { return OwnLogSince(m_logStart); }
    bool WaitLog(const std::string& text, size_t count = 1) {
        return WaitUntil([&] { return CountOf(LogSince(), text) >= count; }, kWaitMs);
    }

    InputChannel& channel = InputChannel::Instance();

private:
    size_t m_logStart = 0;
    std::mutex m_mutex;
    std::vector<InputPacket> m_injected;
};

const InputPacket kKeyA = MakeInputPacket(InputPacketType::Key, 0x1E, 0, 'A', KeyPacketFlags::kDown);

// --- Host side.

struct HelloCase {
    const char* name;
    InputPacket hello;
    bool accepted;
};

class InputChannelHostHandshake : public InputChannelTest, public ::testing::WithParamInterface<HelloCase> {};

TEST_P(InputChannelHostHandshake, AcceptsOnlyAValidHello) {
    const HelloCase& c = GetParam();
    const uint16_t port = StartHost();
    UniqueSocket s = ConnectLoopback(port);
    ASSERT_TRUE(s.Valid());
    ASSERT_TRUE(SendRecord(s.Get(), c.hello));
    InputPacket ack;
    const Got got = ReceiveRecord(s.Get(), ack);
    if (!c.accepted) {
        EXPECT_EQ(got, Got::Closed) << "a refused HELLO closes the connection without an answer";
        EXPECT_FALSE(channel.IsConnected());
        return;
    }
    ASSERT_EQ(got, Got::Record);
    EXPECT_EQ(ack, MakeAckPacket(c.hello.data1));
    EXPECT_TRUE(WaitUntil([&] { return channel.IsConnected(); }, kWaitMs));
    EXPECT_TRUE(WaitChannelState(ChannelState::Connected));
    EXPECT_TRUE(RuntimeStateManager().IsTcpInputConnected());
    ASSERT_TRUE(SendRecord(s.Get(), kKeyA));
    ASSERT_TRUE(WaitInjected(1));
    EXPECT_EQ(Injected()[0], kKeyA);
}

INSTANTIATE_TEST_SUITE_P(
    Table, InputChannelHostHandshake,
    ::testing::Values(
        HelloCase{"HelloTag", MakeHelloPacket(11), true},
        HelloCase{"ZeroTag", MakeInputPacket(InputPacketType::Hello, 0, 0, 12, 0), true},
        HelloCase{"OtherTag", MakeInputPacket(InputPacketType::Hello, 0x12345678, 0, 13, 0), false},
        HelloCase{"AckInsteadOfHello", MakeAckPacket(14), false},
        HelloCase{"WrongType", MakeInputPacket(InputPacketType::Key, kHelloTag, 0, 15, 0), false}),
    [](const ::testing::TestParamInfo<HelloCase>& info) { return std::string(info.param.name); });

TEST_F(InputChannelTest, HostAnswersAHelloInsideTheSessionAndDoesNotInjectIt) {
    const uint16_t port = StartHost();
    UniqueSocket s = Handshaken(port, 21);
    ASSERT_TRUE(s.Valid());
    ASSERT_TRUE(SendRecord(s.Get(), MakeHelloPacket(22)));
    InputPacket ack;
    ASSERT_EQ(ReceiveRecord(s.Get(), ack), Got::Record);
    EXPECT_EQ(ack, MakeAckPacket(22));
    ASSERT_TRUE(SendRecord(s.Get(), kKeyA));
    ASSERT_TRUE(WaitInjected(1));
    Sleep(100);
    ASSERT_EQ(Injected().size(), 1u);
    EXPECT_EQ(Injected()[0], kKeyA);
}

TEST_F(InputChannelTest, HostGivesUpOnASilentClientAfterTheHandshakeTimeout) {
    const uint16_t port = StartHost();
    UniqueSocket silent = ConnectLoopback(port);
    ASSERT_TRUE(silent.Valid());
    const uint8_t partial[10] = {'T', 'S', 'L', 'Y'};
    ASSERT_TRUE(SendBytes(silent.Get(), partial, sizeof partial));
    const DWORD start = GetTickCount();
    InputPacket ignored;
    EXPECT_EQ(ReceiveRecord(silent.Get(), ignored, 4000), Got::Closed);
    const DWORD took = GetTickCount() - start;
    EXPECT_GE(took, 1000u);
    EXPECT_LT(took, 3000u);
    // The reject line is throttled process-wide, so earlier tests may have used it up: not checked here.
    EXPECT_TRUE(Handshaken(port, 31).Valid()) << "the host accepts again";
}

TEST_F(InputChannelTest, HostKeepsARecordSplitAcrossTheReceiveTimeout) {
    const uint16_t port = StartHost();
    UniqueSocket s = Handshaken(port, 41);
    ASSERT_TRUE(s.Valid());
    uint8_t bytes[kInputPacketSize];
    EncodeInputPacket(kKeyA, bytes);
    ASSERT_TRUE(SendBytes(s.Get(), bytes, 9));
    Sleep(700); // more than two receive time-outs of the host
    ASSERT_TRUE(SendBytes(s.Get(), bytes + 9, sizeof bytes - 9));
    ASSERT_TRUE(WaitInjected(1));
    EXPECT_EQ(Injected()[0], kKeyA);
    EXPECT_TRUE(channel.IsConnected());
}

TEST_F(InputChannelTest, HostClosesAConnectionThatSendsABadMagic) {
    const uint16_t port = StartHost();
    UniqueSocket s = Handshaken(port, 51);
    ASSERT_TRUE(s.Valid());
    uint8_t bytes[kInputPacketSize * 2];
    EncodeInputPacket(kKeyA, bytes);
    EncodeInputPacket(kKeyA, bytes + kInputPacketSize);
    bytes[0] = 'X';
    ASSERT_TRUE(SendBytes(s.Get(), bytes, sizeof bytes));
    InputPacket ignored;
    EXPECT_EQ(ReceiveRecord(s.Get(), ignored), Got::Closed);
    EXPECT_TRUE(WaitLog("Input host drop invalid magic=0x594C5358"));
    EXPECT_TRUE(Injected().empty()) << "nothing after the broken record is read";
    EXPECT_TRUE(WaitUntil([&] { return !channel.IsConnected(); }, kWaitMs));
    EXPECT_TRUE(WaitChannelState(ChannelState::Listening));
    EXPECT_FALSE(RuntimeStateManager().IsTcpInputConnected());
}

TEST_F(InputChannelTest, HostRefusesAnAddressThePeerFilterRejects) {
    std::vector<std::string> offered;
    std::mutex offeredMutex;
    channel.SetPeerFilter([&](const std::string& ip) {
        std::lock_guard<std::mutex> lock(offeredMutex);
        offered.push_back(ip);
        return false;
    });
    const uint16_t port = StartHost();
    UniqueSocket s = ConnectLoopback(port);
    ASSERT_TRUE(s.Valid());
    SendRecord(s.Get(), MakeHelloPacket(61));
    InputPacket ignored;
    EXPECT_EQ(ReceiveRecord(s.Get(), ignored), Got::Closed);
    EXPECT_TRUE(WaitLog("Input host refused connection from 127.0.0.1"));
    EXPECT_FALSE(channel.IsConnected());
    std::lock_guard<std::mutex> lock(offeredMutex);
    EXPECT_EQ(offered, std::vector<std::string>{kLoopback});
}

TEST_F(InputChannelTest, HostReplacesAConnectionWithANewerOne) {
    const uint16_t port = StartHost();
    UniqueSocket first = Handshaken(port, 71);
    ASSERT_TRUE(first.Valid());
    // The first controller goes quiet as a crashed one would; the new one must not wait for it.
    UniqueSocket second = Handshaken(port, 72);
    ASSERT_TRUE(second.Valid());
    InputPacket ignored;
    EXPECT_EQ(ReceiveRecord(first.Get(), ignored), Got::Closed);
    EXPECT_TRUE(WaitLog("Input host stale connection break"));
    ASSERT_TRUE(SendRecord(second.Get(), kKeyA));
    ASSERT_TRUE(WaitInjected(1));
    EXPECT_TRUE(channel.IsConnected());
    EXPECT_TRUE(WaitChannelState(ChannelState::Connected));

    // The host's direct sends go to the newer connection.
    const InputPacket back = MakeInputPacket(InputPacketType::SystemKey, 0, 0, 2, 1);
    EXPECT_TRUE(channel.SendPacket(back));
    InputPacket got;
    ASSERT_EQ(ReceiveRecord(second.Get(), got), Got::Record);
    EXPECT_EQ(got, back);
}

TEST_F(InputChannelTest, HostStopEndsTheRunAndAStartOnTheSamePortServesAgain) {
    const uint16_t port = StartHost();
    const uint64_t firstGen = channel.RunGeneration();
    UniqueSocket s = Handshaken(port, 81);
    ASSERT_TRUE(s.Valid());
    EXPECT_FALSE(channel.SendPriorityPacket(kKeyA)) << "the priority queue is the client's";
    EXPECT_FALSE(channel.EnqueuePacket(kKeyA)) << "nothing drains a queue on the host";
    EXPECT_EQ(channel.QueuedPackets(), 0u);

    channel.Stop();
    EXPECT_EQ(channel.RunGeneration(), firstGen + 1);
    EXPECT_FALSE(channel.IsRunning());
    EXPECT_FALSE(channel.IsConnected());
    InputPacket ignored;
    EXPECT_EQ(ReceiveRecord(s.Get(), ignored), Got::Closed);
    EXPECT_TRUE(WaitLog("InputChannel::Stop wasRunning=1 oldGen=" + std::to_string(firstGen)));
    EXPECT_TRUE(WaitLog("Input HostThread leave runGen=" + std::to_string(firstGen)));
    EXPECT_FALSE(channel.SendPacket(kKeyA));

    ASSERT_TRUE(channel.StartHost(port));
    EXPECT_EQ(channel.RunGeneration(), firstGen + 3) << "the Stop, the Start's own Stop, the Start";
    EXPECT_TRUE(WaitLog("Input host listening on 0.0.0.0:" + std::to_string(port), 2));
    UniqueSocket again = Handshaken(port, 82);
    ASSERT_TRUE(again.Valid());
    ASSERT_TRUE(SendRecord(again.Get(), kKeyA));
    EXPECT_TRUE(WaitInjected(1));
}

// --- Client side.

TEST_F(InputChannelTest, ClientHandshakesAndSendsPriorityFirst) {
    TestListener host;
    ASSERT_TRUE(host.Listen());
    ASSERT_TRUE(channel.StartClient(kLoopback, host.port, false));
    // Queued before the connection is up: moves merge, the newer keyboard sync replaces the older.
    for (int i = 1; i <= 600; ++i)
        ASSERT_TRUE(channel.EnqueuePacket(MakeInputPacket(InputPacketType::MouseMove, i, i, 0, 0)));
    ASSERT_TRUE(channel.EnqueuePacket(kKeyA));
    const InputPacket sync1 = MakeInputPacket(InputPacketType::SystemKey, 0, 0, 3, KeySyncFlags::kCtrl);
    const InputPacket sync2 = MakeInputPacket(InputPacketType::SystemKey, 0, 0, 3, KeySyncFlags::kShift);
    ASSERT_TRUE(channel.SendPriorityPacket(sync1));
    ASSERT_TRUE(channel.SendPriorityPacket(sync2));
    EXPECT_EQ(channel.QueuedPackets(), 2u) << "the priority packet took the queued move out";

    UniqueSocket s = host.Accept();
    ASSERT_TRUE(s.Valid());
    const InputPacket hello = AnswerHello(s.Get(), [](int32_t nonce) { return MakeAckPacket(nonce); });
    EXPECT_EQ(hello.x, kHelloTag);
    EXPECT_EQ(hello.data1, InputHandshakeNonce(channel.RunGeneration()));
    EXPECT_EQ(hello.data2, 0);
    ASSERT_TRUE(WaitUntil([&] { return channel.IsConnected(); }, kWaitMs));
    EXPECT_TRUE(WaitChannelState(ChannelState::Connected));

    InputPacket got;
    ASSERT_EQ(ReceiveRecord(s.Get(), got), Got::Record);
    // The send thread may have taken the first move before the others came, and holds it until the
    // connection is up; a priority packet does not cancel a move already taken.
    if (got.Is(InputPacketType::MouseMove))
        ASSERT_EQ(ReceiveRecord(s.Get(), got), Got::Record);
    EXPECT_EQ(got, sync2);
    ASSERT_EQ(ReceiveRecord(s.Get(), got), Got::Record);
    EXPECT_EQ(got, kKeyA);
    EXPECT_EQ(ReceiveRecord(s.Get(), got, 300), Got::TimedOut) << "nothing else was queued";

    ASSERT_TRUE(channel.SendPacket(kKeyA)) << "the client's SendPacket queues";
    ASSERT_EQ(ReceiveRecord(s.Get(), got), Got::Record);
    EXPECT_EQ(got, kKeyA);
}

TEST_F(InputChannelTest, ClientRetriesAfterAnAckWithData2Zero) {
    TestListener host;
    ASSERT_TRUE(host.Listen());
    ASSERT_TRUE(channel.StartClient(kLoopback, host.port, false));
    UniqueSocket first = host.Accept();
    ASSERT_TRUE(first.Valid());
    AnswerHello(first.Get(),
                [](int32_t nonce) { return MakeInputPacket(InputPacketType::Hello, kAckTag, 0, nonce, 0); });
    EXPECT_TRUE(WaitLog("[INPUT][HANDSHAKE][CLIENT_FAIL]"));
    EXPECT_TRUE(WaitChannelState(ChannelState::Reconnecting));
    EXPECT_FALSE(channel.IsConnected());
    InputPacket ignored;
    EXPECT_EQ(ReceiveRecord(first.Get(), ignored), Got::Closed);

    UniqueSocket second = host.Accept(3000);
    ASSERT_TRUE(second.Valid()) << "the client tries again after its pause";
    AnswerHello(second.Get(), [](int32_t nonce) { return MakeAckPacket(nonce); });
    EXPECT_TRUE(WaitUntil([&] { return channel.IsConnected(); }, kWaitMs));
}

TEST_F(InputChannelTest, ClientStartForTheSamePeerKeepsTheRunUnlessForced) {
    TestListener host;
    ASSERT_TRUE(host.Listen());
    ASSERT_TRUE(channel.StartClient(kLoopback, host.port, false));
    const uint64_t gen = channel.RunGeneration();
    UniqueSocket first = host.Accept();
    ASSERT_TRUE(first.Valid());
    AnswerHello(first.Get(), [](int32_t nonce) { return MakeAckPacket(nonce); });
    ASSERT_TRUE(WaitUntil([&] { return channel.IsConnected(); }, kWaitMs));

    EXPECT_TRUE(channel.StartClient(kLoopback, host.port, false));
    EXPECT_EQ(channel.RunGeneration(), gen);
    EXPECT_TRUE(channel.IsConnected());
    EXPECT_TRUE(WaitLog("InputChannel::StartClient already active peer=127.0.0.1"));
    EXPECT_FALSE(host.Accept(300).Valid()) << "no new connection";

    EXPECT_TRUE(channel.StartClient(kLoopback, host.port, true));
    EXPECT_EQ(channel.RunGeneration(), gen + 2) << "a Stop and a Start";
    InputPacket ignored;
    EXPECT_EQ(ReceiveRecord(first.Get(), ignored), Got::Closed);
    UniqueSocket second = host.Accept();
    ASSERT_TRUE(second.Valid());
    const InputPacket hello = AnswerHello(second.Get(), [](int32_t nonce) { return MakeAckPacket(nonce); });
    EXPECT_EQ(hello.data1, InputHandshakeNonce(gen + 2));
}

TEST_F(InputChannelTest, ClientReportsReconnectingWhenTheHostGoesAway) {
    TestListener host;
    ASSERT_TRUE(host.Listen());
    ASSERT_TRUE(channel.StartClient(kLoopback, host.port, false));
    UniqueSocket s = host.Accept();
    ASSERT_TRUE(s.Valid());
    AnswerHello(s.Get(), [](int32_t nonce) { return MakeAckPacket(nonce); });
    ASSERT_TRUE(WaitUntil([&] { return channel.IsConnected(); }, kWaitMs));

    // Reset, not closed: the next send fails at once.
    linger hard = {1, 0};
    ::setsockopt(s.Get(), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&hard), sizeof hard);
    s.Reset();
    for (int i = 0; i < 20; ++i) {
        channel.EnqueuePacket(kKeyA);
        Sleep(20);
    }
    EXPECT_TRUE(WaitUntil([&] { return !channel.IsConnected(); }, kWaitMs));
    EXPECT_TRUE(WaitChannelState(ChannelState::Reconnecting));
    EXPECT_FALSE(RuntimeStateManager().IsTcpInputConnected());
    const std::string log = LogSince();
    EXPECT_TRUE(log.find("Input async send failed: type=KEY") != std::string::npos ||
                log.find("[INPUT][CLIENT][PEER_CLOSED]") != std::string::npos)
        << log;
    EXPECT_TRUE(host.Accept(3000).Valid()) << "and connects again";
}

TEST_F(InputChannelTest, ClientSendFailureClosesTheConnectionAndReportsReconnecting) {
    TestListener host;
    ASSERT_TRUE(host.Listen(1024));
    ASSERT_TRUE(channel.StartClient(kLoopback, host.port, false));
    UniqueSocket s = host.Accept();
    ASSERT_TRUE(s.Valid());
    AnswerHello(s.Get(), [](int32_t nonce) { return MakeAckPacket(nonce); });
    ASSERT_TRUE(WaitUntil([&] { return channel.IsConnected(); }, kWaitMs));
    // The test host stops reading: the client's sends fill both socket buffers until one times out. How
    // long the filling takes is the machine's: a loopback sender's buffer is sized for 64 KB segments, so
    // tens of thousands of records leave before a send has to wait at all, whatever the test host's window.
    // So the queue is topped up for as long as the channel drains it; a queue that stands still past the send
    // time-out with the connection still up is the fault looked for here.
    constexpr size_t kTopUp = 256;
    constexpr DWORD kStandingStillMs = 5000; // well past the 1200 ms a send may wait for room
    constexpr DWORD kFillBoundMs = 120000;   // for a channel whose sends never meet full buffers
    const DWORD start = GetTickCount();
    DWORD drained = start;
    int records = 0;
    while (channel.IsConnected()) {
        const DWORD now = GetTickCount();
        if (now - drained > kStandingStillMs || now - start > kFillBoundMs)
            break;
        if (channel.QueuedPackets() >= kTopUp) {
            Sleep(1);
            continue;
        }
        for (size_t n = 0; n < kTopUp; ++n, ++records)
            channel.EnqueuePacket(MakeInputPacket(InputPacketType::Key, 0, records, 'B', records & 1));
        drained = now;
    }
    ASSERT_TRUE(WaitUntil([&] { return !channel.IsConnected(); }, 3000))
        << records << " records queued in " << GetTickCount() - start << " ms";
    EXPECT_TRUE(WaitLog("Input async send failed: type=KEY"));
    EXPECT_TRUE(WaitChannelState(ChannelState::Reconnecting));
    EXPECT_FALSE(RuntimeStateManager().IsTcpInputConnected());
}

TEST_F(InputChannelTest, ClientPurgeDropsQueuedMoves) {
    TestListener host;
    ASSERT_TRUE(host.Listen());
    ASSERT_TRUE(channel.StartClient(kLoopback, host.port, false));
    ASSERT_TRUE(channel.EnqueuePacket(MakeInputPacket(InputPacketType::MouseMove, 5, 5, 0, 0)));
    ASSERT_TRUE(channel.EnqueuePacket(kKeyA));
    EXPECT_EQ(channel.PurgeMoves("test"), 1u);
    EXPECT_TRUE(WaitLog("[INPUT][MOVE_PURGE] reason=test removed=1"));
    UniqueSocket s = host.Accept();
    ASSERT_TRUE(s.Valid());
    AnswerHello(s.Get(), [](int32_t nonce) { return MakeAckPacket(nonce); });
    InputPacket got;
    ASSERT_EQ(ReceiveRecord(s.Get(), got), Got::Record);
    EXPECT_EQ(got, kKeyA);
}

} // namespace
