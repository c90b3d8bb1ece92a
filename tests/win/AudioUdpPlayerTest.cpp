#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>
#include <wrl/client.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <functional>
#include <string>
#include <vector>

#include "LogAssertions.h"
#include "TestWait.h"
#include "LoopbackPort.h"
#include "UdpTestSocket.h"
#include "core/Log.h"
#include "media/AudioPacket.h"
#include "media/win/AudioDevice.h"
#include "media/win/AudioUdpPlayer.h"

// The UDP player on the real default render endpoint: under Wine a PulseAudio null sink, which the test
// script starts. The test plays the controlled PC, sending from a UDP socket on loopback.
namespace {

constexpr DWORD kWaitMs = 3000;

std::vector<uint8_t> PcmDatagram(uint32_t sequence, uint32_t rate, int16_t value) {
    const uint32_t frames = rate / 100;
    std::vector<uint8_t> d(kAudioHeaderBytes + frames * 4);
    PackAudioPacketHeader(MakeAudioPacketHeader(AudioPacketKind::Pcm, sequence, frames * 4, rate), d.data());
    for (size_t at = kAudioHeaderBytes; at < d.size(); at += 2) {
        d[at] = static_cast<uint8_t>(value);
        d[at + 1] = static_cast<uint8_t>(static_cast<uint16_t>(value) >> 8);
    }
    return d;
}

bool HasRenderEndpoint() {
    Microsoft::WRL::ComPtr<IMMDeviceEnumerator> enumerator;
    return SUCCEEDED(CreateSystemAudioEnumerator(enumerator)) &&
           !DefaultRenderEndpointId(enumerator.Get()).empty();
}

class AudioUdpPlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        WSADATA data;
        ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
        ASSERT_TRUE(Log::Open());
        ASSERT_HRESULT_SUCCEEDED(::CoInitializeEx(nullptr, COINIT_MULTITHREADED));
        m_peer = BoundUdp("127.0.0.1", 0, 0);
        ASSERT_TRUE(m_peer.Valid());
        m_port = FreeLoopbackPort();
        player.SetPeerFilter(nullptr);
    }
    void TearDown() override {
        player.Stop();
        // Every worker of this test leaves before the next test reads the log.
        WaitForOwnLog("AudioUdpPlayer exit", kWaitMs, CountOf(OwnLog(), "AudioUdpPlayer start with"));
        player.SetPeerFilter(nullptr);
        player.SetEnumeratorFactory(nullptr);
        ::CoUninitialize();
        Log::Close();
        WSACleanup();
    }

    void Send(const std::vector<uint8_t>& datagram) {
        ASSERT_TRUE(SendDatagramFrom(m_peer.Get(), "127.0.0.1", m_port, datagram.data(), datagram.size()));
    }
    // Starts the player and waits until its socket is bound (the log's bind line is in the media category,
    // which may be off).
    void StartBound() {
        ASSERT_TRUE(player.Start(m_port));
        auto counters = player.CurrentCounters();
        ASSERT_TRUE(WaitUntil([&] { return counters->binds.load() == 1; }, kWaitMs)) << OwnLog();
    }
    // Sends 10 ms packets at their pace for ms.
    void Stream(uint32_t ms, uint32_t rate = 48000) {
        for (uint32_t i = 0; i < ms / 10; ++i) {
            Send(PcmDatagram(++m_sequence, rate, 8000));
            Sleep(10);
        }
    }

    AudioUdpPlayer& player = AudioUdpPlayer::Instance();
    UniqueSocket m_peer;
    uint16_t m_port = 0;
    uint32_t m_sequence = 0;
};

TEST_F(AudioUdpPlayerTest, PlaysOnTheDefaultEndpointFromTheFirstFormatOn) {
    ASSERT_TRUE(HasRenderEndpoint()) << "no default render endpoint: the Wine tests need the PulseAudio null "
                                        "sink that scripts/run-wine-tests.sh starts";
    const size_t logStart = OwnLog().size();
    StartBound();
    auto counters = player.CurrentCounters();

    // PCM before any FORMAT is not played.
    Stream(100);
    EXPECT_TRUE(WaitUntil([&] { return counters->datagrams.load() >= 10; }, kWaitMs));
    EXPECT_EQ(counters->pipelineBuilds.load(), 0u);
    EXPECT_EQ(CountOf(OwnLogSince(logStart), "Audio player started/reconnected"), 0u);

    Send(BuildAudioFormatDatagram(48000));
    std::string log = WaitForOwnLog("Audio player started/reconnected", kWaitMs).substr(logStart);
    ASSERT_TRUE(
        InOrder(log, {
                         "AudioUdpPlayer::Start port=" + std::to_string(m_port),
                         "AudioUdpPlayer start with jitter buffer port=" + std::to_string(m_port),
                         "Audio player format changed/reconnect tag=1 ch=2 rate=48000 bits=16 block=4 "
                         "avg=192000 cbSize=0",
                         "Audio player default render endpoint id=",
                         "Audio player started/reconnected bufferFrames=",
                     }));
    EXPECT_NE(log.find("jitterPrebufferMs=50 maxQueueMs=120"), std::string::npos) << log;
    EXPECT_EQ(counters->pipelineBuilds.load(), 1u);

    // A second of sound, with the FORMAT repeated as the sender does: it keeps playing and is not rebuilt.
    Stream(500);
    Send(BuildAudioFormatDatagram(48000));
    Stream(500);
    ASSERT_TRUE(WaitUntil([&] { return counters->framesWritten.load() >= 20000; }, kWaitMs))
        << "frames written " << counters->framesWritten.load();
    const uint64_t written = counters->framesWritten.load();
    EXPECT_EQ(counters->pipelineBuilds.load(), 1u);
    log = OwnLogSince(logStart);
    EXPECT_EQ(CountOf(log, "Audio player started/reconnected"), 1u) << log;
    EXPECT_EQ(CountOf(log, "Audio player format changed/reconnect"), 1u) << log;
    EXPECT_EQ(CountOf(log, " failed"), 0u) << log;

    // When the sound stops, the device is fed silence (one underrun) and playback waits for 50 ms again.
    ASSERT_TRUE(WaitUntil([&] { return counters->underruns.load() >= 1; }, kWaitMs)) << log;
    Sleep(200);
    const uint64_t afterGap = counters->framesWritten.load();
    EXPECT_GT(afterGap, written);
    Sleep(200);
    EXPECT_EQ(counters->framesWritten.load(), afterGap) << "written while not primed";
    Stream(200);
    EXPECT_TRUE(WaitUntil([&] { return counters->framesWritten.load() > afterGap; }, kWaitMs));

    // Another rate is a new format: the pipeline is built again.
    Send(BuildAudioFormatDatagram(44100));
    Stream(200, 44100);
    EXPECT_TRUE(WaitUntil([&] { return counters->pipelineBuilds.load() == 2; }, kWaitMs));
    log = OwnLogSince(logStart);
    EXPECT_EQ(CountOf(log, "Audio player started/reconnected"), 2u) << log;
}

TEST_F(AudioUdpPlayerTest, HostileAndOversizedDatagramsLeaveThePlayerRunning) {
    ASSERT_TRUE(HasRenderEndpoint());
    const size_t logStart = OwnLog().size();
    StartBound();
    auto counters = player.CurrentCounters();
    Send(BuildAudioFormatDatagram(48000));
    ASSERT_TRUE(WaitUntil([&] { return counters->pipelineBuilds.load() == 1; }, kWaitMs));

    std::vector<uint8_t> hostile = BuildAudioFormatDatagram(48000);
    hostile[kAudioHeaderBytes + 2] = 0xFF; // 65,535 channels
    hostile[kAudioHeaderBytes + 3] = 0xFF;
    Send(hostile);
    Send(std::vector<uint8_t>(16000, 0x41)); // larger than the receive buffer
    Stream(300);
    ASSERT_TRUE(WaitUntil([&] { return counters->framesWritten.load() > 0; }, kWaitMs));
    const std::string log = OwnLogSince(logStart);
    EXPECT_EQ(CountOf(log, "[AUDIO][PLAYER] remote format refused reason=channels"), 1u) << log;
    EXPECT_EQ(CountOf(log, "[AUDIO][PLAYER] datagram above 15000 bytes ignored"), 1u) << log;
    EXPECT_EQ(CountOf(log, "rebind socket"), 0u) << log;
    EXPECT_EQ(counters->pipelineBuilds.load(), 1u);
}

// A pipeline that cannot be built is logged and tried again with the next FORMAT (the sender repeats it every
// second).
TEST_F(AudioUdpPlayerTest, FailedPipelineWaitsForTheNextFormat) {
    ASSERT_TRUE(HasRenderEndpoint());
    auto failures = std::make_shared<std::atomic<int>>(1);
    player.SetEnumeratorFactory([failures](Microsoft::WRL::ComPtr<IMMDeviceEnumerator>& enumerator) {
        return failures->fetch_sub(1) > 0 ? E_FAIL : CreateSystemAudioEnumerator(enumerator);
    });
    const size_t logStart = OwnLog().size();
    StartBound();
    player.SetEnumeratorFactory(nullptr); // the run keeps the one it started with
    auto counters = player.CurrentCounters();
    Send(BuildAudioFormatDatagram(48000));
    std::string log = WaitForOwnLog("Audio player CoCreate MMDeviceEnumerator failed hr=0x80004005", kWaitMs);
    Stream(100);
    EXPECT_EQ(counters->pipelineBuilds.load(), 0u);
    Send(BuildAudioFormatDatagram(48000));
    ASSERT_TRUE(WaitUntil([&] { return counters->pipelineBuilds.load() == 1; }, kWaitMs));
    log = OwnLogSince(logStart);
    EXPECT_TRUE(InOrder(log, {"Audio player format changed/reconnect",
                              "Audio player CoCreate MMDeviceEnumerator "
                              "failed hr=0x80004005",
                              "Audio player format changed/reconnect", "Audio player started/reconnected"}));
}

TEST_F(AudioUdpPlayerTest, PlaysOnlyWhatTheActivePeerSends) {
    const char* link = std::getenv("TSLY_TEST_LINK_ADDRESS");
    if (link == nullptr)
        GTEST_SKIP() << "no link address in this namespace";
    ASSERT_TRUE(HasRenderEndpoint());
    const std::string peer = link;
    player.SetPeerFilter([peer](const std::string& ip) { return ip == peer; });
    const size_t logStart = OwnLog().size();
    StartBound();
    auto counters = player.CurrentCounters();

    // From loopback: refused, with one log line however many arrive.
    Send(BuildAudioFormatDatagram(48000));
    Stream(100);
    ASSERT_TRUE(WaitUntil([&] { return counters->refused.load() == 11; }, kWaitMs));
    EXPECT_EQ(counters->datagrams.load(), 0u);
    EXPECT_EQ(counters->pipelineBuilds.load(), 0u);
    std::string log = OwnLogSince(logStart);
    EXPECT_EQ(CountOf(log, "[AUDIO][PLAYER] datagram refused from=127.0.0.1 reason=not-active-peer"), 1u)
        << log;

    // From the active peer's address: played.
    m_peer = BoundUdp(link, 0, 0);
    ASSERT_TRUE(m_peer.Valid());
    const std::vector<uint8_t> format = BuildAudioFormatDatagram(48000);
    ASSERT_TRUE(SendDatagramFrom(m_peer.Get(), link, m_port, format.data(), format.size()));
    ASSERT_TRUE(WaitUntil([&] { return counters->pipelineBuilds.load() == 1; }, kWaitMs));
    EXPECT_EQ(counters->datagrams.load(), 1u);
}

// Stop then Start at once: the old worker ends by itself and only the new one receives.
TEST_F(AudioUdpPlayerTest, StopThenStartLeavesOnlyTheNewWorker) {
    const size_t logStart = OwnLog().size();
    StartBound();
    auto first = player.CurrentCounters();
    player.Stop();
    ASSERT_TRUE(player.Start(m_port));
    EXPECT_TRUE(player.IsRunning());
    auto second = player.CurrentCounters();
    ASSERT_NE(first.get(), second.get());

    std::string log = WaitForOwnLog("AudioUdpPlayer exit", kWaitMs).substr(logStart);
    ASSERT_TRUE(WaitUntil([&] { return second->binds.load() == 1; }, kWaitMs)) << OwnLogSince(logStart);
    Stream(100);
    ASSERT_TRUE(WaitUntil([&] { return second->datagrams.load() >= 10; }, kWaitMs));
    EXPECT_EQ(first->datagrams.load(), 0u);
    log = OwnLogSince(logStart);
    EXPECT_EQ(CountOf(log, "AudioUdpPlayer start with jitter buffer"), 2u) << log;
    EXPECT_EQ(CountOf(log, "AudioUdpPlayer exit"), 1u) << log;
    EXPECT_TRUE(InOrder(log, {"AudioUdpPlayer::Stop wasRunning=1", "AudioUdpPlayer stopped",
                              "AudioUdpPlayer::Start port=" + std::to_string(m_port)}));

    player.Stop();
    EXPECT_FALSE(player.IsRunning());
    log = WaitForOwnLog("AudioUdpPlayer exit", kWaitMs, 2); // this test's log holds both runs
    EXPECT_EQ(CountOf(log.substr(logStart), "AudioUdpPlayer exit"), 2u) << log;
}

} // namespace
