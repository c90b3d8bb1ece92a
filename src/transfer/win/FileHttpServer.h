#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/PeerFilter.h"
#include "core/WorkerThread.h"
#include "transfer/ManifestEntry.h"
#include "transfer/ManifestOffers.h"

// The sending side of file transfers: a minimal HTTP/1.1 server on a system-chosen port that serves the
// manifest of each offer and its files, and the manager that turns local paths into an offer.
//
// One loop thread accepts and serves one client at a time (a large file holds back the next request). Each
// run of the loop owns its listening socket and stop signal, so a loop that had to be left running on Stop
// never serves again after a new Start.
class FileHttpServer {
public:
    // How long a served connection may take to bring its whole request head, or to take any bytes of an
    // answer: a slow link (or Wine's loopback) may need seconds per 64 KiB piece, and a peer that stops
    // reading (a pulled cable) is still cut off.
    static constexpr uint32_t kSocketTimeoutMs = 10000;

    FileHttpServer();
    // Stops the server; the loop thread keeps the state it uses alive should it have to be detached.
    ~FileHttpServer();
    FileHttpServer(const FileHttpServer&) = delete;
    FileHttpServer& operator=(const FileHttpServer&) = delete;

    // Listens on 0.0.0.0 with a port the system chooses and starts the loop; true at once when running.
    bool Start();
    // Ends the loop (it closes the listener as it leaves), cuts off the client being served and waits briefly
    // for the loop.
    void Stop();
    bool IsRunning() const;
    uint16_t Port() const; // 0 when not running

    // Connections are served only from addresses the filter allows; without one, from every address.
    void SetPeerFilter(PeerFilter::Allows allows);
    // Serves the offer from now on, beside the last offers before it (see ManifestOfferStore).
    void AddOffer(std::shared_ptr<const ManifestOffer> offer);

    // The entries of an offer of local paths (directories walked, reparse points below them not entered);
    // false when nothing can be offered.
    static bool BuildEntries(const std::vector<std::wstring>& paths, std::vector<ManifestEntry>& entries);

    // State shared with the loop thread; defined in FileHttpServerShared.h.
    struct Shared;

private:
    std::shared_ptr<Shared> m_shared;
    std::mutex m_threadMutex; // serialises Start and Stop
    WorkerThread m_thread;    // under m_threadMutex
};

class FileHttpTransferManager {
public:
    // The process-wide manager, created on first use and kept to the end of the process.
    static FileHttpTransferManager& Instance();
    // Separate managers exist only for tests; transfer ids then start again at kFirstTransferId.
    FileHttpTransferManager() = default;

    static constexpr uint64_t kFirstTransferId = 2600001;

    bool StartServer();
    void StopServer();
    bool IsServerRunning() const;
    uint16_t ServerPort() const;
    // Requests are served only to addresses the filter allows (start-up: the active peer).
    void SetPeerFilter(PeerFilter::Allows allows);
    // Builds the offer's own manifest, makes sure the server runs, takes the next transfer id (2600001 first)
    // and writes the begin payload text. False for an empty list or host, or when nothing could be offered.
    bool BeginOffer(const std::vector<std::wstring>& paths, const std::string& host,
                    const std::string& targetPath, uint64_t& transferId, std::string& payload);

    // The last component of the first path, in UTF-8 ("" for no paths).
    static std::string DisplayName(const std::vector<std::wstring>& paths);

private:
    mutable std::mutex m_mutex; // serialises offers and server start and stop
    FileHttpServer m_server;
    uint64_t m_nextTransferId = kFirstTransferId; // under m_mutex
};
