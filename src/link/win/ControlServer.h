#pragma once

#include <cstdint>

#include "link/ControlDispatchServer.h"
#include "link/ControlMessage.h"

class DiscoveryRun;

// The TCP control server: one message per connection on port 5003, read and answered by
// link/ControlDispatchServer.h. It is the body of discovery's thread "DiscoveryControl", which the discovery
// service starts and stops with its other threads.
namespace Discovery {

// Creates the listener (SO_REUSEADDR, INADDR_ANY, backlog 8, non-blocking), sets the control-running flag and
// serves connections one at a time until the run stops; then closes the listener, clears the flag (logging
// "[NET][SERVICE] control running=0 reason=tcp control stopped" when it was set) and logs "Discovery TCP
// control stopped". A socket or bind failure is logged and ends the body at once (the flag stays clear).
//
// The listener is polled: after a failed accept the body waits 20 ms (WSAEWOULDBLOCK) or 50 ms (another
// error) on the run, so a stop ends the wait at once. Each accepted connection is switched to blocking before
// it is read: it inherits the listener's non-blocking mode, in which SO_RCVTIMEO does nothing and a recv
// made before the bytes arrive fails at once, losing the message. Blocking, each recv waits up to 500 ms,
// and a message must be complete within 2000 ms.
void TcpControlServerLoop(const DiscoveryRun& run, uint16_t port = kControlPort,
                          IControlServerSink& sink = DefaultControlServerSink());

} // namespace Discovery
