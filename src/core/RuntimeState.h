#pragma once

#include <cstdint>
#include <string>

// The runtime state record, the one process-wide record of what Tessaly is doing right now as
// the user interface, the diagnostics and the crash report show it.
//
// Design decisions:
//
// * Session sync. The runtime side owns RuntimeSyncSessionState: RuntimeSetProgramState and RuntimeSetRole
//   call it after every store (changed or not), then raise the change notice when the value changed. No
//   other code needs to call it; StateManager::SetUnifiedState stores program state and role
//   (in this order) only through these two setters. The sync calls StateManager setters, which log: the
//   two setters must not be called under the runtime mutex or a StateManager mutex (they never are).
//
// * Lock order. The runtime mutex guards only the texts and is held only to compare and copy them. It is
//   always released before a StateManager mutex is taken (RuntimeSetStatusMessage, RuntimeSetErrorText,
//   RuntimeSetActivePeer), before any bus call and before any log line. The two are never held together.
//
// * Logging. Nothing logs while holding the runtime mutex, the StateManager's mutexes (status text, peer
//   text, channel report, seams) or a bus mutex (EventBus, CommandBus queue and handler); every line is
//   written after release, and these mutexes are private to the files that own them. Every other lock of
//   the program may be held while logging. Callers of these setters may hold their own locks (and may log
//   under them): the setters take only the leaf locks above.
//   The log writer's error-text sink (RuntimeLogErrorTextSink, install with Log::SetErrorTextSink) runs
//   after the line is written and takes only those leaf locks, so it cannot deadlock a logging caller.
//   The notice it raises publishes a type-1 event whose handlers run inside that Log::Write (see
//   EventBus.h: type-1 handlers take no lock).
//
// * Crash path. The crash filter first calls RuntimeEnterCrashPath(): from then on the sink
//   only try-locks and raises no notice. It then uses RuntimeTryMakeSnapshot and RuntimeSetErrorTextNoWait,
//   which never block (a text whose lock is busy is left out).
//
// * Window. The main window is an opaque integer (its HWND). Posting the runtime-state message 0x8420, the
//   drag-connection message 0x8430 (StateManager) and invalidating the window go through an injected
//   IRuntimeWindowPoster; src/core/win/RuntimeNotifierWin.cpp has the Win32 one. Without a poster every
//   post counts as failed.
//
// * Notice protocol (RuntimeNotifyChanged): compare-exchange the pending flag 0 -> 1 (already 1: return);
//   publish command 500 "runtime.state.changed" ("program=%d role=%d"); publish TslyEvent type 1; post
//   0x8420 to the main window. When there is no main window, or the post fails, the pending flag is
//   cleared at once, since a flag left set would stop every later notice and every drain (a failed post logs
//   "[RUNTIME][NOTIFY][WARN] post 0x8420 not delivered hwnd=0x%llx gle=%lu", at most once per 5 s). The main
//   window calls RuntimeClearNotifyPending() first when it handles 0x8420, then drains the CommandBus (whose
//   backlog re-raises the notice) and repaints.
//
// * The remote-view flag that StateManager's "clear view" clears is keyboardActive, the RemoteView
//   keyboard-active flag (the session controller clears it the same way on peer loss). There is no other
//   remote-view field.
//
// * Process-wide objects (the record, the default buses) are created with new and never destroyed.

class EventBus;
class CommandBus;
class StateManager;
struct CommandMessage;

enum class ProgramState : int32_t {
    Idle = 0,
    HostStarting = 1,
    HostRunning = 2,
    ClientStarting = 3,
    Connecting = 4,
    Controlling = 5,
    Controlled = 6,
    Switching = 7,
    PeerLost = 8,
    Error = 9,
    Stopping = 10,
};

enum class RuntimeRole : int32_t {
    None = 0,
    Controller = 1,
    Controlled = 2,
    Switching = 3,
};

// "IDLE", "HOST STARTING", ..., "STOPPING" for 0..10, else "UNKNOWN".
const char* ProgramStateName(int32_t state);

// The opaque main-window handle (an HWND on Windows); 0 = none.
using RuntimeWindow = uintptr_t;

// Runtime-state message posted to the main window; drag-connection message (wParam 1 connected, 0 not).
constexpr uint32_t kRuntimeStateMessage = 0x8420;
constexpr uint32_t kDragServiceMessage = 0x8430;

// The window-facing calls, injected so that the record stays Windows-free.
class IRuntimeWindowPoster {
public:
    virtual ~IRuntimeWindowPoster() = default;
    // PostMessage(window, message, wParam, 0); on failure returns false with the system error.
    virtual bool Post(RuntimeWindow window, uint32_t message, uintptr_t wParam, uint32_t& error) = 0;
    // InvalidateRect(window, whole client area, erase).
    virtual void Invalidate(RuntimeWindow window) = 0;
};

// Installs the poster (process-wide; the poster must live to the end of the process). Null: none.
void RuntimeSetWindowPoster(IRuntimeWindowPoster* poster);
IRuntimeWindowPoster* RuntimeWindowPoster();

// Where the record sends its notices and mirrors. Null members mean the process-wide objects
// (EventBus::Instance(), CommandBus::Instance(), StateManager::Instance()). Tests bind their own and
// restore the previous binding afterwards; production never calls it.
struct RuntimeBindings {
    EventBus* events = nullptr;
    CommandBus* commands = nullptr;
    StateManager* stateManager = nullptr;
};
RuntimeBindings RuntimeBind(const RuntimeBindings& bindings); // returns the previous binding
EventBus& RuntimeEventBus();
CommandBus& RuntimeCommandBus();
StateManager& RuntimeStateManager();

// A consistent-enough copy of every field except the pending flag.
struct RuntimeSnapshot {
    bool appRunning = false;
    bool hostRunning = false;
    bool clientRunning = false;
    int32_t programState = 0;
    int32_t role = 0;
    RuntimeWindow mainWindow = 0;
    RuntimeWindow remoteView = 0, controlView = 0, stateView = 0; // the main window's children
    uint32_t streamWidth = 0, streamHeight = 0;
    uint32_t desktopWidth = 0, desktopHeight = 0;
    bool keyboardActive = false;
    int32_t hostCaptureFps = 0, hostEncodeFps = 0, hostSendFps = 0, hostKbps = 0;
    int32_t clientReceiveFps = 0, clientDecodeFps = 0, clientDrawFps = 0, clientKbps = 0;
    int32_t mouseX = 0, mouseY = 0;
    bool mouseLeft = false, mouseRight = false, mouseMiddle = false;
    bool httpRunning = false;
    uint32_t httpPort = 0;
    uint32_t httpActiveDownloads = 0;
    uint64_t httpLastBytes = 0;
    std::string httpLastFile;
    uint32_t screenWidth = 0, screenHeight = 0;
    uint32_t dpi = 96;
    uint32_t dpiScalePercent = 100;
    uint32_t controlUiScalePercent = 100;
    std::string cursorPath;
    bool localDragActive = false;
    int32_t localDragCount = 0;
    uint64_t localDragBytes = 0;
    uint8_t localDragFlag = 0;
    std::string localDragPath;
    bool dropReady = false;
    int32_t dropCount = 0;
    uint64_t dropBytes = 0;
    std::string dropTarget;
    bool remoteDragActive = false;
    int32_t remoteDragCount = 0;
    uint64_t remoteDragBytes = 0;
    uint8_t remoteDragDirection = 0;
    uint64_t remoteDragId = 0;
    std::string remoteDragPath;
    int32_t channelStates[4] = {0, 0, 0, 0}; // Video, Input, Audio, Clipboard
    std::string statusMessage;
    std::string errorText;
    std::string peerIp, peerName;
    std::string peerVersion;
    uint32_t clipboardItemKind = 0;
    int32_t clipboardItemCount = 0;
    std::string clipboardItemText;
};

// Sets every field to its initial value and the four channel states to 0, and clears the pending flag.
// The record starts in that state (constant initialisation); tests call it between cases.
void RuntimeStateReset();

// Reads every scalar atomically, then copies every text under the runtime mutex (inside the stall scope
// "RuntimeState"/"RuntimeMakeSnapshot", 20 ms).
RuntimeSnapshot RuntimeMakeSnapshot();
// The crash-path copy: the scalars, and the texts only when the runtime mutex is free at once. Returns
// whether the texts were copied. Never blocks.
bool RuntimeTryMakeSnapshot(RuntimeSnapshot& snapshot);

// The change notice (protocol above).
void RuntimeNotifyChanged();
// Main window, on 0x8420: clears the pending flag; returns whether it was set.
bool RuntimeClearNotifyPending();
bool RuntimeIsNotifyPending();

// --- Setters with their own rules. Each returns whether a stored value changed; those that notify do so
// only on a change unless noted.
bool RuntimeSetHostRunning(bool running);   // mirrors StateManager::SetHostRunning always; notifies
bool RuntimeSetClientRunning(bool running); // mirrors StateManager::SetClientRunning always; notifies
bool RuntimeSetDesktopSize(uint32_t width, uint32_t height); // mirrors the StateManager copy; notifies
bool RuntimeSetStreamSize(uint32_t width, uint32_t height);  // mirrors the StateManager copy; notifies
void RuntimeSetHostVideoStats(int32_t captureFps, int32_t encodeFps, int32_t sendFps,
                              int32_t kbps); // never notifies
// A negative count is stored as 0; always calls StateManager::SetLocalDrag(active, count); notifies.
bool RuntimeSetLocalDrag(int32_t count, bool active, uint64_t bytes, uint8_t flag, const char* path);
bool RuntimeSetDropReady(bool ready, int32_t count, uint64_t bytes, const char* target); // notifies
// A negative count is stored as 0; always calls StateManager::SetRemoteDrag(active, count); notifies.
bool RuntimeSetRemoteDrag(bool active, int32_t count, uint64_t bytes, uint8_t direction, uint64_t dragId,
                          const char* path);
// Null counts as empty. Stores under the runtime mutex, releases it, then stores the StateManager's
// status (last-error) text under its mutex; notifies. Never logs.
bool RuntimeSetStatusMessage(const char* text);
bool RuntimeSetErrorText(const char* text);
void RuntimeSetStatusMessageAndRepaint(const char* text); // then invalidates the main window when it exists
// Stores both; when either changed calls StateManager::SetActivePeer(ip, name) and notifies.
bool RuntimeSetActivePeer(const char* ip, const char* name);
bool RuntimeSetPeerVersion(const char* version); // notifies
// Stores kind, count and text; mirrors max(count, 0) into StateManager::SetClipboardItemCount (which logs
// "[STATE] clipboardItemCount=%d" and the transition); always notifies.
void RuntimeSetClipboardItemCount(uint32_t kind, int32_t count, const char* text);

// --- Setters of plain fields: store and return whether the value changed; the caller decides whether to
// notify. RuntimeSetProgramState and RuntimeSetRole are the exception: they sync (always) and notify (on a
// change).
bool RuntimeSetAppRunning(bool running);
bool RuntimeSetProgramState(int32_t state);
inline bool RuntimeSetProgramState(ProgramState state) {
    return RuntimeSetProgramState(static_cast<int32_t>(state));
}
bool RuntimeSetRole(int32_t role);
inline bool RuntimeSetRole(RuntimeRole role) {
    return RuntimeSetRole(static_cast<int32_t>(role));
}
bool RuntimeSetMainWindow(RuntimeWindow window);
// The main window's children (0 = none): RemoteView, ControlView and StateView.
bool RuntimeSetRemoteViewWindow(RuntimeWindow window);
bool RuntimeSetControlViewWindow(RuntimeWindow window);
bool RuntimeSetStateViewWindow(RuntimeWindow window);
bool RuntimeSetKeyboardActive(bool active);
bool RuntimeSetClientVideoStats(int32_t receiveFps, int32_t decodeFps, int32_t drawFps, int32_t kbps);
bool RuntimeSetClientDrawFps(int32_t drawFps); // the render thread's own count, once a second
bool RuntimeSetMouseState(int32_t x, int32_t y, bool left, bool right, bool middle);
bool RuntimeSetHttpServer(bool running, uint32_t port);
bool RuntimeSetHttpActiveDownloads(int32_t count); // a negative count is stored as 0
bool RuntimeSetHttpLastBytes(uint64_t bytes);
bool RuntimeSetHttpLastFile(const char* path);
bool RuntimeSetScreenScale(uint32_t width, uint32_t height, uint32_t dpi, uint32_t dpiScalePercent,
                           uint32_t controlUiScalePercent);
bool RuntimeSetCursorPath(const char* path);
// Channel 0..3 (Video, Input, Audio, Clipboard). A channel outside 0..3 is refused: nothing is stored,
// "[RUNTIME][WARN] channel state refused channel=%d state=%d" is logged and false returned. oldState (when
// given) receives the previous value (the new one when refused).
bool RuntimeSetChannelState(int channel, int32_t state, int32_t* oldState = nullptr);

// --- Session sync: derives the StateManager's session mode, controller, controlled, reconnecting and
// session peerLost flags from the program state and role now stored. Called by
// RuntimeSetProgramState and RuntimeSetRole; callable by anyone, holds no lock.
void RuntimeSyncSessionState();
// The mapping used by the sync: program state (and role) -> SessionMode value.
int32_t RuntimeSessionModeFor(int32_t programState, int32_t role);

// --- Single values (atomic reads).
bool RuntimeIsAppRunning();
bool RuntimeIsHostRunning();
bool RuntimeIsClientRunning();
int32_t RuntimeGetProgramState();
int32_t RuntimeGetRole();
RuntimeWindow RuntimeGetMainWindow();
RuntimeWindow RuntimeGetRemoteViewWindow();
RuntimeWindow RuntimeGetControlViewWindow();
RuntimeWindow RuntimeGetStateViewWindow();
bool RuntimeIsKeyboardActive();
int32_t RuntimeGetChannelState(int channel); // 0 for a channel outside 0..3

// --- Summary: one line of at most 511 bytes; the status and error texts are cut
// (never inside a UTF-8 character) so the line fits. Written by the crash handler and the guard.
std::string RuntimeFormatSummary(const RuntimeSnapshot& snapshot);
constexpr size_t kRuntimeSummaryMax = 511;

// --- Log and crash hooks.
// The log writer's error-text sink: Log::SetErrorTextSink(&RuntimeLogErrorTextSink). Normally
// RuntimeSetErrorText(line); after RuntimeEnterCrashPath() RuntimeSetErrorTextNoWait(line).
void RuntimeLogErrorTextSink(const char* line);
// Switches the sink to the no-wait variant for the rest of the process (crash filter, terminate handler).
void RuntimeEnterCrashPath();
bool RuntimeInCrashPath();
// Stores the error text (and the StateManager's last-error text) only if each mutex can be taken at once;
// raises no notice and never blocks or logs.
void RuntimeSetErrorTextNoWait(const char* text);

// --- For command publishers: publish on the process-wide CommandBus
// and raise the change notice, so the command is drained without waiting for an unrelated change.
uint64_t RuntimePublishCommand(CommandMessage message);
