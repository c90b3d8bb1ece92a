#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The bridge cable's network adapter: how it is picked out of the system's adapter list and described.
//
// One rule picks the cable's adapter everywhere (the address check, the StateView details and auto-connect).
// First choice: the adapter whose device is a child of the cable's own USB device, that is, whose PnP parent
// carries the cable's id (link/BridgeId.h). A second USB network gadget may describe itself exactly like the
// cable's adapter, and must never get the static 10.x address. Only when no adapter is known to be the
// cable's child does the description rule decide, and then only among adapters whose parent is unknown: the
// description or the friendly name contains "Remote NDIS Compatible Device", ignoring case. A looser
// "Remote NDIS" match would also take a USB-tethered phone ("Remote NDIS based Internet Sharing Device") and
// give it a static 10.x address, cutting the user's own connection.
//
// Test aid: a simulated cable adapter (the environment variable TSLY_SIM_CABLE_ADAPTER, read by the shell)
// names one adapter by its description; while it is set, that adapter and no other stands for the cable's.
// Empty means unset, and then nothing changes.

// One IPv4 unicast address, host order (10.1.2.3 is 0x0A010203), with its on-link prefix length.
struct AdapterIpv4 {
    uint32_t address = 0;
    uint8_t prefixLength = 0;
};

// One entry of the system's adapter list (IPv4 view).
struct AdapterRecord {
    std::u16string adapterId; // the network instance id, "{GUID}" (IP_ADAPTER_ADDRESSES::AdapterName)
    std::u16string friendlyName;
    std::u16string description;
    // The instance id and hardware ids of the PnP parent of the adapter's device, NUL-separated; empty when
    // the parent is unknown.
    std::u16string parentIds;
    bool up = false; // operational status up
    std::vector<uint8_t> physicalAddress;
    uint32_t interfaceIndex = 0;
    std::vector<AdapterIpv4> ipv4; // unicast addresses in the system's order
};

// The cable's adapter as the address check and the StateView see it; texts are "-" when absent.
struct RndisAdapterInfo {
    bool found = false;
    bool up = false;
    std::u16string name; // friendly name
    std::u16string description;
    std::u16string ipv4 = u"-"; // the first IPv4 unicast address
    std::u16string mask = u"-"; // from that address's prefix length
    std::u16string mac = u"-";  // "AA-BB-CC-00-11-22", at most 8 bytes
    uint32_t interfaceIndex = 0;
};

// The cable's network as auto-connect needs it.
struct CableNetwork {
    bool found = false;
    bool up = false;
    bool hasTenDot = false; // one of its IPv4 addresses begins with "10."
    std::string ip;         // that address, else the first IPv4 address, else empty
};

inline constexpr std::u16string_view kCableAdapterName = u"Remote NDIS Compatible Device";

// "10.1.2.3".
std::u16string FormatIpv4(uint32_t address);
// The dotted mask of a prefix length; a prefix above 32 gives "-".
std::u16string PrefixToMask(uint32_t prefixLength);
// "%02X" then "-%02X" per byte, at most the first 8 bytes; no bytes give "-".
std::u16string FormatMac(const std::vector<uint8_t>& bytes);
// At least 3 characters, beginning with "10.".
bool StartsWithTenDot(std::u16string_view text);
// The text contains "Remote NDIS Compatible Device", ignoring case.
bool IsCableAdapterName(std::u16string_view text);

// The PnP parent of one network adapter's device, as the shell reads it: the adapter's network instance id
// (the device's NetCfgInstanceId) and the parent's ids.
struct NetDeviceParent {
    std::u16string adapterId;
    std::u16string parentIds;
};

// Gives every adapter the parent ids of the device with its network instance id (compared ignoring case).
void AttachDeviceParents(std::vector<AdapterRecord>& adapters, const std::vector<NetDeviceParent>& parents);

// True when the adapter's PnP parent carries the cable's id.
bool IsCableChild(const AdapterRecord& adapter);

// The cable's adapter in the list, or null: with a simulated adapter set, the first whose description equals
// it (ignoring case); otherwise the first child of the cable, else the first adapter with an unknown parent
// whose description or friendly name is a cable adapter name.
const AdapterRecord* SelectCableAdapter(const std::vector<AdapterRecord>& adapters,
                                        std::u16string_view simulatedDescription);

// The details of a selected adapter (found false for null).
RndisAdapterInfo DescribeRndisAdapter(const AdapterRecord* adapter);
CableNetwork DescribeCableNetwork(const AdapterRecord* adapter);

// A dotted IPv4 text ("10.1.2.3", each part 0..255 in at most 3 digits), host order; nothing otherwise.
std::optional<uint32_t> ParseIpv4(std::u16string_view text);

// True when the ip is a unicast IPv4 address of an adapter with another interface index, or of any adapter
// when interfaceIndex is 0. Text that is no address ("", "-") is never in use.
bool IsIpUsedByOtherAdapter(const std::vector<AdapterRecord>& adapters, std::u16string_view ip,
                            uint32_t interfaceIndex);
bool IsIpUsedByOtherAdapter(const std::vector<AdapterRecord>& adapters, uint32_t address,
                            uint32_t interfaceIndex);
