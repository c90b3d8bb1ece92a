#include "input/RemoteInputRoute.h"

#include <atomic>

namespace {
IRemoteInputRoute g_inactiveRoute;
std::atomic<IRemoteInputRoute*> g_route{nullptr};
} // namespace

void SetRemoteInputRoute(IRemoteInputRoute* route) {
    g_route.store(route);
}

IRemoteInputRoute& RemoteInputRoute() {
    IRemoteInputRoute* route = g_route.load();
    return route != nullptr ? *route : g_inactiveRoute;
}
