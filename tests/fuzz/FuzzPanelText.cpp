// Peer names and addresses, the Mac health line and transfer file names reach the panels as any bytes.
// Checks: the result is well-formed UTF-8 without control characters, within the byte limit, and a short
// well-formed text without control characters comes back unchanged.
#include <cstdint>
#include <string>

#include "FuzzChecks.h"
#include "core/Utf.h"
#include "ui/PanelText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const size_t limit = data[0] % 2 == 0 ? kPanelTextMaxBytes : data[0] / 2u;
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::string safe = SafePanelText(text, limit);
    FuzzCheck(safe.size() <= limit, "over the limit");
    FuzzCheck(Utf8ToUtf16Strict(safe).has_value(), "malformed UTF-8");
    for (unsigned char c : safe)
        FuzzCheck(c >= 0x20 && c != 0x7F, "control character");
    bool plain = text.size() <= limit && Utf8ToUtf16Strict(text).has_value();
    for (unsigned char c : text)
        plain = plain && c >= 0x20 && c != 0x7F;
    if (plain)
        FuzzCheck(safe == text, "a plain text was changed");
    return 0;
}
