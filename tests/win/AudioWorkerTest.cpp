#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <system_error>
#include <thread>

#include "LogAssertions.h"
#include "TestWait.h"
#include "UdpTestSocket.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/win/Handles.h"
#include "media/win/AudioWorker.h"
#include "WinsockTest.h"

// The run discipline the audio sender and player share, on workers of the test's own (process-wide, as the
// real owners are: a detached thread still reaches its worker).
namespace {

constexpr DWORD kWaitMs = 3000;

AudioWorker& Worker(const char* name, WorkerThread::Launcher launcher = {}) {
    return *new AudioWorker(name, std::move(launcher));
}

class AudioWorkerTest : public WinsockTest {
protected:
};

TEST_F(AudioWorkerTest, ThreadThatCannotBeCreatedLeavesNothingRunning) {
    static AudioWorker& worker = Worker("TestAudioWorkerNoThread", [](std::function<void()>) -> std::thread {
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    });
    auto ran = std::make_shared<std::atomic<bool>>(false);
    EXPECT_FALSE(worker.Start([ran](const StopSignal&, AudioRunSocket&) { *ran = true; }));
    EXPECT_FALSE(worker.IsRunning());
    EXPECT_FALSE(ran->load());
    EXPECT_EQ(CountOf(OwnLog(), "TestAudioWorkerNoThread thread create failed: "), 1u) << OwnLog();
}

TEST_F(AudioWorkerTest, ExceptionOfTheCurrentRunIsLoggedAndClearsRunning) {
    static AudioWorker& worker = Worker("TestAudioWorkerThrows");
    ASSERT_TRUE(
        worker.Start([](const StopSignal&, AudioRunSocket&) { throw std::runtime_error("capture broke"); }));
    EXPECT_TRUE(WaitUntil([&] { return !worker.IsRunning(); }, kWaitMs));
    const std::string log = WaitForOwnLog("what=capture broke", kWaitMs);
    EXPECT_EQ(CountOf(log, "[THREAD][EXCEPTION] name=TestAudioWorkerThrows tid="), 1u) << log;
    EXPECT_EQ(RuntimeMakeSnapshot().errorText, "capture broke");
    worker.Stop();
}

// A run that was stopped and fails afterwards must not clear the running flag of the run after it.
TEST_F(AudioWorkerTest, ExceptionOfAStoppedRunLeavesTheNewRunAlone) {
    static AudioWorker& worker = Worker("TestAudioWorkerStale");
    struct Shared {
        std::atomic<bool> release{false};
        std::atomic<bool> oldRunSawStop{false};
        std::atomic<bool> newRunStopped{false};
    };
    auto shared = std::make_shared<Shared>();
    ASSERT_TRUE(worker.Start([shared](const StopSignal& stop, AudioRunSocket&) {
        WaitUntil([&] { return shared->release.load(); }, kWaitMs);
        shared->oldRunSawStop = stop.StopRequested();
        throw std::runtime_error("late failure");
    }));
    worker.Stop();
    ASSERT_TRUE(worker.Start([shared](const StopSignal& stop, AudioRunSocket&) {
        while (!stop.WaitFor(1000)) {
        }
        shared->newRunStopped = true;
    }));
    shared->release = true;
    WaitForOwnLog("what=late failure", kWaitMs);
    EXPECT_TRUE(shared->oldRunSawStop.load());
    EXPECT_TRUE(worker.IsRunning());
    EXPECT_FALSE(shared->newRunStopped.load());
    worker.Stop();
    EXPECT_TRUE(WaitUntil([&] { return shared->newRunStopped.load(); }, kWaitMs));
    EXPECT_FALSE(worker.IsRunning());
}

// What one run's body saw of its own socket; shared with the body, which may outlive a failed test.
struct SocketRun {
    std::atomic<bool> published{false};
    std::atomic<int> sendWhileRunning{-1}; // Winsock error of a send before the stop; 0 when it went out
    std::atomic<int> sendAfterStop{-1};    // the first error of a send after the stop
    std::atomic<bool> done{false};
};

AudioWorker::Body SocketBody(std::shared_ptr<SocketRun> run) {
    return [run](const StopSignal& stop, AudioRunSocket& slot) {
        UniqueSocket socket = BoundUdp("127.0.0.1", 0, 0);
        const uint16_t port = BoundPort(socket.Get());
        const auto sendError = [&] {
            return SendDatagramFrom(socket.Get(), "127.0.0.1", port, "x", 1) ? 0 : WSAGetLastError();
        };
        if (slot.Publish(socket.Get())) {
            const AudioRunSocketPublication publication(slot);
            run->published = true;
            while (!stop.WaitFor(5))
                if (run->sendWhileRunning.load() == -1)
                    run->sendWhileRunning = sendError();
            // Stop raises the signal before it shuts the socket down, so the body may wake first: send
            // until the shutdown shows (bounded).
            int error = sendError();
            for (const DWORD start = GetTickCount(); error == 0 && GetTickCount() - start < kWaitMs;
                 error = sendError())
                Sleep(1);
            run->sendAfterStop = error;
        }
        run->done = true;
    };
}

// Stop wakes its own run by shutting that run's socket down (a blocking call on it ends); the socket of the
// run started next is never touched.
TEST_F(AudioWorkerTest, StopShutsDownOnlyTheSocketOfItsOwnRun) {
    static AudioWorker& worker = Worker("TestAudioWorkerSockets");
    auto first = std::make_shared<SocketRun>();
    auto second = std::make_shared<SocketRun>();
    ASSERT_TRUE(worker.Start(SocketBody(first)));
    ASSERT_TRUE(WaitUntil([&] { return first->sendWhileRunning.load() != -1; }, kWaitMs));
    const DWORD stopAt = GetTickCount();
    worker.Stop();
    EXPECT_LT(GetTickCount() - stopAt, 100u) << "Stop waited for the worker";
    ASSERT_TRUE(worker.Start(SocketBody(second)));
    ASSERT_TRUE(
        WaitUntil([&] { return first->done.load() && second->sendWhileRunning.load() != -1; }, kWaitMs));
    EXPECT_EQ(first->sendWhileRunning.load(), 0);
    EXPECT_EQ(first->sendAfterStop.load(), WSAESHUTDOWN);
    EXPECT_EQ(second->sendWhileRunning.load(), 0) << "the new run's socket was shut down";
    worker.Stop();
    ASSERT_TRUE(WaitUntil([&] { return second->done.load(); }, kWaitMs));
    EXPECT_EQ(second->sendAfterStop.load(), WSAESHUTDOWN);
}

// A run stopped before its socket exists cannot publish it: it closes the socket itself and ends.
TEST_F(AudioWorkerTest, RunStoppedBeforeItPublishesKeepsItsSocketToItself) {
    static AudioWorker& worker = Worker("TestAudioWorkerLate");
    struct Shared {
        std::atomic<bool> go{false};
        std::atomic<int> published{-1};
    };
    auto shared = std::make_shared<Shared>();
    ASSERT_TRUE(worker.Start([shared](const StopSignal&, AudioRunSocket& slot) {
        WaitUntil([&] { return shared->go.load(); }, kWaitMs);
        UniqueSocket socket = BoundUdp("127.0.0.1", 0, 0);
        shared->published = slot.Publish(socket.Get()) ? 1 : 0;
    }));
    worker.Stop();
    shared->go = true;
    ASSERT_TRUE(WaitUntil([&] { return shared->published.load() != -1; }, kWaitMs));
    EXPECT_EQ(shared->published.load(), 0);
}

} // namespace
