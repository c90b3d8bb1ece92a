#include "media/win/RemoteViewRenderer.h"

#include <windows.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <utility>

#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/WorkerThread.h"
#include "media/ControllerSessionLive.h"
#include "media/RemoteViewCover.h"
#include "media/RemoteViewFrame.h"
#include "media/RemoteViewFrameQueue.h"
#include "media/RenderPacing.h"
#include "media/VideoLimits.h"
#include "media/win/Renderer.h"

namespace {

constexpr auto kInitWait = std::chrono::milliseconds(3000);
constexpr auto kBlackWait = std::chrono::milliseconds(120);
// How long a start waits for the thread of an earlier run to leave. That thread leaves within one queue
// wait (100 ms) plus one draw once its generation is gone; a Present that waits on the window's thread can
// hold it longer, so the wait is bounded and the start refused rather than hanging its caller.
constexpr uint32_t kPreviousExitWaitMs = 2000;
constexpr int kFailuresBeforeRecreate = 5;
constexpr uint64_t kRateIntervalMs = 1000;
constexpr uint64_t kStatIntervalMs = 3000;

struct RendererShared {
    std::mutex mutex; // guards the fields up to initOk and wakes the starter through initChanged
    std::condition_variable initChanged;
    bool running = false;
    unsigned long generation = 0;
    bool initDone = false;
    bool initOk = false;
    int32_t width = 0;
    int32_t height = 0;

    std::atomic<bool> blackPresented{false};
    std::mutex blackMutex; // guards the two black sequences
    std::condition_variable blackChanged;
    unsigned long blackRequested = 0;
    unsigned long blackDone = 0;

    // Starts are serialised by this lock, which also owns the thread object. Stop never takes it: the UI
    // thread must not wait behind a start that waits for a render thread.
    std::mutex startMutex;
    WorkerThread thread;
};

RendererShared& Shared() {
    static RendererShared* shared = new RendererShared();
    return *shared;
}

HWND TargetWindow() {
    RuntimeWindow window = RuntimeGetRemoteViewWindow();
    if (window == 0)
        window = RuntimeGetMainWindow();
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(window));
}

bool GenerationCurrent(unsigned long generation) {
    RendererShared& s = Shared();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.running && s.generation == generation;
}

void PublishBlackPresented() {
    RendererShared& s = Shared();
    s.blackPresented.store(true);
    {
        // Black frames are alike and only the newest record waits, so every request made until now is
        // answered by this present (a request pushed after the pop is answered one draw early at worst).
        std::lock_guard<std::mutex> lock(s.blackMutex);
        s.blackDone = s.blackRequested;
    }
    s.blackChanged.notify_all();
}

bool DrawPicture(Renderer& renderer, const RemoteViewFrame& frame) {
    if (frame.pixelFormat == kRemoteViewPixelNV12) {
        return renderer.RenderNv12(frame.pixels.data(), frame.pixels.size(), frame.width, frame.height,
                                   frame.sourceWidth, frame.sourceHeight, 0, 0);
    }
    return renderer.RenderBgra(frame.pixels.data(), frame.pixels.size(), frame.width, frame.height,
                               frame.sourceWidth, frame.sourceHeight, frame.stride);
}

void RenderLoop(const StopSignal& stop, int32_t width, int32_t height, unsigned long generation) {
    ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
    RendererShared& s = Shared();
    const HWND window = TargetWindow();
    Renderer renderer;
    const bool ok = renderer.Init(window, width, height);
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        if (s.generation == generation) {
            s.initDone = true;
            s.initOk = ok;
        }
    }
    s.initChanged.notify_all();
    Log::Write("RemoteView render thread init gen=%lu hwnd=%p size=%dx%d result=%d", generation,
               static_cast<void*>(window), width, height, ok ? 1 : 0);

    RemoteViewFrameQueue& queue = RemoteViewFrameQueue::Instance();
    RenderPacing pacing;
    RemoteViewFrame frame;
    uint64_t rendered = 0;
    uint64_t dropped = 0;
    uint64_t renderedThisSecond = 0;
    uint64_t rateTick = ::GetTickCount64();
    uint64_t statTick = rateTick;
    int failures = 0;
    bool alive = ok;
    while (alive && !stop.StopRequested() && GenerationCurrent(generation)) {
        const uint64_t now = ::GetTickCount64();
        if (now - rateTick >= kRateIntervalMs) {
            RuntimeSetClientDrawFps(static_cast<int32_t>(renderedThisSecond));
            renderedThisSecond = 0;
            rateTick = now;
        }
        if (now - statTick >= kStatIntervalMs) {
            Log::Write("RemoteView render stat rendered=%llu droppedOrUnsupported=%llu size=%dx%d",
                       static_cast<unsigned long long>(rendered), static_cast<unsigned long long>(dropped),
                       width, height);
            rendered = 0;
            dropped = 0;
            statTick = now;
        }
        if (!queue.Pop(frame))
            continue;

        if (frame.kind == kRemoteViewFrameBlackRequest) {
            renderer.RenderBlack();
            PublishBlackPresented();
            continue;
        }
        if (!IsControllerSessionLive()) {
            renderer.RenderBlack();
            s.blackPresented.store(true);
            ++dropped;
            continue;
        }
        const RenderPacing::Verdict verdict =
            pacing.Decide(::GetTickCount64(), renderer.ShouldSkipFrame(), ReadRemoteViewPresentPause());
        if (verdict == RenderPacing::Verdict::PresentPause)
            CountRemoteViewPresentPauseSkip();
        if (verdict != RenderPacing::Verdict::Draw ||
            (frame.pixelFormat != kRemoteViewPixelNV12 && frame.pixelFormat != kRemoteViewPixelBGRA)) {
            ++dropped;
            continue;
        }
        if (DrawPicture(renderer, frame)) {
            ++rendered;
            ++renderedThisSecond;
            failures = 0;
            continue;
        }
        Log::Write("RemoteView NV12 render failed gen=%lu frameSeq=%llu coded=%dx%d visible=%dx%d",
                   generation, static_cast<unsigned long long>(frame.sequence), frame.width, frame.height,
                   frame.sourceWidth, frame.sourceHeight);
        if (++failures >= kFailuresBeforeRecreate) {
            Log::Write("RemoteView recreating renderer after consecutive NV12 failures gen=%lu", generation);
            renderer.Release();
            alive = renderer.Init(TargetWindow(), width, height);
            Log::Write("RemoteView renderer recreate result=%d gen=%lu", alive ? 1 : 0, generation);
            failures = 0;
        }
    }

    RuntimeSetClientDrawFps(0);
    renderer.Release();
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        if (s.generation == generation)
            s.running = false;
    }
    Log::Write("RemoteView render thread exit gen=%lu", generation);
}

} // namespace

bool RemoteViewStartRenderer(int32_t width, int32_t height) {
    RendererShared& s = Shared();
    const HWND window = TargetWindow();
    if (window == nullptr || width < 1 || height < 1) {
        Log::Write("RemoteViewStartRenderer invalid hwnd=%p size=%dx%d", static_cast<void*>(window), width,
                   height);
        return false;
    }
    std::unique_lock<std::mutex> startLock(s.startMutex);
    if (RemoteViewIsRendererRunning())
        RemoteViewStopRenderer();

    // A window holds one flip-model swap chain: the thread of the previous run must have released its
    // renderer before the new thread creates one, or the new swap chain fails. Stop only signals (it may run
    // on the window's thread, which a Present can be waiting on); the wait happens here instead.
    if (s.thread.Active()) {
        if (!s.thread.WaitEnded(kPreviousExitWaitMs)) {
            Log::Write(
                "RemoteViewStartRenderer previous render thread still running after %lums; start refused",
                static_cast<unsigned long>(kPreviousExitWaitMs));
            return false;
        }
        s.thread.Stop(0, "RemoteViewRenderer");
    }

    s.blackPresented.store(false);
    unsigned long generation = 0;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        generation = ++s.generation;
        s.initDone = false;
        s.initOk = false;
        s.width = width;
        s.height = height;
        s.running = true;
    }
    RemoteViewFrameQueue::Instance().Open();

    std::string error;
    const bool started = s.thread.Start(
        "RemoteViewRenderer",
        [width, height, generation](const StopSignal& stop) { RenderLoop(stop, width, height, generation); },
        &error);
    if (!started) {
        Log::Write("RemoteViewStartRenderer create thread exception: %s", error.c_str());
        {
            std::lock_guard<std::mutex> lock(s.mutex);
            s.running = false;
        }
        RemoteViewFrameQueue::Instance().Stop();
        return false;
    }

    bool ok = false;
    bool timedOut = false;
    {
        std::unique_lock<std::mutex> lock(s.mutex);
        timedOut = !s.initChanged.wait_for(lock, kInitWait,
                                           [&] { return s.generation != generation || s.initDone; });
        ok = !timedOut && s.generation == generation && s.initOk;
    }
    if (timedOut) {
        Log::Write("RemoteViewStartRenderer timeout waiting for render thread init");
        RemoteViewStopRenderer();
    }
    Log::Write("RemoteViewStartRenderer size=%dx%d result=%d", width, height, ok ? 1 : 0);
    return ok;
}

void RemoteViewStopRenderer() {
    RendererShared& s = Shared();
    IRemoteViewCover* cover = RemoteViewCover();
    if (cover != nullptr)
        cover->Show(true);
    const bool presented = RemoteViewPresentBlackAndWait();
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        ++s.generation;
        s.running = false;
        s.initDone = false;
        s.initOk = false;
        s.width = 0;
        s.height = 0;
    }
    s.initChanged.notify_all();
    RemoteViewFrameQueue::Instance().Stop();
    if (!presented && cover != nullptr)
        cover->PaintBlack();
    s.blackPresented.store(true);
    Log::Write("RemoteViewStopRenderer blackPresented=%d signal done", presented ? 1 : 0);
}

bool RemoteViewIsRendererReady() {
    RendererShared& s = Shared();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.running && s.initDone && s.initOk;
}

bool RemoteViewIsRendererRunning() {
    RendererShared& s = Shared();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.running;
}

bool RemoteViewPresentBlackAndWait() {
    RendererShared& s = Shared();
    if (!RemoteViewIsRendererReady())
        return false;
    std::unique_lock<std::mutex> lock(s.blackMutex);
    const unsigned long sequence = ++s.blackRequested;
    if (!RemoteViewFrameQueue::Instance().PushNewest(RemoteViewBlackRequest())) {
        --s.blackRequested;
        return false;
    }
    if (!s.blackChanged.wait_for(lock, kBlackWait, [&] { return s.blackDone >= sequence; })) {
        Log::Write("RemoteView immediate black wait timeout seq=%lu", sequence);
        return false;
    }
    return true;
}

void RemoteViewSetSizeMoveActive(bool active) {
    Renderer::SetSizeMoveActive(active);
}

bool RemoteViewIsSizeMoveActive() {
    return Renderer::IsSizeMoveActive();
}

namespace {

bool SubmitFrame(RemoteViewFrame frame) {
    if (!IsControllerSessionLive() || !RemoteViewIsRendererRunning())
        return false;
    IRemoteViewCover* cover = RemoteViewCover();
    if (cover != nullptr && cover->IsShown())
        cover->Show(false);
    Shared().blackPresented.store(false);
    return RemoteViewFrameQueue::Instance().PushNewest(std::move(frame));
}

bool SizesAccepted(int32_t w, int32_t h, int32_t visibleW, int32_t visibleH) {
    return w > 0 && h > 0 && visibleW > 0 && visibleH > 0 && w <= kMaxVideoDimension &&
           h <= kMaxVideoDimension;
}

} // namespace

bool RemoteViewSubmitNv12Frame(const uint8_t* bytes, int32_t codedW, int32_t codedH, int32_t visibleW,
                               int32_t visibleH) {
    if (bytes == nullptr || !SizesAccepted(codedW, codedH, visibleW, visibleH))
        return false;
    if (!IsControllerSessionLive() || !RemoteViewIsRendererRunning())
        return false;
    RemoteViewFrame frame;
    frame.pixelFormat = kRemoteViewPixelNV12;
    frame.pixels.assign(bytes, bytes + Nv12PictureBytes(codedW, codedH));
    frame.width = codedW;
    frame.height = codedH;
    frame.sourceWidth = visibleW;
    frame.sourceHeight = visibleH;
    return SubmitFrame(std::move(frame));
}

bool RemoteViewSubmitBgraFrame(const uint8_t* bytes, int32_t w, int32_t h, int32_t visibleW, int32_t visibleH,
                               int32_t stride) {
    if (bytes == nullptr || !SizesAccepted(w, h, visibleW, visibleH))
        return false;
    const int64_t rowBytes = static_cast<int64_t>(w) * 4;
    const int64_t step = stride < 1 ? rowBytes : stride;
    if (step < rowBytes)
        return false;
    if (!IsControllerSessionLive() || !RemoteViewIsRendererRunning())
        return false;
    RemoteViewFrame frame;
    frame.pixelFormat = kRemoteViewPixelBGRA;
    frame.pixels.assign(bytes, bytes + static_cast<size_t>(step) * static_cast<size_t>(h));
    frame.width = w;
    frame.height = h;
    frame.sourceWidth = visibleW;
    frame.sourceHeight = visibleH;
    frame.stride = static_cast<int32_t>(step);
    return SubmitFrame(std::move(frame));
}
