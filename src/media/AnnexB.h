#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

// Annex-B H.264 byte streams: NAL units behind 3-byte (00 00 01) or 4-byte (00 00 00 01) start codes, as
// the encoder hands them out and the video transport carries them.

// NAL unit types this program looks at (the low five bits of the NAL header byte).
inline constexpr uint8_t kNalIdrSlice = 5;
inline constexpr uint8_t kNalSps = 7;
inline constexpr uint8_t kNalPps = 8;

// One NAL unit found in a buffer: where its start code begins, where its header byte is, and where it ends
// (the next start code, or the end of the buffer).
struct NalUnit {
    size_t startCode = 0;
    size_t header = 0;
    size_t end = 0;
    uint8_t Type(const uint8_t* data) const { return data[header] & 0x1F; }
};

// Calls visit for every NAL unit in order; visit returns false to stop early. Bytes before the first start
// code are not a NAL unit. A start code with nothing behind it is skipped.
void ForEachNalUnit(const uint8_t* data, size_t size, const std::function<bool(const NalUnit&)>& visit);

// Which of the types the encoder's output is checked for occur in a buffer.
struct NalPresence {
    bool idr = false;
    bool sps = false;
    bool pps = false;
};
NalPresence ScanNalTypes(const uint8_t* data, size_t size);

// Every NAL unit of the given type, each with its start code and up to the next start code, in the order
// found. Empty when there is none.
std::vector<uint8_t> ExtractNalUnits(const uint8_t* data, size_t size, uint8_t type);

// The first NAL unit of the given type, without its start code (header byte first); empty when there is
// none.
std::vector<uint8_t> FirstNalPayload(const uint8_t* data, size_t size, uint8_t type);
