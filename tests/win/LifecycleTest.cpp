#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LogAssertions.h"
#include "TestPaths.h"
#include "app/AppLifecycle.h"
#include "app/AppLifecycleModules.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/StateManager.h"

namespace {

std::string ModuleNote(const IAppLifecycleModule& module) {
    return module.ServicePending() ? " service=pending" : "";
}

// The index of the first expected message that is not found, as a whole message, after the one before it;
// expected.size() when all are there in order.
// The process-wide lifecycle runs once per process: this is its only user in the test executable. The
// per-module lines are in the file only while the "startup" category is on (MARLO_DEBUG_STARTUP_LOG).
TEST(Lifecycle, TheApplicationModulesStartAndStopOnceInTheirOrders) {
    ASSERT_TRUE(Log::Open());
    // A known state before the stop resets every channel, whatever ran before in this process.
    for (int channel = 0; channel < kChannelCount; ++channel)
        StateManager::Instance().SetChannelState(channel, ChannelState::Connecting, "lifecycle test setup");
    bool firstStart = AppLifecycleStartAll();
    bool secondStart = AppLifecycleStartAll();
    AppLifecycleStopAll("lifecycle test");
    AppLifecycleStopAll("lifecycle test again");
    bool startAfterStop = AppLifecycleStartAll();
    Log::Close();

    EXPECT_TRUE(firstStart);
    EXPECT_TRUE(secondStart);
    EXPECT_FALSE(startAfterStop);
    for (int channel = 0; channel < kChannelCount; ++channel) {
        EXPECT_EQ(RuntimeGetChannelState(channel), static_cast<int32_t>(ChannelState::Disconnected))
            << channel;
        EXPECT_EQ(StateManager::Instance().GetChannelState(channel),
                  static_cast<int32_t>(ChannelState::Disconnected))
            << channel;
    }
    EXPECT_FALSE(RuntimeIsAppRunning());
    EXPECT_FALSE(StateManager::Instance().IsRunning());

    const bool moduleLines = Log::IsDebugCategoryEnabled("startup");
    std::vector<std::string> expected = {"AppLifecycleStartAll begin"};
    if (moduleLines)
        for (IAppLifecycleModule* module : AppLifecycleStartOrder())
            expected.push_back(std::string("Lifecycle start module=") + module->Name() + " ok=1" +
                               ModuleNote(*module));
    expected.insert(expected.end(), {"AppLifecycleStartAll end ok=1",
                                     "Shutdown request reason=lifecycle test alreadyStarted=0",
                                     "[LIFECYCLE][SHUTDOWN] begin reason=lifecycle test",
                                     "AppLifecycleStopAll begin reason=lifecycle test wasStarted=1"});
    if (moduleLines)
        for (IAppLifecycleModule* module : AppLifecycleStopOrder())
            expected.push_back(std::string("Lifecycle stop module=") + module->Name() + ModuleNote(*module));
    // The session modules' stop ends all sessions, which puts the channels back first; the lifecycle's own
    // reset then finds them disconnected and says nothing.
    expected.insert(expected.end(),
                    {"KVM stop all sessions reason=lifecycle stop",
                     "ConnectionState Video: Connecting -> Disconnected reason=lifecycle stop",
                     "ConnectionState Input: Connecting -> Disconnected reason=lifecycle stop",
                     "ConnectionState Audio: Connecting -> Disconnected reason=lifecycle stop",
                     "ConnectionState Clipboard: Connecting -> Disconnected reason=lifecycle stop",
                     "AppLifecycleStopAll end", "Shutdown complete",
                     "Shutdown request reason=lifecycle test again alreadyStarted=1"});

    std::string log = ReadWholeFile(TestExeFolder() + L"Tessaly.log");
    std::vector<std::string> wholeLines;
    for (const std::string& line : expected)
        wholeLines.push_back(" " + line + "\r\n");
    EXPECT_TRUE(InOrder(log, wholeLines));
    // Each module starts and stops once, whatever the later requests.
    EXPECT_EQ(log.find("AppLifecycleStartAll begin", log.find("AppLifecycleStartAll begin") + 1),
              std::string::npos);
    EXPECT_EQ(log.find("AppLifecycleStopAll begin", log.find("AppLifecycleStopAll begin") + 1),
              std::string::npos);
    if (!moduleLines) {
        EXPECT_EQ(log.find("Lifecycle start module="), std::string::npos) << log;
        EXPECT_EQ(log.find("Lifecycle stop module="), std::string::npos) << log;
    }
}

} // namespace
