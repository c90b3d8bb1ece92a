#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/RndisAdapter.h"

// The fixed address of the cable's adapter: when it has no 10.x address with mask 255.0.0.0, a stable
// address is derived from its MAC and interface index and set with netsh (run by the shell).

inline constexpr uint32_t kRndisCheckIntervalMs = 3000;
inline constexpr uint32_t kRndisFixIntervalMs = 15000;
inline constexpr uint32_t kRndisNetshTimeoutMs = 5000;
inline constexpr std::u16string_view kRndisMask = u"255.0.0.0";

// The octet at byte index of a MAC text "AA-BB-..": the two hex digits at character 3 * index. Fewer than
// two characters there give 0; a character that is not a hex digit counts as 0.
uint8_t ParseMacOctet(std::u16string_view mac, int index);

// The address to give the adapter. Its own 10.x address when no other adapter holds it (only the mask
// changes); else the first of up to 1024 candidates seeded by MAC bytes 3..5 and the interface index that
// no other adapter in the list holds; else "10.250.250.10".
std::u16string DeriveRndisAddress(const RndisAdapterInfo& adapter,
                                  const std::vector<AdapterRecord>& adapters);

// The two rate limits of the check: one look every 3000 ms, one fix attempt every 15000 ms. The first call
// of each always passes. Ticks are 32-bit milliseconds that wrap.
class RndisCheckGates {
public:
    bool BeginCheck(uint32_t now); // false when the last check is less than 3000 ms old; records now
    bool BeginFix(uint32_t now);   // false when the last attempt is less than 15000 ms old; records now

private:
    bool m_checked = false, m_fixed = false;
    uint32_t m_lastCheck = 0, m_lastFix = 0;
};

struct RndisFixPlan {
    std::u16string adapterName;
    std::u16string ip;
};

// The periodic check (the StateView's one-second timer drives it). Returns the fix to run, or nothing.
// The adapter list is taken only when a look is due and the cable is present: no netsh runs for an
// adapter while the cable itself is missing.
class RndisAddressCheck {
public:
    using AdapterLister = std::function<std::vector<AdapterRecord>()>;
    std::optional<RndisFixPlan> Next(uint32_t now, bool cablePresent, const AdapterLister& listAdapters,
                                     std::u16string_view simulatedDescription);

private:
    RndisCheckGates m_gates;
};

// The arguments for cmd.exe: "/c netsh interface ipv4 set address name="<name>" static <ip> 255.0.0.0 none".
// Nothing (with a logged warning) for an empty name or ip, an ip that is not dotted digits, or a name that
// cmd.exe would not pass through quoted ('"', '%' or a control character).
std::optional<std::u16string> BuildNetshArguments(std::u16string_view adapterName, std::u16string_view ip);

// The exit code Windows reports for a process that is still running (STILL_ACTIVE).
inline constexpr uint32_t kStillActiveExitCode = 259;

// How a netsh run ended.
struct NetshOutcome {
    enum class Kind { LaunchFailed, TimedOut, Exited };
    Kind kind = Kind::LaunchFailed;
    uint32_t exitCode = 0; // Exited; TimedOut: kStillActiveExitCode
    uint32_t error = 0;    // LaunchFailed: the launch error; TimedOut: the terminate error (0 when it worked)
    bool terminated = false; // TimedOut: the process tree was told to end
    uint32_t waitedMs = 0;   // TimedOut
};

// Logs the outcome and sets the status message; true only for exit code 0. A run still going after the
// wait is the same failure as a non-zero exit ("Run as administrator is required", its exit code
// STILL_ACTIVE), after a line with the details of its termination: the runner has ended it, so it cannot
// change the address later, while a newer attempt runs.
bool ReportRndisFixOutcome(const NetshOutcome& outcome);
