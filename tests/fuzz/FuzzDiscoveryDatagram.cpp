// Datagrams from the discovery ports, as any sender may shape them, into the datagram handling and the
// peer table, interleaved with clock steps, expiry with and without liveness checks and table reads.
// Checked after every step: nothing crashes, the table stays within its capacity, every stored peer is a
// foreign id at a 10.x address with bounded texts, and only link senders' control messages are handed on.
#include <cstdint>
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "link/DiscoveryPlatform.h"
#include "link/DiscoveryReactions.h"
#include "link/DiscoveryRun.h"
#include "link/DiscoveryService.h"
#include "link/LocalIdentity.h"
#include "link/PeerRecord.h"

namespace {

using namespace Discovery;

void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "FuzzDiscoveryDatagram: %s\n", what);
        std::abort();
    }
}

class FuzzPlatform final : public IDiscoveryPlatform {
public:
    uint32_t Tick() override { return now; }
    bool Sleep(const DiscoveryRun& run, uint32_t ms) override {
        now += ms;
        return run.Running();
    }
    bool PingPeer(const std::string&) override { return pingOk; }
    bool RefreshCable(const char*) override { return cablePresent; }

    uint32_t now = 0xFFFF0000u; // wraps during a run
    bool pingOk = false;
    bool cablePresent = true;
};

class FuzzReactions final : public IDiscoveryReactions {
public:
    void HandleControlMessage(const std::string& senderIp, std::string_view message) override {
        Check(senderIp.compare(0, 3, "10.") == 0, "control message from a non-link sender handed on");
        Check(message.find('\0') == std::string_view::npos, "control message text holds a zero byte");
        Check(message.size() <= 1023, "control message longer than a datagram");
    }
    bool IsActivePeer(const std::string& ip) override { return ip == "10.0.0.2"; }
};

const char* const kSenders[] = {"10.0.0.2", "10.0.0.3",  "10.255.255.254", "192.168.1.5",
                                "",         "127.0.0.1", "10.77.0.1",      "1.0.0.1"};

void CheckTable(DiscoveryService& service, const std::string& localId) {
    std::vector<PeerRecord> peers = service.GetDiscoveredDevices();
    Check(peers.size() <= kPeerTableCapacity, "table over capacity");
    for (const PeerRecord& r : peers) {
        Check(!r.id.empty() && r.id != localId, "empty or own id stored");
        Check(r.ip.compare(0, 3, "10.") == 0, "non-link address stored");
        Check(r.id.size() <= kPeerTextMaxBytes && r.name.size() <= kPeerTextMaxBytes &&
                  r.ver.size() <= kPeerTextMaxBytes && r.ip.size() <= kPeerTextMaxBytes,
              "peer text over its bound");
        Check(r.ultra <= 1, "ultra is not 0 or 1");
        Check(r.tcpFailures >= 0 && r.tcpFailures < kDeadAfterFailedChecks, "dead peer kept");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool identitySet = [] {
        SetLocalIdentity(MakeLocalIdentity("FUZZ"));
        return true;
    }();
    (void)identitySet;
    const std::string localId = CurrentLocalIdentity().id;

    FuzzPlatform platform;
    FuzzReactions reactions;
    DiscoveryService service(platform);
    service.SetReactions(&reactions);
    DiscoveryRun run;

    size_t at = 0;
    while (at + 3 <= size) {
        uint8_t op = data[at];
        size_t length = ((static_cast<size_t>(data[at + 1]) << 8) | data[at + 2]) % 1024;
        at += 3;
        length = std::min(length, size - at);
        std::string_view bytes(reinterpret_cast<const char*>(data + at), length);
        at += length;

        switch (op >> 5) {
        case 0:
        case 1:
        case 2:
        case 3: // a datagram from one of the fixed senders
            service.HandleDatagram(bytes, kSenders[op & 7]);
            break;
        case 4: { // from one of many link senders, to push at the capacity
            std::string sender = "10.9." + std::to_string(op & 31) + "." + std::to_string(length & 255);
            service.HandleDatagram(bytes, sender);
            break;
        }
        case 5: // time passes; expiry with liveness checks (a failing or answering peer)
            platform.now += static_cast<uint32_t>(op & 31) * 97;
            platform.pingOk = (op & 1) != 0;
            platform.cablePresent = (op & 2) != 0;
            service.CleanupExpired(&run);
            break;
        case 6: // a reader, then the broadcast thread's next turn
            platform.now += static_cast<uint32_t>(op & 31) * 131;
            service.GetDiscoveredDevices();
            service.RunPendingPeerLoss();
            break;
        default:
            service.IsPeerUltraCapable(std::string(bytes.substr(0, 16)));
            service.FindPeerById(bytes.substr(0, 64));
            break;
        }
        CheckTable(service, localId);
    }
    return 0;
}
