// Throughput of the HTTP file pull against a plain TCP copy of the same file on the same link, for
// tests/bench/file_transfer_ratio.sh:
//   TransferBench serve <path> <host> <client-ip> <seconds>   offer the file through the file server (only
//                                                             client-ip is served); prints "URL <manifest>"
//   TransferBench pull <manifest-url> <allowed-host> <dir>    the receiver's pull: manifest, then each item
//   TransferBench tcp-send <path> <port>                      serve the file's bytes to one TCP client
//   TransferBench tcp-recv <host> <port> <out>                read them into out
// Both receivers print "MBPS <value>" (MiB/s over the whole receive, manifest included) and "BYTES <n>".
// The raw copy moves the same file in the same 64 KiB pieces, read and written as the HTTP server and client
// do, so the ratio shows what the HTTP road itself costs. Every wait is bounded: the server closes after
// <seconds>, the raw sender waits 60 s for its client and both raw sides give up on a peer silent for 15 s.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "core/CommandBusPayload.h"
#include "core/win/Handles.h"
#include "core/win/SocketWait.h"
#include "core/win/TextConvert.h"
#include "transfer/ManifestReader.h"
#include "transfer/win/FileHttpServer.h"
#include "transfer/win/HttpClient.h"

namespace {

constexpr DWORD kPieceBytes = 64 * 1024;
constexpr DWORD kAcceptLimitMs = 60000;
constexpr DWORD kSilenceLimitMs = 15000;

int Report(uint64_t bytes, ULONGLONG startMs) {
    const ULONGLONG elapsed = GetTickCount64() - startMs;
    const double seconds = static_cast<double>(elapsed > 0 ? elapsed : 1) / 1000.0;
    std::printf("MBPS %.1f\nBYTES %llu\n", static_cast<double>(bytes) / (1024.0 * 1024.0) / seconds,
                static_cast<unsigned long long>(bytes));
    return 0;
}

int Serve(const std::wstring& path, const std::string& host, const std::string& client, DWORD seconds) {
    FileHttpTransferManager& manager = FileHttpTransferManager::Instance();
    manager.SetPeerFilter([client](const std::string& ip) { return ip == client; });
    uint64_t id = 0;
    std::string payload;
    std::string url;
    if (!manager.BeginOffer({path}, host, "", id, payload) ||
        !FindCommandPayloadValue(payload, "manifestUrl", url)) {
        std::fprintf(stderr, "serve: no offer for %ls\n", path.c_str());
        return 1;
    }
    std::printf("URL %s\n", UnescapeCommandValue(url).c_str());
    std::fflush(stdout);
    Sleep(seconds * 1000);
    manager.StopServer();
    return 0;
}

int Pull(const std::string& url, const std::string& host, const std::wstring& dir) {
    HttpClient::Options options;
    options.allowedHost = host;
    std::string manifest;
    std::string error;
    const ULONGLONG start = GetTickCount64();
    if (!HttpClient::GetText(url, options, manifest, error)) {
        std::fprintf(stderr, "pull: manifest: %s\n", error.c_str());
        return 1;
    }
    std::vector<ManifestItem> items;
    size_t skipped = 0;
    if (!ParseManifest(manifest, items, skipped) || skipped != 0) {
        std::fprintf(stderr, "pull: manifest not usable (%zu items skipped)\n", skipped);
        return 1;
    }
    uint64_t bytes = 0;
    for (const ManifestItem& item : items) {
        if (!HttpClient::DownloadItem(url, item, dir, false, nullptr, options, error)) {
            std::fprintf(stderr, "pull: %s: %s\n", item.path.c_str(), error.c_str());
            return 1;
        }
        bytes += item.size;
    }
    return Report(bytes, start);
}

// The raw copy keeps the system's socket buffers: the baseline is what any plain TCP copy gets on the link.
void PrepareRawSocket(SOCKET socket) {
    SetSocketTimeouts(socket, kSilenceLimitMs);
}

int TcpSend(const std::wstring& path, uint16_t port) {
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.Valid()) {
        std::fprintf(stderr, "tcp-send: cannot open %ls gle=%lu\n", path.c_str(), GetLastError());
        return 1;
    }
    UniqueSocket listener(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    address.sin_port = htons(port);
    if (::bind(listener.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener.Get(), 1) != 0)
        return 1;
    std::printf("READY\n");
    std::fflush(stdout);
    if (WaitReadable(listener.Get(), kAcceptLimitMs) != 1)
        return 1;
    UniqueSocket client(::accept(listener.Get(), nullptr, nullptr));
    if (!client.Valid())
        return 1;
    PrepareRawSocket(client.Get());
    std::vector<char> piece(kPieceBytes);
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file.Get(), piece.data(), kPieceBytes, &read, nullptr))
            return 1;
        if (read == 0)
            break;
        for (DWORD sent = 0; sent < read;) {
            const int n = ::send(client.Get(), piece.data() + sent, static_cast<int>(read - sent), 0);
            if (n <= 0) {
                std::fprintf(stderr, "tcp-send: send failed wsa=%d\n", ::WSAGetLastError());
                return 1;
            }
            sent += static_cast<DWORD>(n);
        }
    }
    ::shutdown(client.Get(), SD_SEND);
    // The receiver reads to the end and closes; its close ends this wait.
    WaitReadable(client.Get(), kSilenceLimitMs);
    return 0;
}

int TcpRecv(const std::string& host, uint16_t port, const std::wstring& out) {
    UniqueHandle file(
        CreateFileW(out.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        std::fprintf(stderr, "tcp-recv: cannot create %ls gle=%lu\n", out.c_str(), GetLastError());
        return 1;
    }
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    if (::inet_pton(AF_INET, host.c_str(), &address.sin_addr) != 1)
        return 2;
    const ULONGLONG start = GetTickCount64();
    UniqueSocket socket(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    PrepareRawSocket(socket.Get());
    if (::connect(socket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        std::fprintf(stderr, "tcp-recv: connect failed wsa=%d\n", ::WSAGetLastError());
        return 1;
    }
    std::vector<char> piece(kPieceBytes);
    uint64_t bytes = 0;
    for (;;) {
        const int n = ::recv(socket.Get(), piece.data(), static_cast<int>(piece.size()), 0);
        if (n == 0)
            break;
        if (n < 0) {
            std::fprintf(stderr, "tcp-recv: recv failed after %llu bytes wsa=%d\n",
                         static_cast<unsigned long long>(bytes), ::WSAGetLastError());
            return 1;
        }
        DWORD written = 0;
        if (!WriteFile(file.Get(), piece.data(), static_cast<DWORD>(n), &written, nullptr) ||
            written != static_cast<DWORD>(n))
            return 1;
        bytes += static_cast<uint64_t>(n);
    }
    return Report(bytes, start);
}

int Run(int argc, wchar_t** argv) {
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"serve" && argc == 6)
        return Serve(argv[2], WideToUtf8(argv[3]), WideToUtf8(argv[4]),
                     static_cast<DWORD>(std::wcstoul(argv[5], nullptr, 10)));
    if (mode == L"pull" && argc == 5)
        return Pull(WideToUtf8(argv[2]), WideToUtf8(argv[3]), argv[4]);
    if (mode == L"tcp-send" && argc == 4)
        return TcpSend(argv[2], static_cast<uint16_t>(std::wcstoul(argv[3], nullptr, 10)));
    if (mode == L"tcp-recv" && argc == 5)
        return TcpRecv(WideToUtf8(argv[2]), static_cast<uint16_t>(std::wcstoul(argv[3], nullptr, 10)),
                       argv[4]);
    std::fprintf(stderr, "usage: TransferBench serve PATH HOST CLIENT-IP SECONDS | pull URL HOST DIR | "
                         "tcp-send PATH PORT | tcp-recv HOST PORT OUT\n");
    return 2;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
        return 1;
    const int rc = Run(argc, argv);
    WSACleanup();
    return rc;
}
