#include "link/RndisAddress.h"

#include "core/Log.h"
#include "core/RuntimeState.h"

namespace {

constexpr int kMaxCandidates = 1024;

int HexValue(char16_t c) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    return 0;
}

uint32_t Candidate(uint32_t x, uint32_t y, uint32_t z) {
    return (10u << 24) | (x << 16) | (y << 8) | z;
}

bool Elapsed(uint32_t now, uint32_t last, uint32_t intervalMs) {
    return static_cast<uint32_t>(now - last) >= intervalMs;
}

bool IsDottedDigits(std::u16string_view ip) {
    if (ip.empty())
        return false;
    for (char16_t c : ip) {
        if (c != u'.' && (c < u'0' || c > u'9'))
            return false;
    }
    return true;
}

bool PassesQuoted(std::u16string_view name) {
    for (char16_t c : name) {
        if (c == u'"' || c == u'%' || c < 0x20 || c == 0x7F)
            return false;
    }
    return true;
}

} // namespace

uint8_t ParseMacOctet(std::u16string_view mac, int index) {
    if (index < 0)
        return 0;
    size_t at = static_cast<size_t>(index) * 3;
    if (at + 1 >= mac.size())
        return 0;
    return static_cast<uint8_t>(HexValue(mac[at]) * 16 + HexValue(mac[at + 1]));
}

std::u16string DeriveRndisAddress(const RndisAdapterInfo& adapter,
                                  const std::vector<AdapterRecord>& adapters) {
    if (StartsWithTenDot(adapter.ipv4) &&
        !IsIpUsedByOtherAdapter(adapters, adapter.ipv4, adapter.interfaceIndex))
        return adapter.ipv4;

    uint64_t a = ParseMacOctet(adapter.mac, 3);
    uint64_t b = ParseMacOctet(adapter.mac, 4);
    uint64_t c = ParseMacOctet(adapter.mac, 5);
    uint64_t s = adapter.interfaceIndex == 0 ? 19 : adapter.interfaceIndex;
    auto x = static_cast<uint32_t>((s * 37 + a) % 220 + 16); // 16..235
    auto y = static_cast<uint32_t>((s * 17 + b) % 253 + 1);  // 1..253
    auto z = static_cast<uint32_t>((s * 29 + c) % 230 + 10); // 10..239 first, then up to 249
    for (int i = 0; i < kMaxCandidates; ++i) {
        uint32_t candidate = Candidate(x, y, z);
        if (!IsIpUsedByOtherAdapter(adapters, candidate, adapter.interfaceIndex))
            return FormatIpv4(candidate);
        if (++z >= 250) {
            z = 10;
            if (++y >= 254) {
                y = 1;
                if (++x >= 236)
                    x = 16;
            }
        }
    }
    return u"10.250.250.10";
}

bool RndisCheckGates::BeginCheck(uint32_t now) {
    if (m_checked && !Elapsed(now, m_lastCheck, kRndisCheckIntervalMs))
        return false;
    m_checked = true;
    m_lastCheck = now;
    return true;
}

bool RndisCheckGates::BeginFix(uint32_t now) {
    if (m_fixed && !Elapsed(now, m_lastFix, kRndisFixIntervalMs))
        return false;
    m_fixed = true;
    m_lastFix = now;
    return true;
}

std::optional<RndisFixPlan> RndisAddressCheck::Next(uint32_t now, bool cablePresent,
                                                    const AdapterLister& listAdapters,
                                                    std::u16string_view simulatedDescription) {
    if (!m_gates.BeginCheck(now))
        return std::nullopt;
    if (!cablePresent)
        return std::nullopt;
    std::vector<AdapterRecord> adapters = listAdapters();
    RndisAdapterInfo adapter = DescribeRndisAdapter(SelectCableAdapter(adapters, simulatedDescription));
    if (!adapter.found)
        return std::nullopt;
    if (StartsWithTenDot(adapter.ipv4) && adapter.mask == kRndisMask)
        return std::nullopt;
    if (!m_gates.BeginFix(now))
        return std::nullopt;
    return RndisFixPlan{adapter.name, DeriveRndisAddress(adapter, adapters)};
}

std::optional<std::u16string> BuildNetshArguments(std::u16string_view adapterName, std::u16string_view ip) {
    if (adapterName.empty() || ip.empty())
        return std::nullopt;
    if (!IsDottedDigits(ip) || !PassesQuoted(adapterName)) {
        Log::Write("[RNDIS][WARN] auto-fix skipped: adapter name or address not usable on the netsh command "
                   "line nameChars=%u ipChars=%u",
                   static_cast<unsigned>(adapterName.size()), static_cast<unsigned>(ip.size()));
        return std::nullopt;
    }
    std::u16string arguments = u"/c netsh interface ipv4 set address name=\"";
    arguments.append(adapterName);
    arguments.append(u"\" static ");
    arguments.append(ip);
    arguments.append(u" ");
    arguments.append(kRndisMask);
    arguments.append(u" none");
    return arguments;
}

bool ReportRndisFixOutcome(const NetshOutcome& outcome) {
    switch (outcome.kind) {
    case NetshOutcome::Kind::LaunchFailed:
        Log::Write("Remote NDIS IP auto-fix launch failed gle=%lu",
                   static_cast<unsigned long>(outcome.error));
        RuntimeSetStatusMessage("Remote NDIS IP auto-fix failed: cannot launch netsh");
        return false;
    case NetshOutcome::Kind::TimedOut:
        Log::Write("Remote NDIS IP auto-fix netsh still running after %lu ms; terminated=%d gle=%lu",
                   static_cast<unsigned long>(outcome.waitedMs), outcome.terminated ? 1 : 0,
                   static_cast<unsigned long>(outcome.error));
        break;
    case NetshOutcome::Kind::Exited:
        break;
    }
    if (outcome.kind == NetshOutcome::Kind::Exited && outcome.exitCode == 0) {
        Log::Write("Remote NDIS IP auto-fix OK");
        RuntimeSetStatusMessage("Remote NDIS IP auto-fix OK");
        return true;
    }
    Log::Write("Remote NDIS IP auto-fix netsh failed exit=%lu. Run as administrator is required.",
               static_cast<unsigned long>(outcome.exitCode));
    RuntimeSetStatusMessage("Remote NDIS IP auto-fix failed: run as administrator");
    return false;
}
