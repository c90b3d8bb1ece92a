#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "media/ClientWatchdog.h"

namespace {

constexpr uint32_t kNow = 100000;

// A streaming session whose last frame came `silence` ms ago; the retry clock is long past due.
ClientWatchdogFacts Facts(uint32_t silence) {
    ClientWatchdogFacts f;
    f.now = kNow;
    f.firstFrameSeen = true;
    f.lastFrameTick = kNow - silence;
    f.devicePresent = true;
    f.stillCurrent = true;
    f.rendererRunning = true;
    f.hasH264Decoder = true;
    return f;
}

ClientWatchdogMemory Memory() {
    ClientWatchdogMemory m;
    m.retryClock = kNow - 60000;
    return m;
}

struct PassCase {
    const char* name;
    std::function<void(ClientWatchdogFacts&)> setup;
    std::function<void(const ClientWatchdogActions&)> check;
};

void PrintTo(const PassCase& c, std::ostream* os) {
    *os << c.name;
}

class ClientWatchdogPassTest : public ::testing::TestWithParam<PassCase> {};

TEST_P(ClientWatchdogPassTest, DecidesAtItsThresholds) {
    ClientWatchdogFacts f = Facts(0);
    GetParam().setup(f);
    ClientWatchdogMemory m = Memory();
    GetParam().check(ClientWatchdogPass(f, m));
}

using P = ClientWatchdogPhase;
void Silence(ClientWatchdogFacts& f, uint32_t ms) {
    f.lastFrameTick = f.now - ms;
}

const PassCase kPassCases[] = {
    {"QuietHealthyAt1500", [](auto& f) { Silence(f, 1500); },
     [](const auto& a) { EXPECT_EQ(a.phase, P::Streaming); }},
    {"QuietStallAbove1500", [](auto& f) { Silence(f, 1501); },
     [](const auto& a) {
         EXPECT_EQ(a.phase, P::Stall);
         EXPECT_TRUE(a.persistent) << "no side channel alive";
         EXPECT_FALSE(a.longSilence);
     }},
    {"SideAliveHealthyAt2800",
     [](auto& f) {
         Silence(f, 2800);
         f.inputConnected = true;
     },
     [](const auto& a) { EXPECT_EQ(a.phase, P::Streaming); }},
    {"SideAliveStallAbove2800",
     [](auto& f) {
         Silence(f, 2801);
         f.clipboardConnected = true;
     },
     [](const auto& a) {
         EXPECT_EQ(a.phase, P::Stall);
         EXPECT_TRUE(a.persistent) << "silence above 2,500 ms";
         EXPECT_EQ(a.lock, ClientLockChange::None);
     }},
    {"SideAliveLongSilenceMarksLockedAndSchedulesOnce",
     [](auto& f) {
         Silence(f, 3000);
         f.inputConnected = true;
     },
     [](const auto& a) {
         EXPECT_EQ(a.lock, ClientLockChange::MarkSilence);
         EXPECT_TRUE(a.scheduleReconnect);
         EXPECT_EQ(a.lockedMs, 3000u);
         EXPECT_EQ(a.phase, P::SecureDesktop) << "the mark sets the remote-locked flag";
         EXPECT_FALSE(a.refresh);
     }},
    {"LongSilenceWithoutSideChannelsIsNoLock", [](auto& f) { Silence(f, 3000); },
     [](const auto& a) {
         EXPECT_TRUE(a.longSilence);
         EXPECT_EQ(a.lock, ClientLockChange::None);
         EXPECT_FALSE(a.scheduleReconnect);
         EXPECT_EQ(a.phase, P::Stall);
     }},
    {"NoOfflineAt5000", [](auto& f) { Silence(f, 5000); },
     [](const auto& a) {
         EXPECT_FALSE(a.offline);
         EXPECT_EQ(a.offlineRetry, ClientRetry::None);
     }},
    {"OfflineRetryAbove5000", [](auto& f) { Silence(f, 5001); },
     [](const auto& a) {
         EXPECT_TRUE(a.offline);
         EXPECT_EQ(a.offlineRetry, ClientRetry::Sent);
         EXPECT_FALSE(a.stopRenderer);
     }},
    {"OfflineRetrySuppressedWhenNotCurrent",
     [](auto& f) {
         Silence(f, 6000);
         f.stillCurrent = false;
     },
     [](const auto& a) { EXPECT_EQ(a.offlineRetry, ClientRetry::Suppressed); }},
    {"RendererKeptAt8000", [](auto& f) { Silence(f, 8000); },
     [](const auto& a) { EXPECT_FALSE(a.stopRenderer); }},
    {"RendererStoppedAbove8000", [](auto& f) { Silence(f, 8001); },
     [](const auto& a) {
         EXPECT_TRUE(a.stopRenderer);
         EXPECT_FALSE(a.releaseDecoder);
     }},
    {"StoppedRendererIsNotStoppedAgain",
     [](auto& f) {
         Silence(f, 9000);
         f.rendererRunning = false;
     },
     [](const auto& a) { EXPECT_FALSE(a.stopRenderer); }},
    {"DecoderReleasedAbove10000", [](auto& f) { Silence(f, 10001); },
     [](const auto& a) { EXPECT_TRUE(a.releaseDecoder); }},
    {"TileDecoderIsNotReleased",
     [](auto& f) {
         Silence(f, 12000);
         f.hasH264Decoder = false;
     },
     [](const auto& a) { EXPECT_FALSE(a.releaseDecoder); }},
    {"BlackHealthyAt1500", [](auto& f) { f.blackStart = f.now - 1500; },
     [](const auto& a) { EXPECT_EQ(a.phase, P::Streaming); }},
    {"BlackStallPassAbove1500WordedAsLostVideo", [](auto& f) { f.blackStart = f.now - 1501; },
     [](const auto& a) {
         EXPECT_EQ(a.phase, P::Stall);
         EXPECT_FALSE(a.blackStall);
     }},
    {"BlackStallFrom2000", [](auto& f) { f.blackStart = f.now - 2000; },
     [](const auto& a) {
         EXPECT_EQ(a.phase, P::Stall);
         EXPECT_TRUE(a.blackStall);
         EXPECT_TRUE(a.logCondition);
     }},
    {"DesktopLockedWhileStreamingMarksButStaysHealthy", [](auto& f) { f.desktopStateLocked = true; },
     [](const auto& a) {
         EXPECT_EQ(a.lock, ClientLockChange::MarkDesktop);
         EXPECT_EQ(a.phase, P::Streaming);
     }},
    {"DesktopLockedStallIsSecureDesktop",
     [](auto& f) {
         Silence(f, 20000);
         f.desktopStateLocked = true;
         f.inputConnected = true;
     },
     [](const auto& a) {
         EXPECT_EQ(a.phase, P::SecureDesktop);
         EXPECT_FALSE(a.stopRenderer) << "a locked desktop keeps the renderer";
         EXPECT_FALSE(a.releaseDecoder);
     }},
    {"LockedWithVideoAndInputClosedStartsRebindAndRetries",
     [](auto& f) {
         Silence(f, 4000);
         f.remoteLocked = true;
         f.videoClosed = true;
     },
     [](const auto& a) {
         EXPECT_TRUE(a.startRebind);
         EXPECT_TRUE(a.rebindRetry);
         EXPECT_EQ(a.phase, P::Stall) << "a pending rebind skips the secure-desktop step";
     }},
    {"DeviceMissingEndsWhateverTheSilence", [](auto& f) { f.devicePresent = false; },
     [](const auto& a) { EXPECT_EQ(a.exit, ClientWatchdogExit::DeviceMissing); }},
    {"PeerLostEnds", [](auto& f) { f.peerLost = true; },
     [](const auto& a) { EXPECT_EQ(a.exit, ClientWatchdogExit::PeerLost); }},
    {"HidRecoveryOfferedWhileForcedWithInput",
     [](auto& f) {
         Silence(f, 2900);
         f.hidForced = true;
         f.inputConnected = true;
     },
     [](const auto& a) { EXPECT_TRUE(a.hidRecovery); }},
};

INSTANTIATE_TEST_SUITE_P(Thresholds, ClientWatchdogPassTest, ::testing::ValuesIn(kPassCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ClientWatchdog, HandshakeRetryWaits900MsOnTheRetryClock) {
    struct Row {
        uint32_t sinceRetry;
        bool current;
        ClientRetry expected;
    };
    for (const Row& row : {Row{899, true, ClientRetry::None}, Row{900, true, ClientRetry::Sent},
                           Row{900, false, ClientRetry::Suppressed}}) {
        ClientWatchdogFacts f = Facts(0);
        f.firstFrameSeen = false;
        f.stillCurrent = row.current;
        ClientWatchdogMemory m;
        m.retryClock = kNow - row.sinceRetry;
        const ClientWatchdogActions a = ClientWatchdogPass(f, m);
        EXPECT_EQ(a.phase, ClientWatchdogPhase::WaitingFirstFrame);
        EXPECT_EQ(a.silence, 0xFFFFFFFFu);
        EXPECT_EQ(a.handshakeRetry, row.expected) << row.sinceRetry << " current=" << row.current;
        EXPECT_EQ(m.retryClock, row.expected == ClientRetry::None ? kNow - row.sinceRetry : kNow);
    }
}

TEST(ClientWatchdog, PeerAddressChangeRestartsTheRetryClock) {
    ClientWatchdogFacts f = Facts(0);
    f.firstFrameSeen = false;
    f.peerIpChanged = true;
    ClientWatchdogMemory m = Memory();
    const ClientWatchdogActions a = ClientWatchdogPass(f, m);
    EXPECT_TRUE(a.peerIpChange);
    EXPECT_EQ(a.handshakeRetry, ClientRetry::None) << "the change itself sent the request";
    EXPECT_EQ(m.retryClock, kNow);
}

TEST(ClientWatchdog, RebindRetriesAtLeast750MsApart) {
    ClientWatchdogMemory m = Memory();
    std::vector<uint32_t> retries;
    for (uint32_t t = 0; t <= 3000; t += 250) {
        ClientWatchdogFacts f = Facts(4000 + t);
        f.now = kNow + t;
        f.lastFrameTick = kNow - 4000;
        f.remoteLocked = t == 0; // the rebind start clears the flag; pending keeps the retries going
        f.videoClosed = true;
        if (ClientWatchdogPass(f, m).rebindRetry)
            retries.push_back(t);
    }
    EXPECT_EQ(retries, (std::vector<uint32_t>{0, 750, 1500, 2250, 3000}));
    EXPECT_TRUE(m.rebindPending);
}

TEST(ClientWatchdog, LockMarkSourcesAndClearing) {
    ClientWatchdogMemory m = Memory();
    auto pass = [&](uint32_t t, bool desktop, bool side) {
        ClientWatchdogFacts f = Facts(0);
        f.now = kNow + t;
        f.lastFrameTick = kNow - 3000;
        f.desktopStateLocked = desktop;
        f.inputConnected = side;
        return ClientWatchdogPass(f, m);
    };
    ClientWatchdogActions a = pass(0, false, true);
    EXPECT_EQ(a.lock, ClientLockChange::MarkSilence);
    EXPECT_EQ(m.lockMark, kNow);
    EXPECT_EQ(pass(1000, false, true).lock, ClientLockChange::None) << "silence alone changes nothing";
    EXPECT_EQ(pass(2000, true, true).lock, ClientLockChange::StickyDesktop);
    a = pass(3000, false, false);
    EXPECT_EQ(a.lock, ClientLockChange::Clear);
    EXPECT_FALSE(a.sideAlive);
    EXPECT_EQ(m.lockMark, 0u);
    EXPECT_EQ(a.phase, ClientWatchdogPhase::Stall) << "the stall steps run once the mark is gone";
    EXPECT_EQ(pass(4000, true, false).lock, ClientLockChange::MarkDesktop);
}

TEST(ClientWatchdog, InSessionReconnectOncePerOutage) {
    ClientWatchdogMemory m = Memory();
    int scheduled = 0;
    for (uint32_t t = 0; t < 5000; t += 1000) {
        ClientWatchdogFacts f = Facts(3000 + t);
        f.clipboardConnected = true;
        scheduled += ClientWatchdogPass(f, m).scheduleReconnect ? 1 : 0;
    }
    EXPECT_EQ(scheduled, 1);
    m.issued = false; // a good picture cleared it
    ClientWatchdogFacts f = Facts(3000);
    f.clipboardConnected = true;
    f.stillCurrent = false;
    EXPECT_FALSE(ClientWatchdogPass(f, m).scheduleReconnect) << "not for a session that is no longer current";
}

TEST(ClientWatchdog, StallLinesShareOneLogClockAndTheRecoveryLineKeepsItsOwn) {
    ClientWatchdogMemory m = Memory();
    auto pass = [&](uint32_t t) {
        ClientWatchdogFacts f = Facts(6000 + t);
        f.now = kNow + t;
        f.lastFrameTick = kNow - 6000;
        return ClientWatchdogPass(f, m);
    };
    ClientWatchdogActions a = pass(0);
    EXPECT_TRUE(a.logStalled);
    EXPECT_FALSE(a.logPersistent) << "the stalled line restarted the shared clock";
    EXPECT_EQ(a.offlineRetry, ClientRetry::Sent);
    EXPECT_TRUE(a.logOfflineRetry);
    a = pass(1000);
    EXPECT_FALSE(a.logStalled);
    EXPECT_EQ(a.offlineRetry, ClientRetry::None) << "1,500 ms on the retry clock";
    a = pass(2000);
    EXPECT_TRUE(a.logStalled);
    EXPECT_EQ(a.offlineRetry, ClientRetry::Sent);
    EXPECT_FALSE(a.logOfflineRetry) << "at most every 3,000 ms";
    a = pass(4000);
    EXPECT_TRUE(a.logStalled);
    EXPECT_EQ(a.offlineRetry, ClientRetry::Sent);
    EXPECT_TRUE(a.logOfflineRetry) << "the stall lines in between did not hold it back";
}

TEST(ClientWatchdog, ClockDueTreatsZeroAsNever) {
    uint32_t clock = 0;
    EXPECT_TRUE(ClientClockDue(clock, 0, 2000));
    EXPECT_FALSE(ClientClockDue(clock, 1999, 2000));
    EXPECT_TRUE(ClientClockDue(clock, 2001, 2000));
    uint32_t wrapped = 0xFFFFFF00u;
    EXPECT_TRUE(ClientClockDue(wrapped, 0x700u, 2000)) << "the unsigned difference survives the wrap";
}

} // namespace
