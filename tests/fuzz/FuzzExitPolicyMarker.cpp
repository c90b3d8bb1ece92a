// Any bytes as the exit-policy marker file. Checks: the decoder reads only what it was given (ASan), accepts
// exactly the records that carry "MREX" and version 1 in their first 24 bytes, and a record it accepts
// encodes back to those 24 bytes apart from the reserved word; the same-boot decision is symmetric.
#include <cstdint>
#include <cstring>
#include <vector>

#include "FuzzChecks.h"
#include "core/LittleEndian.h"
#include "service/ExitPolicyMarker.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An exact-size copy, so a read past the input is a heap overflow even inside libFuzzer's buffer.
    const std::vector<uint8_t> bytes(data, data + size);
    const auto marker = DecodeExitPolicyMarker(bytes.data(), bytes.size());
    const bool wellFormed =
        size >= kExitPolicyMarkerSize && std::memcmp(data, "MREX", 4) == 0 && GetLe32(data + 4) == 1;
    FuzzCheck(marker.has_value() == wellFormed, "accepted a stale marker or refused a good one");
    if (!marker)
        return 0;

    ExitPolicyMarkerBytes encoded = EncodeExitPolicyMarker(*marker);
    FuzzCheck(GetLe32(encoded.data() + 12) == 0, "reserved word not 0");
    std::memcpy(encoded.data() + 12, data + 12, 4);
    FuzzCheck(std::memcmp(encoded.data(), data, kExitPolicyMarkerSize) == 0, "round trip changed the record");

    const UserExitPolicyMarker other{GetLe32(data + 12), marker->bootEpoch100ns ^ GetLe32(data + 8)};
    FuzzCheck(IsSameWindowsBoot(*marker, other) == IsSameWindowsBoot(other, *marker),
              "same-boot not symmetric");
    FuzzCheck(IsSameWindowsBoot(*marker, *marker) ==
                  (marker->windowsBootId != 0 || marker->bootEpoch100ns != 0),
              "a known marker is not of its own boot");
    return 0;
}
