#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/Utf.h"
#include "core/win/Handles.h"
#include "core/win/SocketWait.h"
#include "core/win/TextConvert.h"
#include "transfer/HttpRequest.h"
#include "transfer/HttpReply.h"
#include "transfer/win/FileHttpServerShared.h"

namespace {

constexpr size_t kSendPiece = 64 * 1024;
constexpr int kReceiveBlock = 8192;
constexpr long kWaitSliceUs = 200 * 1000;
constexpr unsigned kLoggedEntriesOnMiss = 8;

unsigned long long U64(uint64_t value) {
    return static_cast<unsigned long long>(value);
}

enum class WaitResult { Ready, TimedOut, Stopped, Failed };

// Waits in short slices until the socket can be read (or written), the stop comes or timeoutMs pass. Served
// sockets are non-blocking and never wait inside recv or send: a shutdown from another thread does not wake
// a blocked call everywhere (Wine's does not), and Stop must not wait out a peer that stopped reading.
WaitResult WaitSocket(SOCKET socket, bool write, const StopSignal& stop, uint32_t timeoutMs) {
    const ULONGLONG start = ::GetTickCount64();
    for (;;) {
        if (stop.StopRequested())
            return WaitResult::Stopped;
        fd_set set;
        FD_ZERO(&set);
        FD_SET(socket, &set);
        timeval slice = {0, kWaitSliceUs};
        const int ready = ::select(0, write ? nullptr : &set, write ? &set : nullptr, nullptr, &slice);
        if (ready > 0)
            return WaitResult::Ready;
        if (ready < 0)
            return WaitResult::Failed;
        if (::GetTickCount64() - start >= timeoutMs)
            return WaitResult::TimedOut;
    }
}

// Sends every byte in pieces of at most 64 KiB. A peer that takes nothing for the time-out, an error or the
// server's stop ends it (false).
bool SendAll(SOCKET socket, const char* data, size_t size, const StopSignal& stop) {
    size_t done = 0;
    while (done < size) {
        const int piece = static_cast<int>(std::min(size - done, kSendPiece));
        const int sent = ::send(socket, data + done, piece, 0);
        if (sent > 0) {
            done += static_cast<size_t>(sent);
            continue;
        }
        int wsa = ::WSAGetLastError();
        if (sent < 0 && wsa == WSAEWOULDBLOCK) {
            const WaitResult wait = WaitSocket(socket, true, stop, FileHttpServer::kSocketTimeoutMs);
            if (wait == WaitResult::Ready)
                continue;
            if (wait == WaitResult::Stopped)
                return false; // the caller says what was cut short
            wsa = wait == WaitResult::TimedOut ? WSAETIMEDOUT : ::WSAGetLastError();
        }
        Log::Write("[HTTP][SERVER][ERR] send failed done=%llu/%llu n=%d wsa=%d", U64(done), U64(size), sent,
                   wsa);
        return false;
    }
    return true;
}

bool SendText(SOCKET socket, const StopSignal& stop, int code, const char* reason, const char* body) {
    const std::string response = FormatSmallResponse(code, reason, "text/plain", body);
    return SendAll(socket, response.data(), response.size(), stop);
}

// Keeps the socket in the active list while it is served, so Stop can cut it off.
class ActiveClient {
public:
    ActiveClient(FileHttpServer::Shared& shared, SOCKET socket) : m_shared(shared), m_socket(socket) {
        std::lock_guard<std::mutex> lock(m_shared.clientMutex);
        m_shared.clients.push_back(socket);
    }
    ~ActiveClient() {
        std::lock_guard<std::mutex> lock(m_shared.clientMutex);
        auto& clients = m_shared.clients;
        clients.erase(std::remove(clients.begin(), clients.end(), m_socket), clients.end());
    }
    ActiveClient(const ActiveClient&) = delete;
    ActiveClient& operator=(const ActiveClient&) = delete;

private:
    FileHttpServer::Shared& m_shared;
    SOCKET m_socket;
};

// Counts a file send in the runtime state for its whole length; the count never goes below 0.
class ActiveSend {
public:
    explicit ActiveSend(FileHttpServer::Shared& shared) : m_shared(shared) {
        Publish(m_shared.activeSends.fetch_add(1) + 1);
    }
    ~ActiveSend() {
        int32_t count = m_shared.activeSends.load();
        while (count > 0 && !m_shared.activeSends.compare_exchange_weak(count, count - 1)) {
        }
        Publish(count > 0 ? count - 1 : 0);
    }
    ActiveSend(const ActiveSend&) = delete;
    ActiveSend& operator=(const ActiveSend&) = delete;

private:
    static void Publish(int32_t count) {
        if (RuntimeSetHttpActiveDownloads(count))
            RuntimeNotifyChanged();
    }
    FileHttpServer::Shared& m_shared;
};

// Reads the request head over as many receives as it takes; the whole head must arrive within the time-out.
// A peer that ends its side early has its request answered from what it sent. False: no answer is given.
bool ReadRequestHead(SOCKET socket, const StopSignal& stop, std::string& head) {
    HttpRequestHeadReader reader;
    char buffer[kReceiveBlock];
    const ULONGLONG start = ::GetTickCount64();
    for (;;) {
        const ULONGLONG waited = ::GetTickCount64() - start;
        const WaitResult wait =
            waited >= FileHttpServer::kSocketTimeoutMs
                ? WaitResult::TimedOut
                : WaitSocket(socket, false, stop,
                             static_cast<uint32_t>(FileHttpServer::kSocketTimeoutMs - waited));
        if (wait == WaitResult::Stopped)
            return false;
        if (wait == WaitResult::TimedOut) {
            Log::Write("[HTTP][SERVER][ERR] request head timed out bytes=%u",
                       static_cast<unsigned>(reader.Head().size()));
            return false;
        }
        const int got = wait == WaitResult::Ready ? ::recv(socket, buffer, sizeof buffer, 0) : SOCKET_ERROR;
        if (got == 0) {
            head = reader.Head();
            return !head.empty();
        }
        if (got < 0) {
            const int wsa = ::WSAGetLastError();
            if (wsa == WSAEWOULDBLOCK)
                continue;
            Log::Write("[HTTP][SERVER][ERR] recv request failed bytes=%u wsa=%d",
                       static_cast<unsigned>(reader.Head().size()), wsa);
            return false;
        }
        switch (reader.Feed(std::string_view(buffer, static_cast<size_t>(got)))) {
        case HttpRequestHeadReader::State::Complete:
            head = reader.Head();
            return true;
        case HttpRequestHeadReader::State::TooLarge:
            Log::Write("[HTTP][SERVER][ERR] request head too large limit=%u",
                       static_cast<unsigned>(kRequestHeadMaxBytes));
            return false;
        case HttpRequestHeadReader::State::NeedMore:
            break;
        }
    }
}

std::shared_ptr<const ManifestOffer> FindOffer(const FileHttpServer::Shared& shared, const HttpRoute& route) {
    return route.hasOfferId ? shared.offers.Find(route.offerId) : shared.offers.Newest();
}

void ServeManifest(FileHttpServer::Shared& shared, SOCKET socket, const HttpRoute& route,
                   const StopSignal& stop) {
    const std::shared_ptr<const ManifestOffer> offer = FindOffer(shared, route);
    if (!offer) {
        Log::Write("[HTTP][SERVER][ERR] manifest not found target=%.200s", route.target.c_str());
        SendText(socket, stop, 404, "Not Found", "not found");
        return;
    }
    Log::Write("[HTTP][SERVER] GET /manifest entries=%u total=%llu",
               static_cast<unsigned>(offer->entries.size()), U64(offer->totalBytes));
    const std::string response =
        FormatSmallResponse(200, "OK", "application/json; charset=utf-8", offer->json);
    SendAll(socket, response.data(), response.size(), stop);
}

void LogFileMiss(const ManifestOffer* offer, const HttpRoute& route, const std::u16string& wide) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    const bool exists =
        !wide.empty() && ::GetFileAttributesExW(AsWide(wide).c_str(), GetFileExInfoStandard, &data);
    const uint64_t size = exists ? (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow : 0;
    const unsigned count = offer != nullptr ? static_cast<unsigned>(offer->entries.size()) : 0u;
    Log::Write(
        "[HTTP][SERVER][ERR] file path not found raw=%.300s decodedUtf8=%.300s decodedWide=%.300s exists=%d "
        "size=%llu entries=%u uri=%.300s",
        route.rawPath.c_str(), route.path.c_str(), Utf16ToUtf8(wide).c_str(), exists ? 1 : 0, U64(size),
        count, route.target.c_str());
    if (offer == nullptr)
        return;
    for (unsigned i = 0; i < count && i < kLoggedEntriesOnMiss; ++i) {
        const ManifestEntry& entry = offer->entries[i];
        Log::Write("[HTTP][SERVER][DBG] manifest[%u] rel=%s full=%s size=%llu", i, entry.relativePath.c_str(),
                   Utf16ToUtf8(entry.absolutePath).c_str(), U64(entry.size));
    }
    if (count > kLoggedEntriesOnMiss)
        Log::Write("[HTTP][SERVER][DBG] manifest debug truncated shown=%u total=%u", kLoggedEntriesOnMiss,
                   count);
}

// Sends one offered file: at most as many bytes as were offered. True when all of them went out.
bool SendFile(FileHttpServer::Shared& shared, SOCKET socket, const ManifestEntry& entry,
              const StopSignal& stop) {
    ActiveSend counted(shared);
    const std::string path = Utf16ToUtf8(entry.absolutePath);
    const char* rel = entry.relativePath.c_str();
    UniqueHandle file(::CreateFileW(AsWide(entry.absolutePath).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN,
                                    nullptr));
    if (!file) {
        const unsigned long gle = ::GetLastError();
        Log::Write("[HTTP][OPEN][FAIL] id=%u gle=%lu path=%s", entry.id, gle, path.c_str());
        Log::Write("[HTTP][SERVER][ERR] CreateFileW read-only failed id=%u gle=%lu path=%s", entry.id, gle,
                   path.c_str());
        SendText(socket, stop, 404, "Not Found", "file open failed");
        return false;
    }
    LARGE_INTEGER size = {};
    if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0) {
        Log::Write("[HTTP][SERVER][ERR] GetFileSizeEx failed id=%u gle=%lu path=%s", entry.id,
                   ::GetLastError(), path.c_str());
        SendText(socket, stop, 500, "Internal Server Error", "file size failed");
        return false;
    }
    const uint64_t actual = static_cast<uint64_t>(size.QuadPart);
    Log::Write("[HTTP][OPEN] id=%u path=%s", entry.id, path.c_str());
    Log::Write("[HTTP][SIZE] id=%u manifest=%llu actual=%llu", entry.id, U64(entry.size), U64(actual));

    const FileSendDecision decision = DecideFileSend(entry.size, actual);
    if (decision.sourceEmptied) {
        Log::Write("[HTTP][SERVER][ERR] source became zero before send id=%u manifest=%llu path=%s", entry.id,
                   U64(entry.size), path.c_str());
        SendText(socket, stop, 409, "Conflict", "source file became zero");
        return false;
    }
    if (decision.grew)
        Log::Write("[HTTP][SERVER][SNAPSHOT] source grew id=%u manifest=%llu actual=%llu send=%llu path=%s",
                   entry.id, U64(entry.size), U64(actual), U64(decision.bytes), path.c_str());
    else if (decision.changed)
        Log::Write("[HTTP][SERVER][WARN] size changed id=%u manifest=%llu actual=%llu send=%llu path=%s",
                   entry.id, U64(entry.size), U64(actual), U64(decision.bytes), path.c_str());

    const std::string header = FormatFileResponseHeader(decision.bytes);
    if (!SendAll(socket, header.data(), header.size(), stop)) {
        Log::Write("[HTTP][SERVER][ERR] send header failed id=%u size=%llu", entry.id, U64(decision.bytes));
        return false;
    }
    Log::Write("[HTTP][SEND] id=%u begin size=%llu actual=%llu path=%s", entry.id, U64(decision.bytes),
               U64(actual), rel);
    std::vector<char> buffer(kSendPiece);
    uint64_t sent = 0;
    while (sent < decision.bytes) {
        if (stop.StopRequested()) {
            Log::Write("[HTTP][SERVER][STOP] send aborted by shutdown id=%u sent=%llu/%llu path=%s", entry.id,
                       U64(sent), U64(decision.bytes), rel);
            break;
        }
        const DWORD want = static_cast<DWORD>(std::min<uint64_t>(decision.bytes - sent, kSendPiece));
        DWORD got = 0;
        if (!::ReadFile(file.Get(), buffer.data(), want, &got, nullptr)) {
            Log::Write("[HTTP][SERVER][ERR] ReadFile failed id=%u sent=%llu/%llu gle=%lu path=%s", entry.id,
                       U64(sent), U64(decision.bytes), ::GetLastError(), path.c_str());
            break;
        }
        if (got == 0)
            break; // the file shrank while it was sent: the receiver sees a short body
        if (!SendAll(socket, buffer.data(), got, stop)) {
            if (stop.StopRequested()) {
                Log::Write("[HTTP][SERVER][STOP] send aborted by shutdown id=%u sent=%llu/%llu path=%s",
                           entry.id, U64(sent), U64(decision.bytes), rel);
                break;
            }
            Log::Write("[HTTP][SERVER][ERR] send body interrupted id=%u sent=%llu/%llu path=%s", entry.id,
                       U64(sent), U64(decision.bytes), rel);
            break;
        }
        sent += got;
    }
    file.Reset();
    if (RuntimeSetHttpLastBytes(decision.bytes))
        RuntimeNotifyChanged();
    Log::Write("[HTTP][DONE] id=%u size=%llu actual=%llu sent=%llu path=%s", entry.id, U64(decision.bytes),
               U64(actual), U64(sent), rel);
    Log::Write("[HTTP][SERVER] GET /file done id=%u size=%llu actual=%llu sent=%llu path=%s", entry.id,
               U64(decision.bytes), U64(actual), U64(sent), rel);
    return sent == decision.bytes;
}

void ServeFile(FileHttpServer::Shared& shared, SOCKET socket, const HttpRoute& route,
               const StopSignal& stop) {
    const std::shared_ptr<const ManifestOffer> offer = FindOffer(shared, route);
    const std::u16string wide = Utf8ToUtf16(route.path);
    const ManifestEntry* entry = offer ? FindOfferedFile(offer->entries, wide) : nullptr;
    if (entry == nullptr) {
        LogFileMiss(offer.get(), route, wide);
        SendText(socket, stop, 404, "Not Found", "file not found");
        return;
    }
    Log::Write("[HTTP][SERVER] GET /file begin raw=%.300s decoded=%.300s rel=%s full=%s size=%llu",
               route.rawPath.c_str(), Utf16ToUtf8(wide).c_str(), entry->relativePath.c_str(),
               Utf16ToUtf8(entry->absolutePath).c_str(), U64(entry->size));
    SendFile(shared, socket, *entry, stop);
}

} // namespace

void ServeHttpClient(FileHttpServer::Shared& shared, SOCKET client, const std::string& peer,
                     const StopSignal& stop) {
    ActiveClient active(shared, client);
    // A Stop that came before the client was listed did not cut it off; its stop request is seen here.
    if (stop.StopRequested() || !SetSocketBlocking(client, false))
        return;
    std::string head;
    if (!ReadRequestHead(client, stop, head))
        return;
    const HttpRoute route = RouteRequest(head);
    switch (route.kind) {
    case HttpRouteKind::Manifest:
        ServeManifest(shared, client, route, stop);
        return;
    case HttpRouteKind::File:
        ServeFile(shared, client, route, stop);
        return;
    case HttpRouteKind::MethodNotAllowed:
        Log::Write("[HTTP][SERVER][WARN] method not allowed peer=%s", peer.c_str());
        SendText(client, stop, 405, "Method Not Allowed", "method not allowed");
        return;
    case HttpRouteKind::NotFound:
        Log::Write("[HTTP][SERVER][WARN] unknown target peer=%s target=%.200s", peer.c_str(),
                   route.target.c_str());
        SendText(client, stop, 404, "Not Found", "not found");
        return;
    }
}
