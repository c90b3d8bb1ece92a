#include "link/win/DiscoveryProcess.h"

#include "link/Discovery.h"
#include "link/DiscoveryBroadcastLoop.h"
#include "link/DiscoveryThreads.h"
#include "link/LocalIdentity.h"
#include "link/win/DiscoveryPlatformWin.h"
#include "link/win/DiscoveryUdp.h"
#include "link/win/LocalIdentityWin.h"

namespace Discovery {

namespace {

void BroadcastThread(const DiscoveryRun& run) {
    DiscoveryUdp sockets;
    RunBroadcastLoop(run, Service(), sockets);
}

// Never destroyed: a detached thread may still run at process exit.
DiscoveryThreads& Threads() {
    static DiscoveryThreads* threads = [] {
        InstallPlatform(new DiscoveryPlatformWin);
        return new DiscoveryThreads(Service(), &BroadcastThread);
    }();
    return *threads;
}

} // namespace

bool Start() {
    return Threads().Start([] { SetLocalIdentity(ReadLocalIdentity()); });
}

void Stop() {
    Threads().Stop();
}

} // namespace Discovery
