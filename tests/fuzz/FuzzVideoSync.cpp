// Arbitrary bytes as a TSLY_VIDEO_VISIBILITY or TSLY_VIDEO_QUALITY message to the controlled side's handler,
// and as the reply the controller's senders judge. The first byte picks the sender, the verb and the
// stored request; the rest is the text. Checked:
// - nothing from a sender outside 10/8, or from another than the active peer, is accepted or stored;
// - an accepted reply carries what is stored afterwards, and the stored flags stay 0 or 1;
// - a host video restart is asked for only when an accepted quality request changed the stored mode;
// - a reply judged as confirming begins "TSLY_ACK;", holds "accepted=1;" and the sequence sent.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/RuntimeState.h"
#include "link/ControlHandler.h"
#include "link/ControlHandlerState.h"
#include "link/SessionControllerServices.h"
#include "link/VideoSyncExchange.h"
#include "link/VideoSyncHandler.h"

#include "FuzzChecks.h"

namespace {

class ActivePeer final : public IControlSessionTarget {
public:
    std::string ActivePeerIp() override { return "10.0.0.2"; }
    bool IsActivePeer(std::string_view ip) override { return ip == "10.0.0.2"; }
    bool SwitchToControlled(const std::string&, const std::string&) override { return false; }
    void StopAllSessions(const char*) override {}
    bool AdmitIncomingRequest(std::string_view, std::string_view) override { return false; }
};

class RestartCounter final : public SessionControllerServices {
public:
    void RequestHostVideoRestart() override { ++restarts; }
    int restarts = 0;
};

StoredControlRequest Read(ControlRequestStore& store) {
    StoredControlRequest copy;
    store.WithStoredRequest([&](StoredControlRequest& s) { copy = s; });
    return copy;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    static const char* const kSenders[] = {"10.0.0.2", "10.0.0.3", "192.168.1.5", "10.0.0.2"};
    const std::string sender = kSenders[data[0] & 3];
    const bool quality = (data[0] & 4) != 0;
    const bool owned = (data[0] & 8) != 0;
    const uint32_t storedSeq = (data[0] & 16) != 0 ? 0xFFFFFFF0u : 5u;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::string message =
        std::string(quality ? "TSLY_VIDEO_QUALITY;" : "TSLY_VIDEO_VISIBILITY;") + std::string(bytes);

    RuntimeSetRole(RuntimeRole::Controlled);
    RuntimeSetHostRunning(true);
    ActivePeer peer;
    ControlRequestStore store;
    store.Store(owned ? "10.0.0.2" : "10.0.0.3",
                ControlRequestParams{0, 0, 30, 8000000, 1, storedSeq, 1, 1, storedSeq});
    RestartCounter services;
    VideoSyncHandler handler(peer, store, &services);
    const StoredControlRequest before = Read(store);

    uint32_t replySeq = 0;
    bool replyUltra = false;
    const bool accepted = quality ? handler.HandleVideoQualityRequest(sender, message, replySeq, replyUltra)
                                  : handler.HandleVideoVisibility(sender, message, replySeq);
    const StoredControlRequest after = Read(store);
    if (sender != "10.0.0.2" || !owned) {
        FuzzCheck(!accepted, "accepted from another than the active owner");
        FuzzCheck(after.params.viewSeq == before.params.viewSeq &&
                      after.params.qualitySeq == before.params.qualitySeq &&
                      after.params.viewHidden == before.params.viewHidden &&
                      after.params.quality == before.params.quality,
                  "stored from another than the active owner");
    }
    FuzzCheck(after.params.viewHidden <= 1 && after.params.quality <= 1, "stored flag not 0 or 1");
    if (accepted && quality)
        FuzzCheck(replySeq == after.params.qualitySeq && replyUltra == (after.params.quality != 0),
                  "quality reply is not what is stored");
    if (accepted && !quality)
        FuzzCheck(replySeq == after.params.viewSeq, "visibility reply is not what is stored");
    FuzzCheck(services.restarts ==
                  ((accepted && quality && after.params.quality != before.params.quality) ? 1 : 0),
              "restart without a changed mode");

    SyncExchange exchange;
    exchange.stage = SyncExchangeStage::Sent;
    exchange.reply = std::string(bytes);
    const bool confirmed = quality ? ReportQualityExchange("10.0.0.2", true, 7, 1, exchange)
                                   : ReportVisibilityExchange("10.0.0.2", true, 7, "sync", exchange);
    if (confirmed) {
        FuzzCheck(exchange.reply.rfind("TSLY_ACK;", 0) == 0, "confirmed without TSLY_ACK");
        FuzzCheck(exchange.reply.find("accepted=1") != std::string::npos, "confirmed without accepted=1");
        FuzzCheck(exchange.reply.find("=7") != std::string::npos, "confirmed without the sequence sent");
    }
    RuntimeSetRole(RuntimeRole::None);
    RuntimeSetHostRunning(false);
    return 0;
}
