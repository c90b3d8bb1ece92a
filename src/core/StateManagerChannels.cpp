#include <mutex>

#include "core/EventBus.h"
#include "core/RuntimeState.h"
#include "core/StateManager.h"
#include "core/HasText.h"

// Channel states and the drag-service connection. No lock is held while logging or calling out.

void StateManager::DragConnection(bool connected, const char* reason) {
    auto seams = Seams();
    bool running = seams->dragRunning ? seams->dragRunning() : false;
    if (connected) {
        bool wasMarked = m_dragServiceMarked.exchange(true);
        if (wasMarked && running)
            return;
    } else {
        bool wasMarked = m_dragServiceMarked.exchange(false);
        if (!wasMarked && !running)
            return;
    }
    Write("[DRAG][SERVICE][CONNECTION] connected=%d%s%s", connected ? 1 : 0,
          HasText(reason) ? " reason=" : "", HasText(reason) ? reason : "");

    RuntimeWindow window = RuntimeGetMainWindow();
    IRuntimeWindowPoster* poster = RuntimeWindowPoster();
    bool posted = false;
    uint32_t error = 0;
    if (window != 0 && poster != nullptr)
        posted = poster->Post(window, kDragServiceMessage, connected ? 1 : 0, error);
    Write("[DRAG][SERVICE][POST_UI] connected=%d posted=%d hwnd=0x%p", connected ? 1 : 0, posted ? 1 : 0,
          reinterpret_cast<void*>(window));
    if (posted)
        return;
    if (window != 0)
        Write("[DRAG][SERVICE][POST_UI][WARN] failed gle=%lu", static_cast<unsigned long>(error));
    // No main window, or the post failed: drive the drag service directly.
    if (connected) {
        if (seams->startDrag)
            seams->startDrag();
    } else if (seams->stopDrag) {
        seams->stopDrag();
    }
}

void StateManager::SetChannelState(int channel, int32_t state, const char* reason) {
    if (channel < 0 || channel >= kChannelCount) {
        // Refused rather than folded into channel 0: a bad number must not overwrite the Video state.
        Write("[STATE][WARN] channel state refused channel=%d state=%d reason=%s", channel,
              static_cast<int>(state), reason != nullptr ? reason : "");
        return;
    }

    // 1. The runtime state's entry (read by the user interface).
    int32_t runtimeOld = 0;
    bool runtimeChanged = RuntimeSetChannelState(channel, state, &runtimeOld);
    if (runtimeChanged)
        RuntimeNotifyChanged();

    // 2. Input: tcpInputConnected follows Connected, with no reason (the route-restore rule applies).
    if (channel == kChannelInput)
        SetTcpInputConnected(state == static_cast<int32_t>(ChannelState::Connected), nullptr);

    // 3. The last reported state for the service log.
    bool reportChanged;
    {
        std::lock_guard<std::mutex> lock(m_reportMutex);
        reportChanged = m_reported[channel] != state;
        m_reported[channel] = state;
    }

    // 4. The StateManager's own copy.
    int32_t old = m_channels[channel].exchange(state);
    if (old != state) {
        Write("[STATE][NET] channel=%d state=%d", channel, static_cast<int>(state));
        LogIntTransition("NETWORK", "channelState", old, state, "ChannelStateChanged");
    }

    // 5. The service log.
    if (reportChanged)
        Write("[NET][SERVICE] channel=%d state=%d reason=%s", channel, static_cast<int>(state),
              reason != nullptr ? reason : "");

    // 6. Video drives the drag service and the connected flag.
    if (channel == kChannelVideo) {
        switch (static_cast<ChannelState>(state)) {
        case ChannelState::Connected:
            DragConnection(true, reason);
            SetConnected(true, "Connected");
            break;
        case ChannelState::Disabled:
        case ChannelState::Disconnected:
        case ChannelState::Error:
            DragConnection(false, reason);
            SetConnected(false, "Disconnected");
            break;
        default:
            break;
        }
    }

    // 7. Publish the change of the runtime entry.
    if (runtimeChanged) {
        TslyEvent event;
        event.type = kEventChannelStateChanged;
        event.id = 0;
        event.value1 = channel;
        event.value2 = state;
        event.text = reason != nullptr ? reason : "";
        (m_events != nullptr ? *m_events : EventBus::Instance()).Publish(event);
        Write("ConnectionState %s: %s -> %s%s%s", ChannelName(channel), ConnectionStateName(runtimeOld),
              ConnectionStateName(state), HasText(reason) ? " reason=" : "", HasText(reason) ? reason : "");
    }
}

void StateManager::ResetConnectionStates() {
    for (int channel = 0; channel < kChannelCount; ++channel)
        RuntimeSetChannelState(channel, static_cast<int32_t>(ChannelState::Disconnected));
    DragConnection(false, "ResetConnectionStates");
    SetConnected(false, "Disconnected");
    SetTcpInputConnected(false, "TcpInputDisconnected");
}
