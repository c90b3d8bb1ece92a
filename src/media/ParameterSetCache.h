#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "media/AnnexB.h"

// The encoder's last SPS and PPS, each with its start code, so that every IDR frame can carry them even
// when the transform leaves them out. SPS and PPS are kept apart: an output that carries only one of them
// replaces that one and keeps the other.
class ParameterSetCache {
public:
    // Takes the SPS and PPS units of one encoder output. True when the output held either, i.e. the cache
    // changed.
    bool Update(const uint8_t* data, size_t size);

    // Completes an output whose parameter sets are incomplete: an IDR frame without an SPS, or an SPS
    // without a PPS, gets the cached units it lacks (a missing SPS goes in front, a missing PPS right after
    // the SPS that comes before it). presence is the output's own scan. True when bytes were inserted.
    bool CompleteOutput(std::vector<uint8_t>& output, const NalPresence& presence) const;

    bool Empty() const { return m_sps.empty() && m_pps.empty(); }
    size_t Bytes() const { return m_sps.size() + m_pps.size(); }
    // The cached SPS units, start codes included; empty when none came yet.
    const std::vector<uint8_t>& Sps() const { return m_sps; }
    const std::vector<uint8_t>& Pps() const { return m_pps; }
    void Clear();

private:
    std::vector<uint8_t> m_sps;
    std::vector<uint8_t> m_pps;
};
