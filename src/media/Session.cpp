#include "media/Session.h"

#include <exception>
#include <memory>
#include <utility>

#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/ThreadHelpers.h"
#include "core/StateManager.h"

namespace {

unsigned long Gen(uint32_t generation) {
    return static_cast<unsigned long>(generation);
}

// Returns whether the runtime flag changed; the caller raises the change notice.
bool SetAppRunning() {
    const bool changed = RuntimeSetAppRunning(true);
    RuntimeStateManager().SetRunning(true);
    return changed;
}

// Program states in which Stop may settle the session to idle; any other belongs to another actor (for
// example a controller switch in progress).
bool StopMaySettleIdle(int32_t state) {
    switch (static_cast<ProgramState>(state)) {
    case ProgramState::Idle:
    case ProgramState::PeerLost:
    case ProgramState::Error:
    case ProgramState::Stopping:
        return true;
    default:
        return false;
    }
}

} // namespace

SessionOwnership& SessionOwnership::Instance() {
    static SessionOwnership* ownership = new SessionOwnership();
    return *ownership;
}

void SessionOwnership::RefuseStarts() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_startsRefused = true;
}

bool IsSessionGenerationCurrent(const Session* session, uint32_t generation) {
    return session != nullptr && RuntimeIsAppRunning() && session->running.load() != 0 &&
           session->generation.load() == generation;
}

Session::Session(const Role& role, SessionOwnership& ownership) : m_role(role), m_ownership(ownership) {}

void Session::SetServices(SessionServices* services) {
    m_services.store(services);
}

void Session::SetRunBody(ISessionRunBody* body) {
    m_runBody.store(body);
}

SessionServices& Session::Services() const {
    static SessionServices* none = new SessionServices();
    SessionServices* services = m_services.load();
    return services != nullptr ? *services : *none;
}

bool Session::Start(const std::string& peerIp) {
    SessionServices& services = Services();
    // First, so that a refused Start still names the peer.
    services.SetActivePeer(peerIp);

    uint32_t newGeneration = 0;
    uint64_t serial = 0;
    bool appRunningChanged = false;
    {
        std::lock_guard<std::mutex> lock(m_ownership.m_mutex);
        if (m_ownership.m_startsRefused) {
            Log::Write("%s Start refused: application is shutting down", m_role.name);
            return false;
        }
        uint8_t expected = 0;
        if (!running.compare_exchange_strong(expected, 1)) {
            Log::Write("%s Start ignored: already running", m_role.name);
            return true;
        }
        DetachThread(m_role.staleThreadOwner);
        newGeneration = generation.fetch_add(1) + 1;
        serial = ++m_ownership.m_lastStart;
        // Under the mutex, so that a shutdown that refuses starts clears the flag after this store.
        appRunningChanged = SetAppRunning();
    }
    if (appRunningChanged)
        RuntimeNotifyChanged();

    m_role.setRoleRunning(true);
    RuntimeSetRole(m_role.runtimeRole);
    RuntimeSetProgramState(m_role.startingState);
    if (m_role.guardsClearType)
        Log::Write("[TEXT][CLEARTYPE][DISABLED] no OS display setting changes reason=%s", "host start");

    SessionThreadArg* arg = nullptr;
    std::thread thread;
    try {
        arg = new SessionThreadArg{this, newGeneration, serial, peerIp};
        thread = services.StartThread(&Session::ThreadEntry, arg);
    } catch (const std::exception& e) {
        delete arg;
        FailStart(e.what());
        return false;
    } catch (...) {
        delete arg;
        FailStart(nullptr);
        return false;
    }
    StoreThread(std::move(thread));
    Log::Write("%s started gen=%lu", m_role.name, Gen(newGeneration));
    return true;
}

void Session::FailStart(const char* what) {
    if (what != nullptr)
        Log::Write("%s thread create failed: %s", m_role.name, what);
    else
        Log::Write("%s thread create failed: unknown exception", m_role.name);
    if (m_role.guardsClearType)
        Services().RestoreClearTypeGuard(what != nullptr ? "host thread create failed"
                                                         : "host thread create failed unknown");
    ClearRunningFlags();
    RuntimeSetProgramState(ProgramState::Error);
}

void Session::Stop() {
    const bool wasRunning = running.exchange(0) != 0;
    m_role.setRoleRunning(false);
    if (wasRunning && RuntimeIsAppRunning())
        RuntimeSetProgramState(ProgramState::Stopping);

    CloseVideo();
    StopAudio();
    StopClipboardChannel(m_role.lifecycleReason);
    StopInputChannel();
    if (m_role.guardsClearType)
        Services().RestoreClearTypeGuard("host stop");

    DetachThread(m_role.threadOwner);
    if (wasRunning)
        Log::Write("%s stopped", m_role.name);

    if (!RuntimeIsAppRunning() || m_role.isOtherRoleRunning())
        return;
    const int32_t state = RuntimeGetProgramState();
    if (!StopMaySettleIdle(state)) {
        Log::Write("[SESSION][STOP][SKIP_IDLE] owner=%s currentProgramState=%d", m_role.stopOwner,
                   static_cast<int>(state));
        return;
    }
    RuntimeSetRole(RuntimeRole::None);
    RuntimeSetProgramState(ProgramState::Idle);
}

void Session::StopClipboardChannel(const char* reason) {
    SessionServices& services = Services();
    Log::Write("[CLIP][SERVICE][STOP] reason=%s running=%d connected=%d", reason,
               services.IsClipboardRunning() ? 1 : 0, services.IsClipboardConnected() ? 1 : 0);
    StateManager& state = RuntimeStateManager();
    state.SetClipboardBusy(true);
    services.StopClipboardChannel();
    state.SetClipboardBusy(false);
    state.SetChannelState(kChannelClipboard, ChannelState::Disconnected, reason);
}

void Session::StopInputChannel() {
    SessionServices& services = Services();
    Log::Write("[INPUT][SERVICE][STOP] reason=%s", "session");
    services.CancelHidQueue("session");
    services.StopInputChannel();
}

void Session::ClearRunningFlags() {
    running.store(0);
    m_role.setRoleRunning(false);
}

void Session::DetachThread(const char* owner) {
    std::lock_guard<std::mutex> lock(m_threadMutex);
    DetachWorkerThread(m_thread, owner);
}

void Session::StoreThread(std::thread thread) {
    std::lock_guard<std::mutex> lock(m_threadMutex);
    // Normally empty; a Stop and Start racing outside the controller's lock may have left one.
    DetachWorkerThread(m_thread, m_role.staleThreadOwner);
    m_thread = std::move(thread);
}

bool Session::OwnsSharedState(const SessionThreadArg& arg) const {
    // Every Start of either role raises the serial, so an unchanged serial also means that the session's
    // generation is still this thread's.
    return m_ownership.m_lastStart == arg.startSerial;
}

void Session::ThreadEntry(SessionThreadArg* arg) {
    std::unique_ptr<SessionThreadArg> owned(arg);
    owned->session->RunThread(*owned);
}

void Session::RunThread(const SessionThreadArg& arg) {
    const char* name = m_role.name;
    Log::Write("[THREAD][START] name=%s tid=%lu", name, Tid());
    bool threw = false;
    try {
        ISessionRunBody* body = m_runBody.load();
        if (body == nullptr)
            Log::Write("[SESSION][RUN] %s has no run body installed; gen=%lu ends", name,
                       Gen(arg.generation));
        EndRun(arg, body != nullptr ? body->Run(arg) : SessionRunEnd::Finished);
    } catch (const std::exception& e) {
        Log::Write("[THREAD][EXCEPTION] name=%s tid=%lu what=%s", name, Tid(), e.what());
        threw = true;
        RuntimeSetErrorText(e.what());
    } catch (...) {
        Log::Write("[THREAD][EXCEPTION] name=%s tid=%lu unknown", name, Tid());
        threw = true;
        RuntimeSetErrorText("unknown thread exception");
    }
    if (threw) {
        // Nothing may leave the thread, not even from its own clean-up.
        try {
            EndAfterException(arg);
        } catch (...) {
            Log::Write("[THREAD][EXCEPTION] name=%s tid=%lu unknown in exception clean-up", name, Tid());
        }
    }
    LogThreadStop(name);
}

void Session::EndRun(const SessionThreadArg& arg, SessionRunEnd end) {
    bool owned = false;
    {
        std::lock_guard<std::mutex> lock(m_ownership.m_mutex);
        owned = OwnsSharedState(arg);
        if (owned && end == SessionRunEnd::VideoFailed)
            FailOwnedRun();
        else if (owned)
            EndOwnedRun(end);
    }
    if (end == SessionRunEnd::VideoFailed) {
        if (!owned)
            Log::Write("[SESSION][STALE] %s video failure of gen=%lu left to the newer session gen=%lu",
                       m_role.name, Gen(arg.generation), Gen(generation.load()));
        return;
    }
    Log::Write("%s thread exit gen=%lu current=%d", m_role.name, Gen(arg.generation), owned ? 1 : 0);
}

void Session::EndAfterException(const SessionThreadArg& arg) {
    std::lock_guard<std::mutex> lock(m_ownership.m_mutex);
    if (!OwnsSharedState(arg))
        return;
    if (m_role.guardsClearType)
        Services().RestoreClearTypeGuard("host thread exception");
    RuntimeSetProgramState(ProgramState::Error);
    ClearRunningFlags();
}
