#include "ui/PanelText.h"

#include "core/Utf.h"

std::string SafePanelText(std::string_view text, size_t maxBytes) {
    // A malformed byte grows into a three-byte U+FFFD, so the result is cut again at the end.
    std::string safe = Utf16ToUtf8(Utf8ToUtf16(CutUtf8(text, maxBytes)));
    for (char& c : safe)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    return std::string(CutUtf8(safe, maxBytes));
}
