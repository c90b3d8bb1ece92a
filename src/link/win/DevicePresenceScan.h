#pragma once

#include "link/DevicePresence.h"

// Finds the cable among the present devices of all classes with SetupAPI: a device whose hardware ids,
// instance id or compatible ids carry the bridge id. The first such device wins.
class SetupDiCableScanner final : public ICableScanner {
public:
    CableScan FindDevice() override;
};
