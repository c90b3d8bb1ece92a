#include "link/win/ControlSender.h"

#include <ws2tcpip.h>

#include <algorithm>
#include <vector>
#include <utility>

#include "core/Log.h"
#include "core/StallScope.h"
#include "core/win/CloseHelpers.h"
#include "core/win/SocketWait.h"
#include "link/ControlMessage.h"
#include "link/ControlRequestParams.h"
#include "link/LocalIdentity.h"
#include "link/VideoSyncExchange.h"
#include "core/HasText.h"

namespace Discovery {

namespace {

constexpr const char* kSocketLabel = "Discovery TCP control";

bool ToAddress(const char* ip, uint16_t port, sockaddr_in& address) {
    address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    return ip != nullptr && ::inet_pton(AF_INET, ip, &address.sin_addr) == 1;
}

// Reads a reply until it holds "end=1;", reaches the limit, or recv gives 0 or less (end, error, time-out).
std::string ReadReply(SOCKET socket, uint32_t timeoutMs) {
    DWORD timeout = timeoutMs;
    ::setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
    std::string reply;
    char piece[kReplyPieceBytes];
    while (reply.size() < kReplyMaxBytes) {
        int want = static_cast<int>(std::min(sizeof piece, kReplyMaxBytes - reply.size()));
        int got = ::recv(socket, piece, want, 0);
        if (got <= 0)
            break;
        reply.append(piece, static_cast<size_t>(got));
        if (reply.find("end=1;") != std::string::npos)
            break;
    }
    return reply;
}

int BytesOf(std::string_view text) {
    return static_cast<int>(text.size());
}

SyncExchange ExchangeSyncMessage(const std::string& ip, const std::string& text, uint32_t connectTimeoutMs,
                                 uint32_t replyTimeoutMs) {
    TcpExchangeResult result = ExchangeTcpMessage(ip, kControlPort, text, connectTimeoutMs, replyTimeoutMs);
    SyncExchange exchange;
    exchange.stage = result.stage == TcpExchangeStage::ConnectFailed ? SyncExchangeStage::ConnectFailed
                     : result.stage == TcpExchangeStage::SendFailed  ? SyncExchangeStage::SendFailed
                                                                     : SyncExchangeStage::Sent;
    exchange.wsa = result.wsa;
    exchange.bytes = BytesOf(text);
    exchange.reply = std::move(result.reply);
    return exchange;
}

} // namespace

UniqueSocket TcpConnectWithTimeout(const char* ip, uint16_t port, uint32_t timeoutMs, int& wsa) {
    StallScope stall("Discovery", "TcpConnectWithTimeout", 300);
    sockaddr_in address;
    if (!ToAddress(ip, port, address)) {
        wsa = WSAEINVAL;
        return UniqueSocket();
    }
    UniqueSocket socket(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (!socket.Valid()) {
        wsa = ::WSAGetLastError();
        return UniqueSocket();
    }
    wsa = 0;
    if (!SetSocketBlocking(socket.Get(), false)) {
        wsa = ::WSAGetLastError();
    } else if (::connect(socket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        int error = ::WSAGetLastError();
        bool inProgress = error == WSAEWOULDBLOCK || error == WSAEINPROGRESS || error == WSAEINVAL;
        wsa = inProgress ? WaitForConnect(socket.Get(), timeoutMs) : error;
    }
    if (wsa == 0 && !SetSocketBlocking(socket.Get(), true))
        wsa = ::WSAGetLastError();
    if (wsa != 0) {
        CloseSocketLogged(socket.Release(), kSocketLabel);
        return UniqueSocket();
    }
    return socket;
}

bool SendAllSocket(SOCKET socket, std::string_view text, int& wsa) {
    StallScope stall("Discovery", "SendAllSocket", 100);
    while (!text.empty()) {
        int chunk = static_cast<int>(std::min<size_t>(text.size(), 0x7FFFFFFF));
        int sent = ::send(socket, text.data(), chunk, 0);
        if (sent <= 0) {
            wsa = sent < 0 ? ::WSAGetLastError() : 0;
            return false;
        }
        text.remove_prefix(static_cast<size_t>(sent));
    }
    wsa = 0;
    return true;
}

TcpExchangeResult ExchangeTcpMessage(const std::string& ip, uint16_t port, std::string_view text,
                                     uint32_t connectTimeoutMs, uint32_t replyTimeoutMs) {
    TcpExchangeResult result;
    UniqueSocket socket = TcpConnectWithTimeout(ip.c_str(), port, connectTimeoutMs, result.wsa);
    if (!socket.Valid())
        return result;
    if (!SendAllSocket(socket.Get(), text, result.wsa)) {
        result.stage = TcpExchangeStage::SendFailed;
    } else {
        result.stage = TcpExchangeStage::Sent;
        ::shutdown(socket.Get(), SD_SEND);
        if (replyTimeoutMs > 0)
            result.reply = ReadReply(socket.Get(), replyTimeoutMs);
    }
    CloseSocketLogged(socket.Release(), kSocketLabel);
    return result;
}

bool SendLivenessPing(const std::string& ip) {
    std::string text = BuildPingMessage(CurrentLocalIdentity());
    return ExchangeTcpMessage(ip, kControlPort, text, kPingConnectTimeoutMs, 0).stage ==
           TcpExchangeStage::Sent;
}

bool SendTcpControlMessage(const std::string& ip, const char* verb, std::string_view text) {
    StallScope stall("Discovery", "SendTcpControlMessage", 300);
    TcpExchangeResult result = ExchangeTcpMessage(ip, kControlPort, text, kControlConnectTimeoutMs, 0);
    if (result.stage == TcpExchangeStage::ConnectFailed) {
        Log::Write("Discovery TCP control connect failed ip=%s port=%u wsa=%d", ip.c_str(),
                   unsigned(kControlPort), result.wsa);
        return false;
    }
    bool ok = result.stage == TcpExchangeStage::Sent;
    Log::Write("Discovery TCP control send verb=%s ip=%s bytes=%d ok=%d", verb, ip.c_str(), BytesOf(text),
               ok ? 1 : 0);
    return ok;
}

bool SendUdpFallback(const std::string& ip, std::string_view text, const char* label) {
    if (ip.empty() || text.empty())
        return false;
    const char* what = HasText(label) ? label : "control";
    sockaddr_in address;
    if (!ToAddress(ip.c_str(), kDiscoveryPrimaryPort, address)) {
        Log::Write("Discovery UDP fallback %s to %s failed: not an IPv4 address", what, ip.c_str());
        return false;
    }
    UniqueSocket socket(::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP));
    if (!socket.Valid()) {
        Log::Write("Discovery UDP fallback %s to %s failed wsa=%d", what, ip.c_str(), ::WSAGetLastError());
        return false;
    }
    std::vector<uint16_t> sent;
    for (uint16_t port : {kDiscoveryPrimaryPort, kDiscoveryLegacyPort}) {
        address.sin_port = htons(port);
        if (::sendto(socket.Get(), text.data(), BytesOf(text), 0, reinterpret_cast<const sockaddr*>(&address),
                     sizeof address) < 0)
            Log::Write("Discovery UDP fallback %s to %s port=%u failed wsa=%d", what, ip.c_str(),
                       unsigned(port), ::WSAGetLastError());
        else
            sent.push_back(port);
    }
    CloseSocketLogged(socket.Release(), "Discovery UDP fallback");
    if (sent.empty()) {
        Log::Write("Discovery UDP fallback %s to %s failed on both ports", what, ip.c_str());
        return false;
    }
    if (sent.size() == 1)
        Log::Write("Discovery sent UDP fallback %s to %s ports=%u", what, ip.c_str(), unsigned(sent.front()));
    else
        Log::Write("Discovery sent UDP fallback %s to %s ports=%u,%u", what, ip.c_str(), unsigned(sent[0]),
                   unsigned(sent[1]));
    return true;
}

void SendControlRequest(const std::string& ip, const ControlRequestParams& request) {
    LocalIdentity identity = CurrentLocalIdentity();
    if (!SendTcpControlMessage(ip, kVerbControlRequest,
                               BuildControlRequestMessage(identity, request, ControlTransport::Tcp)))
        SendUdpFallback(ip, BuildControlRequestMessage(identity, request, ControlTransport::Udp),
                        "control request");
}

void SendControlStop(const std::string& ip) {
    LocalIdentity identity = CurrentLocalIdentity();
    if (!SendTcpControlMessage(ip, kVerbControlStop,
                               BuildControlStopMessage(identity, ControlTransport::Tcp)))
        SendUdpFallback(ip, BuildControlStopMessage(identity, ControlTransport::Udp), "control stop");
}

bool NotifyDesktopState(const std::string& ip, bool locked) {
    if (ip.empty())
        return false;
    std::string text = BuildDesktopStateMessage(CurrentLocalIdentity(), locked);
    TcpExchangeResult result = ExchangeTcpMessage(ip, kControlPort, text, kControlConnectTimeoutMs, 0);
    if (result.stage == TcpExchangeStage::ConnectFailed) {
        Log::Write("Discovery TCP control-extra connect failed ip=%s port=%u wsa=%d", ip.c_str(),
                   unsigned(kControlPort), result.wsa);
        return false;
    }
    bool ok = result.stage == TcpExchangeStage::Sent;
    Log::Write("Discovery TCP control-extra send verb=%s ip=%s extra=locked=%d bytes=%d ok=%d",
               kVerbDesktopState, ip.c_str(), locked ? 1 : 0, BytesOf(text), ok ? 1 : 0);
    return ok;
}

bool SendVideoVisibility(const std::string& ip, bool hidden, uint32_t viewSeq, const char* reason) {
    std::string text = BuildVideoVisibilityMessage(CurrentLocalIdentity(), hidden, viewSeq);
    return ReportVisibilityExchange(
        ip, hidden, viewSeq, reason,
        ExchangeSyncMessage(ip, text, kVisibilityConnectTimeoutMs, kVisibilityReplyTimeoutMs));
}

bool SendVideoQuality(const std::string& ip, bool ultra, uint32_t qualitySeq, uint32_t attempt) {
    std::string text = BuildVideoQualityMessage(CurrentLocalIdentity(), ultra, qualitySeq);
    return ReportQualityExchange(
        ip, ultra, qualitySeq, attempt,
        ExchangeSyncMessage(ip, text, kControlConnectTimeoutMs, kQualityReplyTimeoutMs));
}

} // namespace Discovery
