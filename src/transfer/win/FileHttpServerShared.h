#pragma once

#include <winsock2.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "core/PeerFilter.h"
#include "core/WorkerThread.h"
#include "transfer/ManifestOffers.h"
#include "transfer/win/FileHttpServer.h"

// What the server and its loop thread share. The loop holds it by shared pointer, so a loop that Stop had to
// detach never reads freed state.
struct FileHttpServer::Shared {
    std::atomic<bool> running{false};
    std::atomic<uint16_t> port{0};
    std::atomic<int32_t> activeSends{0};
    PeerFilter filter;
    ManifestOfferStore offers;

    // The client being served, so that Stop can cut it off from another thread.
    std::mutex clientMutex;
    std::vector<SOCKET> clients; // under clientMutex

    // Shuts down (both directions) every client being served; their loop then closes them.
    void ShutdownActiveClients();
};

// Serves one accepted connection: reads the request head, answers it and returns; the caller closes the
// socket. stop is the run's stop signal: every wait for the peer ends on it.
void ServeHttpClient(FileHttpServer::Shared& shared, SOCKET client, const std::string& peer,
                     const StopSignal& stop);

// Publishes the runtime state's HTTP running flag and port, the state manager's copy and zero active sends,
// with a change notice when anything changed.
void PublishHttpServerState(bool running, uint16_t port);
