#include "link/AutoConnect.h"

#include <cstdarg>
#include <initializer_list>
#include <string_view>

#include "core/HasText.h"
#include "core/Log.h"
#include "core/LogWriter.h"
#include "link/AutoConnectProcessPorts.h"

namespace {

constexpr const char* kThreadName = "AutoConnect";

// The user's own connect, which automatic attempts must not race.
bool IsUserConnect(const char* reason) {
    const std::string_view text = reason != nullptr ? reason : "";
    for (std::string_view marker : {"user connect", "tray connect", "control button connect"})
        if (text.find(marker) != std::string_view::npos)
            return true;
    return false;
}

const char* Text(const char* reason) {
    return reason != nullptr ? reason : "";
}

} // namespace

AutoConnect& AutoConnect::Instance() {
    static AutoConnect* engine = new AutoConnect(*new ProcessAutoConnectPorts);
    return *engine;
}

AutoConnect::AutoConnect(IAutoConnectPorts& ports, uint32_t wakePeriodMs, LogWriter* log)
    : m_ports(&ports), m_wakePeriodMs(wakePeriodMs), m_log(log) {}

AutoConnect::~AutoConnect() {
    Stop();
}

void AutoConnect::SetPorts(IAutoConnectPorts& ports) {
    m_ports.store(&ports);
}

void AutoConnect::Write(const char* format, ...) {
    va_list args;
    va_start(args, format);
    WriteThrough(m_log, format, args);
    va_end(args);
}

void AutoConnect::SetState(AutoConnectState state, const char* reason) {
    const int32_t old = m_state.exchange(static_cast<int32_t>(state));
    if (old == static_cast<int32_t>(state))
        return;
    Write("[AUTOCONNECT][STATE] %s -> %s reason=%s intent=%s", AutoConnectStateName(old),
          AutoConnectStateName(state), Text(reason), AutoConnectIntentText(m_intent.load()));
}

void AutoConnect::Start() {
    bool stopped = false;
    if (!m_running.compare_exchange_strong(stopped, true)) {
        Write("[AUTOCONNECT] start ignored: already running intent=%s state=%s",
              AutoConnectIntentText(m_intent.load()), AutoConnectStateName(State()));
        return;
    }
    SetState(AutoConnectState::Idle, "engine start");
    Write("[AUTOCONNECT] engine start intent=%s state=%s", AutoConnectIntentText(m_intent.load()),
          AutoConnectStateName(State()));
    std::lock_guard<std::mutex> lock(m_threadMutex);
    if (m_worker.Active())
        m_worker.Stop(0, "AutoConnect::Start stale");
    std::string error;
    if (m_worker.Start(
            kThreadName, [this](const StopSignal& stop) { ThreadProc(stop); }, &error))
        return;
    Write("[AUTOCONNECT] engine thread create failed: %s", error.c_str());
    m_running.store(false);
    SetState(AutoConnectState::Stopped, "engine thread create failed");
}

void AutoConnect::Stop() {
    bool running = true;
    if (!m_running.compare_exchange_strong(running, false))
        return;
    Ports().WakeDeviceListWaiters();
    {
        std::lock_guard<std::mutex> lock(m_threadMutex);
        if (m_worker.Active()) {
            if (m_worker.IsCurrentThread()) {
                Write("[AUTOCONNECT] stop called from worker thread; detach self and exit");
                m_worker.Stop(0, "AutoConnect::Stop self");
            } else {
                m_worker.Stop(kStopWaitMs, "AutoConnect::Stop");
            }
        }
    }
    SetState(AutoConnectState::Stopped, "engine stopped");
    Write("[AUTOCONNECT] engine stopped intent=%s state=%s", AutoConnectIntentText(m_intent.load()),
          AutoConnectStateName(State()));
}

void AutoConnect::SetIntent(bool enabled, const char* reason) {
    if (enabled && IsUserConnect(reason))
        Suppress(kAutoConnectUserConnectSuppressMs, reason);
    const bool old = m_intent.exchange(enabled);
    if (old == enabled) {
        Write("[AUTOCONNECT][INTENT] unchanged=%s reason=%s state=%s", AutoConnectIntentText(enabled),
              Text(reason), AutoConnectStateName(State()));
        return;
    }
    Write("[AUTOCONNECT][INTENT] %s -> %s reason=%s state=%s", AutoConnectIntentText(old),
          AutoConnectIntentText(enabled), Text(reason), AutoConnectStateName(State()));
    if (!enabled) {
        m_suppressUntil.store(0);
        SetState(m_running.load() ? AutoConnectState::Idle : AutoConnectState::Stopped, "intent disabled");
    }
}

void AutoConnect::Suppress(uint32_t ms, const char* reason) {
    const char* why = HasText(reason) ? reason : "manual suppress";
    m_suppressUntil.store(AutoConnectSuppressDeadline(Ports().Now(), ms));
    SetState(AutoConnectState::Cooldown, why);
    Write("[AUTOCONNECT][SUPPRESS] ms=%u reason=%s", static_cast<unsigned>(ms), why);
}

void AutoConnect::OnDevicePresence(bool present) {
    const bool active = m_running.load() && m_intent.load();
    if (present) {
        m_cableEvent.store(true);
        m_suppressUntil.store(0);
        if (active)
            SetState(AutoConnectState::WaitingPeer, "authorized device inserted");
    } else if (active) {
        SetState(AutoConnectState::WaitingDevice, "authorized device removed");
    }
    Ports().WakeDeviceListWaiters();
}

AutoConnectTickInput AutoConnect::GatherFacts(IAutoConnectPorts& ports) {
    AutoConnectTickInput in;
    in.now = ports.Now();
    in.state = State();
    in.intentEnabled = m_intent.load();
    in.suppressUntil = m_suppressUntil.load();
    in.app = ports.AppFacts();
    in.clocks = m_clocks;
    if (!AutoConnectCheckGate(in.app, in.intentEnabled).open)
        return in;
    in.session = ports.SessionSnapshot();
    in.runtime = ports.RuntimeFacts();
    in.cablePresent = ports.CablePresent();
    if (in.cablePresent)
        in.network = ports.QueryCableNetwork();
    in.peers = ports.DiscoveredPeers();
    in.health = ports.MacHealth();
    in.english = ports.UiEnglish();
    return in;
}

void AutoConnect::RunTick() {
    bool idle = false;
    if (!m_ticking.compare_exchange_strong(idle, true))
        return;
    IAutoConnectPorts& ports = Ports();
    AutoConnectTickInput input = GatherFacts(ports);
    input.cableEvent = m_cableEvent.exchange(false);
    for (;;) {
        const AutoConnectTickResult result = Tick(input);
        m_clocks = result.clocks;
        if (result.clearSuppress) {
            uint32_t seen = input.suppressUntil;
            m_suppressUntil.compare_exchange_strong(seen, 0);
        }
        Apply(ports, result.effects);
        if (!result.lookAgain)
            break;
        input = GatherFacts(ports);
        input.orphanRepaired = true;
    }
    m_ticking.store(false);
}

void AutoConnect::Apply(IAutoConnectPorts& ports, const std::vector<AutoConnectEffect>& effects) {
    for (const AutoConnectEffect& effect : effects) {
        switch (effect.kind) {
        case AutoConnectEffectKind::SetState:
            SetState(effect.state, effect.text.c_str());
            break;
        case AutoConnectEffectKind::Log:
            Write("%s", effect.text.c_str());
            break;
        case AutoConnectEffectKind::Status:
            ports.SetStatusMessage(effect.text, false);
            break;
        case AutoConnectEffectKind::StatusAndRepaint:
            ports.SetStatusMessage(effect.text, true);
            break;
        case AutoConnectEffectKind::DeviceRemoved:
            ports.OnLocalDeviceRemoved();
            break;
        case AutoConnectEffectKind::StopAllSessions:
            ports.StopAllSessions(effect.text.c_str());
            break;
        case AutoConnectEffectKind::ClearPeerCache:
            ports.ClearPeerCache();
            break;
        case AutoConnectEffectKind::RuntimeIdle:
            ports.SetRuntimeIdle();
            break;
        case AutoConnectEffectKind::RepairOrphan:
            ports.OnLocalDeviceInserted();
            break;
        case AutoConnectEffectKind::RequestControl: {
            const bool ok = ports.RequestControlDevice(effect.text);
            Apply(ports, AfterRequest(ok, effect.text, m_intent.load(), State(), ports.Now()));
            break;
        }
        case AutoConnectEffectKind::Suppress:
            m_suppressUntil.store(effect.until);
            break;
        }
    }
}

void AutoConnect::ThreadProc(const StopSignal& stop) {
    Write("[AUTOCONNECT] thread enter");
    while (m_running.load() && !stop.StopRequested()) {
        // Read before the tick: a change during the tick ends the wait at once.
        const uint64_t seen = Ports().DeviceListGeneration();
        RunTick();
        if (!m_running.load() || stop.StopRequested())
            break;
        Ports().WaitForDeviceListChange(seen, m_wakePeriodMs);
    }
    Write("[AUTOCONNECT] thread leave");
}
