#include "media/DuplicatorCapture.h"

#include <chrono>
#include <string>
#include <thread>

#include "core/Log.h"

namespace {

constexpr uint64_t kFpsWindowMs = 1000;
constexpr uint32_t kSleepAfterFailureMs = 5;
constexpr uint32_t kSleepAfterTimeoutMs = 1;
constexpr int kDetachedLoopWaitMs = 2000;

uint64_t SteadyNowMs() {
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// The capture loop that runs on this thread, so that a Stop from inside it detaches instead of joining.
thread_local const DuplicatorCapture* t_loopOwner = nullptr;
thread_local const StopSignal* t_loopStop = nullptr;

} // namespace

DuplicatorCapture::DuplicatorCapture(ICaptureStep& step, NowMs now)
    : m_step(step), m_now(now != nullptr ? now : &SteadyNowMs) {}

DuplicatorCapture::~DuplicatorCapture() {
    Stop();
    // A capture thread that stopped itself was detached and may still be leaving its loop.
    for (int waited = 0; m_loopsAlive.load() > 0 && waited < kDetachedLoopWaitMs; ++waited)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

DuplicatorCapture::StartResult DuplicatorCapture::Start(CaptureMode mode, int32_t maxWidth,
                                                        int32_t maxHeight) {
    std::lock_guard<std::mutex> lock(m_controlMutex);
    const bool nv12 = mode == CaptureMode::GpuNv12;
    if (m_thread.Active()) {
        if (!m_thread.Ended()) {
            Log::Write(
                nv12 ? "DesktopDuplicator StartAsyncCaptureNV12 ignored: previous async thread still running"
                     : "DesktopDuplicator StartAsyncCapture ignored: previous async thread still running");
            return StartResult::AlreadyRunning;
        }
        Log::Write(nv12 ? "DesktopDuplicator StartAsyncCaptureNV12 cleanup exited stale thread"
                        : "DesktopDuplicator StartAsyncCapture cleanup exited stale thread");
        m_thread.Stop(WorkerThread::kWaitForever, "DesktopDuplicator");
    }
    m_mode = mode;
    m_maxWidth = nv12 ? 0 : maxWidth;
    m_maxHeight = nv12 ? 0 : maxHeight;
    m_fps = 0;
    m_ring.Open();
    std::string error;
    if (!m_thread.Start(
            nv12 ? "DesktopDuplicatorAsyncNV12" : "DesktopDuplicatorAsync",
            [this](const StopSignal& stop) { Loop(stop); }, &error)) {
        m_ring.Close();
        Log::Write("DesktopDuplicator async capture thread start failed: %s", error.c_str());
        return StartResult::Failed;
    }
    return StartResult::Started;
}

void DuplicatorCapture::Stop() {
    if (t_loopOwner == this) {
        StopFromCaptureThread();
        return;
    }
    std::lock_guard<std::mutex> lock(m_controlMutex);
    const bool wasRunning = m_ring.IsOpen();
    m_thread.RequestStop();
    m_ring.Close();
    if (!m_thread.Active()) {
        if (wasRunning)
            Log::Write("DesktopDuplicator async capture stopped without joinable thread");
        return;
    }
    Log::Write("DesktopDuplicator StopAsyncCapture joining capture thread");
    m_thread.Stop(WorkerThread::kWaitForever, "DesktopDuplicator");
    Log::Write("DesktopDuplicator async capture stopped");
}

void DuplicatorCapture::StopFromCaptureThread() {
    Log::Write(
        "DesktopDuplicator StopAsyncCapture called from capture thread; detach self to avoid self-join");
    // The owner may hold the control lock while it joins this very thread; its stop request then ends the
    // loop, and waiting for the lock would never end.
    std::unique_lock<std::mutex> lock(m_controlMutex, std::defer_lock);
    while (!lock.try_lock()) {
        if (t_loopStop != nullptr && t_loopStop->StopRequested())
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    m_ring.Close();
    m_thread.Stop(0, "DesktopDuplicator"); // on its own thread: detaches
}

bool DuplicatorCapture::TakeLatest(CaptureMode mode, std::vector<uint8_t>& bytes, int32_t& width,
                                   int32_t& height, int timeoutMs) {
    if (!m_ring.IsOpen() || m_mode.load() != mode)
        return false;
    return m_ring.TakeLatest(bytes, width, height, timeoutMs);
}

// Marks this thread as the capture loop of owner while the loop runs, also when a capture throws.
class DuplicatorCapture::LoopPresence {
public:
    LoopPresence(DuplicatorCapture& owner, const StopSignal& stop) : m_owner(owner) {
        ++m_owner.m_loopsAlive;
        t_loopOwner = &owner;
        t_loopStop = &stop;
    }
    ~LoopPresence() {
        t_loopOwner = nullptr;
        t_loopStop = nullptr;
        --m_owner.m_loopsAlive; // the last use of the owner
    }
    LoopPresence(const LoopPresence&) = delete;
    LoopPresence& operator=(const LoopPresence&) = delete;

private:
    DuplicatorCapture& m_owner;
};

void DuplicatorCapture::Loop(const StopSignal& stop) {
    LoopPresence presence(*this, stop);
    const CaptureMode mode = m_mode.load();
    const int32_t maxWidth = m_maxWidth.load();
    const int32_t maxHeight = m_maxHeight.load();
    CapturedFrame frame;
    uint64_t windowStart = m_now();
    uint32_t framesInWindow = 0;
    uint64_t lastCaptureStart = 0;
    bool captured = false;
    while (!stop.StopRequested()) {
        const uint64_t now = m_now();
        if (now - windowStart >= kFpsWindowMs) {
            m_fps = framesInWindow;
            framesInWindow = 0;
            windowStart = now;
        }
        const uint32_t interval = m_ring.IntervalMs();
        if (interval > 0 && captured && now - lastCaptureStart < interval) {
            m_ring.WaitPacing(static_cast<uint32_t>(interval - (now - lastCaptureStart)), interval, stop);
            if (stop.StopRequested())
                break;
        }
        lastCaptureStart = m_now();
        captured = true;
        const CaptureStatus status = m_step.CaptureOne(mode, maxWidth, maxHeight, frame);
        m_status = status;
        if (status == CaptureStatus::FrameDelivered) {
            // A thread that was told to stop publishes nothing more; a new run may own the ring already.
            if (stop.StopRequested())
                break;
            m_ring.Publish(frame);
            ++framesInWindow;
        } else if (status == CaptureStatus::NoNewFrame) {
            stop.WaitFor(kSleepAfterTimeoutMs);
        } else {
            m_ring.WakeAll();
            stop.WaitFor(kSleepAfterFailureMs);
        }
    }
    Log::Write(mode == CaptureMode::GpuNv12 ? "DesktopDuplicator async NV12 thread exited"
                                            : "DesktopDuplicator async thread exited");
}
