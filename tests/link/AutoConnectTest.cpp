// The auto-connect engine over recording ports: intent, suppression and cable reports, the effects of a
// tick in their order, the cooldowns through the engine's own clocks, the re-entrancy flag, and the engine
// thread (its wake on a device-list change, start and stop, and a stop from the engine thread itself).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "AutoConnectTestSupport.h"
#include "core/LogWriter.h"
#include "link/AutoConnect.h"
#include "support/TestLog.h"

namespace {

using Lines = std::vector<std::string>;

// The engine logs into its own writer, with the state category on (its state lines belong to it).
struct EngineWorld {
    EngineWorld() {
        platform.environment["MARLO_DEBUG_STATE_LOG"] = "1";
        writer.Open();
        platform.Clear();
    }

    // Lines and notes that hold needle.
    size_t Count(const std::string& needle) {
        const Lines lines = platform.Messages();
        return static_cast<size_t>(std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
            return line.find(needle) != std::string::npos;
        }));
    }
    // Polls (bounded) until a line holds needle.
    bool WaitForLine(const std::string& needle, uint32_t timeoutMs) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (Count(needle) == 0) {
            if (std::chrono::steady_clock::now() >= deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return true;
    }

    MemoryLogPlatform platform;
    LogWriter writer{platform};
    FakeAutoConnectPorts ports{platform};
};

// A long wake period: a second look soon after the first one is a wake, never the period.
constexpr uint32_t kLongPeriodMs = 60000;

class AutoConnectEngine : public ::testing::Test, public EngineWorld {
protected:
    Lines Take() {
        Lines lines = platform.Messages();
        platform.Clear();
        return lines;
    }
    // Starts the engine and returns once its thread's first look has ended; the thread then sleeps out the
    // long period, so that only the test changes the engine. A tick of the test's own runs only when none is
    // running, so the first one that runs here shows that the thread's look is over.
    void StartAndSettle() {
        engine.Start();
        ASSERT_TRUE(ports.WaitForLooks(1, 5000));
        for (int attempt = 0; attempt < 2500; ++attempt) {
            const int before = ports.Looks();
            engine.RunTick();
            if (ports.Looks() > before)
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        FAIL() << "the engine thread's first look did not end";
    }
    uint32_t Now() const { return ports.now.load(); }

    AutoConnect engine{ports, kLongPeriodMs, &writer};
};

TEST_F(AutoConnectEngine, TheUsersOwnConnectHoldsAutomaticAttemptsBackFor8000Ms) {
    struct Row {
        const char* reason;
        bool suppresses;
    } rows[] = {
        {"user connect", true},
        {"tray connect", true},
        {"control button connect", true},
        {"ControlView control button connect worker", true},
        {"boot restore saved auto-connect", false},
        {"User Connect", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.reason);
        EngineWorld world;
        AutoConnect fresh(world.ports, kLongPeriodMs, &world.writer);
        fresh.SetIntent(true, row.reason);
        EXPECT_TRUE(fresh.IsIntentEnabled());
        const std::string intent =
            std::string("[AUTOCONNECT][INTENT] Disabled -> Enabled reason=") + row.reason + " state=";
        if (row.suppresses) {
            EXPECT_EQ(fresh.SuppressUntil(), world.ports.now.load() + 8000);
            EXPECT_EQ(world.platform.Messages(),
                      (Lines{std::string("[AUTOCONNECT][STATE] Stopped -> Cooldown reason=") + row.reason +
                                 " intent=Disabled",
                             std::string("[AUTOCONNECT][SUPPRESS] ms=8000 reason=") + row.reason,
                             intent + "Cooldown"}));
        } else {
            EXPECT_EQ(fresh.SuppressUntil(), 0u);
            EXPECT_EQ(world.platform.Messages(), (Lines{intent + "Stopped"}));
        }
    }
}

TEST_F(AutoConnectEngine, IntentChangesAndRepeatsAreLogged) {
    engine.SetIntent(true, "boot restore saved auto-connect");
    engine.SetIntent(true, "boot restore saved auto-connect");
    engine.SetIntent(false, "peer tcp control stop");
    EXPECT_EQ(Take(),
              (Lines{"[AUTOCONNECT][INTENT] Disabled -> Enabled reason=boot restore saved auto-connect "
                     "state=Stopped",
                     "[AUTOCONNECT][INTENT] unchanged=Enabled reason=boot restore saved auto-connect "
                     "state=Stopped",
                     "[AUTOCONNECT][INTENT] Enabled -> Disabled reason=peer tcp control stop "
                     "state=Stopped"}));
    EXPECT_FALSE(engine.IsIntentEnabled());
}

TEST_F(AutoConnectEngine, DisablingTheIntentEndsTheCooldown) {
    // Engine stopped: the state goes back to Stopped.
    engine.SetIntent(true, "tray connect");
    ASSERT_EQ(engine.State(), AutoConnectState::Cooldown);
    engine.SetIntent(false, "tray disconnect");
    EXPECT_EQ(engine.State(), AutoConnectState::Stopped);
    EXPECT_EQ(engine.SuppressUntil(), 0u);

    // Engine running: Idle.
    StartAndSettle();
    engine.SetIntent(true, "boot restore saved auto-connect");
    engine.Suppress(10000, "incoming control request wins");
    ASSERT_EQ(engine.State(), AutoConnectState::Cooldown);
    Take();
    engine.SetIntent(false, "user disconnect");
    EXPECT_EQ(Take(),
              (Lines{"[AUTOCONNECT][INTENT] Enabled -> Disabled reason=user disconnect state=Cooldown",
                     "[AUTOCONNECT][STATE] Cooldown -> Idle reason=intent disabled intent=Disabled"}));
    EXPECT_EQ(engine.SuppressUntil(), 0u);
    engine.Stop();
}

TEST_F(AutoConnectEngine, ASuppressionWithoutReasonIsManual) {
    engine.Suppress(1234, nullptr);
    EXPECT_EQ(Take(),
              (Lines{"[AUTOCONNECT][STATE] Stopped -> Cooldown reason=manual suppress intent=Disabled",
                     "[AUTOCONNECT][SUPPRESS] ms=1234 reason=manual suppress"}));
    EXPECT_EQ(engine.SuppressUntil(), Now() + 1234);
}

TEST_F(AutoConnectEngine, EachCooldownHoldsTheNextRequestBackForItsTime) {
    struct Row {
        const char* name;
        uint32_t start;
        uint32_t holdMs;
        std::function<void(AutoConnect&, FakeAutoConnectPorts&)> begin;
    } rows[] = {
        {"control button connect", 100000, 8000,
         [](AutoConnect& e, FakeAutoConnectPorts&) { e.SetIntent(true, "control button connect"); }},
        {"tray connect across the wrap of the tick", 0xFFFFF000u, 8000,
         [](AutoConnect& e, FakeAutoConnectPorts&) { e.SetIntent(true, "tray connect"); }},
        {"incoming control request", 100000, 10000,
         [](AutoConnect& e, FakeAutoConnectPorts&) {
             e.SetIntent(true, "boot restore saved auto-connect");
             e.Suppress(10000, "incoming control request wins");
         }},
        {"refused request", 0xFFFFF000u, 5000,
         [](AutoConnect& e, FakeAutoConnectPorts& p) {
             e.SetIntent(true, "boot restore saved auto-connect");
             p.requestOk = false;
             e.RunTick(); // the refused request
             p.requestOk = true;
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EngineWorld world;
        AutoConnect fresh(world.ports, kLongPeriodMs, &world.writer);
        world.ports.now = row.start;
        row.begin(fresh, world.ports);
        const size_t requests = world.Count("@RequestControlDevice");
        EXPECT_EQ(fresh.State(), AutoConnectState::Cooldown);

        world.ports.now = row.start + row.holdMs - 1;
        fresh.RunTick();
        EXPECT_EQ(world.Count("@RequestControlDevice"), requests);
        EXPECT_EQ(fresh.State(), AutoConnectState::Cooldown);

        world.ports.now = row.start + row.holdMs;
        fresh.RunTick();
        EXPECT_EQ(world.Count("@RequestControlDevice"), requests + 1);
        EXPECT_EQ(fresh.SuppressUntil(), 0u);
        EXPECT_EQ(fresh.State(), AutoConnectState::Connecting);
    }
}

TEST_F(AutoConnectEngine, ARefusedRequestIsLoggedAndCoolsDown) {
    engine.SetIntent(true, "boot restore saved auto-connect");
    ports.requestOk = false;
    Take();
    engine.RunTick();
    EXPECT_EQ(
        Take(),
        (Lines{"[AUTOCONNECT][STATE] Stopped -> Ready reason=peer available intent=Enabled",
               "@status+repaint Marlo hardware: ready | network: ready | remote discovered: PC-B "
               "(10.0.0.2) | requesting remote state...",
               "[AUTOCONNECT][STATE] Ready -> Connecting reason=issuing control request intent=Enabled",
               "[AUTOCONNECT] attempting control peer name=PC-B ip=10.0.0.2 id=TSLY-PC-B devicePresent=true "
               "intent=Enabled state=Connecting",
               "@RequestControlDevice TSLY-PC-B",
               "[AUTOCONNECT] DiscoveryRequestControlDevice ok=0 peer=TSLY-PC-B intent=Enabled "
               "state=Connecting",
               "[AUTOCONNECT][STATE] Connecting -> Cooldown reason=connect request failed intent=Enabled",
               "[AUTOCONNECT][SUPPRESS] ms=5000 reason=connect request failed"}));
    EXPECT_EQ(engine.SuppressUntil(), Now() + 5000);
}

TEST_F(AutoConnectEngine, ARequestThatWentOutIsNotRepeatedToTheSamePeerWithin3000Ms) {
    engine.SetIntent(true, "boot restore saved auto-connect");
    const uint32_t start = Now();
    engine.RunTick();
    ports.now = start + 2999;
    engine.RunTick();
    EXPECT_EQ(Count("@RequestControlDevice"), 1u);
    EXPECT_EQ(engine.State(), AutoConnectState::Ready);
    ports.now = start + 3000;
    engine.RunTick();
    EXPECT_EQ(Count("@RequestControlDevice"), 2u);
}

TEST_F(AutoConnectEngine, PluggingTheCableInForgetsTheLastAttemptAndTheCooldown) {
    engine.SetIntent(true, "boot restore saved auto-connect");
    engine.RunTick();
    engine.Suppress(8000, "tray reconnect worker");
    const uint64_t generation = ports.DeviceListGeneration();
    engine.OnDevicePresence(true);
    EXPECT_EQ(engine.SuppressUntil(), 0u);
    EXPECT_EQ(ports.DeviceListGeneration(), generation + 1);
    ports.now = Now() + 1;
    engine.RunTick();
    EXPECT_EQ(Count("@RequestControlDevice"), 2u);
}

TEST_F(AutoConnectEngine, CableReportsMoveARunningEngineWithItsIntent) {
    ports.cablePresent = false; // the looks that the reports wake keep WaitingDevice
    StartAndSettle();
    engine.SetIntent(true, "boot restore saved auto-connect");
    engine.OnDevicePresence(false);
    engine.OnDevicePresence(true);
    engine.Stop();
    EXPECT_EQ(
        Count("[AUTOCONNECT][STATE] Idle -> WaitingDevice reason=authorized device removed intent=Enabled"),
        1u);
    EXPECT_EQ(Count("[AUTOCONNECT][STATE] WaitingDevice -> WaitingPeer reason=authorized device inserted "
                    "intent=Enabled"),
              1u);

    // Without the intent the state stays, and the engine is still woken.
    EngineWorld world;
    AutoConnect idle(world.ports, kLongPeriodMs, &world.writer);
    const uint64_t generation = world.ports.DeviceListGeneration();
    idle.OnDevicePresence(false);
    EXPECT_EQ(idle.State(), AutoConnectState::Stopped);
    EXPECT_EQ(world.ports.DeviceListGeneration(), generation + 1);
}

TEST_F(AutoConnectEngine, AnOrphanRepairIsFollowedByASecondLookOnAFreshSnapshot) {
    engine.SetIntent(true, "boot restore saved auto-connect");
    ports.session.sessionMode = 1;
    ports.session.reconnecting = true;
    ports.onRepair = [this] { ports.Change([](FakeAutoConnectPorts& p) { p.session = StateSnapshot{}; }); };
    Take();
    engine.RunTick();
    const Lines lines = Take();
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(Lines(lines.begin(), lines.begin() + 3),
              (Lines{"[AUTOCONNECT][RECOVERY] repair orphan session state mode=1 reconnect=1 controller=0 "
                     "controlled=0",
                     "@OnLocalDeviceInserted",
                     "[AUTOCONNECT][STATE] Stopped -> Ready reason=peer available intent=Enabled"}));
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "@RequestControlDevice TSLY-PC-B"), 1);
    EXPECT_EQ(ports.Looks(), 2);
}

TEST_F(AutoConnectEngine, ATickThatFindsAnotherRunningReturnsAtOnce) {
    engine.SetIntent(true, "boot restore saved auto-connect");
    int nested = 0;
    ports.onPeers = [&] {
        ++nested;
        engine.RunTick();
    };
    engine.RunTick();
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(ports.Looks(), 1);
    EXPECT_EQ(Count("@RequestControlDevice"), 1u);
    ports.onPeers = nullptr;
    ports.now = Now() + 3000;
    engine.RunTick(); // the flag was released
    EXPECT_EQ(ports.Looks(), 2);
}

TEST_F(AutoConnectEngine, StartAndStopAreIdempotent) {
    engine.Start();
    engine.Start();
    ASSERT_TRUE(ports.WaitForLooks(1, 5000));
    engine.Stop();
    engine.Stop();
    EXPECT_FALSE(engine.IsRunning());
    EXPECT_EQ(engine.State(), AutoConnectState::Stopped);
    const Lines lines = Take();
    const Lines expected = {"[AUTOCONNECT][STATE] Stopped -> Idle reason=engine start intent=Disabled",
                            "[AUTOCONNECT] engine start intent=Disabled state=Idle",
                            "[AUTOCONNECT] start ignored: already running intent=Disabled state=Idle",
                            "[AUTOCONNECT] thread enter",
                            "[AUTOCONNECT] thread leave",
                            "[AUTOCONNECT][STATE] Idle -> Stopped reason=engine stopped intent=Disabled",
                            "[AUTOCONNECT] engine stopped intent=Disabled state=Stopped"};
    for (const std::string& line : expected)
        EXPECT_EQ(std::count(lines.begin(), lines.end(), line), 1) << line;
    // The thread was joined before the engine reported itself stopped.
    EXPECT_LT(std::find(lines.begin(), lines.end(), "[AUTOCONNECT] thread leave"),
              std::find(lines.begin(), lines.end(), expected[5]));

    // A stopped engine starts again with a new thread.
    engine.Start();
    ASSERT_TRUE(ports.WaitForLooks(2, 5000));
    engine.Stop();
    EXPECT_EQ(Count("[AUTOCONNECT] thread leave"), 1u);
}

TEST_F(AutoConnectEngine, TheEngineWakesAtOnceWhenTheDeviceListChanges) {
    StartAndSettle();
    const int looks = ports.Looks();
    ports.WakeDeviceListWaiters(); // discovery found a peer
    EXPECT_TRUE(ports.WaitForLooks(looks + 1, 5000));
    engine.OnDevicePresence(true); // the cable came
    EXPECT_TRUE(ports.WaitForLooks(looks + 2, 5000));
    engine.Stop();
}

TEST(AutoConnectEngineThread, StopCalledFromTheEngineThreadDetachesItself) {
    // Kept to the end of the process like the process-wide engine: the detached thread may still be leaving.
    struct SelfStop : EngineWorld {
        AutoConnect engine{ports, kLongPeriodMs, &writer};
    };
    static auto* kept = new std::vector<SelfStop*>;
    SelfStop* world = kept->emplace_back(new SelfStop);
    world->engine.SetIntent(true, "boot restore saved auto-connect");
    world->ports.onRequest = [world] { world->engine.Stop(); };
    world->engine.Start();
    ASSERT_TRUE(world->WaitForLine("[AUTOCONNECT] thread leave", 5000));
    EXPECT_FALSE(world->engine.IsRunning());
    const Lines lines = world->platform.Messages();
    const auto at = [&](const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) - lines.begin();
    };
    const std::vector<std::string> order = {
        "@RequestControlDevice TSLY-PC-B",
        "[AUTOCONNECT] stop called from worker thread; detach self and exit",
        "[AUTOCONNECT][STATE] Connecting -> Stopped reason=engine stopped intent=Enabled",
        "[AUTOCONNECT] engine stopped intent=Enabled state=Stopped",
        "[AUTOCONNECT] DiscoveryRequestControlDevice ok=1 peer=TSLY-PC-B intent=Enabled state=Stopped",
        "[AUTOCONNECT] thread leave",
    };
    for (size_t i = 0; i < order.size(); ++i) {
        ASSERT_LT(at(order[i]), static_cast<long>(lines.size())) << order[i];
        if (i > 0)
            EXPECT_LT(at(order[i - 1]), at(order[i])) << order[i];
    }
    EXPECT_EQ(world->ports.Looks(), 1);
}

} // namespace
