#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "FakeAudioDevices.h"
#include "LogAssertions.h"
#include "UdpTestSocket.h"
#include "core/LittleEndian.h"
#include "core/Log.h"
#include "media/AudioPacket.h"
#include "media/win/AudioLoopbackSender.h"

// The loopback sender with a fake playback device behind its device enumerator (Wine has no capture client
// for loopback), sending to a UDP socket of the test on loopback.
namespace {

struct Received {
    AudioPacketHeader header;
    std::vector<uint8_t> payload;
    uint16_t fromPort = 0;
    DWORD tick = 0;
};

class AudioLoopbackSenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        WSADATA data;
        ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
        ASSERT_TRUE(Log::Open());
        m_receiver = BoundUdp("127.0.0.1", 0, 0);
        ASSERT_TRUE(m_receiver.Valid());
        const DWORD timeout = 50;
        ::setsockopt(m_receiver.Get(), SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout),
                     sizeof timeout);
        m_port = BoundPort(m_receiver.Get());
        sender.SetEnumeratorFactory(FakeAudioEnumeratorFactory(script));
    }
    void TearDown() override {
        sender.Stop();
        // Every worker of this test leaves before the next test reads the log.
        WaitForOwnLog("AudioLoopbackSender exit", 3000, CountOf(OwnLog(), "AudioLoopbackSender start with"));
        sender.SetEnumeratorFactory(nullptr);
        Log::Close();
        WSACleanup();
    }

    // Everything that arrives within ms.
    std::vector<Received> ReceiveFor(DWORD ms) {
        std::vector<Received> got;
        const DWORD start = GetTickCount();
        std::vector<uint8_t> buffer(kAudioMaxDatagramBytes);
        while (GetTickCount() - start < ms) {
            sockaddr_in from = {};
            int fromSize = sizeof from;
            const int n =
                ::recvfrom(m_receiver.Get(), reinterpret_cast<char*>(buffer.data()),
                           static_cast<int>(buffer.size()), 0, reinterpret_cast<sockaddr*>(&from), &fromSize);
            if (n < static_cast<int>(kAudioHeaderBytes))
                continue;
            got.push_back({ParseAudioPacketHeader(buffer.data()),
                           std::vector<uint8_t>(buffer.begin() + kAudioHeaderBytes, buffer.begin() + n),
                           ntohs(from.sin_port), GetTickCount()});
        }
        return got;
    }

    static std::vector<const Received*> OfKind(const std::vector<Received>& all, AudioPacketKind kind) {
        std::vector<const Received*> out;
        for (const Received& r : all)
            if (r.header.kind == static_cast<uint16_t>(kind))
                out.push_back(&r);
        return out;
    }

    AudioLoopbackSender& sender = AudioLoopbackSender::Instance();
    std::shared_ptr<FakeAudioScript> script = std::make_shared<FakeAudioScript>();
    UniqueSocket m_receiver;
    uint16_t m_port = 0;
};

TEST_F(AudioLoopbackSenderTest, SendsFormatFirstAndEverySecondThenTenMillisecondPcm) {
    const size_t logStart = OwnLog().size();
    ASSERT_TRUE(sender.Start("127.0.0.1", m_port));
    EXPECT_TRUE(sender.IsRunning());
    const std::vector<Received> got = ReceiveFor(2500);
    sender.Stop();
    EXPECT_FALSE(sender.IsRunning());

    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got[0].header.kind, static_cast<uint16_t>(AudioPacketKind::Format));
    const std::vector<const Received*> formats = OfKind(got, AudioPacketKind::Format);
    ASSERT_GE(formats.size(), 3u); // at the start and about every second
    ASSERT_LE(formats.size(), 4u);
    for (const Received* f : formats) {
        EXPECT_EQ(f->header.sequence, 0u);
        EXPECT_EQ(f->header.sampleRate, 48000u);
        EXPECT_EQ(f->payload, PackWaveFormat(MakeAudioStreamFormat(48000)));
    }
    for (size_t i = 1; i < formats.size(); ++i) {
        const DWORD gap = formats[i]->tick - formats[i - 1]->tick;
        EXPECT_GE(gap, 800u);
        EXPECT_LE(gap, 1400u);
    }

    const std::vector<const Received*> pcm = OfKind(got, AudioPacketKind::Pcm);
    // About 2.4 s of sound after the start; the fake plays in real time.
    ASSERT_GE(pcm.size(), 150u);
    for (size_t i = 0; i < pcm.size(); ++i) {
        ASSERT_EQ(pcm[i]->header.sequence, i + 1) << "sequence counts up from 1 without gaps";
        ASSERT_EQ(pcm[i]->payload.size(), 1920u) << i;
        ASSERT_EQ(pcm[i]->header.payloadBytes, 1920u);
        // The fake plays 0.5 as float: 0.5 x 32767 + 0.5 on both sides.
        ASSERT_EQ(static_cast<int16_t>(GetLe16(pcm[i]->payload.data())), 16384);
        ASSERT_EQ(static_cast<int16_t>(GetLe16(pcm[i]->payload.data() + 1918)), 16384);
    }

    const std::string log = WaitForOwnLog("AudioLoopbackSender exit", 3000).substr(logStart);
    const std::string port = std::to_string(m_port);
    EXPECT_TRUE(
        InOrder(log, {
                         "AudioLoopbackSender::Start peer=127.0.0.1 port=" + port,
                         "AudioLoopbackSender start with reconnect peer=127.0.0.1:" + port,
                         "Audio sender UDP socket ready peer=127.0.0.1:" + port,
                         "Audio capture default render endpoint id={fake-endpoint-1}",
                         "Audio loopback mix format tag=65534 ch=2 rate=48000 bits=32 block=8 avg=384000 "
                         "cbSize=22",
                         "audio host format PCM16 ch=2 rate=48000 bits=16 block=4 avg=192000 packet=10ms",
                         "Audio loopback started/reconnected",
                         "AudioLoopbackSender::Stop wasRunning=1",
                         "AudioLoopbackSender exit",
                     }));
    EXPECT_EQ(CountOf(log, "AudioLoopbackSender stopped"), 1u) << log;
    EXPECT_EQ(CountOf(log, " failed"), 0u) << log;
    EXPECT_EQ(CountOf(log, "Audio capture pipeline rebuild #"), 0u) << log;
    EXPECT_EQ(script->lastInitializeFlags.load(),
              DWORD(AUDCLNT_STREAMFLAGS_LOOPBACK | AUDCLNT_STREAMFLAGS_EVENTCALLBACK));
    EXPECT_EQ(script->eventsSet.load(), 1);
}

TEST_F(AudioLoopbackSenderTest, SilentBuffersAreSentAsZeros) {
    script->silentBuffers = 1000;
    ASSERT_TRUE(sender.Start("127.0.0.1", m_port));
    const std::vector<Received> got = ReceiveFor(400);
    const std::vector<const Received*> pcm = OfKind(got, AudioPacketKind::Pcm);
    ASSERT_FALSE(pcm.empty());
    for (const Received* p : pcm)
        ASSERT_EQ(p->payload, std::vector<uint8_t>(1920, 0));
}

// A device that goes away is replaced by a new pipeline on the same thread: the run, its socket and its
// sequence numbers go on.
TEST_F(AudioLoopbackSenderTest, DeviceLossRebuildsThePipelineWithoutANewThread) {
    const size_t logStart = OwnLog().size();
    ASSERT_TRUE(sender.Start("127.0.0.1", m_port));
    std::vector<Received> got = ReceiveFor(400);
    script->nextPacketError = AUDCLNT_E_DEVICE_INVALIDATED;
    std::vector<Received> more = ReceiveFor(400);
    script->getBufferError = AUDCLNT_E_SERVICE_NOT_RUNNING;
    std::vector<Received> last = ReceiveFor(400);
    got.insert(got.end(), more.begin(), more.end());
    got.insert(got.end(), last.begin(), last.end());

    const std::string log = OwnLogSince(logStart);
    EXPECT_TRUE(InOrder(log, {
                                 "Audio loopback started/reconnected",
                                 "Audio capture device invalid/service stopped hr=0x88890004; rebuild",
                                 "Audio capture pipeline rebuild #2",
                                 "Audio loopback started/reconnected",
                                 "Audio GetBuffer device invalid/service stopped hr=0x88890010; rebuild",
                                 "Audio capture pipeline rebuild #3",
                                 "Audio loopback started/reconnected",
                             }));
    EXPECT_EQ(CountOf(log, "AudioLoopbackSender start with reconnect"), 1u) << log;
    EXPECT_EQ(script->clientsStarted.load(), 3);
    // Each pipeline start sends its FORMAT; the datagrams all leave from the one socket of the run and the
    // PCM numbers keep counting.
    EXPECT_GE(OfKind(got, AudioPacketKind::Format).size(), 3u);
    const std::vector<const Received*> pcm = OfKind(got, AudioPacketKind::Pcm);
    ASSERT_GE(pcm.size(), 60u);
    for (size_t i = 0; i < pcm.size(); ++i) {
        ASSERT_EQ(pcm[i]->header.sequence, i + 1);
        ASSERT_EQ(pcm[i]->fromPort, got[0].fromPort);
    }
}

TEST_F(AudioLoopbackSenderTest, EndpointChangeRebuildsOnTheNewDefaultDevice) {
    ASSERT_TRUE(sender.Start("127.0.0.1", m_port));
    ReceiveFor(200);
    const size_t logStart = OwnLog().size();
    script->SetEndpointId("{fake-endpoint-2}");
    ReceiveFor(1500);
    const std::string log = OwnLogSince(logStart);
    EXPECT_TRUE(
        InOrder(log, {
                         "Audio capture default render endpoint changed; rebuild old={fake-endpoint-1} "
                         "new={fake-endpoint-2}",
                         "Audio capture pipeline rebuild #2",
                         "Audio capture default render endpoint id={fake-endpoint-2}",
                         "Audio loopback started/reconnected",
                     }));
}

TEST_F(AudioLoopbackSenderTest, FailedBuildIsRetriedAfterHalfASecond) {
    const size_t logStart = OwnLog().size();
    script->activateError = E_FAIL;
    ASSERT_TRUE(sender.Start("127.0.0.1", m_port));
    const std::vector<Received> got = ReceiveFor(900);
    const std::string log = OwnLogSince(logStart);
    EXPECT_TRUE(InOrder(log, {
                                 "Audio Activate IAudioClient failed hr=0x80004005; retry",
                                 "Audio capture pipeline will retry in 500ms",
                                 "Audio capture pipeline rebuild #2",
                                 "Audio loopback started/reconnected",
                             }));
    EXPECT_GE(OfKind(got, AudioPacketKind::Pcm).size(), 10u);
}

TEST_F(AudioLoopbackSenderTest, InvalidPeerAddressEndsTheRun) {
    const size_t logStart = OwnLog().size();
    ASSERT_TRUE(sender.Start("300.1.2.3", m_port));
    const std::string log = WaitForOwnLog("AudioLoopbackSender exit", 3000).substr(logStart);
    EXPECT_TRUE(InOrder(log, {"Audio sender invalid peer ip=300.1.2.3", "AudioLoopbackSender exit"}));
    EXPECT_TRUE(ReceiveFor(300).empty());
    EXPECT_EQ(script->enumeratorsMade.load(), 0);
}

// Stop then Start at once: the first run must not go on beside the second (each run has its own stop
// signal and socket).
TEST_F(AudioLoopbackSenderTest, StopThenStartLeavesOnlyTheNewWorker) {
    ASSERT_TRUE(sender.Start("127.0.0.1", m_port));
    ReceiveFor(300);
    const size_t logStart = OwnLog().size();
    sender.Stop();
    ASSERT_TRUE(sender.Start("127.0.0.1", m_port));
    EXPECT_TRUE(sender.IsRunning());
    ReceiveFor(300); // the old run's last datagrams drain away
    const std::vector<Received> got = ReceiveFor(1000);
    std::string log = OwnLogSince(logStart);
    EXPECT_EQ(CountOf(log, "AudioLoopbackSender start with reconnect"), 1u) << log;
    EXPECT_EQ(CountOf(log, "AudioLoopbackSender exit"), 1u) << log;

    const std::vector<const Received*> pcm = OfKind(got, AudioPacketKind::Pcm);
    ASSERT_GE(pcm.size(), 60u);
    for (size_t i = 1; i < pcm.size(); ++i) {
        ASSERT_EQ(pcm[i]->fromPort, pcm[0]->fromPort) << "datagrams of two runs";
        ASSERT_EQ(pcm[i]->header.sequence, pcm[i - 1]->header.sequence + 1);
    }

    sender.Stop();
    log = WaitForOwnLog("AudioLoopbackSender exit", 3000, 2); // this test's log holds both runs
    EXPECT_EQ(CountOf(log.substr(logStart), "AudioLoopbackSender exit"), 2u);
}

} // namespace
