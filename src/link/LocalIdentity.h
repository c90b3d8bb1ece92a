#pragma once

#include <string>
#include <string_view>

// What every message of this PC carries in its head: "id", "name" and "ver".
struct LocalIdentity {
    std::string id;      // "TSLY-" and the computer name; "TSLY-UNKNOWN" without one
    std::string name;    // the computer name; "Tessaly" without one
    std::string version; // the build version text
};

namespace Discovery {

// The computer name is read into a 128-byte buffer: a longer one is cut at a character boundary.
inline constexpr size_t kComputerNameMaxBytes = 127;

// The identity for a computer name (UTF-8; empty when it could not be read).
LocalIdentity MakeLocalIdentity(std::string_view computerName);

// The process-wide identity: set when the discovery service starts (from ReadLocalIdentity on Windows) and
// read by every sender and by every receiver's own-id test. Until it is set it is MakeLocalIdentity("").
// Safe from any thread; readers get a copy.
void SetLocalIdentity(LocalIdentity identity);
LocalIdentity CurrentLocalIdentity();

} // namespace Discovery
