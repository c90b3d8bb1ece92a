#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "LoopbackPort.h"
#include "LoopbackSocket.h"
#include "LogAssertions.h"
#include "TestPaths.h"
#include "core/Log.h"
#include "core/win/Handles.h"
#include "media/VideoTransportTiming.h"
#include "media/win/TcpVideoReceiver.h"
#include "media/win/TcpVideoSender.h"
#include "WinsockTest.h"

namespace {

constexpr const char* kLoopback = "127.0.0.1";

using Bytes = std::vector<uint8_t>;

struct Received {
    Bytes payload;
    uint32_t frameId = 0;
    uint32_t videoWidth = 0;
    uint32_t videoHeight = 0;
    uint32_t desktopWidth = 0;
    uint32_t desktopHeight = 0;
    uint32_t codec = 0;
};

// Calls ReceiveFrame until a frame comes or timeoutMs pass, as the client session's loop does.
bool ReceiveWithin(TcpVideoReceiver& receiver, Received& out, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    do {
        if (receiver.ReceiveFrame(out.payload, out.frameId, out.videoWidth, out.videoHeight, out.desktopWidth,
                                  out.desktopHeight, &out.codec))
            return true;
        Sleep(1);
    } while (GetTickCount() - start < timeoutMs);
    return false;
}

// Polls the receiver for a while without expecting a frame (accepting and refusing happen inside).
void PollFor(TcpVideoReceiver& receiver, DWORD ms) {
    Received ignored;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        receiver.ReceiveFrame(ignored.payload, ignored.frameId, ignored.videoWidth, ignored.videoHeight,
                              ignored.desktopWidth, ignored.desktopHeight);
        Sleep(1);
    }
}

Bytes RandomBytes(size_t size, uint32_t seed) {
    std::mt19937 random(seed);
    Bytes bytes(size);
    for (uint8_t& b : bytes)
        b = static_cast<uint8_t>(random());
    return bytes;
}

const char* LinkAddress() {
    const char* link = std::getenv("TSLY_TEST_LINK_ADDRESS");
    return link != nullptr && *link != '\0' ? link : nullptr;
}

class TcpVideoTransport : public WinsockTest {
protected:
    static std::string CloseAndReadLog() {
        Log::Close();
        return ReadWholeFile(TestExeFolder() + L"Tessaly.log");
    }
};

TEST_F(TcpVideoTransport, FramesArriveIntactWhileTheSenderRunsAhead) {
    std::vector<std::string> offered;
    TcpVideoReceiver receiver([&](const std::string& ip) {
        offered.push_back(ip);
        return ip == kLoopback;
    });
    ASSERT_TRUE(receiver.Listen(0));
    TcpVideoSender sender;
    ASSERT_TRUE(sender.Connect(kLoopback, receiver.ListenPort()));
    EXPECT_TRUE(sender.IsConnected());

    // Sizes from one byte to above the socket buffers, so that sends have to wait for room.
    const size_t sizes[] = {1, 59, 60, 61, 65536, 256 * 1024, 5 * 1024 * 1024, 300000, 2};
    std::vector<Bytes> frames;
    for (size_t i = 0; i < std::size(sizes); ++i)
        frames.push_back(RandomBytes(sizes[i], static_cast<uint32_t>(i)));
    std::atomic<int> sent{0};
    std::thread sending([&] {
        for (size_t i = 0; i < frames.size(); ++i) {
            // One tile frame, first: with several queued the receiver would resume at the newest of them.
            const VideoCodecFlag codec = i == 0 ? VideoCodecFlag::Tiles : VideoCodecFlag::H264;
            if (sender.SendFrame(frames[i].data(), frames[i].size(), 100 + static_cast<uint32_t>(i), 1920,
                                 1080, 3840 + static_cast<uint32_t>(i), 2160, codec))
                ++sent;
        }
    });
    for (size_t i = 0; i < frames.size(); ++i) {
        Received got;
        if (!ReceiveWithin(receiver, got, 5000)) {
            ADD_FAILURE() << "frame " << i << " not received";
            receiver.Shutdown(); // a sender waiting for room then fails, so the join below returns
            break;
        }
        EXPECT_EQ(got.payload, frames[i]) << "frame " << i;
        EXPECT_EQ(got.frameId, 100 + i);
        EXPECT_EQ(got.codec, i == 0 ? 1u : 0u);
        EXPECT_EQ(got.videoWidth, 1920u);
        EXPECT_EQ(got.videoHeight, 1080u);
        EXPECT_EQ(got.desktopWidth, 3840 + i);
        EXPECT_EQ(got.desktopHeight, 2160u);
    }
    sending.join();
    EXPECT_EQ(sent.load(), static_cast<int>(frames.size()));
    EXPECT_EQ(offered, std::vector<std::string>{kLoopback});

    sender.Shutdown();
    receiver.Shutdown();
    const std::string port = std::to_string(receiver.ListenPort());
    EXPECT_TRUE(InOrder(CloseAndReadLog(), {"TCP video receiver listening 0.0.0.0:",
                                            "TCP video sender connected peer=127.0.0.1:",
                                            "TCP video receiver accepted peer=127.0.0.1:"}));
}

TEST_F(TcpVideoTransport, FramesTheSenderRefusesSendNothing) {
    TcpVideoReceiver receiver([](const std::string&) { return true; });
    ASSERT_TRUE(receiver.Listen(0));
    TcpVideoSender sender;
    const Bytes frame = RandomBytes(1000, 7);
    EXPECT_FALSE(sender.SendFrame(frame.data(), frame.size(), 1, 2, 2, 2, 2, VideoCodecFlag::H264))
        << "not connected";
    ASSERT_TRUE(sender.Connect(kLoopback, receiver.ListenPort()));
    // Refused on their size alone: the data is never read.
    EXPECT_FALSE(sender.SendFrame(frame.data(), 0x10000001, 1, 2, 2, 2, 2, VideoCodecFlag::H264));
    EXPECT_FALSE(sender.SendFrame(frame.data(), 0, 1, 2, 2, 2, 2, VideoCodecFlag::H264));
    EXPECT_FALSE(sender.SendFrame(nullptr, 10, 1, 2, 2, 2, 2, VideoCodecFlag::H264));
    EXPECT_TRUE(sender.IsConnected());
    ASSERT_TRUE(sender.SendFrame(frame.data(), frame.size(), 2, 2, 2, 2, 2, VideoCodecFlag::H264));
    Received got;
    ASSERT_TRUE(ReceiveWithin(receiver, got, 3000));
    EXPECT_EQ(got.frameId, 2u) << "the refused frames left nothing in the stream";
    EXPECT_EQ(got.payload, frame);
}

// The listener takes only the active peer: a connection from any other address is closed at once and the
// peer's own connection is then accepted. Sources differ by the address dialled: 127.0.0.1 for loopback,
// the link address for the link address.
TEST_F(TcpVideoTransport, OnlyThePeerAddressIsAccepted) {
    const char* link = LinkAddress();
    if (link == nullptr)
        GTEST_SKIP() << "no link address in this namespace";
    TcpVideoReceiver receiver([&](const std::string& ip) { return ip == link; });
    ASSERT_TRUE(receiver.Listen(0));

    TcpVideoSender stranger;
    ASSERT_TRUE(stranger.Connect(kLoopback, receiver.ListenPort())); // the stack completes the handshake
    PollFor(receiver, 200);
    EXPECT_FALSE(receiver.HasClient());
    const Bytes frame = RandomBytes(4000, 3);
    bool strangerCut = false;
    for (int i = 0; i < 50 && !strangerCut; ++i, Sleep(20))
        strangerCut = !stranger.SendFrame(frame.data(), frame.size(), 1, 2, 2, 2, 2, VideoCodecFlag::H264);
    EXPECT_TRUE(strangerCut);
    EXPECT_FALSE(stranger.IsConnected());

    TcpVideoSender peer;
    ASSERT_TRUE(peer.Connect(link, receiver.ListenPort()));
    ASSERT_TRUE(peer.SendFrame(frame.data(), frame.size(), 9, 2, 2, 2, 2, VideoCodecFlag::H264));
    Received got;
    ASSERT_TRUE(ReceiveWithin(receiver, got, 3000));
    EXPECT_EQ(got.frameId, 9u);
    EXPECT_TRUE(receiver.HasClient());

    EXPECT_TRUE(InOrder(CloseAndReadLog(), {"TCP video receiver refused peer=127.0.0.1:",
                                            ": not the active peer; connection closed",
                                            std::string("TCP video receiver accepted peer=") + link + ":"}));
}

// The controller drops the connection mid-stream (its receiver restarts); the sender notices on a send,
// reports the connection lost, and a new Connect streams again.
TEST_F(TcpVideoTransport, ALostConnectionIsReportedAndAFreshConnectWorks) {
    TcpVideoReceiver receiver([](const std::string&) { return true; });
    ASSERT_TRUE(receiver.Listen(0));
    const uint16_t port = receiver.ListenPort();
    TcpVideoSender sender;
    ASSERT_TRUE(sender.Connect(kLoopback, port));
    const Bytes frame = RandomBytes(100000, 5);
    ASSERT_TRUE(sender.SendFrame(frame.data(), frame.size(), 1, 2, 2, 2, 2, VideoCodecFlag::H264));
    Received got;
    ASSERT_TRUE(ReceiveWithin(receiver, got, 3000));

    // Half a frame is in flight when the receiver goes.
    ASSERT_TRUE(sender.SendFrame(frame.data(), frame.size(), 2, 2, 2, 2, 2, VideoCodecFlag::H264));
    receiver.Shutdown();
    ASSERT_TRUE(receiver.Listen(port));
    bool failed = false;
    for (int i = 0; i < 100 && !failed; ++i, Sleep(20))
        failed = !sender.SendFrame(frame.data(), frame.size(), 3, 2, 2, 2, 2, VideoCodecFlag::H264);
    ASSERT_TRUE(failed);
    EXPECT_FALSE(sender.IsConnected());
    EXPECT_FALSE(sender.SendFrame(frame.data(), frame.size(), 4, 2, 2, 2, 2, VideoCodecFlag::H264));

    ASSERT_TRUE(sender.Connect(kLoopback, port));
    ASSERT_TRUE(sender.SendFrame(frame.data(), frame.size(), 5, 2, 2, 2, 2, VideoCodecFlag::H264));
    ASSERT_TRUE(ReceiveWithin(receiver, got, 3000));
    EXPECT_EQ(got.frameId, 5u);
    EXPECT_EQ(got.payload, frame);
    EXPECT_TRUE(
        InOrder(CloseAndReadLog(), {"TCP video send failed sent_total=", "TCP video sender connected"}));
}

// A broken stream drops the connection and its buffer; the next connection starts clean.
TEST_F(TcpVideoTransport, AnInvalidHeaderResetsAndTheNextConnectionStartsClean) {
    TcpVideoReceiver receiver([](const std::string&) { return true; });
    ASSERT_TRUE(receiver.Listen(0));
    {
        UniqueSocket raw(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(receiver.ListenPort());
        ASSERT_EQ(::connect(raw.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
        const std::string garbage(200, 'G');
        ASSERT_EQ(::send(raw.Get(), garbage.data(), static_cast<int>(garbage.size()), 0), 200);
        Received got;
        EXPECT_FALSE(ReceiveWithin(receiver, got, 300));
        EXPECT_FALSE(receiver.HasClient());
    }
    TcpVideoSender sender;
    ASSERT_TRUE(sender.Connect(kLoopback, receiver.ListenPort()));
    const Bytes frame = RandomBytes(500, 11);
    ASSERT_TRUE(sender.SendFrame(frame.data(), frame.size(), 6, 2, 2, 2, 2, VideoCodecFlag::Tiles));
    Received got;
    ASSERT_TRUE(ReceiveWithin(receiver, got, 3000));
    EXPECT_EQ(got.payload, frame);
    EXPECT_TRUE(
        InOrder(CloseAndReadLog(),
                {"TCP video bad frame header magic=0x47474747 ver=18247 header=18247; reset connection"}));
}

// Connect gives up close to its 2,500 ms budget, whether the port refuses at once or nothing answers.
TEST_F(TcpVideoTransport, ConnectGivesUpWithinItsBudget) {
    SilentListener silent;
    struct Case {
        const char* name;
        uint16_t port;
        const char* wsa; // of the last attempt: refused, or timed out waiting
    } cases[] = {{"closed port", FreeLoopbackPort(), "10061"}, {"no answer", silent.Port(), "10060"}};
    std::vector<std::string> lines;
    for (const Case& c : cases) {
        TcpVideoSender sender;
        const DWORD start = GetTickCount();
        EXPECT_FALSE(sender.Connect(kLoopback, c.port)) << c.name;
        const DWORD elapsed = GetTickCount() - start;
        EXPECT_GE(elapsed, kVideoConnectBudgetMs - 200) << c.name;
        EXPECT_LE(elapsed, kVideoConnectBudgetMs + 400) << c.name;
        EXPECT_FALSE(sender.IsConnected());
        lines.push_back("TCP video connect failed peer=127.0.0.1:" + std::to_string(c.port) +
                        " wsa=" + c.wsa);
    }
    TcpVideoSender sender;
    EXPECT_FALSE(sender.Connect("not-an-address", 6000));
    lines.push_back("TCP video inet_pton failed peer_ip=not-an-address");
    EXPECT_TRUE(InOrder(CloseAndReadLog(), lines));
}

} // namespace
