#include "link/DiscoveryBroadcastLoop.h"

#include "core/Log.h"
#include "core/PortSet.h"
#include "core/RuntimeState.h"
#include "core/StallScope.h"
#include "link/ControlMessage.h"
#include "link/DiscoveryRun.h"
#include "link/DiscoverySchedule.h"
#include "link/DiscoveryService.h"
#include "link/LocalIdentity.h"
#include "core/StateManager.h"

namespace Discovery {

namespace {

constexpr uint32_t kBindWaitMs = 100;
constexpr uint32_t kTurnSleepMs = 20;

constexpr unsigned kPrimaryPort = kDiscoveryPrimaryPort;
constexpr unsigned kLegacyPort = kDiscoveryLegacyPort;

void SetDiscoveryRunning(bool running, const char* reason) {
    if (RuntimeStateManager().SetDiscoveryRunning(running, reason))
        Log::Write("[NET][SERVICE] discovery running=%d reason=%s", running ? 1 : 0, reason);
}

// The primary socket was just bound.
void AnnouncePrimary(DiscoveryService& service) {
    RuntimeStateManager().PublishPorts(PortSet{});
    SetDiscoveryRunning(true, "discovery primary started");
    service.RequestBroadcastNow();
    Log::Write("Discovery started primary=%u legacy=%u local_id=%s", kPrimaryPort, kLegacyPort,
               CurrentLocalIdentity().id.c_str());
}

void TryLegacy(DiscoverySchedule& schedule, IDiscoveryTransport& transport, uint32_t now) {
    bool bound = transport.Bind(DiscoverySocketRole::Legacy);
    bool logFailure = schedule.LegacyAttempted(now, bound);
    if (bound)
        Log::Write("[DISCOVERY][COMPAT] legacy port=%u active with primary port=%u", kLegacyPort,
                   kPrimaryPort);
    else if (logFailure)
        Log::Write("[DISCOVERY][COMPAT] legacy port=%u unavailable; primary port=%u remains active",
                   kLegacyPort, kPrimaryPort);
}

} // namespace

void RunBroadcastLoop(const DiscoveryRun& run, DiscoveryService& service, IDiscoveryTransport& transport) {
    if (!run.Running()) {
        Log::Write("Discovery stopped");
        return;
    }
    IDiscoveryPlatform& platform = service.Platform();
    DatagramSink sink = [&service](std::string_view bytes, const std::string& senderIp) {
        service.HandleDatagram(bytes, senderIp);
    };
    DiscoverySchedule schedule;
    bool primaryBound = false;

    while (run.Running()) {
        service.RunPendingPeerLoss();
        uint32_t now = platform.Tick();
        if (!transport.IsOpen(DiscoverySocketRole::Primary)) {
            if (!schedule.PrimaryBindDue(now)) {
                platform.Sleep(run, kBindWaitMs);
                continue;
            }
            schedule.PrimaryAttempted(now);
            if (!transport.Bind(DiscoverySocketRole::Primary)) {
                Log::Write("[DISCOVERY][BIND] role=primary port=%u failed; retryMs=%u", kPrimaryPort,
                           static_cast<unsigned>(DiscoverySchedule::kPrimaryRetryMs));
                platform.Sleep(run, kBindWaitMs);
                continue;
            }
            primaryBound = true;
            AnnouncePrimary(service);
            schedule.PrimaryBound();
        }
        if (!transport.IsOpen(DiscoverySocketRole::Legacy) && schedule.LegacyBindDue(now))
            TryLegacy(schedule, transport, now);

        if (schedule.BroadcastDue(now, service.TakeBroadcastNow())) {
            {
                StallScope stall("Discovery", "SendBroadcast", 100);
                transport.SendBroadcast(BuildDiscoverMessage(CurrentLocalIdentity()));
            }
            schedule.Broadcasted(now);
            service.CleanupExpired(&run);
        }
        transport.Receive(DiscoverySocketRole::Primary, sink);
        transport.Receive(DiscoverySocketRole::Legacy, sink);
        platform.Sleep(run, kTurnSleepMs);
    }

    transport.CloseAll();
    if (primaryBound)
        SetDiscoveryRunning(false, "discovery stopped");
    Log::Write("Discovery stopped");
}

} // namespace Discovery
