#include "media/win/TcpVideoReceiver.h"

#include <ws2tcpip.h>

#include <utility>

#include "core/Log.h"
#include "core/StallScope.h"
#include "core/win/CloseHelpers.h"
#include "core/win/SocketListen.h"
#include "core/win/SocketWait.h"
#include "media/VideoFrameHeader.h"
#include "media/win/VideoSocket.h"

namespace {

bool IsReadable(SOCKET socket, long timeoutUs, int& wsa) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(socket, &readable);
    timeval timeout = {0, timeoutUs};
    const int ready = ::select(0, &readable, nullptr, nullptr, &timeout);
    wsa = ready < 0 ? ::WSAGetLastError() : 0;
    return ready > 0;
}

} // namespace

TcpVideoReceiver::TcpVideoReceiver(AcceptFilter acceptFilter) : m_acceptFilter(std::move(acceptFilter)) {}

TcpVideoReceiver::~TcpVideoReceiver() {
    Shutdown();
}

bool TcpVideoReceiver::Listen(uint16_t port) {
    Shutdown();
    m_listener.Reset(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (!m_listener.Valid()) {
        Log::Write("TCP video receiver socket failed wsa=%d", ::WSAGetLastError());
        return false;
    }
    ConfigureVideoSocket(m_listener.Get());
    SetSocketBlocking(m_listener.Get(), false);
    if (!BindReusableAny(m_listener.Get(), port)) {
        Log::Write("TCP video bind port=%u failed wsa=%d", static_cast<unsigned>(port), ::WSAGetLastError());
        CloseSocketLogged(m_listener.Release(), "TcpVideoReceiver::Init");
        return false;
    }
    if (::listen(m_listener.Get(), 1) != 0) {
        Log::Write("TCP video listen port=%u failed wsa=%d", static_cast<unsigned>(port),
                   ::WSAGetLastError());
        CloseSocketLogged(m_listener.Release(), "TcpVideoReceiver::Listen");
        return false;
    }
    sockaddr_in address = {};
    int size = sizeof address;
    m_port = ::getsockname(m_listener.Get(), reinterpret_cast<sockaddr*>(&address), &size) == 0
                 ? ntohs(address.sin_port)
                 : port;
    Log::Write("TCP video receiver listening 0.0.0.0:%u", static_cast<unsigned>(m_port));
    return true;
}

bool TcpVideoReceiver::ReceiveFrame(std::vector<uint8_t>& payload, uint32_t& frameId, uint32_t& videoWidth,
                                    uint32_t& videoHeight, uint32_t& desktopWidth, uint32_t& desktopHeight,
                                    uint32_t* codec) {
    payload.clear();
    frameId = videoWidth = videoHeight = desktopWidth = desktopHeight = 0;
    if (codec != nullptr)
        *codec = 0;
    {
        StallScope stall("VideoNetwork", "AcceptIfNeeded", 200);
        if (!m_client.Valid() && !AcceptIfNeeded())
            return false;
    }
    if (!ReadAvailable())
        return false;
    m_assembler.TrimBacklog();
    VideoFrameInfo info;
    switch (m_assembler.TakeFrame(payload, info)) {
    case VideoFrameAssembler::Take::Frame:
        break;
    case VideoFrameAssembler::Take::Skipped:
        frameId = info.frameId;
        return false;
    case VideoFrameAssembler::Take::Reset:
        ResetClient();
        return false;
    case VideoFrameAssembler::Take::NeedMore:
        return false;
    }
    frameId = info.frameId;
    videoWidth = info.videoWidth;
    videoHeight = info.videoHeight;
    desktopWidth = info.desktopWidth;
    desktopHeight = info.desktopHeight;
    if (codec != nullptr)
        *codec = info.codec;
    return true;
}

void TcpVideoReceiver::Shutdown() {
    ResetClient();
    CloseSocketLogged(m_listener.Release(), "TcpVideoReceiver::ShutdownListen");
    m_port = 0;
}

bool TcpVideoReceiver::AcceptIfNeeded() {
    if (!m_listener.Valid())
        return false;
    int wsa = 0;
    if (!IsReadable(m_listener.Get(), kVideoAcceptPollMs * 1000, wsa))
        return false;
    sockaddr_in address = {};
    int size = sizeof address;
    UniqueSocket client(::accept(m_listener.Get(), reinterpret_cast<sockaddr*>(&address), &size));
    if (!client.Valid()) {
        wsa = ::WSAGetLastError();
        if (wsa != WSAEWOULDBLOCK)
            Log::Write("TCP video accept failed wsa=%d", wsa);
        return false;
    }
    char ip[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &address.sin_addr, ip, sizeof ip);
    const unsigned port = ntohs(address.sin_port);
    if (!m_acceptFilter || !m_acceptFilter(ip)) {
        Log::Write("TCP video receiver refused peer=%s:%u: not the active peer; connection closed", ip, port);
        ShutdownSocketQuiet(client.Get());
        CloseSocketLogged(client.Release(), "TcpVideoReceiver::Refused");
        return false;
    }
    ConfigureVideoSocket(client.Get());
    SetSocketBlocking(client.Get(), false);
    m_assembler.Clear();
    m_client = std::move(client);
    Log::Write("TCP video receiver accepted peer=%s:%u", ip, port);
    return true;
}

bool TcpVideoReceiver::ReadAvailable() {
    if (m_assembler.ReadAllowance() == 0)
        return true;
    // The socket is non-blocking, so recv itself is the zero-wait poll: a select before it would double
    // the calls, and each is a round trip to the server under Wine.
    int wsa = 0;
    for (size_t allowance; (allowance = m_assembler.ReadAllowance()) > 0;) {
        uint8_t* tail = m_assembler.PrepareAppend(allowance);
        const int got = ::recv(m_client.Get(), reinterpret_cast<char*>(tail), static_cast<int>(allowance), 0);
        if (got > 0) {
            if (!m_assembler.CommitAppend(static_cast<size_t>(got))) {
                ResetClient();
                return false;
            }
            continue;
        }
        if (got == 0) {
            Log::Write("TCP video peer closed");
        } else {
            wsa = ::WSAGetLastError();
            if (wsa == WSAEWOULDBLOCK)
                return true;
            Log::Write("TCP video recv failed wsa=%d", wsa);
        }
        ResetClient();
        return false;
    }
    return true;
}

void TcpVideoReceiver::ResetClient() {
    ShutdownSocketQuiet(m_client.Get());
    CloseSocketLogged(m_client.Release(), "TcpVideoReceiver::CloseClient");
    m_assembler.Clear();
}
