#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/LittleEndian.h"
#include "core/Log.h"
#include "media/AudioPacket.h"
#include "media/AudioPlayerCore.h"

#include "AudioTestFormats.h"
#include "support/TestLog.h"

namespace {

using Action = AudioPlayerCore::Action;

std::vector<uint8_t> PcmDatagram(uint32_t sequence, const std::vector<uint8_t>& payload,
                                 uint32_t rate = 48000) {
    std::vector<uint8_t> d(kAudioHeaderBytes);
    PackAudioPacketHeader(
        MakeAudioPacketHeader(AudioPacketKind::Pcm, sequence, static_cast<uint32_t>(payload.size()), rate),
        d.data());
    d.insert(d.end(), payload.begin(), payload.end());
    return d;
}

std::vector<uint8_t> FormatDatagram(const AudioWaveFormat& format) {
    const std::vector<uint8_t> payload = PackWaveFormat(format);
    std::vector<uint8_t> d(kAudioHeaderBytes);
    PackAudioPacketHeader(MakeAudioPacketHeader(AudioPacketKind::Format, 0,
                                                static_cast<uint32_t>(payload.size()), format.sampleRate),
                          d.data());
    d.insert(d.end(), payload.begin(), payload.end());
    return d;
}

Action Deliver(AudioPlayerCore& core, const std::vector<uint8_t>& datagram) {
    return core.OnDatagram(datagram.data(), datagram.size());
}

class AudioPlayerCoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log::Open();
        TestLog().Clear();
        TestLog().tick += 60000; // past every log throttle of earlier tests
    }
    AudioPlayerCore core;
    const std::vector<uint8_t> format48 = BuildAudioFormatDatagram(48000);
    const std::vector<uint8_t> tenMs = Pcm16(std::vector<int16_t>(960, 1000));
};

TEST_F(AudioPlayerCoreTest, PcmBeforeAnyFormatIsIgnored) {
    EXPECT_EQ(Deliver(core, PcmDatagram(1, tenMs)), Action::None);
    EXPECT_FALSE(core.HasRemoteFormat());
    EXPECT_EQ(core.PcmQueued(), 0u);
}

TEST_F(AudioPlayerCoreTest, FirstFormatAsksForAPipelineAndPcmIsQueuedOnceItRuns) {
    ASSERT_EQ(Deliver(core, format48), Action::BuildPipeline);
    EXPECT_EQ(core.RemoteFormat(), MakeAudioStreamFormat(48000));
    EXPECT_EQ(CountLogMessages("Audio player format changed/reconnect tag=1 ch=2 rate=48000 bits=16 block=4 "
                               "avg=192000 cbSize=0"),
              1u);
    // No pipeline yet: PCM waits for one.
    EXPECT_EQ(Deliver(core, PcmDatagram(1, tenMs)), Action::None);
    EXPECT_EQ(core.PcmQueued(), 0u);

    core.PipelineStarted(PlainFormat(kWaveFormatIeeeFloat, 2, 48000, 32));
    EXPECT_EQ(Deliver(core, PcmDatagram(2, tenMs)), Action::None);
    EXPECT_EQ(core.PcmQueued(), 1u);
    EXPECT_EQ(core.Queue().QueuedBytes(), 480u * 8); // float stereo
}

TEST_F(AudioPlayerCoreTest, IdenticalFormatWhilePlayingChangesNothing) {
    ASSERT_EQ(Deliver(core, format48), Action::BuildPipeline);
    core.PipelineStarted(MakeAudioStreamFormat(48000));
    Deliver(core, PcmDatagram(1, tenMs));
    EXPECT_EQ(Deliver(core, format48), Action::None);
    EXPECT_TRUE(core.PipelineRunning());
    EXPECT_EQ(core.Queue().QueuedBytes(), 1920u);
    EXPECT_EQ(CountLogMessages("Audio player format changed/reconnect"), 1u);
}

TEST_F(AudioPlayerCoreTest, IdenticalFormatWithoutAPipelineBuildsAgain) {
    // A build that failed, or a device that went away: the next repeat of the FORMAT is the retry.
    ASSERT_EQ(Deliver(core, format48), Action::BuildPipeline);
    EXPECT_EQ(Deliver(core, format48), Action::BuildPipeline);
    core.PipelineStarted(MakeAudioStreamFormat(48000));
    core.PipelineReleased();
    EXPECT_EQ(Deliver(core, format48), Action::BuildPipeline);
}

TEST_F(AudioPlayerCoreTest, NewFormatReleasesThePipelineAndEmptiesTheQueue) {
    ASSERT_EQ(Deliver(core, format48), Action::BuildPipeline);
    core.PipelineStarted(MakeAudioStreamFormat(48000));
    Deliver(core, PcmDatagram(1, tenMs));
    ASSERT_GT(core.Queue().QueuedBytes(), 0u);
    EXPECT_EQ(Deliver(core, BuildAudioFormatDatagram(44100)), Action::BuildPipeline);
    EXPECT_FALSE(core.PipelineRunning());
    EXPECT_EQ(core.Queue().QueuedBytes(), 0u);
    EXPECT_EQ(core.RemoteFormat().sampleRate, 44100u);
    EXPECT_EQ(Deliver(core, PcmDatagram(2, tenMs)), Action::None);
    EXPECT_EQ(core.PcmQueued(), 1u);
}

TEST_F(AudioPlayerCoreTest, PcmIsResampledToTheRenderFormat) {
    ASSERT_EQ(Deliver(core, BuildAudioFormatDatagram(44100)), Action::BuildPipeline);
    core.PipelineStarted(PlainFormat(kWaveFormatPcm, 2, 48000, 16));
    Deliver(core, PcmDatagram(1, Pcm16(std::vector<int16_t>(882, 7))));
    EXPECT_EQ(core.Queue().QueuedBytes(), 480u * 4);
}

// Every size the player computes comes from the FORMAT: a hostile one is refused, logged, and leaves what
// plays alone.
TEST_F(AudioPlayerCoreTest, HostileFormatIsRefusedAndThePipelineKeepsPlaying) {
    ASSERT_EQ(Deliver(core, format48), Action::BuildPipeline);
    core.PipelineStarted(MakeAudioStreamFormat(48000));
    const AudioWaveFormat hostile[] = {
        PlainFormat(kWaveFormatPcm, 0xFFFF, 48000, 16, 4),
        PlainFormat(kWaveFormatPcm, 2, 0xFFFFFFFFu, 16),
        PlainFormat(kWaveFormatPcm, 2, 1, 16),
        PlainFormat(kWaveFormatPcm, 2, 48000, 16, 1),
        PlainFormat(kWaveFormatPcm, 2, 48000, 16, 0xFFFF),
        PlainFormat(kWaveFormatIeeeFloat, 2, 48000, 32),
        PlainFormat(kWaveFormatPcm, 2, 48000, 24),
    };
    for (const AudioWaveFormat& format : hostile) {
        TestLog().tick += 2000;
        EXPECT_EQ(Deliver(core, FormatDatagram(format)), Action::None);
        EXPECT_TRUE(core.PipelineRunning());
        EXPECT_EQ(core.RemoteFormat(), MakeAudioStreamFormat(48000));
    }
    EXPECT_EQ(CountLogMessages("[AUDIO][PLAYER] remote format refused reason="), std::size(hostile));
    EXPECT_EQ(
        CountLogMessages("[AUDIO][PLAYER] remote format refused reason=channels tag=1 ch=65535 rate=48000 "
                         "bits=16 block=4; ignored"),
        1u);
    Deliver(core, PcmDatagram(1, tenMs));
    EXPECT_EQ(core.Queue().QueuedBytes(), 1920u);
}

TEST_F(AudioPlayerCoreTest, RefusalLinesAreThrottled) {
    for (int i = 0; i < 50; ++i)
        Deliver(core, FormatDatagram(PlainFormat(kWaveFormatPcm, 9, 48000, 16)));
    EXPECT_EQ(CountLogMessages("remote format refused"), 1u);
}

TEST_F(AudioPlayerCoreTest, MalformedDatagramsChangeNothing) {
    ASSERT_EQ(Deliver(core, format48), Action::BuildPipeline);
    core.PipelineStarted(MakeAudioStreamFormat(48000));
    std::vector<uint8_t> bad = PcmDatagram(1, tenMs);
    PutLe16(bad.data() + 6, 28);
    EXPECT_EQ(Deliver(core, bad), Action::None);
    EXPECT_EQ(Deliver(core, std::vector<uint8_t>(format48.begin(), format48.begin() + 31)), Action::None);
    std::vector<uint8_t> longFormat = BuildAudioFormatDatagram(44100);
    PutLe16(longFormat.data() + kAudioHeaderBytes + 16, 1000);
    EXPECT_EQ(Deliver(core, longFormat), Action::None);
    EXPECT_TRUE(core.PipelineRunning());
    EXPECT_EQ(core.Queue().QueuedBytes(), 0u);
}

TEST_F(AudioPlayerCoreTest, UnconvertibleRenderFormatDropsPcmWithALogLine) {
    ASSERT_EQ(Deliver(core, format48), Action::BuildPipeline);
    core.PipelineStarted(PlainFormat(kWaveFormatPcm, 2, 48000, 8));
    Deliver(core, PcmDatagram(1, tenMs));
    Deliver(core, PcmDatagram(2, tenMs));
    EXPECT_EQ(core.PcmQueued(), 0u);
    EXPECT_EQ(
        CountLogMessages("Audio player unsupported conversion remote tag=1 bits=16 render tag=1 bits=8"), 1u);
}

TEST(AudioRenderChoiceTest, RemoteThenMixThenClosestMatch) {
    const AudioWaveFormat remote = MakeAudioStreamFormat(48000);
    const AudioWaveFormat mix = ExtensibleFormat(kWaveFormatIeeeFloat, 2, 48000, 32);
    const AudioWaveFormat closest = PlainFormat(kWaveFormatPcm, 2, 44100, 16);
    const AudioWaveFormat odd = PlainFormat(kWaveFormatPcm, 2, 48000, 8);

    AudioRenderChoice c = ChooseRenderFormat(remote, true, mix, closest);
    EXPECT_EQ(c.source, AudioRenderSource::Remote);
    EXPECT_EQ(c.format, remote);
    c = ChooseRenderFormat(remote, false, mix, closest);
    EXPECT_EQ(c.source, AudioRenderSource::Mix);
    EXPECT_EQ(c.format, mix);
    c = ChooseRenderFormat(remote, false, odd, closest);
    EXPECT_EQ(c.source, AudioRenderSource::Fallback);
    EXPECT_EQ(c.format, closest);
    EXPECT_EQ(ChooseRenderFormat(remote, false, odd, odd).source, AudioRenderSource::None);
    EXPECT_EQ(ChooseRenderFormat(remote, false, std::nullopt, std::nullopt).source, AudioRenderSource::None);
}

} // namespace
