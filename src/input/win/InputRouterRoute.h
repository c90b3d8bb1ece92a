#pragma once

#include "input/RemoteInputRoute.h"

// The router as the windows and the keyboard hook call it (IRemoteInputRoute); ClearHookKeyState reaches the
// keyboard hook's own state.
IRemoteInputRoute& InputRouterRoute();

// Installs InputRouterRoute() with SetRemoteInputRoute. The cable is whatever HidCableAccess holds: start-up
// uses InstallInputRouter (HidCableLink.h), which installs the real one first.
void InstallInputRouterRoute();
