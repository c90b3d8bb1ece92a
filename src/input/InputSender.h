#pragma once

#include <cstddef>

#include "input/InputPacket.h"

// The send side of the input channel as the controller's router and sessions see it. The base class is a
// channel that is not running: nothing is queued and nothing is connected. Start-up installs the real channel
// with SetInputSender; tests install a recording fake.
class IInputSender {
public:
    virtual ~IInputSender() = default;

    // The normal queue (moves merge at its tail); false when the channel is not running.
    virtual bool EnqueuePacket(const InputPacket& packet) {
        (void)packet;
        return false;
    }
    // The priority queue; false unless the channel runs as client.
    virtual bool SendPriorityPacket(const InputPacket& packet) {
        (void)packet;
        return false;
    }
    // Client: the normal queue. Host: written at once on the connection.
    virtual bool SendPacket(const InputPacket& packet) {
        (void)packet;
        return false;
    }
    // Drops every queued MOUSE_MOVE; the number removed.
    virtual size_t PurgeMoves(const char* reason) {
        (void)reason;
        return 0;
    }
    // A handshaken connection is published.
    virtual bool IsConnected() const { return false; }
};

// The installed sender; the base class while none is installed. The object must live to the end of the
// process.
void SetInputSender(IInputSender* sender);
IInputSender& InputSender();
