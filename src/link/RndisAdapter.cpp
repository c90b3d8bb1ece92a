#include "link/RndisAdapter.h"

#include <cstdio>

#include "core/Utf.h"
#include "link/BridgeId.h"

namespace {

std::u16string Ascii(const char* text) {
    std::u16string out;
    for (; *text != '\0'; ++text)
        out.push_back(static_cast<char16_t>(static_cast<unsigned char>(*text)));
    return out;
}

} // namespace

std::u16string FormatIpv4(uint32_t address) {
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", (address >> 24) & 0xFFu, (address >> 16) & 0xFFu,
                  (address >> 8) & 0xFFu, address & 0xFFu);
    return Ascii(text);
}

std::u16string PrefixToMask(uint32_t prefixLength) {
    if (prefixLength > 32)
        return u"-";
    uint32_t mask = prefixLength == 0 ? 0 : 0xFFFFFFFFu << (32 - prefixLength);
    return FormatIpv4(mask);
}

std::u16string FormatMac(const std::vector<uint8_t>& bytes) {
    if (bytes.empty())
        return u"-";
    std::string text;
    for (size_t i = 0; i < bytes.size() && i < 8; ++i) {
        char part[4];
        std::snprintf(part, sizeof part, i == 0 ? "%02X" : "-%02X", static_cast<unsigned>(bytes[i]));
        text += part;
    }
    return Ascii(text.c_str());
}

bool StartsWithTenDot(std::u16string_view text) {
    return text.size() >= 3 && text.substr(0, 3) == u"10.";
}

bool IsCableAdapterName(std::u16string_view text) {
    return ContainsIgnoringCase(text, kCableAdapterName);
}

void AttachDeviceParents(std::vector<AdapterRecord>& adapters, const std::vector<NetDeviceParent>& parents) {
    for (AdapterRecord& adapter : adapters) {
        if (adapter.adapterId.empty())
            continue;
        for (const NetDeviceParent& parent : parents) {
            if (EqualsIgnoringCase(adapter.adapterId, parent.adapterId)) {
                adapter.parentIds = parent.parentIds;
                break;
            }
        }
    }
}

bool IsCableChild(const AdapterRecord& adapter) {
    return MatchesBridgeId(adapter.parentIds);
}

const AdapterRecord* SelectCableAdapter(const std::vector<AdapterRecord>& adapters,
                                        std::u16string_view simulatedDescription) {
    if (!simulatedDescription.empty()) {
        for (const AdapterRecord& adapter : adapters)
            if (EqualsIgnoringCase(adapter.description, simulatedDescription))
                return &adapter;
        return nullptr;
    }
    for (const AdapterRecord& adapter : adapters)
        if (IsCableChild(adapter))
            return &adapter;
    // An adapter whose parent is known is some other device's, whatever it calls itself.
    for (const AdapterRecord& adapter : adapters)
        if (adapter.parentIds.empty() &&
            (IsCableAdapterName(adapter.description) || IsCableAdapterName(adapter.friendlyName)))
            return &adapter;
    return nullptr;
}

RndisAdapterInfo DescribeRndisAdapter(const AdapterRecord* adapter) {
    RndisAdapterInfo info;
    if (adapter == nullptr)
        return info;
    info.found = true;
    info.up = adapter->up;
    info.name = adapter->friendlyName;
    info.description = adapter->description;
    info.mac = FormatMac(adapter->physicalAddress);
    info.interfaceIndex = adapter->interfaceIndex;
    if (!adapter->ipv4.empty()) {
        info.ipv4 = FormatIpv4(adapter->ipv4.front().address);
        info.mask = PrefixToMask(adapter->ipv4.front().prefixLength);
    }
    return info;
}

CableNetwork DescribeCableNetwork(const AdapterRecord* adapter) {
    CableNetwork network;
    if (adapter == nullptr)
        return network;
    network.found = true;
    network.up = adapter->up;
    for (const AdapterIpv4& ip : adapter->ipv4) {
        if ((ip.address >> 24) == 10) {
            network.hasTenDot = true;
            network.ip = Utf16ToUtf8(FormatIpv4(ip.address));
            return network;
        }
    }
    if (!adapter->ipv4.empty())
        network.ip = Utf16ToUtf8(FormatIpv4(adapter->ipv4.front().address));
    return network;
}

std::optional<uint32_t> ParseIpv4(std::u16string_view text) {
    uint32_t address = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (text.empty() || text.front() != u'.')
                return std::nullopt;
            text.remove_prefix(1);
        }
        size_t digits = 0;
        uint32_t value = 0;
        while (digits < text.size() && digits < 4 && text[digits] >= u'0' && text[digits] <= u'9')
            value = value * 10 + static_cast<uint32_t>(text[digits++] - u'0');
        if (digits == 0 || digits > 3 || value > 255)
            return std::nullopt;
        text.remove_prefix(digits);
        address = (address << 8) | value;
    }
    if (!text.empty())
        return std::nullopt;
    return address;
}

bool IsIpUsedByOtherAdapter(const std::vector<AdapterRecord>& adapters, uint32_t address,
                            uint32_t interfaceIndex) {
    for (const AdapterRecord& adapter : adapters) {
        if (interfaceIndex != 0 && adapter.interfaceIndex == interfaceIndex)
            continue;
        for (const AdapterIpv4& held : adapter.ipv4) {
            if (held.address == address)
                return true;
        }
    }
    return false;
}

bool IsIpUsedByOtherAdapter(const std::vector<AdapterRecord>& adapters, std::u16string_view ip,
                            uint32_t interfaceIndex) {
    std::optional<uint32_t> address = ParseIpv4(ip);
    return address && IsIpUsedByOtherAdapter(adapters, *address, interfaceIndex);
}
