#pragma once

#include <cstdint>

// Kind of the last clipboard content, kept in the runtime state (RuntimeSetClipboardItemCount) and shown by
// the state view. LOCAL content came from the controller PC, REMOTE content from the controlled PC.
enum class ClipboardKind : uint32_t {
    None = 0,
    LocalText = 1,
    LocalImage = 2,
    LocalFiles = 3,
    RemoteText = 4,
    RemoteImage = 5,
    RemoteFiles = 6,
};
