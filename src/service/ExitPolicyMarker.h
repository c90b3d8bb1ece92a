#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

// The exit-policy marker remembers, until the next Windows boot, that the user closed the visible Tessaly
// from the tray. 24 bytes, little-endian: "MREX", version (u32) 1, Windows boot id (u32), reserved (u32) 0,
// boot epoch (u64, 100 ns since 1601, the system time at which the tick count was 0).
inline constexpr char16_t kExitPolicyMarkerFileName[] = u"user_host_exit_policy.bin";
inline constexpr size_t kExitPolicyMarkerSize = 24;
inline constexpr uint32_t kExitPolicyMarkerVersion = 1;
// Two boot epochs of one boot differ by clock adjustments only; two boots are minutes apart at the least.
inline constexpr uint64_t kSameBootEpochTolerance100ns = 1'200'000'000; // 120 s

struct UserExitPolicyMarker {
    uint32_t windowsBootId = 0;  // 0: unknown
    uint64_t bootEpoch100ns = 0; // 0: unknown
};

using ExitPolicyMarkerBytes = std::array<uint8_t, kExitPolicyMarkerSize>;

ExitPolicyMarkerBytes EncodeExitPolicyMarker(const UserExitPolicyMarker& marker);
// Nothing for a stale file: fewer than 24 bytes, another magic or another version.
std::optional<UserExitPolicyMarker> DecodeExitPolicyMarker(const uint8_t* data, size_t size);

// The boot ids decide when both are known; otherwise both epochs must be known and close.
bool IsSameWindowsBoot(const UserExitPolicyMarker& stored, const UserExitPolicyMarker& current);

// The system time (100 ns units) minus the tick count (ms); 0 when the tick count reaches further back.
uint64_t BootEpoch100ns(uint64_t systemTime100ns, uint64_t tickCountMs);
