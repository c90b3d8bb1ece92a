// Throughput of the video transport against a plain TCP copy on the same link, for
// tests/bench/video_transport_ratio.sh:
//   VideoTransportBench recv video|raw <port> <peer-ip> <frames> <frame-bytes>
//   VideoTransportBench send video|raw <ip> <port> <frames> <frame-bytes>
// The receiver prints "READY" once it listens and, when every frame has arrived, "MBPS <value>": the bytes
// of all frames after the first over the time from the first frame to the last. "video" uses
// TcpVideoSender and TcpVideoReceiver (frames with their headers, polled as the client session does);
// "raw" is a plain socket pair with the same buffer sizes moving the same bytes in the same pieces. Both
// receivers poll without waiting, as the client session's loop polls ReceiveFrame; both senders wait for
// room with select.
// Every wait is bounded: the receiver gives up after 60 s, the sender's connect after 10 s.
#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "core/win/Handles.h"
#include "core/win/TextConvert.h"
#include "media/VideoFrameHeader.h"
#include "media/win/TcpVideoReceiver.h"
#include "media/win/TcpVideoSender.h"
#include "media/win/VideoSocket.h"

namespace {

constexpr DWORD kReceiveLimitMs = 60000;
constexpr DWORD kConnectLimitMs = 10000;

struct Args {
    bool send = false;
    bool video = false;
    std::string ip;
    uint16_t port = 0;
    size_t frames = 0;
    size_t frameBytes = 0;
};

double Mbps(size_t bytes, ULONGLONG startMs, ULONGLONG endMs) {
    const double seconds = static_cast<double>(endMs > startMs ? endMs - startMs : 1) / 1000.0;
    return static_cast<double>(bytes) / (1024.0 * 1024.0) / seconds;
}

int Report(size_t frames, size_t frameBytes, ULONGLONG firstMs, ULONGLONG lastMs) {
    std::printf("MBPS %.1f\n", Mbps((frames - 1) * frameBytes, firstMs, lastMs));
    return 0;
}

int ReceiveVideo(const Args& a) {
    TcpVideoReceiver receiver([&](const std::string& ip) { return ip == a.ip; });
    if (!receiver.Listen(a.port))
        return 1;
    std::printf("READY\n");
    std::fflush(stdout);
    std::vector<uint8_t> payload;
    uint32_t id, vw, vh, dw, dh;
    size_t received = 0;
    ULONGLONG first = 0;
    const ULONGLONG start = GetTickCount64();
    while (received < a.frames) {
        if (GetTickCount64() - start > kReceiveLimitMs) {
            std::fprintf(stderr, "video: %zu of %zu frames\n", received, a.frames);
            return 1;
        }
        if (!receiver.ReceiveFrame(payload, id, vw, vh, dw, dh))
            continue;
        if (payload.size() != a.frameBytes || id != received) {
            std::fprintf(stderr, "video: frame %zu arrived as %u with %zu bytes\n", received, id,
                         payload.size());
            return 1;
        }
        if (received++ == 0)
            first = GetTickCount64();
    }
    return Report(a.frames, a.frameBytes, first, GetTickCount64());
}

int SendVideo(const Args& a) {
    TcpVideoSender sender;
    const ULONGLONG start = GetTickCount64();
    while (!sender.Connect(a.ip, a.port)) {
        if (GetTickCount64() - start > kConnectLimitMs) {
            std::fprintf(stderr, "video: no connection\n");
            return 1;
        }
    }
    // H.264 frames without a start code, so without an IDR slice: the receiver never drops a backlog of
    // them, and every frame is measured however fast they queue.
    const std::vector<uint8_t> frame(a.frameBytes, 0x5A);
    for (size_t i = 0; i < a.frames; ++i) {
        if (!sender.SendFrame(frame.data(), frame.size(), static_cast<uint32_t>(i), 1920, 1080, 1920, 1080,
                              VideoCodecFlag::H264)) {
            std::fprintf(stderr, "video: frame %zu not sent\n", i);
            return 1;
        }
    }
    // Let the receiver read the tail before the connection goes.
    Sleep(2000);
    return 0;
}

// Waits for the listener; the copy itself never blocks, as the video transport does (a blocking recv under
// Wine is several times slower and would make the baseline weak).
bool WaitReadable(SOCKET socket, DWORD timeoutMs) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(socket, &readable);
    timeval timeout = {static_cast<long>(timeoutMs / 1000), static_cast<long>(timeoutMs % 1000) * 1000};
    return ::select(0, &readable, nullptr, nullptr, &timeout) > 0;
}

int ReceiveRaw(const Args& a) {
    UniqueSocket listener(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    ConfigureVideoSocket(listener.Get());
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    address.sin_port = htons(a.port);
    if (::bind(listener.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener.Get(), 1) != 0)
        return 1;
    std::printf("READY\n");
    std::fflush(stdout);
    if (!WaitReadable(listener.Get(), kReceiveLimitMs))
        return 1;
    UniqueSocket client(::accept(listener.Get(), nullptr, nullptr));
    if (!client.Valid())
        return 1;
    ConfigureVideoSocket(client.Get());
    u_long nonBlocking = 1;
    ::ioctlsocket(client.Get(), FIONBIO, &nonBlocking);
    std::vector<char> piece(kVideoReceivePieceBytes);
    std::vector<char> frame(a.frameBytes);
    const size_t total = a.frames * a.frameBytes;
    size_t got = 0;
    size_t inFrame = 0;
    ULONGLONG first = 0;
    const ULONGLONG start = GetTickCount64();
    while (got < total) {
        const int n = ::recv(client.Get(), piece.data(), static_cast<int>(piece.size()), 0);
        if (n < 0 && ::WSAGetLastError() == WSAEWOULDBLOCK && GetTickCount64() - start < kReceiveLimitMs)
            continue;
        if (n <= 0) {
            std::fprintf(stderr, "raw: %zu of %zu bytes\n", got, total);
            return 1;
        }
        // The same copy into a frame buffer that the video receiver makes.
        for (int at = 0; at < n;) {
            const size_t take = std::min(a.frameBytes - inFrame, static_cast<size_t>(n - at));
            std::copy(piece.data() + at, piece.data() + at + take, frame.data() + inFrame);
            inFrame += take;
            at += static_cast<int>(take);
            if (inFrame == a.frameBytes) {
                inFrame = 0;
                if (first == 0)
                    first = GetTickCount64();
            }
        }
        got += static_cast<size_t>(n);
    }
    return Report(a.frames, a.frameBytes, first, GetTickCount64());
}

bool WaitWritable(SOCKET socket, DWORD timeoutMs) {
    fd_set writable;
    FD_ZERO(&writable);
    FD_SET(socket, &writable);
    timeval timeout = {static_cast<long>(timeoutMs / 1000), static_cast<long>(timeoutMs % 1000) * 1000};
    return ::select(0, nullptr, &writable, nullptr, &timeout) > 0;
}

int SendRaw(const Args& a) {
    const ULONGLONG start = GetTickCount64();
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(a.port);
    address.sin_addr.s_addr = ::inet_addr(a.ip.c_str());
    UniqueSocket socket;
    for (;;) {
        socket.Reset(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
        ConfigureVideoSocket(socket.Get());
        if (::connect(socket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
            u_long nonBlocking = 1;
            ::ioctlsocket(socket.Get(), FIONBIO, &nonBlocking);
            break;
        }
        if (GetTickCount64() - start > kConnectLimitMs)
            return 1;
        Sleep(50);
    }
    const std::vector<char> frame(a.frameBytes, 0x5A);
    for (size_t i = 0; i < a.frames; ++i) {
        for (size_t sent = 0; sent < frame.size();) {
            const int piece = static_cast<int>(std::min(frame.size() - sent, kVideoSendPieceBytes));
            const int n = ::send(socket.Get(), frame.data() + sent, piece, 0);
            if (n < 0 && ::WSAGetLastError() == WSAEWOULDBLOCK && WaitWritable(socket.Get(), 2000))
                continue;
            if (n <= 0) {
                std::fprintf(stderr, "raw: frame %zu not sent\n", i);
                return 1;
            }
            sent += static_cast<size_t>(n);
        }
    }
    Sleep(2000);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 7) {
        std::fprintf(stderr, "usage: VideoTransportBench recv|send video|raw ...\n");
        return 2;
    }
    Args a;
    a.send = std::wcscmp(argv[1], L"send") == 0;
    a.video = std::wcscmp(argv[2], L"video") == 0;
    const int portArg = a.send ? 4 : 3;
    const int ipArg = a.send ? 3 : 4;
    a.ip = WideToUtf8(argv[ipArg]);
    a.port = static_cast<uint16_t>(std::wcstoul(argv[portArg], nullptr, 10));
    a.frames = std::wcstoul(argv[5], nullptr, 10);
    a.frameBytes = std::wcstoul(argv[6], nullptr, 10);
    if (a.frames < 2 || a.frameBytes == 0)
        return 2;
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
        return 1;
    int rc;
    if (a.send)
        rc = a.video ? SendVideo(a) : SendRaw(a);
    else
        rc = a.video ? ReceiveVideo(a) : ReceiveRaw(a);
    WSACleanup();
    return rc;
}
