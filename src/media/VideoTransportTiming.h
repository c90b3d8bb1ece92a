#pragma once

#include <cstdint>

// Time bounds of the video sender, so that the host's run loop never waits long on a controller that has
// gone away.

// Connect: attempts 50 ms apart until 2,500 ms have passed since the first one. An attempt waits for its
// connection only for what is left of the budget, so the whole connect ends close to 2,500 ms even when
// the peer never answers.
inline constexpr uint32_t kVideoConnectRetryMs = 50;
inline constexpr uint32_t kVideoConnectBudgetMs = 2500;

// How long the attempt that starts elapsedMs after the first one may wait for its connection; 0 when the
// budget is spent and no attempt is made.
uint32_t VideoConnectAttemptWaitMs(uint64_t elapsedMs);

// Send: one frame (header and encoded bytes) must be taken by the socket within 2,000 ms. A stream a
// frame cannot leave in that time is treated as lost: the frame is cut, so the sender drops the
// connection and the host reconnects.
inline constexpr uint32_t kVideoSendTimeoutMs = 2000;
