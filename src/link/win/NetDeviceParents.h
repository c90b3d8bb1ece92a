#pragma once

#include <vector>

#include "link/RndisAdapter.h"

// The PnP parent of every present network adapter device (setup class Net): the device's NetCfgInstanceId,
// which is the adapter list's AdapterName, with the parent's instance id and hardware ids. Devices whose
// instance id or parent cannot be read are left out; a SetupAPI failure gives an empty list (logged at most
// every 10 s), and the description rule then picks the cable's adapter.
std::vector<NetDeviceParent> ReadNetDeviceParents();
