#pragma once

#include <string>
#include <string_view>

#include "link/PeerRecord.h"
#include "link/RndisAdapter.h"

// The one-line link status that auto-connect shows the user, in English or in Chinese. Peer names and
// addresses are bounded by the peer table, and the lines are cut at a character boundary besides.

// Why the cable's network cannot carry a session.
enum class CableNetworkProblem {
    None,
    AdapterMissing,  // no adapter of the cable
    AdapterDown,     // its operational status is not up
    NoTenDotAddress, // up, but without a 10.x address
};
CableNetworkProblem FindCableNetworkProblem(const CableNetwork& network);

// No cable.
const char* DeviceMissingStatus(bool english);
// The line for one network problem (not None), then the short line that follows it.
const char* NetworkProblemStatus(CableNetworkProblem problem, bool english);
const char* NetworkNotReadyStatus(bool english);
// A session is being set up: the local address ("10.x" when empty) and the peer discovered again, or none.
std::string ReconnectingStatus(std::string_view localIp, const PeerRecord* peer, bool english);
// Idle with the network ready: no peer yet, or the first peer that is about to be asked.
const char* NoPeerStatus(bool english);
std::string PeerAvailableStatus(const PeerRecord& peer, bool english);
