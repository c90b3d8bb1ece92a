#include "input/InputPeers.h"

#include <atomic>

namespace {
IInputPeers g_absentPeers;
std::atomic<IInputPeers*> g_peers{nullptr};
} // namespace

void SetInputPeers(IInputPeers* peers) {
    g_peers.store(peers);
}

IInputPeers& InputPeers() {
    IInputPeers* peers = g_peers.load();
    return peers != nullptr ? *peers : g_absentPeers;
}
