#include "transfer/win/FileHttpServer.h"

#include <winsock2.h>

#include <mutex>
#include <utility>

#include "core/Log.h"
#include "core/LogThrottle.h"
#include "core/RuntimeState.h"
#include "core/StateManager.h"
#include "core/win/CloseHelpers.h"
#include "core/win/Handles.h"
#include "core/win/SocketAddress.h"
#include "core/win/SocketListen.h"
#include "core/win/SocketWait.h"
#include "core/win/TextConvert.h"
#include "core/win/WinsockStartup.h"
#include "transfer/ManifestBuild.h"
#include "transfer/win/FileHttpServerShared.h"
#include "transfer/win/ManifestFileSystemWin.h"

namespace {

constexpr long kAcceptPollUs = 200 * 1000;
constexpr uint32_t kAcceptRetryMs = 10;
// A loop ends within one accept poll; a file being sent stops at its next piece once its client is cut off.
constexpr uint32_t kStopWaitMs = 3000;

// Binds a listener on 0.0.0.0 with a port the system chooses; false (logged) when any step fails.
bool OpenListener(UniqueSocket& listener, uint16_t& port) {
    listener.Reset(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (!listener.Valid()) {
        Log::Write("[HTTP][SERVER][ERR] socket failed wsa=%d", ::WSAGetLastError());
        return false;
    }
    sockaddr_in address = {};
    const char* step = nullptr;
    int size = sizeof address;
    if (!BindReusableAny(listener.Get(), 0))
        step = "bind";
    else if (::listen(listener.Get(), SOMAXCONN) != 0)
        step = "listen";
    else if (::getsockname(listener.Get(), reinterpret_cast<sockaddr*>(&address), &size) != 0)
        step = "getsockname";
    if (step != nullptr) {
        Log::Write("[HTTP][SERVER][ERR] %s failed wsa=%d", step, ::WSAGetLastError());
        CloseSocketLogged(listener.Release(), "FileHttpServer::listener");
        return false;
    }
    port = ntohs(address.sin_port);
    return true;
}

void ServeAccepted(FileHttpServer::Shared& shared, UniqueSocket client, const sockaddr_in& from,
                   const StopSignal& stop) {
    const std::string peer = DottedIpv4(from);
    if (!shared.filter.Allowed(peer)) {
        if (LogThrottle::Allow("http.server.refused", 2000))
            Log::Write("[HTTP][SERVER][REFUSED] peer=%s", peer.c_str());
        CloseSocketLogged(client.Release(), "FileHttpServer::refused");
        return;
    }
    SetBulkSocketBuffers(client.Get());
    if (!stop.StopRequested())
        ServeHttpClient(shared, client.Get(), peer, stop);
    CloseSocketLogged(client.Release(), "FileHttpServer::client");
}

void RunLoop(FileHttpServer::Shared& shared, UniqueSocket& listener, uint16_t port, const StopSignal& stop) {
    Log::Write("[HTTP][SERVER] loop begin port=%u", unsigned(port));
    while (!stop.StopRequested()) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(listener.Get(), &readable);
        timeval wait = {0, kAcceptPollUs};
        const int ready = ::select(0, &readable, nullptr, nullptr, &wait);
        if (ready == SOCKET_ERROR) {
            if (!stop.StopRequested())
                Log::Write("[HTTP][SERVER][ERR] select failed wsa=%d", ::WSAGetLastError());
            break;
        }
        if (ready == 0)
            continue;
        sockaddr_in from = {};
        int size = sizeof from;
        UniqueSocket client(::accept(listener.Get(), reinterpret_cast<sockaddr*>(&from), &size));
        if (!client.Valid()) {
            stop.WaitFor(kAcceptRetryMs);
            continue;
        }
        ServeAccepted(shared, std::move(client), from, stop);
    }
    shared.ShutdownActiveClients();
    CloseSocketLogged(listener.Release(), "FileHttpServer::listener");
    Log::Write("[HTTP][SERVER] loop end port=%u", unsigned(port));
}

} // namespace

void FileHttpServer::Shared::ShutdownActiveClients() {
    size_t count = 0;
    {
        // Shut down under the lock: a served socket leaves the list before it is closed, so no handle here
        // can have been closed (and reused) yet.
        std::lock_guard<std::mutex> lock(clientMutex);
        for (SOCKET socket : clients)
            ShutdownSocketQuiet(socket);
        count = clients.size();
        clients.clear();
    }
    if (count > 0)
        Log::Write("[HTTP][SERVER][STOP] shutdown active clients=%u", static_cast<unsigned>(count));
}

void PublishHttpServerState(bool running, uint16_t port) {
    bool changed = RuntimeSetHttpServer(running, port);
    changed = RuntimeSetHttpActiveDownloads(0) || changed;
    changed = RuntimeStateManager().SetHttpServer(running, port) || changed;
    if (changed)
        RuntimeNotifyChanged();
}

FileHttpServer::FileHttpServer() : m_shared(std::make_shared<Shared>()) {}

FileHttpServer::~FileHttpServer() {
    if (IsRunning() || m_thread.Active())
        Stop();
}

bool FileHttpServer::Start() {
    std::lock_guard<std::mutex> lock(m_threadMutex);
    if (m_shared->running.load())
        return true;
    if (!StartWinsockOnce("[HTTP][SERVER][ERR]"))
        return false;
    auto listener = std::make_shared<UniqueSocket>();
    uint16_t port = 0;
    if (!OpenListener(*listener, port))
        return false;
    if (m_thread.Active())
        m_thread.Stop(0, "FileHttpServer::Start stale");
    m_shared->activeSends.store(0);
    m_shared->port.store(port);
    m_shared->running.store(true);
    std::shared_ptr<Shared> shared = m_shared;
    std::string error;
    const bool started = m_thread.Start(
        "FileHttpServer",
        [shared, listener, port](const StopSignal& stop) { RunLoop(*shared, *listener, port, stop); },
        &error);
    if (!started) {
        m_shared->running.store(false);
        m_shared->port.store(0);
        CloseSocketLogged(listener->Release(), "FileHttpServer::listener");
        Log::Write("[HTTP][SERVER][ERR] loop thread start failed: %s", error.c_str());
        return false;
    }
    PublishHttpServerState(true, port);
    Log::Write("[HTTP][SERVER] started port=%u", unsigned(port));
    return true;
}

void FileHttpServer::Stop() {
    std::lock_guard<std::mutex> lock(m_threadMutex);
    const bool wasRunning = m_shared->running.exchange(false);
    m_thread.RequestStop();
    m_shared->ShutdownActiveClients();
    if (m_thread.Active() && !m_thread.Stop(kStopWaitMs, "FileHttpServer::Stop"))
        Log::Write("[HTTP][SERVER][STOP] detach server thread wasRunning=%d", wasRunning ? 1 : 0);
    m_shared->port.store(0);
    m_shared->activeSends.store(0);
    PublishHttpServerState(false, 0);
    Log::Write("[HTTP][SERVER] stopped wasRunning=%d", wasRunning ? 1 : 0);
}

bool FileHttpServer::IsRunning() const {
    return m_shared->running.load();
}

uint16_t FileHttpServer::Port() const {
    return m_shared->port.load();
}

void FileHttpServer::SetPeerFilter(PeerFilter::Allows allows) {
    m_shared->filter.Set(std::move(allows));
}

void FileHttpServer::AddOffer(std::shared_ptr<const ManifestOffer> offer) {
    m_shared->offers.Add(std::move(offer));
}

bool FileHttpServer::BuildEntries(const std::vector<std::wstring>& paths,
                                  std::vector<ManifestEntry>& entries) {
    try {
        std::vector<std::u16string> wanted;
        wanted.reserve(paths.size());
        for (const std::wstring& path : paths)
            wanted.emplace_back(AsUtf16(path.c_str()));
        Win32ManifestFileSystem fileSystem;
        return BuildManifestEntries(wanted, fileSystem, entries);
    } catch (...) {
        Log::Write("FileHttpServer::BuildManifestFromPaths exception");
    }
    entries.clear();
    return false;
}
