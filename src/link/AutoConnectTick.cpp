// The pure decisions of the auto-connect engine: one look per tick, and the outcome of a control request.
#include "link/AutoConnectTick.h"

#include <cstdarg>
#include <utility>

#include "core/Printf.h"
#include "link/AutoConnect.h"
#include "link/AutoConnectStatus.h"
#include "link/ControlMessageText.h"

namespace {

using Kind = AutoConnectEffectKind;
using State = AutoConnectState;

constexpr const char* kNetworkUnavailable = "local Marlo network unavailable";
constexpr const char* kRequestFailed = "connect request failed";

std::string Line(const char* format, ...) TSLY_PRINTF(1, 2);
// A log line through the bounded formatter: peer texts never leave half a character behind.
std::string Line(const char* format, ...) {
    char text[1024] = {};
    va_list args;
    va_start(args, format);
    const size_t length = AppendBoundedV(text, sizeof text, 0, format, args);
    va_end(args);
    return std::string(text, length);
}

int Flag(bool value) {
    return value ? 1 : 0;
}

// A gated line is due when it was never written or more than intervalMs passed since; a due line stores now.
bool GateDue(uint32_t& lastTick, uint32_t intervalMs, uint32_t now) {
    if (lastTick != 0 && static_cast<uint32_t>(now - lastTick) <= intervalMs)
        return false;
    lastTick = now;
    return true;
}

bool AnySessionFlag(const StateSnapshot& s) {
    return s.connected || s.hostRunning || s.clientRunning || s.reconnecting || s.controller ||
           s.controlled || s.sessionMode != 0;
}

bool HealthFresh(const MacHealthEntry& health, uint32_t now) {
    return !health.line.empty() && static_cast<uint32_t>(now - health.tick) <= kAutoConnectHealthMaxAgeMs;
}

// Collects the effects of one look and follows the state it sets, which the log lines name.
class Look {
public:
    explicit Look(const AutoConnectTickInput& in) : m_in(in), m_state(in.state) {
        m_result.clocks = in.clocks;
    }

    void Set(State state, const char* reason) {
        Add(Kind::SetState, reason).state = state;
        m_state = state;
    }
    AutoConnectEffect& Add(Kind kind, std::string text = std::string()) {
        AutoConnectEffect effect;
        effect.kind = kind;
        effect.text = std::move(text);
        m_result.effects.push_back(std::move(effect));
        return m_result.effects.back();
    }
    const char* Intent() const { return AutoConnectIntentText(m_in.intentEnabled); }
    const char* StateName() const { return AutoConnectStateName(m_state); }
    AutoConnectClocks& Clocks() { return m_result.clocks; }
    AutoConnectTickResult& Result() { return m_result; }

private:
    const AutoConnectTickInput& m_in;
    State m_state;
    AutoConnectTickResult m_result;
};

void CableMissing(const AutoConnectTickInput& in, Look& look) {
    if (AnySessionFlag(in.session))
        look.Add(Kind::DeviceRemoved);
    look.Set(State::WaitingDevice, "device not inserted");
    look.Add(Kind::Status, DeviceMissingStatus(in.english));
    if (GateDue(look.Clocks().deviceLogTick, kAutoConnectDeviceLogMs, in.now))
        look.Add(Kind::Log, Line("[AUTOCONNECT] device not inserted; waiting intent=%s state=%s",
                                 look.Intent(), look.StateName()));
}

void NetworkNotReady(const AutoConnectTickInput& in, CableNetworkProblem problem, Look& look) {
    const CableNetwork& net = in.network;
    const StateSnapshot& s = in.session;
    if (AnySessionFlag(s)) {
        look.Add(Kind::Log, Line("[AUTOCONNECT][LOCAL_NET] desk network unavailable; clearing stale session "
                                 "found=%d up=%d has10=%d ip=%s mode=%d reconnect=%d",
                                 Flag(net.found), Flag(net.up), Flag(net.hasTenDot), net.ip.c_str(),
                                 static_cast<int>(s.sessionMode), Flag(s.reconnecting)));
        look.Add(Kind::StopAllSessions, kNetworkUnavailable);
        look.Add(Kind::ClearPeerCache);
    }
    look.Set(State::WaitingPeer, kNetworkUnavailable);
    look.Add(Kind::RuntimeIdle);
    look.Add(Kind::Status, NetworkProblemStatus(problem, in.english));
    look.Add(Kind::StatusAndRepaint, NetworkNotReadyStatus(in.english));
    if (GateDue(look.Clocks().localNetLogTick, kAutoConnectLocalNetLogMs, in.now))
        look.Add(Kind::Log, Line("[AUTOCONNECT][LOCAL_NET] waiting found=%d up=%d has10=%d ip=%s",
                                 Flag(net.found), Flag(net.up), Flag(net.hasTenDot), net.ip.c_str()));
}

// The session state says a session is wanted, but nothing runs behind it and no request is being sent.
bool OrphanedSessionState(const AutoConnectTickInput& in) {
    const StateSnapshot& s = in.session;
    const bool running =
        in.runtime.hostRunning || in.runtime.clientRunning || s.hostRunning || s.clientRunning || s.connected;
    const bool wanted =
        s.reconnecting || s.sessionMode == 1 || s.sessionMode == 2 || s.controller || s.controlled;
    return !running && wanted && !in.runtime.requestInProgress;
}

bool SessionRuns(const AutoConnectTickInput& in) {
    const StateSnapshot& s = in.session;
    return s.hostRunning || s.clientRunning || in.runtime.hostRunning || in.runtime.clientRunning ||
           s.connected || s.sessionMode == 3 || s.sessionMode == 4;
}

bool SessionBeingSetUp(const StateSnapshot& s) {
    return s.reconnecting || s.sessionMode == 1 || s.sessionMode == 2;
}

void IdleAndReady(const AutoConnectTickInput& in, Look& look) {
    if (in.peers.empty()) {
        look.Set(State::WaitingPeer, "no discovery peer");
        look.Add(Kind::Status, NoPeerStatus(in.english));
        if (GateDue(look.Clocks().noPeerLogTick, kAutoConnectNoPeerLogMs, in.now))
            look.Add(Kind::Log, Line("[AUTOCONNECT] discovery running but no peer yet intent=%s state=%s",
                                     look.Intent(), look.StateName()));
        return;
    }
    const PeerRecord& peer = in.peers.front();
    if (in.suppressUntil != 0) {
        if (AutoConnectSuppressed(in.suppressUntil, in.now)) {
            look.Set(State::Cooldown, "attempt cooldown");
            return;
        }
        look.Result().clearSuppress = true;
    }
    look.Set(State::Ready, "peer available");
    look.Add(Kind::StatusAndRepaint, PeerAvailableStatus(peer, in.english));

    AutoConnectClocks& clocks = look.Clocks();
    if (!clocks.lastAttemptPeer.empty() && clocks.lastAttemptPeer == peer.id &&
        static_cast<uint32_t>(in.now - clocks.lastAttemptTick) < kAutoConnectSamePeerRetryMs)
        return;
    clocks.lastAttemptTick = in.now;
    clocks.lastAttemptPeer = peer.id;
    look.Set(State::Connecting, "issuing control request");
    look.Add(Kind::Log, Line("[AUTOCONNECT] attempting control peer name=%s ip=%s id=%s devicePresent=%s "
                             "intent=%s state=%s",
                             peer.name.c_str(), peer.ip.c_str(), peer.id.c_str(),
                             in.cablePresent ? "true" : "false", look.Intent(), look.StateName()));
    look.Add(Kind::RequestControl, peer.id);
}

void Decide(const AutoConnectTickInput& in, Look& look) {
    const AutoConnectGate gate = AutoConnectCheckGate(in.app, in.intentEnabled);
    if (!gate.open) {
        look.Set(gate.state, gate.reason);
        return;
    }
    if (in.cableEvent) {
        look.Clocks().lastAttemptTick = 0;
        look.Clocks().lastAttemptPeer.clear();
    }
    if (!in.cablePresent) {
        CableMissing(in, look);
        return;
    }
    const CableNetworkProblem problem = FindCableNetworkProblem(in.network);
    if (problem != CableNetworkProblem::None) {
        NetworkNotReady(in, problem, look);
        return;
    }

    const StateSnapshot& s = in.session;
    if (!in.orphanRepaired && OrphanedSessionState(in)) {
        look.Add(Kind::Log, Line("[AUTOCONNECT][RECOVERY] repair orphan session state mode=%d reconnect=%d "
                                 "controller=%d controlled=%d",
                                 static_cast<int>(s.sessionMode), Flag(s.reconnecting), Flag(s.controller),
                                 Flag(s.controlled)));
        look.Add(Kind::RepairOrphan);
        look.Result().lookAgain = true;
        return;
    }
    if (SessionRuns(in)) {
        look.Set(State::Connected, "session already active");
        if (HealthFresh(in.health, in.now))
            look.Add(Kind::Status, in.health.line);
        return;
    }
    if (SessionBeingSetUp(s)) {
        look.Set(State::Connecting, "session busy/connecting");
        if (HealthFresh(in.health, in.now))
            look.Add(Kind::Status, in.health.line);
        else
            look.Add(Kind::Status,
                     ReconnectingStatus(in.network.ip, in.peers.empty() ? nullptr : &in.peers.front(),
                                        in.english));
        return;
    }
    IdleAndReady(in, look);
}

} // namespace

AutoConnectGate AutoConnectCheckGate(const AutoConnectAppFacts& app, bool intentEnabled) {
    AutoConnectGate gate;
    if (app.shuttingDown || !app.appRunning)
        gate.reason = "application shutting down";
    else if (!app.lifecycleStarted)
        gate.reason = "lifecycle refused start";
    else if (!intentEnabled) {
        gate.state = State::Idle;
        gate.reason = "auto intent disabled";
    } else
        gate.open = true;
    return gate;
}

uint32_t AutoConnectSuppressDeadline(uint32_t now, uint32_t ms) {
    const uint32_t until = now + ms;
    return until != 0 ? until : 1;
}

bool AutoConnectSuppressed(uint32_t suppressUntil, uint32_t now) {
    return suppressUntil != 0 && static_cast<int32_t>(suppressUntil - now) > 0;
}

AutoConnectTickResult AutoConnect::Tick(const AutoConnectTickInput& input) {
    Look look(input);
    Decide(input, look);
    return std::move(look.Result());
}

std::vector<AutoConnectEffect> AutoConnect::AfterRequest(bool ok, const std::string& peerId,
                                                         bool intentEnabled, AutoConnectState state,
                                                         uint32_t now) {
    AutoConnectTickInput facts;
    facts.intentEnabled = intentEnabled;
    facts.state = state;
    Look look(facts);
    look.Add(Kind::Log, Line("[AUTOCONNECT] DiscoveryRequestControlDevice ok=%d peer=%s intent=%s state=%s",
                             Flag(ok), peerId.c_str(), look.Intent(), look.StateName()));
    if (!ok) {
        look.Add(Kind::Suppress).until =
            AutoConnectSuppressDeadline(now, kAutoConnectFailedRequestSuppressMs);
        look.Set(State::Cooldown, kRequestFailed);
        look.Add(Kind::Log, Line("[AUTOCONNECT][SUPPRESS] ms=%u reason=%s",
                                 static_cast<unsigned>(kAutoConnectFailedRequestSuppressMs), kRequestFailed));
    }
    return std::move(look.Result().effects);
}
