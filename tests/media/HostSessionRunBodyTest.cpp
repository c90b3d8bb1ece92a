#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/StateTestSupport.h"
#include "media/HostPipelineFakes.h"
#include "media/HostSession.h"
#include "media/HostSessionRunBody.h"
#include "support/TestLog.h"

// The host's run body inside a real HostSession: the pipeline's ends reach the session's common end and
// failure path through the session thread, with the generation guard in between.
namespace {

using namespace std::chrono_literals;

class RecordingServices final : public SessionServices {
public:
    void SetActivePeer(const std::string& ip) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_peer = ip;
    }
    bool IsActivePeer(const std::string& ip) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        return ip == m_peer;
    }
    bool StartClipboardHost(uint16_t) override {
        clipboardRunning = true;
        return true;
    }
    void StopClipboardChannel() override { clipboardRunning = false; }
    void StartInputHost(uint16_t) override { inputRunning = true; }
    void StopInputChannel() override { inputRunning = false; }
    std::thread StartThread(SessionThreadProc entry, SessionThreadArg* arg) override {
        ++started;
        return std::thread([this, entry, arg] {
            entry(arg);
            finished.fetch_add(1);
        });
    }

    std::atomic<bool> clipboardRunning{false}, inputRunning{false};
    std::atomic<int> started{0}, finished{0};

private:
    std::mutex m_mutex;
    std::string m_peer;
};

// The platform for one session thread at a time; the thread alone touches the fakes while it runs.
class FakeHostPlatform final : public IHostPlatform {
public:
    FakeHostPlatform() : factory(clock) {}
    IHostClock& Clock() override { return clock; }
    IHostPipelineFactory& Factory() override { return factory; }
    std::unique_ptr<IHostVideoSender> CreateVideoSender() override {
        auto sender = std::make_unique<FakeVideoSender>(clock);
        sender->connectResults = connectResults;
        return sender;
    }
    std::unique_ptr<IHostSecureDesktop> CreateSecureDesktop() override {
        return std::make_unique<FakeSecureDesktop>(clock);
    }
    std::unique_ptr<IHostDisplayProbe> CreateDisplayProbe() override {
        auto display = std::make_unique<FakeDisplayProbe>(clock);
        display->changeAt = displayChangeAt;
        return display;
    }
    void LogDesktopMetrics() override {}

    FakeHostClock clock;
    FakeHostFactory factory;
    std::deque<bool> connectResults;
    uint32_t displayChangeAt = 0;
};

class HostSessionRunBodyTest : public ::testing::Test {
protected:
    HostSessionRunBodyTest() : host(ownership), body(platform) {
        host.SetServices(&services);
        host.SetRunBody(&body);
    }
    void SetUp() override {
        Log::Open();
        TestLog().Clear();
    }
    void TearDown() override {
        host.Stop();
        EXPECT_TRUE(WaitFinished(services.started.load()));
    }
    bool WaitFinished(int count) {
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (services.finished.load() < count) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(1ms);
        }
        return true;
    }

    RuntimeTestBinding runtime;
    SessionOwnership ownership;
    RecordingServices services;
    FakeHostPlatform platform;
    HostSession host;
    HostSessionRunBody body;
};

TEST_F(HostSessionRunBodyTest, DisplayChangeEndsTheSessionWithVideoAndInputReconnecting) {
    platform.displayChangeAt = 3000;
    ASSERT_TRUE(host.Start("10.0.0.2"));
    ASSERT_TRUE(WaitFinished(1));
    EXPECT_EQ(RuntimeGetChannelState(kChannelVideo), static_cast<int32_t>(ChannelState::Reconnecting));
    EXPECT_EQ(RuntimeGetChannelState(kChannelInput), static_cast<int32_t>(ChannelState::Reconnecting));
    EXPECT_EQ(RuntimeGetChannelState(kChannelClipboard), static_cast<int32_t>(ChannelState::Disconnected));
    EXPECT_EQ(host.running.load(), 0);
    EXPECT_FALSE(RuntimeIsHostRunning());
    EXPECT_EQ(RuntimeGetProgramState(), 0);
    EXPECT_FALSE(services.inputRunning.load());
    EXPECT_FALSE(services.clipboardRunning.load());
    EXPECT_EQ(RuntimeMakeSnapshot().errorText,
              "Display changed; host video stopped for controller reconnect");
    EXPECT_EQ(CountLogMessages("HostSession thread exit gen=1 current=1"), 1u);
}

TEST_F(HostSessionRunBodyTest, VideoConnectFailureTakesTheFailurePath) {
    platform.connectResults = {false};
    ASSERT_TRUE(host.Start("10.0.0.2"));
    ASSERT_TRUE(WaitFinished(1));
    EXPECT_EQ(RuntimeGetProgramState(), 9);
    EXPECT_EQ(RuntimeGetChannelState(kChannelVideo), static_cast<int32_t>(ChannelState::Error));
    EXPECT_EQ(RuntimeMakeSnapshot().errorText, "Host TCP video sender init failed");
    EXPECT_FALSE(RuntimeIsHostRunning());
    EXPECT_FALSE(services.clipboardRunning.load()) << "the clipboard host it started is stopped again";
    EXPECT_FALSE(services.inputRunning.load());
}

TEST_F(HostSessionRunBodyTest, StopEndsAStreamingSession) {
    ASSERT_TRUE(host.Start("10.0.0.2"));
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (CountLogMessages("Host streaming codec=H264") == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(1ms);
    host.Stop();
    ASSERT_TRUE(WaitFinished(1));
    EXPECT_EQ(CountLogMessages("HostSession thread exit gen=1 current=1"), 1u);
    EXPECT_EQ(RuntimeGetChannelState(kChannelVideo), static_cast<int32_t>(ChannelState::Disconnected));
}

} // namespace
