#pragma once

#include <winsock2.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "core/win/Handles.h"

struct ControlRequestParams;

// The small TCP and UDP clients of the control protocol. Messages come from link/ControlMessage.h with the
// identity of Discovery::CurrentLocalIdentity(). Callers pass peer addresses from the peer table or the
// active peer, which only ever hold link (10.x) addresses; the senders themselves do not filter.
// Every call blocks for at most its connect and reply time-outs; none throws.
namespace Discovery {

// Opens a TCP connection: a non-blocking connect, waited on with select up to timeoutMs, checked with
// SO_ERROR, then switched back to blocking. On failure returns an invalid socket and sets wsa (WSAETIMEDOUT
// after the time-out, WSAEINVAL for an address that is not dotted IPv4). Stall scope
// ("Discovery", "TcpConnectWithTimeout", 300 ms).
UniqueSocket TcpConnectWithTimeout(const char* ip, uint16_t port, uint32_t timeoutMs, int& wsa);

// Writes all of text with repeated send calls; false (wsa set) as soon as one returns 0 or less. Stall scope
// ("Discovery", "SendAllSocket", 100 ms). The control server writes its replies with it too.
bool SendAllSocket(SOCKET socket, std::string_view text, int& wsa);

enum class TcpExchangeStage { ConnectFailed, SendFailed, Sent };

struct TcpExchangeResult {
    TcpExchangeStage stage = TcpExchangeStage::ConnectFailed;
    int wsa = 0;       // Winsock error of the failed step; 0 when sent
    std::string reply; // what came back, at most 1024 bytes; empty without a reply wait
};

// One message on a fresh connection: connect, send all, shut down the sending side; when replyTimeoutMs is
// non-zero, set SO_RCVTIMEO and read the reply in 256-byte pieces until it holds "end=1;", reaches 1024
// bytes or recv returns 0 or less; close. The visibility and quality senders use it with
// kVisibilityConnectTimeoutMs / kVisibilityReplyTimeoutMs and kControlConnectTimeoutMs /
// kQualityReplyTimeoutMs, and judge the reply with AckConfirmsVisibility / AckConfirmsQuality.
TcpExchangeResult ExchangeTcpMessage(const std::string& ip, uint16_t port, std::string_view text,
                                     uint32_t connectTimeoutMs, uint32_t replyTimeoutMs);

// The liveness check: TSLY_PING to port 5003 with the 180 ms connect time-out. True when connect and the
// full send succeeded. Logs nothing.
bool SendLivenessPing(const std::string& ip);

// One control message (text in its TCP form) to port 5003 with the 350 ms connect time-out. Logs
// "Discovery TCP control send verb=%s ip=%s bytes=%d ok=%d" or
// "Discovery TCP control connect failed ip=%s port=%u wsa=%d"; true when connect and the full send
// succeeded. Stall scope ("Discovery", "SendTcpControlMessage", 300 ms).
bool SendTcpControlMessage(const std::string& ip, const char* verb, std::string_view text);

// Sends text as one datagram from a fresh UDP socket to ip on 38999 and then on 58999, closes the socket
// and logs "Discovery sent UDP fallback %s to %s ports=%u,%u" (label "control" when null or empty), naming
// only the ports it was sent to. When neither send worked it logs "Discovery UDP fallback %s to %s failed on
// both ports" instead and returns false. Nothing is sent (false) when ip or text is empty.
bool SendUdpFallback(const std::string& ip, std::string_view text, const char* label);

// TSLY_CONTROL_REQUEST: the TCP form, else the UDP fallback form with label "control request". The request
// is BuildControlRequestParams(sources, ip) (link/ControlRequestParams.h).
void SendControlRequest(const std::string& ip, const ControlRequestParams& request);

// TSLY_CONTROL_STOP: the TCP form, else "TSLY_CONTROL_STOP;id=%s;name=%s;" by UDP with label "control stop".
void SendControlStop(const std::string& ip);

// TSLY_DESKTOP_STATE over TCP only (nothing when ip is empty). Logs
// "Discovery TCP control-extra send verb=%s ip=%s extra=%s bytes=%d ok=%d" or
// "Discovery TCP control-extra connect failed ip=%s port=%u wsa=%d". True when sent.
bool NotifyDesktopState(const std::string& ip, bool locked);

// TSLY_VIDEO_VISIBILITY to port 5003 (500 ms connect, 700 ms reply time-out) and TSLY_VIDEO_QUALITY (350 ms,
// 300 ms). Each logs its "[VIDEO][VISIBILITY][TX_...]" or "[QUALITY][TX_...]" line (link/VideoSyncExchange.h)
// and returns true when the reply confirms the request.
bool SendVideoVisibility(const std::string& ip, bool hidden, uint32_t viewSeq, const char* reason);
bool SendVideoQuality(const std::string& ip, bool ultra, uint32_t qualitySeq, uint32_t attempt);

} // namespace Discovery
