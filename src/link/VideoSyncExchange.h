#pragma once

#include <cstdint>
#include <string>

// How one visibility or quality exchange over TCP ended, as the Windows sender saw it, and what it means:
// the sender's log line and whether the reply confirms the request (link/ControlMessageRead.h).

enum class SyncExchangeStage { ConnectFailed, SendFailed, Sent };

struct SyncExchange {
    SyncExchangeStage stage = SyncExchangeStage::ConnectFailed;
    int wsa = 0;
    int bytes = 0;     // the message's length
    std::string reply; // what came back (at most 1024 bytes); empty after a time-out
};

// Logs "[VIDEO][VISIBILITY][TX_CONNECT_FAIL] ...", "[VIDEO][VISIBILITY][TX_SEND_FAIL] ..." or
// "[VIDEO][VISIBILITY][TX_ACK] ..." (reason "sync" when null or empty); true when the reply confirms hidden
// and viewSeq.
bool ReportVisibilityExchange(const std::string& peer, bool hidden, uint32_t viewSeq, const char* reason,
                              const SyncExchange& exchange);
// Logs "[QUALITY][TX_CONNECT_FAIL] ...", "[QUALITY][TX_SEND_FAIL] ..." or "[QUALITY][TX_ACK] ..."; true when
// the reply confirms the mode and qualitySeq.
bool ReportQualityExchange(const std::string& peer, bool ultra, uint32_t qualitySeq, uint32_t attempt,
                           const SyncExchange& exchange);
