#include "service/ExitPolicyMarker.h"

#include <cstring>

#include "core/LittleEndian.h"

namespace {

constexpr uint8_t kMagic[4] = {'M', 'R', 'E', 'X'};

} // namespace

ExitPolicyMarkerBytes EncodeExitPolicyMarker(const UserExitPolicyMarker& marker) {
    ExitPolicyMarkerBytes bytes{};
    std::memcpy(bytes.data(), kMagic, sizeof kMagic);
    PutLe32(bytes.data() + 4, kExitPolicyMarkerVersion);
    PutLe32(bytes.data() + 8, marker.windowsBootId);
    PutLe32(bytes.data() + 12, 0);
    PutLe64(bytes.data() + 16, marker.bootEpoch100ns);
    return bytes;
}

std::optional<UserExitPolicyMarker> DecodeExitPolicyMarker(const uint8_t* data, size_t size) {
    if (data == nullptr || size < kExitPolicyMarkerSize || std::memcmp(data, kMagic, sizeof kMagic) != 0 ||
        GetLe32(data + 4) != kExitPolicyMarkerVersion)
        return std::nullopt;
    return UserExitPolicyMarker{GetLe32(data + 8), GetLe64(data + 16)};
}

bool IsSameWindowsBoot(const UserExitPolicyMarker& stored, const UserExitPolicyMarker& current) {
    if (stored.windowsBootId != 0 && current.windowsBootId != 0)
        return stored.windowsBootId == current.windowsBootId;
    if (stored.bootEpoch100ns == 0 || current.bootEpoch100ns == 0)
        return false;
    // Larger minus smaller: an unsigned difference taken the other way round would wrap to a huge value.
    const uint64_t difference = stored.bootEpoch100ns > current.bootEpoch100ns
                                    ? stored.bootEpoch100ns - current.bootEpoch100ns
                                    : current.bootEpoch100ns - stored.bootEpoch100ns;
    return difference <= kSameBootEpochTolerance100ns;
}

uint64_t BootEpoch100ns(uint64_t systemTime100ns, uint64_t tickCountMs) {
    constexpr uint64_t k100nsPerMs = 10'000;
    if (tickCountMs > systemTime100ns / k100nsPerMs)
        return 0;
    return systemTime100ns - tickCountMs * k100nsPerMs;
}
