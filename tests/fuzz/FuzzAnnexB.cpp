// The Annex-B walk over arbitrary bytes: every unit lies inside the buffer, starts behind a start code,
// units follow each other without overlap, and the extractors only return bytes the walk saw.
#include <cstddef>
#include <cstdint>

#include "media/AnnexB.h"

#include "FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    size_t previousEnd = 0;
    size_t spsBytes = 0;
    ForEachNalUnit(data, size, [&](const NalUnit& unit) {
        FuzzCheck(unit.startCode >= previousEnd, "units overlap");
        FuzzCheck(unit.header == unit.startCode + 3 || unit.header == unit.startCode + 4, "start code length");
        FuzzCheck(unit.header < unit.end && unit.end <= size, "unit outside the buffer");
        FuzzCheck(data[unit.header - 1] == 1 && data[unit.header - 2] == 0 && data[unit.header - 3] == 0,
                  "no start code before the header");
        if (unit.Type(data) == kNalSps)
            spsBytes += unit.end - unit.startCode;
        previousEnd = unit.end;
        return true;
    });
    FuzzCheck(ExtractNalUnits(data, size, kNalSps).size() == spsBytes, "extracted SPS bytes");
    const NalPresence presence = ScanNalTypes(data, size);
    FuzzCheck(presence.sps == (spsBytes > 0), "SPS presence");
    FuzzCheck(FirstNalPayload(data, size, kNalSps).empty() == !presence.sps, "first SPS payload");
    return 0;
}
