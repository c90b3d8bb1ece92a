#include "core/RuntimeState.h"

#include <atomic>
#include <cstdio>
#include <mutex>
#include <string>
#include <utility>

#include "core/CommandBus.h"
#include "core/CommandBusPayload.h"
#include "core/EventBus.h"
#include "core/Log.h"
#include "core/LogThrottle.h"
#include "core/StallScope.h"
#include "core/StateManager.h"

// Lock rule of this file: g_record's textMutex is held only to compare and copy texts; no log line, bus
// call, StateManager call or poster call happens while it is held.

namespace {

struct RuntimeRecord {
    std::atomic<uint8_t> appRunning{0}, hostRunning{0}, clientRunning{0};
    std::atomic<int32_t> programState{0}, role{0};
    std::atomic<uintptr_t> mainWindow{0};
    std::atomic<uintptr_t> remoteView{0};
    std::atomic<uintptr_t> controlView{0};
    std::atomic<uintptr_t> stateView{0};
    std::atomic<uint32_t> streamWidth{0}, streamHeight{0}, desktopWidth{0}, desktopHeight{0};
    std::atomic<uint32_t> keyboardActive{0};
    std::atomic<int32_t> hostCaptureFps{0}, hostEncodeFps{0}, hostSendFps{0}, hostKbps{0};
    std::atomic<int32_t> clientReceiveFps{0}, clientDecodeFps{0}, clientDrawFps{0}, clientKbps{0};
    std::atomic<int32_t> mouseX{0}, mouseY{0};
    std::atomic<uint8_t> mouseLeft{0}, mouseRight{0}, mouseMiddle{0};
    std::atomic<uint8_t> httpRunning{0};
    std::atomic<uint32_t> httpPort{0}, httpActiveDownloads{0};
    std::atomic<uint64_t> httpLastBytes{0};
    std::atomic<uint32_t> screenWidth{0}, screenHeight{0}, dpi{96}, dpiScalePercent{100},
        controlUiScalePercent{100};
    std::atomic<uint8_t> localDragActive{0};
    std::atomic<int32_t> localDragCount{0};
    std::atomic<uint64_t> localDragBytes{0};
    std::atomic<uint8_t> localDragFlag{0};
    std::atomic<uint8_t> dropReady{0};
    std::atomic<int32_t> dropCount{0};
    std::atomic<uint64_t> dropBytes{0};
    std::atomic<uint8_t> remoteDragActive{0};
    std::atomic<int32_t> remoteDragCount{0};
    std::atomic<uint64_t> remoteDragBytes{0};
    std::atomic<uint8_t> remoteDragDirection{0};
    std::atomic<uint64_t> remoteDragId{0};
    std::atomic<int32_t> channelStates[4] = {{0}, {0}, {0}, {0}};
    std::atomic<uint32_t> clipboardItemKind{0};
    std::atomic<int32_t> clipboardItemCount{0};
    std::atomic<uint8_t> notifyPending{0};

    std::mutex textMutex; // the runtime mutex: guards the texts below
    std::string httpLastFile, cursorPath, localDragPath, dropTarget, remoteDragPath;
    std::string statusMessage, errorText, peerIp, peerName, peerVersion, clipboardItemText;
};

RuntimeRecord& R() {
    // Never destroyed: detached workers may still write it while the process exits.
    static RuntimeRecord* record = new RuntimeRecord();
    return *record;
}

std::atomic<IRuntimeWindowPoster*> g_poster{nullptr};
std::atomic<EventBus*> g_events{nullptr};
std::atomic<CommandBus*> g_commands{nullptr};
std::atomic<StateManager*> g_stateManager{nullptr};
std::atomic<bool> g_crashPath{false};

template <typename T, typename V> bool Store(std::atomic<T>& field, V value) {
    T v = static_cast<T>(value);
    return field.exchange(v) != v;
}

const char* OrEmpty(const char* text) {
    return text != nullptr ? text : "";
}

// Compares and stores one text; the caller holds textMutex.
bool StoreTextLocked(std::string& field, const char* text) {
    const char* t = OrEmpty(text);
    if (field == t)
        return false;
    field = t;
    return true;
}

bool StoreText(std::string& field, const char* text) {
    std::lock_guard<std::mutex> lock(R().textMutex);
    return StoreTextLocked(field, text);
}

void CopyScalars(RuntimeRecord& r, RuntimeSnapshot& s) {
    s.appRunning = r.appRunning.load() != 0;
    s.hostRunning = r.hostRunning.load() != 0;
    s.clientRunning = r.clientRunning.load() != 0;
    s.programState = r.programState.load();
    s.role = r.role.load();
    s.mainWindow = r.mainWindow.load();
    s.remoteView = r.remoteView.load();
    s.controlView = r.controlView.load();
    s.stateView = r.stateView.load();
    s.streamWidth = r.streamWidth.load();
    s.streamHeight = r.streamHeight.load();
    s.desktopWidth = r.desktopWidth.load();
    s.desktopHeight = r.desktopHeight.load();
    s.keyboardActive = r.keyboardActive.load() != 0;
    s.hostCaptureFps = r.hostCaptureFps.load();
    s.hostEncodeFps = r.hostEncodeFps.load();
    s.hostSendFps = r.hostSendFps.load();
    s.hostKbps = r.hostKbps.load();
    s.clientReceiveFps = r.clientReceiveFps.load();
    s.clientDecodeFps = r.clientDecodeFps.load();
    s.clientDrawFps = r.clientDrawFps.load();
    s.clientKbps = r.clientKbps.load();
    s.mouseX = r.mouseX.load();
    s.mouseY = r.mouseY.load();
    s.mouseLeft = r.mouseLeft.load() != 0;
    s.mouseRight = r.mouseRight.load() != 0;
    s.mouseMiddle = r.mouseMiddle.load() != 0;
    s.httpRunning = r.httpRunning.load() != 0;
    s.httpPort = r.httpPort.load();
    s.httpActiveDownloads = r.httpActiveDownloads.load();
    s.httpLastBytes = r.httpLastBytes.load();
    s.screenWidth = r.screenWidth.load();
    s.screenHeight = r.screenHeight.load();
    s.dpi = r.dpi.load();
    s.dpiScalePercent = r.dpiScalePercent.load();
    s.controlUiScalePercent = r.controlUiScalePercent.load();
    s.localDragActive = r.localDragActive.load() != 0;
    s.localDragCount = r.localDragCount.load();
    s.localDragBytes = r.localDragBytes.load();
    s.localDragFlag = r.localDragFlag.load();
    s.dropReady = r.dropReady.load() != 0;
    s.dropCount = r.dropCount.load();
    s.dropBytes = r.dropBytes.load();
    s.remoteDragActive = r.remoteDragActive.load() != 0;
    s.remoteDragCount = r.remoteDragCount.load();
    s.remoteDragBytes = r.remoteDragBytes.load();
    s.remoteDragDirection = r.remoteDragDirection.load();
    s.remoteDragId = r.remoteDragId.load();
    for (int i = 0; i < 4; ++i)
        s.channelStates[i] = r.channelStates[i].load();
    s.clipboardItemKind = r.clipboardItemKind.load();
    s.clipboardItemCount = r.clipboardItemCount.load();
}

// The caller holds textMutex.
void CopyTextsLocked(RuntimeRecord& r, RuntimeSnapshot& s) {
    s.httpLastFile = r.httpLastFile;
    s.cursorPath = r.cursorPath;
    s.localDragPath = r.localDragPath;
    s.dropTarget = r.dropTarget;
    s.remoteDragPath = r.remoteDragPath;
    s.statusMessage = r.statusMessage;
    s.errorText = r.errorText;
    s.peerIp = r.peerIp;
    s.peerName = r.peerName;
    s.peerVersion = r.peerVersion;
    s.clipboardItemText = r.clipboardItemText;
}

} // namespace

// --- Bindings and poster.

void RuntimeSetWindowPoster(IRuntimeWindowPoster* poster) {
    g_poster.store(poster);
}
IRuntimeWindowPoster* RuntimeWindowPoster() {
    return g_poster.load();
}

RuntimeBindings RuntimeBind(const RuntimeBindings& bindings) {
    RuntimeBindings previous;
    previous.events = g_events.exchange(bindings.events);
    previous.commands = g_commands.exchange(bindings.commands);
    previous.stateManager = g_stateManager.exchange(bindings.stateManager);
    return previous;
}

EventBus& RuntimeEventBus() {
    EventBus* bus = g_events.load();
    return bus != nullptr ? *bus : EventBus::Instance();
}

CommandBus& RuntimeCommandBus() {
    CommandBus* bus = g_commands.load();
    return bus != nullptr ? *bus : CommandBus::Instance();
}

StateManager& RuntimeStateManager() {
    StateManager* sm = g_stateManager.load();
    return sm != nullptr ? *sm : StateManager::Instance();
}

// --- Reset and snapshot.

void RuntimeStateReset() {
    RuntimeRecord& r = R();
    r.appRunning = 0;
    r.hostRunning = 0;
    r.clientRunning = 0;
    r.programState = 0;
    r.role = 0;
    r.mainWindow = 0;
    r.remoteView = 0;
    r.controlView = 0;
    r.stateView = 0;
    r.streamWidth = 0;
    r.streamHeight = 0;
    r.desktopWidth = 0;
    r.desktopHeight = 0;
    r.keyboardActive = 0;
    r.hostCaptureFps = 0;
    r.hostEncodeFps = 0;
    r.hostSendFps = 0;
    r.hostKbps = 0;
    r.clientReceiveFps = 0;
    r.clientDecodeFps = 0;
    r.clientDrawFps = 0;
    r.clientKbps = 0;
    r.mouseX = 0;
    r.mouseY = 0;
    r.mouseLeft = 0;
    r.mouseRight = 0;
    r.mouseMiddle = 0;
    r.httpRunning = 0;
    r.httpPort = 0;
    r.httpActiveDownloads = 0;
    r.httpLastBytes = 0;
    r.screenWidth = 0;
    r.screenHeight = 0;
    r.dpi = 96;
    r.dpiScalePercent = 100;
    r.controlUiScalePercent = 100;
    r.localDragActive = 0;
    r.localDragCount = 0;
    r.localDragBytes = 0;
    r.localDragFlag = 0;
    r.dropReady = 0;
    r.dropCount = 0;
    r.dropBytes = 0;
    r.remoteDragActive = 0;
    r.remoteDragCount = 0;
    r.remoteDragBytes = 0;
    r.remoteDragDirection = 0;
    r.remoteDragId = 0;
    for (auto& channel : r.channelStates)
        channel = 0;
    r.clipboardItemKind = 0;
    r.clipboardItemCount = 0;
    r.notifyPending = 0;
    std::lock_guard<std::mutex> lock(r.textMutex);
    for (std::string* text :
         {&r.httpLastFile, &r.cursorPath, &r.localDragPath, &r.dropTarget, &r.remoteDragPath,
          &r.statusMessage, &r.errorText, &r.peerIp, &r.peerName, &r.peerVersion, &r.clipboardItemText})
        text->clear();
}

RuntimeSnapshot RuntimeMakeSnapshot() {
    RuntimeSnapshot snapshot;
    RuntimeRecord& r = R();
    StallScope scope("RuntimeState", "RuntimeMakeSnapshot", 20);
    CopyScalars(r, snapshot);
    {
        // Released before the scope ends: the scope's end may log.
        std::lock_guard<std::mutex> lock(r.textMutex);
        CopyTextsLocked(r, snapshot);
    }
    return snapshot;
}

bool RuntimeTryMakeSnapshot(RuntimeSnapshot& snapshot) {
    RuntimeRecord& r = R();
    snapshot = RuntimeSnapshot();
    CopyScalars(r, snapshot);
    std::unique_lock<std::mutex> lock(r.textMutex, std::try_to_lock);
    if (!lock.owns_lock())
        return false;
    CopyTextsLocked(r, snapshot);
    return true;
}

// --- The change notice.

void RuntimeNotifyChanged() {
    RuntimeRecord& r = R();
    uint8_t expected = 0;
    if (!r.notifyPending.compare_exchange_strong(expected, 1))
        return; // a notice is already on its way

    RuntimeCommandBus().Publish(MakeRuntimeStateChangedCommand(r.programState.load(), r.role.load()));

    TslyEvent event;
    event.type = kEventRuntimeStateChanged;
    RuntimeEventBus().Publish(event);

    RuntimeWindow window = r.mainWindow.load();
    if (window == 0) {
        r.notifyPending.store(0);
        return;
    }
    uint32_t error = 0;
    IRuntimeWindowPoster* poster = g_poster.load();
    if (poster != nullptr && poster->Post(window, kRuntimeStateMessage, 0, error))
        return;
    // A notice that cannot reach the window must not keep the flag set, or no notice would
    // ever be posted again and the CommandBus would never be drained.
    r.notifyPending.store(0);
    if (LogThrottle::Allow("[RUNTIME][NOTIFY][WARN]", 5000))
        Log::Write("[RUNTIME][NOTIFY][WARN] post 0x8420 not delivered hwnd=0x%llx gle=%lu",
                   static_cast<unsigned long long>(window), static_cast<unsigned long>(error));
}

bool RuntimeClearNotifyPending() {
    return R().notifyPending.exchange(0) != 0;
}
bool RuntimeIsNotifyPending() {
    return R().notifyPending.load() != 0;
}

uint64_t RuntimePublishCommand(CommandMessage message) {
    uint64_t sequence = RuntimeCommandBus().Publish(std::move(message));
    RuntimeNotifyChanged();
    return sequence;
}

// --- Setters with their own rules.

bool RuntimeSetHostRunning(bool running) {
    bool changed = Store(R().hostRunning, running ? 1 : 0);
    RuntimeStateManager().SetHostRunning(running);
    if (changed)
        RuntimeNotifyChanged();
    return changed;
}

bool RuntimeSetClientRunning(bool running) {
    bool changed = Store(R().clientRunning, running ? 1 : 0);
    RuntimeStateManager().SetClientRunning(running);
    if (changed)
        RuntimeNotifyChanged();
    return changed;
}

bool RuntimeSetDesktopSize(uint32_t width, uint32_t height) {
    RuntimeRecord& r = R();
    bool changed = Store(r.desktopWidth, width);
    changed = Store(r.desktopHeight, height) || changed;
    RuntimeStateManager().SetDesktopSizeCopy(width, height);
    if (changed)
        RuntimeNotifyChanged();
    return changed;
}

bool RuntimeSetStreamSize(uint32_t width, uint32_t height) {
    RuntimeRecord& r = R();
    bool changed = Store(r.streamWidth, width);
    changed = Store(r.streamHeight, height) || changed;
    RuntimeStateManager().SetStreamSizeCopy(width, height);
    if (changed)
        RuntimeNotifyChanged();
    return changed;
}

void RuntimeSetHostVideoStats(int32_t captureFps, int32_t encodeFps, int32_t sendFps, int32_t kbps) {
    RuntimeRecord& r = R();
    r.hostCaptureFps.exchange(captureFps);
    r.hostEncodeFps.exchange(encodeFps);
    r.hostSendFps.exchange(sendFps);
    r.hostKbps.exchange(kbps);
}

bool RuntimeSetLocalDrag(int32_t count, bool active, uint64_t bytes, uint8_t flag, const char* path) {
    RuntimeRecord& r = R();
    if (count < 0)
        count = 0;
    bool changed = Store(r.localDragActive, active ? 1 : 0);
    changed = Store(r.localDragCount, count) || changed;
    changed = Store(r.localDragBytes, bytes) || changed;
    changed = Store(r.localDragFlag, flag) || changed;
    changed = StoreText(r.localDragPath, path) || changed;
    RuntimeStateManager().SetLocalDrag(active, count);
    if (changed)
        RuntimeNotifyChanged();
    return changed;
}

bool RuntimeSetDropReady(bool ready, int32_t count, uint64_t bytes, const char* target) {
    RuntimeRecord& r = R();
    bool changed = Store(r.dropReady, ready ? 1 : 0);
    changed = Store(r.dropCount, count) || changed;
    changed = Store(r.dropBytes, bytes) || changed;
    changed = StoreText(r.dropTarget, target) || changed;
    if (changed)
        RuntimeNotifyChanged();
    return changed;
}

bool RuntimeSetRemoteDrag(bool active, int32_t count, uint64_t bytes, uint8_t direction, uint64_t dragId,
                          const char* path) {
    RuntimeRecord& r = R();
    if (count < 0)
        count = 0;
    bool changed = Store(r.remoteDragActive, active ? 1 : 0);
    changed = Store(r.remoteDragCount, count) || changed;
    changed = Store(r.remoteDragBytes, bytes) || changed;
    changed = Store(r.remoteDragDirection, direction) || changed;
    changed = Store(r.remoteDragId, dragId) || changed;
    changed = StoreText(r.remoteDragPath, path) || changed;
    RuntimeStateManager().SetRemoteDrag(active, count);
    if (changed)
        RuntimeNotifyChanged();
    return changed;
}

bool RuntimeSetStatusMessage(const char* text) {
    std::string value = OrEmpty(text);
    bool changed;
    {
        std::lock_guard<std::mutex> lock(R().textMutex);
        changed = StoreTextLocked(R().statusMessage, value.c_str());
    }
    // The runtime mutex is released before the StateManager's is taken.
    RuntimeStateManager().SetStatusText(value);
    if (changed)
        RuntimeNotifyChanged();
    return changed;
}

bool RuntimeSetErrorText(const char* text) {
    std::string value = OrEmpty(text);
    bool changed;
    {
        std::lock_guard<std::mutex> lock(R().textMutex);
        changed = StoreTextLocked(R().errorText, value.c_str());
    }
    RuntimeStateManager().SetLastErrorText(value);
    if (changed)
        RuntimeNotifyChanged();
    return changed;
}

void RuntimeSetStatusMessageAndRepaint(const char* text) {
    RuntimeSetStatusMessage(text);
    RuntimeWindow window = R().mainWindow.load();
    IRuntimeWindowPoster* poster = g_poster.load();
    if (window != 0 && poster != nullptr)
        poster->Invalidate(window);
}

bool RuntimeSetActivePeer(const char* ip, const char* name) {
    RuntimeRecord& r = R();
    bool changed;
    {
        std::lock_guard<std::mutex> lock(r.textMutex);
        changed = StoreTextLocked(r.peerIp, ip);
        changed = StoreTextLocked(r.peerName, name) || changed;
    }
    if (changed) {
        RuntimeStateManager().SetActivePeer(ip, name);
        RuntimeNotifyChanged();
    }
    return changed;
}

bool RuntimeSetPeerVersion(const char* version) {
    bool changed = StoreText(R().peerVersion, version);
    if (changed)
        RuntimeNotifyChanged();
    return changed;
}

void RuntimeSetClipboardItemCount(uint32_t kind, int32_t count, const char* text) {
    RuntimeRecord& r = R();
    r.clipboardItemKind.exchange(kind);
    r.clipboardItemCount.exchange(count);
    RuntimeStateManager().SetClipboardItemCount(count > 0 ? count : 0);
    StoreText(r.clipboardItemText, text);
    RuntimeNotifyChanged();
}

// --- Setters of plain fields.

bool RuntimeSetAppRunning(bool running) {
    return Store(R().appRunning, running ? 1 : 0);
}

bool RuntimeSetProgramState(int32_t state) {
    bool changed = Store(R().programState, state);
    RuntimeSyncSessionState();
    if (changed)
        RuntimeNotifyChanged();
    return changed;
}

bool RuntimeSetRole(int32_t role) {
    bool changed = Store(R().role, role);
    RuntimeSyncSessionState();
    if (changed)
        RuntimeNotifyChanged();
    return changed;
}

bool RuntimeSetMainWindow(RuntimeWindow window) {
    return Store(R().mainWindow, window);
}
bool RuntimeSetRemoteViewWindow(RuntimeWindow window) {
    return Store(R().remoteView, window);
}
bool RuntimeSetControlViewWindow(RuntimeWindow window) {
    return Store(R().controlView, window);
}
bool RuntimeSetStateViewWindow(RuntimeWindow window) {
    return Store(R().stateView, window);
}
bool RuntimeSetKeyboardActive(bool active) {
    return Store(R().keyboardActive, active ? 1u : 0u);
}

bool RuntimeSetClientVideoStats(int32_t receiveFps, int32_t decodeFps, int32_t drawFps, int32_t kbps) {
    RuntimeRecord& r = R();
    bool changed = Store(r.clientReceiveFps, receiveFps);
    changed = Store(r.clientDecodeFps, decodeFps) || changed;
    changed = Store(r.clientDrawFps, drawFps) || changed;
    changed = Store(r.clientKbps, kbps) || changed;
    return changed;
}

bool RuntimeSetClientDrawFps(int32_t drawFps) {
    return Store(R().clientDrawFps, drawFps);
}

bool RuntimeSetMouseState(int32_t x, int32_t y, bool left, bool right, bool middle) {
    RuntimeRecord& r = R();
    bool changed = Store(r.mouseX, x);
    changed = Store(r.mouseY, y) || changed;
    changed = Store(r.mouseLeft, left ? 1 : 0) || changed;
    changed = Store(r.mouseRight, right ? 1 : 0) || changed;
    changed = Store(r.mouseMiddle, middle ? 1 : 0) || changed;
    return changed;
}

bool RuntimeSetHttpServer(bool running, uint32_t port) {
    RuntimeRecord& r = R();
    bool changed = Store(r.httpRunning, running ? 1 : 0);
    changed = Store(r.httpPort, port) || changed;
    return changed;
}

bool RuntimeSetHttpActiveDownloads(int32_t count) {
    return Store(R().httpActiveDownloads, count > 0 ? count : 0);
}
bool RuntimeSetHttpLastBytes(uint64_t bytes) {
    return Store(R().httpLastBytes, bytes);
}
bool RuntimeSetHttpLastFile(const char* path) {
    return StoreText(R().httpLastFile, path);
}

bool RuntimeSetScreenScale(uint32_t width, uint32_t height, uint32_t dpi, uint32_t dpiScalePercent,
                           uint32_t controlUiScalePercent) {
    RuntimeRecord& r = R();
    bool changed = Store(r.screenWidth, width);
    changed = Store(r.screenHeight, height) || changed;
    changed = Store(r.dpi, dpi) || changed;
    changed = Store(r.dpiScalePercent, dpiScalePercent) || changed;
    changed = Store(r.controlUiScalePercent, controlUiScalePercent) || changed;
    return changed;
}

bool RuntimeSetCursorPath(const char* path) {
    return StoreText(R().cursorPath, path);
}

bool RuntimeSetChannelState(int channel, int32_t state, int32_t* oldState) {
    if (channel < 0 || channel > 3) {
        if (oldState != nullptr)
            *oldState = state;
        Log::Write("[RUNTIME][WARN] channel state refused channel=%d state=%d", channel,
                   static_cast<int>(state));
        return false;
    }
    int32_t old = R().channelStates[channel].exchange(state);
    if (oldState != nullptr)
        *oldState = old;
    return old != state;
}

// --- Session sync.

void RuntimeSyncSessionState() {
    RuntimeRecord& r = R();
    int32_t programState = r.programState.load();
    int32_t role = r.role.load();
    StateManager& sm = RuntimeStateManager();
    sm.SetSessionMode(RuntimeSessionModeFor(programState, role), "RuntimeSyncSessionState");
    sm.SetController(role == 1);
    sm.SetControlled(role == 2);
    sm.SetReconnecting(programState == 1 || programState == 3 || programState == 4);
    sm.SetPeerLost(programState == 8);
}

// --- Single values.

bool RuntimeIsAppRunning() {
    return R().appRunning.load() != 0;
}
bool RuntimeIsHostRunning() {
    return R().hostRunning.load() != 0;
}
bool RuntimeIsClientRunning() {
    return R().clientRunning.load() != 0;
}
int32_t RuntimeGetProgramState() {
    return R().programState.load();
}
int32_t RuntimeGetRole() {
    return R().role.load();
}
RuntimeWindow RuntimeGetMainWindow() {
    return R().mainWindow.load();
}
RuntimeWindow RuntimeGetRemoteViewWindow() {
    return R().remoteView.load();
}
RuntimeWindow RuntimeGetControlViewWindow() {
    return R().controlView.load();
}
RuntimeWindow RuntimeGetStateViewWindow() {
    return R().stateView.load();
}
bool RuntimeIsKeyboardActive() {
    return R().keyboardActive.load() != 0;
}
int32_t RuntimeGetChannelState(int channel) {
    return channel >= 0 && channel < 4 ? R().channelStates[channel].load() : 0;
}

// --- Log and crash hooks.

void RuntimeLogErrorTextSink(const char* line) {
    if (g_crashPath.load())
        RuntimeSetErrorTextNoWait(line);
    else
        RuntimeSetErrorText(line);
}

void RuntimeEnterCrashPath() {
    g_crashPath.store(true);
}
bool RuntimeInCrashPath() {
    return g_crashPath.load();
}

void RuntimeSetErrorTextNoWait(const char* text) {
    std::string value = OrEmpty(text);
    {
        std::unique_lock<std::mutex> lock(R().textMutex, std::try_to_lock);
        if (lock.owns_lock())
            R().errorText = value;
    }
    RuntimeStateManager().TrySetLastErrorText(value);
}
