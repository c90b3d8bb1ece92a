#pragma once

#include <cstdint>

#include "core/StateManagerTypes.h"

class StateManager;

// What the input channel reports to the state manager and reads back from it: the tcpInputConnected flag,
// the input route and the state of channel 1 ("Input"). An interface, so the channel's reports can be
// checked against a recording fake.
class IInputLinkState {
public:
    virtual ~IInputLinkState() = default;
    virtual void SetTcpInputConnected(bool connected, const char* reason) = 0;
    virtual bool IsRemoteLocked() = 0;
    virtual int32_t GetInputRoute() = 0;
    virtual void SetInputRoute(InputRoute route, const char* reason) = 0;
    virtual void SetChannelState(ChannelState state, const char* reason) = 0;
};

// The process's state manager (RuntimeStateManager()).
IInputLinkState& RuntimeInputLinkState();

// Over a given state manager (tests).
class StateManagerInputLinkState final : public IInputLinkState {
public:
    explicit StateManagerInputLinkState(StateManager& state) : m_state(state) {}
    void SetTcpInputConnected(bool connected, const char* reason) override;
    bool IsRemoteLocked() override;
    int32_t GetInputRoute() override;
    void SetInputRoute(InputRoute route, const char* reason) override;
    void SetChannelState(ChannelState state, const char* reason) override;

private:
    StateManager& m_state;
};

// A handshake succeeded (reason "InputHostHandshake" or "InputClientHandshake"): tcpInputConnected on, the
// route to TCP when ShouldRouteToTcp allows, channel 1 Connected.
void ReportInputHandshake(IInputLinkState& link, const char* reason);
// A connection failed or ended: tcpInputConnected off with reason, then channel 1 to channelState with
// channelReason.
void ReportInputLinkDown(IInputLinkState& link, const char* reason, ChannelState channelState,
                         const char* channelReason);
