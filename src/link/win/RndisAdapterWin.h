#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "link/RndisAdapter.h"
#include "link/RndisAddress.h"

// The cable's network adapter on Windows: the adapter list (GetAdaptersAddresses), its lookups and the
// periodic address check with netsh.

// The IPv4 view of every adapter (no anycast, multicast or DNS server entries), each with its network
// instance id and the ids of its device's PnP parent where they can be read (link/win/NetDeviceParents.h).
// Empty, with a throttled logged error, when the system call fails.
std::vector<AdapterRecord> ListAdapters();

// The test aid TSLY_SIM_CABLE_ADAPTER: the description of the adapter that stands for the cable's, or empty
// when the variable is unset. Read once; the first call logs that the simulated adapter is in use. A real
// run leaves it unset and nothing differs.
const std::u16string& SimulatedCableAdapter();

// The cable's adapter (used by the StateView paint); the override form takes the simulated description.
RndisAdapterInfo FindRndisAdapter();
RndisAdapterInfo FindRndisAdapter(const std::u16string& simulatedDescription);

// The cable's network for auto-connect.
CableNetwork QueryCableNetwork();

// The periodic check and fix, driven by the StateView's one-second timer on the UI thread. Rate-limited by
// itself; does nothing while the cable is missing; blocks up to 5 s while netsh runs.
void CheckRndisAdapter();

// Sets the static address with netsh through cmd.exe; nothing when either text is empty. Logs and sets the
// status; true when netsh exited with 0.
bool RunRndisIpAutoFix(const std::u16string& adapterName, const std::u16string& ip);

// Starts application hidden (CREATE_NO_WINDOW, SW_HIDE) with the command line "<application>" arguments
// inside a job, and waits up to timeoutMs. A process tree still running then is terminated (not waited for:
// nothing here waits beyond timeoutMs), so that it cannot act later; its exit code is STILL_ACTIVE.
NetshOutcome RunHiddenProcess(const std::wstring& application, const std::wstring& arguments,
                              uint32_t timeoutMs);
