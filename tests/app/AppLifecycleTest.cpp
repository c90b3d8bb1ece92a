#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "app/AppLifecycle.h"
#include "app/AppLifecycleModules.h"
#include "core/LogWriter.h"
#include "support/TestLog.h"

using testing::ElementsAre;
using testing::ElementsAreArray;

namespace {

// A log of its own: the process-wide test log has every category off, and the per-module lines belong to
// the "startup" category and the refused-start lines to "ui". Calls of the fakes are noted in the same
// list, so calls and lines are checked in one order.
struct LifecycleLog {
    explicit LifecycleLog(bool categoriesOn = true) {
        if (categoriesOn) {
            platform.environment["MARLO_DEBUG_STARTUP_LOG"] = "1";
            platform.environment["MARLO_DEBUG_UI_LOG"] = "1";
        }
        writer.Open();
        platform.Clear();
    }
    std::vector<std::string> Messages() { return platform.Messages(); }

    MemoryLogPlatform platform;
    LogWriter writer{platform};
};

class FakeModule : public IAppLifecycleModule {
public:
    FakeModule(MemoryLogPlatform& events, std::string name, bool startResult = true, bool pending = false)
        : m_events(events), m_name(std::move(name)), m_startResult(startResult), m_pending(pending) {}

    const char* Name() const override { return m_name.c_str(); }
    bool Start() override {
        m_events.Note("start " + m_name);
        if (onStart)
            onStart();
        return m_startResult;
    }
    void Stop() override {
        m_events.Note("stop " + m_name);
        if (onStop)
            onStop();
    }
    bool ServicePending() const override { return m_pending; }

    std::function<void()> onStart;
    std::function<void()> onStop;

private:
    MemoryLogPlatform& m_events;
    std::string m_name;
    bool m_startResult;
    bool m_pending;
};

class FakeHost : public IAppLifecycleHost {
public:
    explicit FakeHost(MemoryLogPlatform& events) : m_events(events) {}
    void StopAutoConnect() override { m_events.Note("StopAutoConnect"); }
    void MarkAppStopped() override { m_events.Note("MarkAppStopped"); }
    void SetChannelState(int channel, int state, const char* reason) override {
        m_events.Note("channel " + std::to_string(channel) + " state=" + std::to_string(state) +
                      " reason=" + (reason ? reason : "(null)"));
    }

private:
    MemoryLogPlatform& m_events;
};

std::vector<std::string> ChannelResets(const std::string& reason) {
    std::vector<std::string> lines;
    for (int channel = 0; channel < 4; ++channel)
        lines.push_back("@channel " + std::to_string(channel) + " state=1 reason=" + reason);
    return lines;
}

std::vector<std::string> Concat(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// Polls until the log holds the line; bounded so that a fault fails the test instead of hanging it.
bool WaitForLine(LifecycleLog& log, const std::string& line) {
    for (int i = 0; i < 2000; ++i) {
        auto messages = log.Messages();
        if (std::find(messages.begin(), messages.end(), line) != messages.end())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

size_t IndexOf(const std::vector<std::string>& messages, const std::string& line) {
    return static_cast<size_t>(std::find(messages.begin(), messages.end(), line) - messages.begin());
}

TEST(AppLifecycle, StartAndStopFollowTheirOwnTablesLineByLine) {
    LifecycleLog log;
    FakeHost host(log.platform);
    FakeModule a(log.platform, "A"), b(log.platform, "B", true, true), c(log.platform, "C");
    IAppLifecycleModule* startOrder[] = {&a, &b, &c};
    IAppLifecycleModule* stopOrder[] = {&c, &a, &b};
    AppLifecycle lifecycle(startOrder, stopOrder, host, &log.writer);

    EXPECT_TRUE(lifecycle.StartAll());
    lifecycle.StopAll("tray exit");

    EXPECT_THAT(
        log.Messages(),
        ElementsAreArray(Concat(
            {{"AppLifecycleStartAll begin", "@start A", "Lifecycle start module=A ok=1", "@start B",
              "Lifecycle start module=B ok=1 service=pending", "@start C", "Lifecycle start module=C ok=1",
              "AppLifecycleStartAll end ok=1", "Shutdown request reason=tray exit alreadyStarted=0",
              "[LIFECYCLE][SHUTDOWN] begin reason=tray exit", "@StopAutoConnect", "@MarkAppStopped",
              "AppLifecycleStopAll begin reason=tray exit wasStarted=1", "Lifecycle stop module=C", "@stop C",
              "Lifecycle stop module=A", "@stop A", "Lifecycle stop module=B service=pending", "@stop B"},
             ChannelResets("tray exit"),
             {"AppLifecycleStopAll end", "Shutdown complete"}})));
}

TEST(AppLifecycle, StopWithoutStartRunsEveryStopAndNamesTheDefaultReason) {
    LifecycleLog log;
    FakeHost host(log.platform);
    FakeModule a(log.platform, "A"), b(log.platform, "B");
    IAppLifecycleModule* order[] = {&a, &b};
    AppLifecycle lifecycle(order, order, host, &log.writer);

    lifecycle.StopAll(nullptr);

    // The request line shows the reason as given (empty); every later line uses the default.
    EXPECT_THAT(
        log.Messages(),
        ElementsAreArray(Concat({{"Shutdown request reason= alreadyStarted=0",
                                  "[LIFECYCLE][SHUTDOWN] begin reason=application shutdown",
                                  "@StopAutoConnect", "@MarkAppStopped",
                                  "AppLifecycleStopAll begin reason=application shutdown "
                                  "wasStarted=0",
                                  "Lifecycle stop module=A", "@stop A", "Lifecycle stop module=B", "@stop B"},
                                 ChannelResets("application shutdown"),
                                 {"AppLifecycleStopAll end", "Shutdown complete"}})));
}

TEST(AppLifecycle, LaterShutdownRequestsOnlyLogAndStartsAfterShutdownAreRefused) {
    LifecycleLog log;
    FakeHost host(log.platform);
    FakeModule a(log.platform, "A");
    IAppLifecycleModule* order[] = {&a};
    AppLifecycle lifecycle(order, order, host, &log.writer);
    ASSERT_TRUE(lifecycle.StartAll());
    lifecycle.StopAll("tray exit");
    log.platform.Clear();

    lifecycle.StopAll("message loop exit");
    EXPECT_THAT(log.Messages(),
                ElementsAre("Shutdown request reason=message loop exit alreadyStarted=1", "@MarkAppStopped"));

    log.platform.Clear();
    EXPECT_FALSE(lifecycle.StartAll());
    EXPECT_FALSE(lifecycle.StartAll()); // same tick: the line is throttled
    log.platform.tick += 999;
    EXPECT_FALSE(lifecycle.StartAll());
    log.platform.tick += 1;
    EXPECT_FALSE(lifecycle.StartAll());
    EXPECT_THAT(log.Messages(), ElementsAre("AppLifecycleStartAll ignored: application is shutting down",
                                            "AppLifecycleStartAll ignored: application is shutting down"));
}

TEST(AppLifecycle, RepeatedStartStartsNothingAndIsThrottled) {
    LifecycleLog log;
    FakeHost host(log.platform);
    FakeModule a(log.platform, "A");
    IAppLifecycleModule* order[] = {&a};
    AppLifecycle lifecycle(order, order, host, &log.writer);
    ASSERT_TRUE(lifecycle.StartAll());
    log.platform.Clear();

    EXPECT_TRUE(lifecycle.StartAll());
    EXPECT_TRUE(lifecycle.StartAll());
    log.platform.tick += 4999;
    EXPECT_TRUE(lifecycle.StartAll());
    log.platform.tick += 1;
    EXPECT_TRUE(lifecycle.StartAll());
    EXPECT_THAT(log.Messages(), ElementsAre("AppLifecycleStartAll ignored: already started",
                                            "AppLifecycleStartAll ignored: already started"));
}

TEST(AppLifecycle, AFailingModuleIsLoggedTheRestStillStartAndTheResultIsFalse) {
    LifecycleLog log;
    FakeHost host(log.platform);
    FakeModule a(log.platform, "A"), b(log.platform, "B", false), c(log.platform, "C");
    IAppLifecycleModule* order[] = {&a, &b, &c};
    AppLifecycle lifecycle(order, order, host, &log.writer);

    EXPECT_FALSE(lifecycle.StartAll());
    EXPECT_THAT(log.Messages(),
                ElementsAre("AppLifecycleStartAll begin", "@start A", "Lifecycle start module=A ok=1",
                            "@start B", "Lifecycle start module=B ok=0", "@start C",
                            "Lifecycle start module=C ok=1", "AppLifecycleStartAll end ok=0"));

    // A failed start still counts as started: the stop that follows reports it and stops every module.
    log.platform.Clear();
    lifecycle.StopAll("tray exit");
    auto messages = log.Messages();
    EXPECT_NE(IndexOf(messages, "AppLifecycleStopAll begin reason=tray exit wasStarted=1"), messages.size());
    for (const char* stop : {"@stop A", "@stop B", "@stop C"})
        EXPECT_NE(IndexOf(messages, stop), messages.size()) << stop;
}

TEST(AppLifecycle, AThrowingModuleCountsAsFailedAndShutdownGoesOn) {
    LifecycleLog log;
    FakeHost host(log.platform);
    FakeModule a(log.platform, "A"), b(log.platform, "B");
    a.onStart = [] { throw std::runtime_error("socket gone"); };
    a.onStop = [] { throw 7; };
    IAppLifecycleModule* order[] = {&a, &b};
    AppLifecycle lifecycle(order, order, host, &log.writer);

    EXPECT_FALSE(lifecycle.StartAll());
    lifecycle.StopAll("tray exit");

    EXPECT_THAT(
        log.Messages(),
        ElementsAreArray(Concat(
            {{"AppLifecycleStartAll begin", "@start A",
              "[LIFECYCLE][ERR] module=A start exception what=socket gone", "Lifecycle start module=A ok=0",
              "@start B", "Lifecycle start module=B ok=1", "AppLifecycleStartAll end ok=0",
              "Shutdown request reason=tray exit alreadyStarted=0",
              "[LIFECYCLE][SHUTDOWN] begin reason=tray exit", "@StopAutoConnect", "@MarkAppStopped",
              "AppLifecycleStopAll begin reason=tray exit wasStarted=1", "Lifecycle stop module=A", "@stop A",
              "[LIFECYCLE][ERR] module=A stop exception what=unknown", "Lifecycle stop module=B", "@stop B"},
             ChannelResets("tray exit"),
             {"AppLifecycleStopAll end", "Shutdown complete"}})));
}

// The refused-start and per-module lines are category lines: a default log keeps only the rest.
TEST(AppLifecycle, ADefaultLogLeavesOutTheModuleAndRefusedStartLines) {
    LifecycleLog log(/*categoriesOn=*/false);
    FakeHost host(log.platform);
    FakeModule a(log.platform, "A", true, true);
    IAppLifecycleModule* order[] = {&a};
    AppLifecycle lifecycle(order, order, host, &log.writer);

    lifecycle.StartAll();
    lifecycle.StartAll();
    lifecycle.StopAll("tray exit");
    lifecycle.StartAll();

    EXPECT_THAT(log.Messages(),
                ElementsAreArray(Concat(
                    {{"AppLifecycleStartAll begin", "@start A", "AppLifecycleStartAll end ok=1",
                      "Shutdown request reason=tray exit alreadyStarted=0",
                      "[LIFECYCLE][SHUTDOWN] begin reason=tray exit", "@StopAutoConnect", "@MarkAppStopped",
                      "AppLifecycleStopAll begin reason=tray exit wasStarted=1", "@stop A"},
                     ChannelResets("tray exit"),
                     {"AppLifecycleStopAll end", "Shutdown complete"}})));
}

// A start that is waiting for the lock while a stop is requested must not start anything.
TEST(AppLifecycle, AStartWaitingBehindARunningStartIsRefusedOnceShutdownIsRequested) {
    LifecycleLog log;
    FakeHost host(log.platform);
    FakeModule a(log.platform, "A");
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    a.onStart = [released] { released.wait(); };
    IAppLifecycleModule* order[] = {&a};
    auto lifecycle = std::make_unique<AppLifecycle>(order, order, host, &log.writer);

    std::thread first([&] { lifecycle->StartAll(); });
    ASSERT_TRUE(WaitForLine(log, "@start A"));
    std::future<bool> second = std::async(std::launch::async, [&] { return lifecycle->StartAll(); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20)); // lets the second start reach the lock
    std::thread stopper([&] { lifecycle->StopAll("tray exit"); });
    ASSERT_TRUE(WaitForLine(log, "[LIFECYCLE][SHUTDOWN] begin reason=tray exit"));
    release.set_value();
    first.join();
    stopper.join();

    EXPECT_FALSE(second.get());
    auto messages = log.Messages();
    EXPECT_EQ(std::count(messages.begin(), messages.end(), "@start A"), 1);
    // Refused after the lock, or before it when the stop came first.
    size_t refused = std::count(messages.begin(), messages.end(),
                                "AppLifecycleStartAll ignored after lock: application is shutting down") +
                     std::count(messages.begin(), messages.end(),
                                "AppLifecycleStartAll ignored: application is shutting down");
    EXPECT_EQ(refused, 1u);
    EXPECT_NE(IndexOf(messages, "AppLifecycleStopAll begin reason=tray exit wasStarted=1"), messages.size());
}

// Start and stop from two threads: either the start runs entirely before the stop, or it is refused.
TEST(AppLifecycle, RacingStartAndStopNeverInterleave) {
    for (int round = 0; round < 200; ++round) {
        LifecycleLog log;
        FakeHost host(log.platform);
        FakeModule a(log.platform, "A"), b(log.platform, "B"), c(log.platform, "C");
        IAppLifecycleModule* order[] = {&a, &b, &c};
        AppLifecycle lifecycle(order, order, host, &log.writer);

        std::atomic<bool> go{false};
        bool started = false;
        std::thread starter([&] {
            while (!go.load()) {
            }
            started = lifecycle.StartAll();
        });
        std::thread stopper([&] {
            while (!go.load()) {
            }
            lifecycle.StopAll("race");
        });
        go.store(true);
        starter.join();
        stopper.join();

        auto messages = log.Messages();
        size_t firstStop = IndexOf(messages, "@stop A");
        ASSERT_LT(firstStop, messages.size()) << "round " << round;
        size_t starts = 0;
        for (size_t i = 0; i < messages.size(); ++i) {
            if (messages[i].rfind("@start ", 0) == 0) {
                ++starts;
                EXPECT_LT(i, firstStop) << "round " << round << ": a module started after the stop began";
            }
        }
        EXPECT_EQ(starts, started ? 3u : 0u) << "round " << round;
        std::string stopBegin =
            std::string("AppLifecycleStopAll begin reason=race wasStarted=") + (started ? "1" : "0");
        EXPECT_LT(IndexOf(messages, stopBegin), messages.size()) << "round " << round;
    }
}

// The later request (the end of the message loop) returns only after the first one (the tray's exit
// worker) has stopped every module, so shutdown does not tear down what a module is still stopping with.
TEST(AppLifecycle, ALaterRequestReturnsOnlyAfterTheFirstStopHasFinished) {
    LifecycleLog log;
    FakeHost host(log.platform);
    FakeModule a(log.platform, "A");
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    a.onStop = [released] { released.wait(); };
    IAppLifecycleModule* order[] = {&a};
    AppLifecycle lifecycle(order, order, host, &log.writer, 30000);

    std::thread first([&] { lifecycle.StopAll("tray exit"); });
    ASSERT_TRUE(WaitForLine(log, "@stop A"));
    std::thread later([&] {
        lifecycle.StopAll("message loop exit");
        log.platform.Note("later request returned");
    });
    ASSERT_TRUE(WaitForLine(log, "Shutdown request reason=message loop exit alreadyStarted=1"));
    std::this_thread::sleep_for(std::chrono::milliseconds(50)); // a request that did not wait returns here
    release.set_value();
    first.join();
    later.join();

    auto messages = log.Messages();
    EXPECT_LT(IndexOf(messages, "Shutdown complete"), IndexOf(messages, "@later request returned"));
    EXPECT_EQ(std::count(messages.begin(), messages.end(), "@stop A"), 1);
}

TEST(AppLifecycle, ALaterRequestStopsWaitingAtItsLimit) {
    LifecycleLog log;
    FakeHost host(log.platform);
    FakeModule a(log.platform, "A");
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    a.onStop = [released] { released.wait(); };
    IAppLifecycleModule* order[] = {&a};
    AppLifecycle lifecycle(order, order, host, &log.writer, 50);

    std::thread first([&] { lifecycle.StopAll("tray exit"); });
    ASSERT_TRUE(WaitForLine(log, "@stop A"));
    lifecycle.StopAll("message loop exit"); // returns while the first stop is still blocked
    auto messages = log.Messages();
    release.set_value();
    first.join();

    EXPECT_THAT(messages,
                testing::Contains("[LIFECYCLE][SHUTDOWN][WARN] first stop still running after 50 ms "
                                  "reason=message loop exit"));
    EXPECT_THAT(messages, testing::Not(testing::Contains("Shutdown complete")));
}

TEST(AppLifecycle, ARequestFromInsideAStopDoesNotWaitForItself) {
    LifecycleLog log;
    FakeHost host(log.platform);
    FakeModule a(log.platform, "A"), b(log.platform, "B");
    IAppLifecycleModule* order[] = {&a, &b};
    AppLifecycle lifecycle(order, order, host, &log.writer, 10000);
    a.onStop = [&] { lifecycle.StopAll("nested"); };

    lifecycle.StopAll("tray exit");

    auto messages = log.Messages();
    EXPECT_THAT(messages, testing::Contains("Shutdown request reason=nested alreadyStarted=1"));
    EXPECT_THAT(messages, testing::Contains("Shutdown complete"));
    EXPECT_THAT(messages, testing::Not(testing::Contains(testing::HasSubstr("[WARN]"))));
    EXPECT_EQ(std::count(messages.begin(), messages.end(), "@stop B"), 1);
}

TEST(AppLifecycleModules, TheTenModulesStartAndStopInTheirFixedOrders) {
    auto names = [](AppLifecycleModuleList list) {
        std::vector<std::string> out;
        for (IAppLifecycleModule* module : list)
            out.push_back(module->Name());
        return out;
    };
    EXPECT_THAT(names(AppLifecycleStartOrder()),
                ElementsAre("NetworkService", "MouseMonitorDll", "ScreenScaleMonitorDll",
                            "CursorPathMonitorDll", "Discovery", "FileTransferService", "DragVisualOverlay",
                            "TransportChannels", "KvmSessions", "RemoteViewRenderer"));
    EXPECT_THAT(names(AppLifecycleStopOrder()),
                ElementsAre("Discovery", "KvmSessions", "RemoteViewRenderer", "TransportChannels",
                            "FileTransferService", "DragVisualOverlay", "CursorPathMonitorDll",
                            "ScreenScaleMonitorDll", "MouseMonitorDll", "NetworkService"));
    // The same ten objects in both tables: what is started is what is stopped.
    auto start = AppLifecycleStartOrder();
    auto stop = AppLifecycleStopOrder();
    EXPECT_EQ(std::set<IAppLifecycleModule*>(start.begin(), start.end()),
              std::set<IAppLifecycleModule*>(stop.begin(), stop.end()));
    EXPECT_EQ(std::set<IAppLifecycleModule*>(start.begin(), start.end()).size(), 10u);
}

} // namespace
