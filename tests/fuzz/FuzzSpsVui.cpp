// The SPS colour check over arbitrary bytes taken as the encoder's cached parameter sets, and the SPS
// parser over them taken as one RBSP: nothing is read outside the input, a parsed SPS stays within what
// the syntax allows, and emulation-prevention removal never grows the data.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "media/ColorDiagnostics.h"
#include "media/SpsVui.h"

#include "FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzCheck(!SpsColorCheckLine(data, size).empty(), "empty colour check line");

    // A copy of exactly the input's size, so that any read beyond it trips the address sanitizer.
    const std::vector<uint8_t> input(data, data + size);
    const std::vector<uint8_t> rbsp = RemoveEmulationPrevention(input.data(), input.size());
    FuzzCheck(rbsp.size() <= size, "emulation-prevention removal grew the data");
    const std::optional<SpsColorInfo> sps = ParseSpsColor(rbsp.data(), rbsp.size());
    if (sps) {
        FuzzCheck(sps->spsId <= 31, "SPS id out of range");
        FuzzCheck(sps->widthMbs >= 1 && sps->heightMbs >= 1, "empty coded size");
        FuzzCheck(sps->videoFullRange >= -1 && sps->videoFullRange <= 1, "full-range flag");
        FuzzCheck(sps->matrixCoefficients >= -1 && sps->matrixCoefficients <= 255, "matrix byte");
        FuzzCheck(sps->vuiPresent || sps->colourPrimaries == -1, "colour without a VUI");
    }
    return 0;
}
