#include <windows.h>

#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/ThreadHelpers.h"
#include "core/Utf.h"
#include "dragdrop/RemoteDragOffer.h"
#include "dragdrop/VirtualScreenLink.h"
#include "dragdrop/win/LocalDragMonitor.h"
#include "dragdrop/win/VirtualScreen.h"
#include "dragdrop/win/VirtualScreenState.h"

// Local files dropped at the edge. The UI thread moves the cursor to the peer; a short worker waits for the
// peer to apply it and offers the files; its result comes back to the UI thread, which ends the drop.
namespace {

constexpr DWORD kDropCursorSettleMs = 260;

bool UpdateDropCursor(int32_t mode, POINT point, const char* reason) {
    VirtualScreenState& s = VsState();
    if (mode == 0)
        return false;
    if (!VirtualScreen::IsInputReady()) {
        Log::Write("[VSCREEN][DROP] cursor update skipped reason=%s input-not-ready mode=%d", reason, mode);
        return false;
    }
    if (s.active.load()) {
        s.motion.SetSize(VsRemoteSize());
        VirtualScreen::SendCursorMove(true);
        const ScreenPoint r = s.motion.Remote();
        const RemoteScreenSize size = s.motion.Size();
        Log::Write("[VSCREEN][DROP] cursor update active reason=%s mode=%d local=%ld,%ld remote=%d,%d "
                   "size=%dx%d localFileDrag=%d",
                   reason, mode, point.x, point.y, r.x, r.y, size.width, size.height,
                   s.localFileDrag.load() ? 1 : 0);
        return true;
    }
    VirtualScreenEnter(mode, point, ReasonOr(reason, "virtual-drop-enter"));
    if (!s.active.load()) {
        Log::Write("[VSCREEN][DROP] cursor update skipped reason=%s virtual-scope-not-active mode=%d", reason,
                   mode);
        return false;
    }
    VirtualScreen::SendCursorMove(true);
    const ScreenPoint r = s.motion.Remote();
    const RemoteScreenSize size = s.motion.Size();
    Log::Write("[VSCREEN][DROP] cursor update reason=%s mode=%d local=%ld,%ld remote=%d,%d size=%dx%d",
               reason, mode, point.x, point.y, r.x, r.y, size.width, size.height);
    return true;
}

void QueueCompletion(DropCompletion done) {
    VirtualScreenState& s = VsState();
    {
        std::lock_guard<std::mutex> lock(s.completionMutex);
        s.completions.push_back(std::move(done));
    }
    if (HWND manager = s.manager)
        ::PostMessageW(manager, kMsgDropDone, 0, 0);
}

void FinishDrop(const DropCompletion& done) {
    VirtualScreenState& s = VsState();
    if (s.localFileDrag.exchange(false) && s.dragVisualSent.load())
        VirtualScreen::SendDragVisualState(false, "virtual-screen-drop-complete");
    if (!done.wasActive && s.active.load())
        VirtualScreenLeave("virtual-drop-transient-complete");
    const ScreenPoint r = s.motion.Remote();
    Log::Write("[VSCREEN][DROP] reason=%s count=%u ok=%d first=%s remote=%d,%d localFileDrag=%d",
               done.reason.c_str(), done.count, done.ok ? 1 : 0, done.first.c_str(), r.x, r.y,
               s.localFileDrag.load() ? 1 : 0);
}

} // namespace

void VsDrainDropCompletions() {
    std::vector<DropCompletion> done;
    {
        VirtualScreenState& s = VsState();
        std::lock_guard<std::mutex> lock(s.completionMutex);
        done.swap(s.completions);
    }
    for (const DropCompletion& d : done)
        FinishDrop(d);
}

namespace VirtualScreen {

bool DropFilesToRemote(const std::vector<std::u16string>& paths, POINT point, int32_t mode,
                       const char* reason) {
    reason = ReasonOr(reason, "edge-drop");
    if (paths.empty())
        return false;
    const auto count = static_cast<unsigned>(paths.size());
    if (!IsInputReady()) {
        Log::Write("[VSCREEN][DROP] skipped reason=%s input-not-ready count=%u", reason, count);
        return false;
    }
    VirtualScreenState& s = VsState();
    const DWORD now = ::GetTickCount();
    s.lastLocalDropTick.store(now != 0 ? now : 1);
    RemoteDragOffer().CancelForLocalDrop("local-files-dropped-into-remoteview");
    RuntimeSetDropReady(false, 0, 0, nullptr);
    RuntimeSetRemoteDrag(false, 0, 0, 0, 0, "");
    RuntimeSetLocalDrag(0, false, 0, 0, "");
    Log::Write("[DRAGMON][LOCAL->REMOTE] drop into RemoteView: suppress local HTTP receive for this physical "
               "drop id=%llu",
               static_cast<unsigned long long>(LocalDragMonitorGestureId()));

    DropCompletion done;
    done.reason = reason;
    done.first = Utf16ToUtf8(paths.front());
    done.count = count;
    done.wasActive = s.active.load();
    UpdateDropCursor(mode, point, reason);

    std::string error;
    const bool started = StartDetachedWorker(
        "VirtualScreenDrop",
        [paths, done]() mutable {
            ::Sleep(kDropCursorSettleMs);
            done.ok = VirtualScreenLink().OfferDroppedFiles(paths);
            QueueCompletion(std::move(done));
        },
        &error);
    if (!started) {
        Log::Write("[VSCREEN][DROP][ERR] drop worker failed reason=%s what=%s", reason, error.c_str());
        FinishDrop(done);
    }
    return started;
}

} // namespace VirtualScreen
