#pragma once

#include <cstdint>

struct SessionThreadArg;

// How a run body left its loop. The session thread then performs the matching end, guarded by ownership
// (Session.h), so a run body never clears its session's flags itself: it returns.
enum class SessionRunEnd {
    Finished, // the generation stopped being current, or the run chose to end: the common end
    PeerLost, // controller side: the peer went offline; the common end with PEER LOST
    // Host side: the run stopped its own session so that the controller reconnects with fresh parameters
    // (display layout changed, or locked while on GDI capture). The common end, but channels Video and Input
    // keep the Reconnecting state the run set.
    StoppedForReconnect,
    // The video connection could not be made (host: connect to the controller; controller: the listener):
    // the role's failure path in place of the common end.
    VideoFailed,
};

// The role-specific body of a session thread (capture/encode/send, or receive/decode/show). It polls
// IsSessionGenerationCurrent(arg.session, arg.generation) at every step and between long operations, and
// returns once it yields false. It closes what it owns (its video sockets, decoder, capture) before it
// returns; the session thread then stops the shared channels. An exception that escapes it is caught by
// the session thread.
class ISessionRunBody {
public:
    virtual ~ISessionRunBody() = default;
    virtual SessionRunEnd Run(const SessionThreadArg& arg) = 0;
};
