#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Texts a peer controls (its name and address, the Mac health line, the names of files it sends) reach the
// panels as bytes that may be anything. The panel shows at most this many bytes of one value; the drawing
// puts an ellipsis at its end long before that.
inline constexpr size_t kPanelTextMaxBytes = 256;

// The text made safe to draw on one line: malformed UTF-8 becomes U+FFFD, control characters become
// spaces, and the result is cut to maxBytes without splitting a character.
std::string SafePanelText(std::string_view text, size_t maxBytes = kPanelTextMaxBytes);
