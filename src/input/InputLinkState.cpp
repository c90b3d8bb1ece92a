#include "input/InputLinkState.h"

#include "core/RuntimeState.h"
#include "core/StateManager.h"
#include "input/InputChannelRules.h"

void StateManagerInputLinkState::SetTcpInputConnected(bool connected, const char* reason) {
    m_state.SetTcpInputConnected(connected, reason);
}

bool StateManagerInputLinkState::IsRemoteLocked() {
    return m_state.IsRemoteLocked();
}

int32_t StateManagerInputLinkState::GetInputRoute() {
    return m_state.GetInputRoute();
}

void StateManagerInputLinkState::SetInputRoute(InputRoute route, const char* reason) {
    m_state.SetInputRoute(route, reason);
}

void StateManagerInputLinkState::SetChannelState(ChannelState state, const char* reason) {
    m_state.SetChannelState(kChannelInput, state, reason);
}

namespace {

// Looks the state manager up on every call: tests bind their own for a while.
class RuntimeLinkState final : public IInputLinkState {
public:
    void SetTcpInputConnected(bool connected, const char* reason) override {
        RuntimeStateManager().SetTcpInputConnected(connected, reason);
    }
    bool IsRemoteLocked() override { return RuntimeStateManager().IsRemoteLocked(); }
    int32_t GetInputRoute() override { return RuntimeStateManager().GetInputRoute(); }
    void SetInputRoute(InputRoute route, const char* reason) override {
        RuntimeStateManager().SetInputRoute(route, reason);
    }
    void SetChannelState(ChannelState state, const char* reason) override {
        RuntimeStateManager().SetChannelState(kChannelInput, state, reason);
    }
};

} // namespace

IInputLinkState& RuntimeInputLinkState() {
    // Never destroyed: detached channel threads may report while the process exits.
    static IInputLinkState* link = new RuntimeLinkState();
    return *link;
}

void ReportInputHandshake(IInputLinkState& link, const char* reason) {
    link.SetTcpInputConnected(true, reason);
    if (ShouldRouteToTcp(link.IsRemoteLocked(), link.GetInputRoute()))
        link.SetInputRoute(InputRoute::Tcp, reason);
    link.SetChannelState(ChannelState::Connected, "input TCP handshake confirmed");
}

void ReportInputLinkDown(IInputLinkState& link, const char* reason, ChannelState channelState,
                         const char* channelReason) {
    link.SetTcpInputConnected(false, reason);
    link.SetChannelState(channelState, channelReason);
}
