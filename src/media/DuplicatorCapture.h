#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

#include "core/WorkerThread.h"
#include "media/CaptureFrameRing.h"
#include "media/CaptureTypes.h"

// Captures one frame in the thread's mode; the desktop duplicator implements it over Direct3D.
class ICaptureStep {
public:
    virtual ~ICaptureStep() = default;
    // Fills frame (whose buffer may be reused) and returns FrameDelivered, or returns why there is none.
    virtual CaptureStatus CaptureOne(CaptureMode mode, int32_t maxWidth, int32_t maxHeight,
                                     CapturedFrame& frame) = 0;
};

// The duplicator's capture thread: start and stop under one control lock, the capture loop (frames per
// second, pacing, capture, publish, short sleeps after failures) and the hand-out of the newest frame.
//
// Start, Stop and the getters are for the owning thread; Stop may also come from the capture thread
// itself, which then is detached instead of joined. TakeLatest is for one consumer at a time.
class DuplicatorCapture {
public:
    using NowMs = uint64_t (*)();

    // now: the loop's clock for the frames-per-second count; null is the steady clock.
    explicit DuplicatorCapture(ICaptureStep& step, NowMs now = nullptr);
    ~DuplicatorCapture(); // Stop
    DuplicatorCapture(const DuplicatorCapture&) = delete;
    DuplicatorCapture& operator=(const DuplicatorCapture&) = delete;

    enum class StartResult { Started, AlreadyRunning, Failed };
    // Starts the thread ("DesktopDuplicatorAsync" or "DesktopDuplicatorAsyncNV12"); a thread that is still
    // running is left alone (AlreadyRunning), one that has ended is joined first. maxWidth and maxHeight
    // apply to the CPU mode only.
    StartResult Start(CaptureMode mode, int32_t maxWidth, int32_t maxHeight);
    void Stop();

    // The newest frame of mode, as CaptureFrameRing::TakeLatest; false at once unless a thread of that mode
    // runs.
    bool TakeLatest(CaptureMode mode, std::vector<uint8_t>& bytes, int32_t& width, int32_t& height,
                    int timeoutMs);

    bool Running() const { return m_ring.IsOpen(); }
    CaptureMode Mode() const { return m_mode.load(); }
    CaptureStatus Status() const { return m_status.load(); }
    // Sets the status as Shutdown leaves it.
    void ResetStatus() { m_status = CaptureStatus::NoNewFrame; }
    uint32_t CapturedFps() const { return m_fps.load(); }
    void SetIntervalMs(uint32_t intervalMs) { m_ring.SetIntervalMs(intervalMs); }

private:
    class LoopPresence;
    void Loop(const StopSignal& stop);
    void StopFromCaptureThread();

    ICaptureStep& m_step;
    NowMs m_now;
    std::mutex m_controlMutex;
    WorkerThread m_thread; // under m_controlMutex
    CaptureFrameRing m_ring;
    std::atomic<CaptureMode> m_mode{CaptureMode::CpuBgra};
    std::atomic<int32_t> m_maxWidth{0};
    std::atomic<int32_t> m_maxHeight{0};
    std::atomic<CaptureStatus> m_status{CaptureStatus::NoNewFrame};
    std::atomic<uint32_t> m_fps{0};
    std::atomic<int> m_loopsAlive{0}; // loops that have not yet left, detached ones included
};
