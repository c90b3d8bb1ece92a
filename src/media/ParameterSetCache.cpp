#include "media/ParameterSetCache.h"

bool ParameterSetCache::Update(const uint8_t* data, size_t size) {
    std::vector<uint8_t> sps = ExtractNalUnits(data, size, kNalSps);
    std::vector<uint8_t> pps = ExtractNalUnits(data, size, kNalPps);
    const bool changed = !sps.empty() || !pps.empty();
    if (!sps.empty()) {
        m_sps = std::move(sps);
    }
    if (!pps.empty()) {
        m_pps = std::move(pps);
    }
    return changed;
}

bool ParameterSetCache::CompleteOutput(std::vector<uint8_t>& output, const NalPresence& presence) const {
    const bool idrWithoutSps = presence.idr && !presence.sps;
    const bool spsWithoutPps = presence.sps && !presence.pps;
    if (!idrWithoutSps && !spsWithoutPps) {
        return false;
    }
    const bool addSps = !presence.sps && !m_sps.empty();
    const bool addPps = !presence.pps && !m_pps.empty();
    if (!addSps && !addPps) {
        return false;
    }
    // A PPS is read against its SPS, so it goes after the last SPS the output will carry.
    size_t ppsAt = 0;
    if (presence.sps) {
        ForEachNalUnit(output.data(), output.size(), [&](const NalUnit& unit) {
            if (unit.Type(output.data()) == kNalSps) {
                ppsAt = unit.end;
            }
            return true;
        });
    }
    std::vector<uint8_t> completed;
    completed.reserve(output.size() + m_sps.size() + m_pps.size());
    if (addSps) {
        completed.insert(completed.end(), m_sps.begin(), m_sps.end());
    }
    completed.insert(completed.end(), output.begin(), output.begin() + static_cast<ptrdiff_t>(ppsAt));
    if (addPps) {
        completed.insert(completed.end(), m_pps.begin(), m_pps.end());
    }
    completed.insert(completed.end(), output.begin() + static_cast<ptrdiff_t>(ppsAt), output.end());
    output = std::move(completed);
    return true;
}

void ParameterSetCache::Clear() {
    m_sps.clear();
    m_pps.clear();
}
