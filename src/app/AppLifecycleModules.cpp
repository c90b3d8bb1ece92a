#include "app/AppLifecycleModules.h"

#include "app/CursorPathMonitorLifecycleModule.h"
#include "app/DiscoveryLifecycleModule.h"
#include "app/DragVisualLifecycleModule.h"
#include "app/FileTransferLifecycleModule.h"
#include "app/KvmSessionLifecycleModule.h"
#include "app/MouseMonitorLifecycleModule.h"
#include "app/NetworkLifecycleModule.h"
#include "app/RemoteViewLifecycleModule.h"
#include "app/ScreenScaleMonitorLifecycleModule.h"
#include "app/TransportLifecycleModule.h"

namespace {

struct Modules {
    NetworkLifecycleModule network;
    MouseMonitorLifecycleModule mouseMonitor;
    ScreenScaleMonitorLifecycleModule screenScaleMonitor;
    CursorPathMonitorLifecycleModule cursorPathMonitor;
    DiscoveryLifecycleModule discovery;
    FileTransferLifecycleModule fileTransfer;
    DragVisualLifecycleModule dragVisual;
    TransportLifecycleModule transport;
    KvmSessionLifecycleModule kvmSession;
    RemoteViewLifecycleModule remoteView;
};

// Never destroyed: a detached thread may still reach a module at exit.
Modules& All() {
    static auto* modules = new Modules;
    return *modules;
}

} // namespace

AppLifecycleModuleList AppLifecycleStartOrder() {
    Modules& m = All();
    static IAppLifecycleModule* const order[] = {
        &m.network,      &m.mouseMonitor, &m.screenScaleMonitor, &m.cursorPathMonitor, &m.discovery,
        &m.fileTransfer, &m.dragVisual,   &m.transport,          &m.kvmSession,        &m.remoteView,
    };
    return order;
}

// Discovery first, so that no peer reaches a half-stopped program; the plain monitors and the network flags
// last.
AppLifecycleModuleList AppLifecycleStopOrder() {
    Modules& m = All();
    static IAppLifecycleModule* const order[] = {
        &m.discovery,  &m.kvmSession,        &m.remoteView,         &m.transport,    &m.fileTransfer,
        &m.dragVisual, &m.cursorPathMonitor, &m.screenScaleMonitor, &m.mouseMonitor, &m.network,
    };
    return order;
}
