#include "media/win/TcpVideoSender.h"

#include <ws2tcpip.h>

#include <atomic>

#include "core/Log.h"
#include "core/win/CloseHelpers.h"
#include "core/win/SocketWait.h"
#include "media/VideoColor.h"
#include "media/VideoTransportTiming.h"
#include "media/win/HdrSwitch.h"
#include "media/win/VideoSocket.h"

namespace {

std::atomic<bool> g_firstSendLogged{false};

unsigned long Ul(uint32_t value) {
    return static_cast<unsigned long>(value);
}

void LogFirstSendOnce(const VideoFrameHeader& h) {
    bool expected = false;
    if (!g_firstSendLogged.compare_exchange_strong(expected, true))
        return;
    Log::Write(
        "[COLOR][TX][VIDEO-HDR] firstSend frame=%lu payload=%lu video=%lux%lu desktop=%lux%lu codec=%s "
        "color=%s transfer=%s bitDepth=%lu hdrFlags=0x%08lX",
        Ul(h.frameId), Ul(h.payloadBytes), Ul(h.videoWidth), Ul(h.videoHeight), Ul(h.desktopWidth),
        Ul(h.desktopHeight), VideoCodecName(h.codec), VideoColorModeName(h.colorMode),
        VideoTransferName(h.transfer), Ul(h.bitDepth), Ul(h.hdrFlags));
}

// One connect attempt on a fresh non-blocking socket, waiting at most waitMs; 0 or the Winsock error.
int TryConnect(UniqueSocket& socket, const sockaddr_in& address, uint32_t waitMs) {
    if (::connect(socket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
        return 0;
    const int error = ::WSAGetLastError();
    const bool inProgress = error == WSAEWOULDBLOCK || error == WSAEINPROGRESS || error == WSAEINVAL;
    return inProgress ? WaitForConnect(socket.Get(), waitMs) : error;
}

} // namespace

TcpVideoSender::~TcpVideoSender() {
    Shutdown();
}

bool TcpVideoSender::Connect(const std::string& peerIp, uint16_t port) {
    Shutdown();
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    const uint64_t first = ::GetTickCount64();
    int wsa = 0;
    for (;;) {
        // A fresh socket per attempt: an attempt whose wait ran out may still be pending in the stack, and
        // connect on that socket would only report it as already in progress.
        m_socket.Reset(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
        if (!m_socket.Valid()) {
            Log::Write("TCP video sender socket failed wsa=%d", ::WSAGetLastError());
            return false;
        }
        ConfigureVideoSocket(m_socket.Get());
        if (::inet_pton(AF_INET, peerIp.c_str(), &address.sin_addr) != 1) {
            Log::Write("TCP video inet_pton failed peer_ip=%s wsa=%d", peerIp.c_str(), ::WSAGetLastError());
            Drop("TcpVideoSender::Init");
            return false;
        }
        const uint32_t waitMs = VideoConnectAttemptWaitMs(::GetTickCount64() - first);
        wsa = SetSocketBlocking(m_socket.Get(), false) ? TryConnect(m_socket, address, waitMs)
                                                       : ::WSAGetLastError();
        if (wsa == 0)
            break;
        Drop("TcpVideoSender::ConnectFailed");
        if (::GetTickCount64() - first + kVideoConnectRetryMs >= kVideoConnectBudgetMs) {
            Log::Write("TCP video connect failed peer=%s:%u wsa=%d", peerIp.c_str(),
                       static_cast<unsigned>(port), wsa);
            return false;
        }
        ::Sleep(kVideoConnectRetryMs);
    }
    m_connected = true;
    Log::Write("TCP video sender connected peer=%s:%u", peerIp.c_str(), static_cast<unsigned>(port));
    return true;
}

bool TcpVideoSender::SendFrame(const uint8_t* data, size_t size, uint32_t frameId, uint32_t videoWidth,
                               uint32_t videoHeight, uint32_t desktopWidth, uint32_t desktopHeight,
                               VideoCodecFlag codec) {
    if (!m_socket.Valid() || !m_connected || data == nullptr || size == 0 || size > kVideoMaxFrameBytes)
        return false;
    const VideoFrameHeader header =
        MakeVideoFrameHeader(frameId, static_cast<uint32_t>(size), videoWidth, videoHeight, desktopWidth,
                             desktopHeight, codec, IsHdrFrameworkEnabled());
    uint8_t bytes[kVideoFrameHeaderBytes];
    PackVideoFrameHeader(header, bytes);
    const uint64_t deadline = ::GetTickCount64() + kVideoSendTimeoutMs;
    if (!SendAll(m_socket.Get(), bytes, sizeof bytes, deadline) ||
        !SendAll(m_socket.Get(), data, size, deadline)) {
        // The stream now ends inside a frame; the receiver could only reset on it.
        Drop("TcpVideoSender::SendFailed");
        return false;
    }
    LogFirstSendOnce(header);
    return true;
}

void TcpVideoSender::Shutdown() {
    Drop("TcpVideoSender::Shutdown");
}

void TcpVideoSender::Drop(const char* scope) {
    m_connected = false;
    CloseSocketLogged(m_socket.Release(), scope);
}
