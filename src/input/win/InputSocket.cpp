#include "input/win/InputSocket.h"

#include <mstcpip.h>
#include <ws2tcpip.h>

#include <windows.h>

#include "core/StallScope.h"

void SetInputSocketKeepAlive(SOCKET socket) {
    BOOL on = TRUE;
    ::setsockopt(socket, SOL_SOCKET, SO_KEEPALIVE, reinterpret_cast<const char*>(&on), sizeof on);
    tcp_keepalive values = {};
    values.onoff = 1;
    values.keepalivetime = kInputKeepAliveIdleMs;
    values.keepaliveinterval = kInputKeepAliveIntervalMs;
    DWORD returned = 0;
    ::WSAIoctl(socket, SIO_KEEPALIVE_VALS, &values, sizeof values, nullptr, 0, &returned, nullptr, nullptr);
}

void SetInputSocketNoDelay(SOCKET socket) {
    BOOL on = TRUE;
    ::setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
}

int SendExactSocket(SOCKET socket, const uint8_t* data, size_t size, uint32_t timeoutMs, int& wsa) {
    wsa = 0;
    size_t sent = 0;
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    while (sent < size) {
        const int n =
            ::send(socket, reinterpret_cast<const char*>(data + sent), static_cast<int>(size - sent), 0);
        if (n > 0) {
            sent += static_cast<size_t>(n);
            continue;
        }
        wsa = n < 0 ? ::WSAGetLastError() : 0;
        if (wsa != WSAEWOULDBLOCK)
            break;
        // A non-blocking socket with full buffers: wait for room, but not past the deadline.
        const ULONGLONG now = ::GetTickCount64();
        const uint32_t left = now < deadline ? static_cast<uint32_t>(deadline - now) : 0;
        fd_set writable;
        FD_ZERO(&writable);
        FD_SET(socket, &writable);
        timeval timeout = {static_cast<long>(left / 1000), static_cast<long>(left % 1000) * 1000};
        const int ready = left == 0 ? 0 : ::select(0, nullptr, &writable, nullptr, &timeout);
        if (ready <= 0) {
            wsa = ready == 0 ? WSAETIMEDOUT : ::WSAGetLastError();
            break;
        }
        wsa = 0;
    }
    return static_cast<int>(sent);
}

int SendInputRecord(SOCKET socket, const InputPacket& packet, uint32_t timeoutMs, int& wsa) {
    StallScope scope("InputChannel", "SendExactSocket", 80);
    uint8_t bytes[kInputPacketSize];
    EncodeInputPacket(packet, bytes);
    return SendExactSocket(socket, bytes, sizeof bytes, timeoutMs, wsa);
}

RecordRead ReadInputRecord(SOCKET socket, InputRecordReader& reader, uint32_t timeoutMs) {
    StallScope scope("InputChannel", "RecvExactSocket", 80);
    RecordRead read;
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        read.result = reader.Next(read.packet, read.magic);
        if (read.result != InputRecordReader::Result::NeedMore) {
            read.got = static_cast<int>(kInputPacketSize);
            return read;
        }
        read.got = static_cast<int>(reader.Pending());
        const ULONGLONG now = ::GetTickCount64();
        if (now >= deadline) {
            read.wsa = WSAETIMEDOUT;
            return read;
        }
        int ready = WaitReadable(socket, static_cast<uint32_t>(deadline - now));
        if (ready == 0)
            continue;
        if (ready < 0) {
            read.wsa = ::WSAGetLastError();
            return read;
        }
        int n =
            ::recv(socket, reinterpret_cast<char*>(reader.Space()), static_cast<int>(reader.SpaceSize()), 0);
        if (n == 0) {
            read.closed = true;
            return read;
        }
        if (n < 0) {
            read.wsa = ::WSAGetLastError();
            if (read.wsa == WSAEWOULDBLOCK || read.wsa == WSAETIMEDOUT)
                continue;
            return read;
        }
        reader.Commit(static_cast<size_t>(n));
    }
}
