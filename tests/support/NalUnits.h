#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

// Short Annex-B NAL units for tests of the parameter-set handling: two different SPS and PPS, an IDR slice
// and a P slice, each behind a 4-byte start code. Only their types and bytes matter, not their syntax.
namespace nal_units {

using Bytes = std::vector<uint8_t>;

inline Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

inline const Bytes kSpsA = {0, 0, 0, 1, 0x67, 0x64, 0x00, 0x1F, 0xA1};
inline const Bytes kSpsB = {0, 0, 0, 1, 0x67, 0x64, 0x00, 0x28, 0xB2};
inline const Bytes kPpsA = {0, 0, 0, 1, 0x68, 0xEE, 0x3C, 0x80};
inline const Bytes kPpsB = {0, 0, 0, 1, 0x68, 0xCE, 0x06, 0xE2};
inline const Bytes kIdr = {0, 0, 0, 1, 0x65, 0x88, 0x84, 0x21};
inline const Bytes kP = {0, 0, 0, 1, 0x41, 0x9A, 0x02};

} // namespace nal_units
