#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Decodes an H.264 Annex-B stream with the platform's H.264 decoder transform (CLSID_CMSH264DecoderMFT; under
// Wine backed by GStreamer), so a test can check what an encoder produced. COM and Media Foundation must be
// started on the calling thread.
struct DecodedPicture {
    int32_t width = 0;
    int32_t height = 0;
    // Luma rows of width bytes, packed.
    std::vector<uint8_t> luma;
    uint8_t LumaAt(int32_t x, int32_t y) const { return luma[static_cast<size_t>(y) * width + x]; }
};

// Feeds each access unit as one sample and collects every picture, in output order. False with error set
// when the decoder cannot be created or configured or fails.
bool DecodeH264ForTest(const std::vector<std::vector<uint8_t>>& accessUnits, int32_t width, int32_t height,
                       std::vector<DecodedPicture>& pictures, std::string& error);
