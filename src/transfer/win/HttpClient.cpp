#include "transfer/win/HttpClient.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string_view>

#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/Utf.h"
#include "core/win/Handles.h"
#include "core/win/SocketWait.h"
#include "core/win/TextConvert.h"
#include "core/win/WinsockStartup.h"
#include "transfer/AutoRename.h"
#include "transfer/HttpUrl.h"
#include "transfer/SafeRelativePath.h"
#include "transfer/SamePath.h"

namespace HttpClient {

namespace {

using ull = unsigned long long;

constexpr size_t kSendPieceBytes = 65536;
constexpr const wchar_t* kTempSuffix = L".tsly_part";

std::u16string_view View(const std::wstring& text) {
    return std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size());
}

std::string Utf8(const std::wstring& text) {
    return WideToUtf8(text.c_str());
}

// A URL's host must be the peer's address: a manifest or offer cannot point the client anywhere else.
bool ParseAllowedUrl(const std::string& url, const Options& options, ParsedUrl& parsed, std::string& error) {
    if (!ParseUrl(url, parsed)) {
        error = "invalid url";
        return false;
    }
    if (options.allowedHost.empty() || parsed.host != options.allowedHost) {
        Log::Write("[HTTP][CLIENT][ERR] host not allowed host=%s allowed=%s", parsed.host.c_str(),
                   options.allowedHost.c_str());
        error = "host not allowed";
        return false;
    }
    return true;
}

struct AddrInfoDeleter {
    void operator()(addrinfo* list) const { ::freeaddrinfo(list); }
};

// Connects within connectTimeoutMs, then leaves the socket blocking with receive and send time-outs, so a
// peer that goes silent (a pulled cable) ends the request instead of holding the receive worker.
UniqueSocket Connect(const std::string& host, uint16_t port, const Options& options) {
    if (!StartWinsockOnce("[HTTP][CLIENT][ERR]"))
        return UniqueSocket();
    addrinfo hints = {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    hints.ai_flags = AI_NUMERICHOST; // the peer is an address; no name is ever looked up
    addrinfo* found = nullptr;
    int rc = ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
    if (rc != 0) {
        Log::Write("[HTTP][CLIENT][ERR] getaddrinfo host=%s port=%u rc=%d wsa=%d", host.c_str(), port, rc,
                   ::WSAGetLastError());
        return UniqueSocket();
    }
    std::unique_ptr<addrinfo, AddrInfoDeleter> list(found);
    for (addrinfo* ai = list.get(); ai != nullptr; ai = ai->ai_next) {
        UniqueSocket s(::socket(ai->ai_family, ai->ai_socktype, ai->ai_protocol));
        if (!s.Valid()) {
            Log::Write("[HTTP][CLIENT][ERR] socket failed wsa=%d", ::WSAGetLastError());
            continue;
        }
        int error = SetSocketBlocking(s.Get(), false) ? 0 : ::WSAGetLastError();
        if (error == 0 && ::connect(s.Get(), ai->ai_addr, static_cast<int>(ai->ai_addrlen)) != 0) {
            error = ::WSAGetLastError();
            if (error == WSAEWOULDBLOCK)
                error = WaitForConnect(s.Get(), options.connectTimeoutMs);
        }
        if (error == 0 && !SetSocketBlocking(s.Get(), true))
            error = ::WSAGetLastError();
        if (error != 0) {
            Log::Write("[HTTP][CLIENT][ERR] connect failed host=%s port=%u wsa=%d", host.c_str(), port,
                       error);
            continue;
        }
        SetBulkSocketBuffers(s.Get());
        SetSocketTimeouts(s.Get(), options.recvTimeoutMs);
        return s;
    }
    return UniqueSocket();
}

bool SendRequest(SOCKET socket, const ParsedUrl& url, const char* tag) {
    const std::string text =
        "GET " + url.path + " HTTP/1.1\r\nHost: " + url.host + "\r\nConnection: close\r\n\r\n";
    size_t done = 0;
    while (done < text.size()) {
        int piece = static_cast<int>(std::min(kSendPieceBytes, text.size() - done));
        int n = ::send(socket, text.data() + done, piece, 0);
        if (n < 1) {
            Log::Write("[HTTP][CLIENT][ERR] send failed tag=%s done=%llu/%llu n=%d wsa=%d", tag,
                       static_cast<ull>(done), static_cast<ull>(text.size()), n, ::WSAGetLastError());
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

enum class RequestKind { Text, File };

// One connection with its GET sent: the URL must name the allowed host. An invalid socket (logged, error
// set) when any step fails.
UniqueSocket OpenRequest(const std::string& url, RequestKind kind, const Options& options,
                         std::string& error) {
    ParsedUrl parsed;
    if (!ParseAllowedUrl(url, options, parsed, error))
        return UniqueSocket();
    UniqueSocket socket = Connect(parsed.host, static_cast<uint16_t>(parsed.port), options);
    if (!socket.Valid()) {
        error = "connect failed";
        return socket;
    }
    const bool text = kind == RequestKind::Text;
    Log::Write(text ? "[HTTP][CLIENT] request text host=%s port=%u path=%s"
                    : "[HTTP][CLIENT] request file host=%s port=%u path=%s",
               parsed.host.c_str(), static_cast<unsigned>(parsed.port), parsed.path.c_str());
    if (!SendRequest(socket.Get(), parsed, text ? "text-request" : "file-request")) {
        error = "send failed";
        socket.Reset();
    }
    return socket;
}

class SocketStream final : public IResponseStream {
public:
    explicit SocketStream(SOCKET socket) : m_socket(socket) {}
    int Receive(char* buffer, size_t capacity) override {
        return ::recv(m_socket, buffer, static_cast<int>(capacity), 0);
    }
    int LastError() override { return ::WSAGetLastError(); }

private:
    SOCKET m_socket;
};

bool IsDirectory(const std::wstring& path) {
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

class TempFile final : public IDownloadFile {
public:
    TempFile(std::wstring temp, std::wstring final) : m_temp(std::move(temp)), m_final(std::move(final)) {}

    bool OpenTemp() override {
        ::DeleteFileW(m_temp.c_str());
        m_handle.Reset(::CreateFileW(m_temp.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
        return m_handle.Valid();
    }
    bool Write(const char* data, size_t size) override {
        while (size > 0) {
            DWORD piece = static_cast<DWORD>(std::min<size_t>(size, 1u << 20));
            DWORD wrote = 0;
            if (!::WriteFile(m_handle.Get(), data, piece, &wrote, nullptr) || wrote == 0)
                return false;
            data += wrote;
            size -= wrote;
        }
        return true;
    }
    void CloseTemp() override { m_handle.Reset(); }
    int RemoveTemp() override {
        if (::DeleteFileW(m_temp.c_str()))
            return 0;
        DWORD error = ::GetLastError();
        return error == ERROR_FILE_NOT_FOUND ? 0 : static_cast<int>(error);
    }
    // A file in the way is replaced. A folder in the way is never deleted, and a read-only file is the
    // user's word that it stays, so the move fails for both.
    bool MoveIntoPlace(int& error) override {
        constexpr DWORD kFlags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED;
        DWORD attributes = ::GetFileAttributesW(m_final.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
            error = ERROR_ACCESS_DENIED;
            return false;
        }
        if (::MoveFileExW(m_temp.c_str(), m_final.c_str(), kFlags))
            return true;
        error = static_cast<int>(::GetLastError());
        attributes = ::GetFileAttributesW(m_final.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            return false;
        if (::DeleteFileW(m_final.c_str()) && ::MoveFileExW(m_temp.c_str(), m_final.c_str(), kFlags))
            return true;
        error = static_cast<int>(::GetLastError());
        return false;
    }

private:
    std::wstring m_temp;
    std::wstring m_final;
    UniqueHandle m_handle;
};

// Creates path and every missing folder above it; an existing folder is success, a file in the way is not.
bool CreateDirectories(const std::wstring& path, DWORD& error) {
    if (IsDirectory(path))
        return true;
    size_t cut = path.find_last_of(L"\\/");
    if (cut != std::wstring::npos && cut > 0) {
        std::wstring parent = path.substr(0, cut);
        while (parent.size() > 1 && (parent.back() == L'\\' || parent.back() == L'/'))
            parent.pop_back();
        if (!parent.empty() && parent.back() != L':' && !CreateDirectories(parent, error))
            return false;
    }
    if (::CreateDirectoryW(path.c_str(), nullptr) || IsDirectory(path))
        return true;
    error = ::GetLastError();
    return false;
}

std::wstring ParentFolder(const std::wstring& path) {
    size_t cut = path.find_last_of(L"\\/");
    if (cut == std::wstring::npos)
        return std::wstring();
    std::wstring parent = path.substr(0, cut);
    while (parent.size() > 1 && (parent.back() == L'\\' || parent.back() == L'/'))
        parent.pop_back();
    return parent;
}

std::wstring JoinPath(const std::wstring& root, const std::wstring& relative) {
    std::wstring path = root;
    if (!path.empty() && path.back() != L'\\' && path.back() != L'/')
        path += L'\\';
    for (wchar_t c : relative)
        path += c == L'/' ? L'\\' : c;
    return path;
}

bool GetFile(const std::string& url, const std::wstring& finalPath, uint64_t expected,
             const ProgressFn& progress, const Options& options, std::string& error) {
    Log::Write("[HTTP][GET] url=%s expected=%llu save=%S", url.c_str(), static_cast<ull>(expected),
               finalPath.c_str());
    // The target folder is made only once the peer answers the connection, so a refused or unreachable
    // peer leaves nothing behind.
    UniqueSocket socket = OpenRequest(url, RequestKind::File, options, error);
    if (!socket.Valid())
        return false;
    const std::wstring temp = finalPath + kTempSuffix;
    const std::wstring parent = ParentFolder(finalPath);
    DWORD dirError = 0;
    if (!parent.empty() && !CreateDirectories(parent, dirError)) {
        Log::Write("[HTTP][CLIENT][ERR] create target dir failed path=%S ec=%d", parent.c_str(),
                   static_cast<int>(dirError));
        error = "create target dir failed";
        return false;
    }
    SocketStream stream(socket.Get());
    TempFile file(temp, finalPath);
    FileDownloadRequest request{url, Utf8(temp), Utf8(finalPath), expected};
    uint64_t written = 0;
    bool ok = ReceiveFile(stream, file, request, progress, written, error);
    socket.Reset();
    if (RuntimeSetHttpLastBytes(written))
        RuntimeNotifyChanged();
    return ok;
}

bool PathExists(std::u16string_view path) {
    return ::GetFileAttributesW(AsWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

LocalTimeStamp LocalNow() {
    SYSTEMTIME t;
    ::GetLocalTime(&t);
    return LocalTimeStamp{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

// Where a file item goes: the destination, or a free name beside it when the conflict rule or a
// self-overwrite (the peer's source is this very path) asks for one.
std::wstring FileDestination(const ManifestItem& item, const std::wstring& destination, bool conflictRename) {
    bool rename = conflictRename;
    // Text that is not valid UTF-8 is refused rather than patched with replacement characters.
    const std::optional<std::u16string> source = Utf8ToUtf16Strict(item.fullPath);
    if (!item.fullPath.empty() && source && IsSamePath(*source, View(destination))) {
        Log::Write("[HTTP][CLIENT][WARN] self-overwrite detected, force auto-rename src==dst path=%S",
                   destination.c_str());
        rename = true;
    }
    if (!rename)
        return destination;
    std::wstring renamed = AsWide(AutoRenameTarget(View(destination), PathExists, LocalNow));
    if (!IsSamePath(View(renamed), View(destination)))
        Log::Write("[HTTP][CLIENT] conflict auto-rename dst=%S -> %S", destination.c_str(), renamed.c_str());
    return renamed;
}

} // namespace

bool GetText(const std::string& url, const Options& options, std::string& body, std::string& error) {
    body.clear();
    UniqueSocket socket = OpenRequest(url, RequestKind::Text, options, error);
    if (!socket.Valid())
        return false;
    SocketStream stream(socket.Get());
    return ReceiveText(stream, url, body, error);
}

bool DownloadItem(const std::string& manifestUrl, const ManifestItem& item, const std::wstring& root,
                  bool conflictRename, const ProgressFn& progress, const Options& options,
                  std::string& error) {
    const unsigned id = static_cast<unsigned>(item.id);
    if (root.empty()) {
        Log::Write("[HTTP][CLIENT][ERR] no target folder id=%u rel=%s", id, item.path.c_str());
        error = "no target folder";
        return false;
    }
    const std::optional<std::u16string> relative = Utf8ToUtf16Strict(item.path);
    if (!relative || !IsSafeRelativePath(*relative)) {
        Log::Write("[HTTP][CLIENT][ERR] unsafe manifest relative path id=%u rel=%s", id, item.path.c_str());
        error = "unsafe path";
        return false;
    }
    std::wstring destination = JoinPath(root, AsWide(*relative));
    if (item.dir) {
        DWORD ec = 0;
        if (!CreateDirectories(destination, ec)) {
            Log::Write("[HTTP][CLIENT][ERR] create directory failed rel=%s dst=%S ec=%d", item.path.c_str(),
                       destination.c_str(), static_cast<int>(ec));
            error = "create directory failed";
            return false;
        }
        Log::Write("[HTTP][CLIENT] directory created rel=%s dst=%S", item.path.c_str(), destination.c_str());
        return true;
    }
    destination = FileDestination(item, destination, conflictRename);
    std::string url;
    if (!ItemUrl(manifestUrl, item.url, options.allowedHost, url, error))
        return false;
    Log::Write("[HTTP][CLIENT] file begin id=%u size=%llu rel=%s dst=%S", id, static_cast<ull>(item.size),
               item.path.c_str(), destination.c_str());
    bool ok = GetFile(url, destination, item.size, progress, options, error);
    if (ok)
        Log::Write("[HTTP][CLIENT] file done id=%u rel=%s", id, item.path.c_str());
    else
        Log::Write("[HTTP][FAIL] file failed id=%u rel=%s", id, item.path.c_str());
    return ok;
}

} // namespace HttpClient
