#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "media/SessionRunBody.h"
#include "media/SessionServices.h"

class Session;

// The heap record a session thread starts with; the thread owns it and frees it when its entry returns.
struct SessionThreadArg {
    Session* session = nullptr;
    uint32_t generation = 0;  // the generation this thread serves
    uint64_t startSerial = 0; // which Start (of either role) made this thread; see SessionOwnership
    std::string peerIp;       // the address given to Start
};

// Orders the ends of session threads against new starts, for both roles together.
//
// The input and clipboard channels are process-wide and used by both roles, and a session thread may end
// after Stop, while a newer session (of its own role or of the other) has already started its channels
// and set role, program state and channel states. A thread's end therefore touches shared state only
// while it owns it: its generation is still its session's generation and no Start of either role came
// after its own. The ownership test and the whole shared part of an end run under this mutex, and every
// Start takes it to raise the serial, so an end either completes before a newer start or sees that it
// lost ownership and leaves everything alone.
//
// Lock order: this mutex, then any lock of the services called in an end (channels, state manager,
// runtime state). Those services must not wait for the session controller or call Start.
class SessionOwnership {
public:
    // Shared by the process-wide HostSession and ClientSession; created on first use, never destroyed.
    static SessionOwnership& Instance();

    SessionOwnership() = default;
    SessionOwnership(const SessionOwnership&) = delete;
    SessionOwnership& operator=(const SessionOwnership&) = delete;

    // Refuses every later Start of both roles. The shutdown calls it before it clears the application's
    // running flags: a Start either set them before, or is refused and sets nothing.
    void RefuseStarts();

private:
    friend class Session;
    std::mutex m_mutex;
    uint64_t m_lastStart = 0;     // under m_mutex
    bool m_startsRefused = false; // under m_mutex
};

// True while the application runs, the session's running flag is set and its generation is `generation`.
// A null session is not current.
bool IsSessionGenerationCurrent(const Session* session, uint32_t generation);

// The layout and the start, stop and thread ends shared by HostSession and ClientSession.
//
// Start and Stop are called by the session controller under its serialising lock; Stop may also be
// called from any thread, also when nothing runs. Stop never waits for the session thread: it detaches
// it, and the thread ends by itself once it sees that it is no longer current. A new Start may follow at
// once; it raises the generation and starts a new thread while the old one still winds down.
class Session {
public:
    virtual ~Session() = default;
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Peer address in IPv4 dotted form. True when the thread was started or a session already runs; false
    // when it could not be started or the application is shutting down (SessionOwnership::RefuseStarts).
    bool Start(const std::string& peerIp);
    void Stop();

    // Thread procedure of both roles: runs the run body, then the end that its result calls for.
    static void ThreadEntry(SessionThreadArg* arg);

    // Installed at start-up, before the first Start; null restores the default (SessionServices' no-op
    // members; no run body: the thread ends at once). Objects must live to the end of the process.
    void SetServices(SessionServices* services);
    void SetRunBody(ISessionRunBody* body);
    SessionServices& Services() const;

    const char* Name() const { return m_role.name; }

    std::atomic<uint8_t> running{0};     // 1 while the session is wanted
    std::atomic<uint32_t> generation{0}; // raised by every Start that gets past the running check

protected:
    // What differs between the roles apart from the virtual steps below.
    struct Role {
        const char* name;             // "HostSession"
        const char* threadOwner;      // detach name in Stop: "HostSession::m_thread"
        const char* staleThreadOwner; // detach name in Start: "HostSession::m_thread(stale)"
        const char* stopOwner;        // SKIP_IDLE owner: "HostSession::Stop"
        const char* lifecycleReason;  // clipboard stop reason in Stop: "host lifecycle"
        int32_t runtimeRole;          // RuntimeRole while running
        int32_t startingState;        // ProgramState set by Start
        bool guardsClearType;         // host only: the font-smoothing guard lines and restores
        bool (*setRoleRunning)(bool); // RuntimeSetHostRunning / RuntimeSetClientRunning
        bool (*isOtherRoleRunning)(); // RuntimeIsClientRunning / RuntimeIsHostRunning
    };

    Session(const Role& role, SessionOwnership& ownership);

    // Host: the loopback sender; client: the UDP player.
    virtual void StopAudio() = 0;
    // Stop's close of what the running thread holds open for its role (client: the video listener), from
    // the stopping thread. Runs after `running` is cleared.
    virtual void CloseVideo() {}
    // The common end of a run body, for a thread that owns the shared state (called under the ownership
    // mutex). `end` is Finished or PeerLost.
    virtual void EndOwnedRun(SessionRunEnd end) = 0;
    // The role's failure path when the video connection could not be made, for an owning thread.
    virtual void FailOwnedRun() = 0;

    // Shared steps of Stop and of the ends.
    void StopClipboardChannel(const char* reason);
    void StopInputChannel();
    void ClearRunningFlags();

private:
    void RunThread(const SessionThreadArg& arg);
    void EndRun(const SessionThreadArg& arg, SessionRunEnd end);
    void EndAfterException(const SessionThreadArg& arg);
    bool OwnsSharedState(const SessionThreadArg& arg) const; // under m_ownership.m_mutex
    void FailStart(const char* what);
    void DetachThread(const char* owner);
    void StoreThread(std::thread thread);

    const Role& m_role;
    SessionOwnership& m_ownership;
    std::atomic<SessionServices*> m_services{nullptr};
    std::atomic<ISessionRunBody*> m_runBody{nullptr};
    std::mutex m_threadMutex; // the thread object only; a leaf lock
    std::thread m_thread;
};
