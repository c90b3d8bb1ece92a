#pragma once

#include "app/AppLifecycle.h"

// The ten modules of the application, each a process-wide object, in the order they start and the order
// they stop.
AppLifecycleModuleList AppLifecycleStartOrder();
AppLifecycleModuleList AppLifecycleStopOrder();
