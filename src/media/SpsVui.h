#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// Reads the colour signalling of an H.264 sequence parameter set, for the log line that shows whether the
// encoder marked its stream as full-range BT.709. The bytes come from the encoder, or from the peer in the
// fuzz target: every read is bounds-checked and a short or malformed SPS is refused, never read past.

// The NAL payload with its emulation-prevention bytes removed: every 00 00 03 becomes 00 00.
std::vector<uint8_t> RemoveEmulationPrevention(const uint8_t* data, size_t size);

struct SpsColorInfo {
    uint32_t profileIdc = 0;
    uint32_t levelIdc = 0;
    uint32_t spsId = 0;
    // Coded size in macroblocks (map units doubled for field coding).
    uint32_t widthMbs = 0;
    uint32_t heightMbs = 0;
    bool vuiPresent = false;
    // -1 when the SPS does not carry the field (no VUI, no video signal type, no colour description, or a
    // VUI cut short).
    int32_t videoFullRange = -1;
    int32_t colourPrimaries = -1;
    int32_t transferCharacteristics = -1;
    int32_t matrixCoefficients = -1;
};

// Parses an SPS RBSP (NAL header byte first, emulation prevention already removed). Empty when the part
// before the VUI is cut short or out of range.
std::optional<SpsColorInfo> ParseSpsColor(const uint8_t* rbsp, size_t size);
