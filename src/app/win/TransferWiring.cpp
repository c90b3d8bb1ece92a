#include "app/win/TransferWiring.h"

#include "link/KvmSessionManager.h"
#include "transfer/win/ClipboardChannel.h"
#include "transfer/win/FileHttpReceiveManager.h"
#include "transfer/win/FileHttpServer.h"

void ConnectTransferServices() {
    // Only the active peer may use this PC's clipboard channel or fetch its offered files, and the HTTP
    // client fetches only from the peer on the other end of the channel.
    auto activePeer = [](const std::string& ip) { return KvmSessionManager::Instance().IsActivePeer(ip); };
    ClipboardChannel::Instance().SetPeerFilter(activePeer);
    FileHttpTransferManager::Instance().SetPeerFilter(activePeer);
    FileHttpReceiveManager::Instance().SetPeerAddressSource(
        [] { return ClipboardChannel::Instance().PeerAddress(); });
}
