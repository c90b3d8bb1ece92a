#pragma once

#include <string_view>

// Whether a relative path from the peer's manifest may be joined to the target folder: it must name
// something inside that folder, on every Windows path rule, whatever the peer wrote. Refused: empty paths,
// a leading separator (absolute or UNC), drive letters and any ":" (alternate streams), empty components
// (doubled or trailing separators), "." and "..", components ending in a dot or space (Windows drops those,
// so "..." or "a." would name something else), characters Windows forbids in names (< > " | ? * and
// controls), and device names (CON, PRN, AUX, NUL, COM0-9, LPT0-9, CONIN$, CONOUT$) with or without an
// extension. Both "\" and "/" separate components.
bool IsSafeRelativePath(std::u16string_view path);
