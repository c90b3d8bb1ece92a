// Another program's clipboard block, as the clipboard watch reads it: the text before the first NUL (never
// past the block) and the "FileNameW" path. Checks: the unit count stays within the block and stops at the
// first NUL unit; the path is a part of the text before its NUL and holds no NUL.
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzChecks.h"
#include "transfer/ClipboardWatchRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const size_t units = ClipboardTextUnits(data, size);
    FuzzCheck(units <= size / 2, "text past the block");
    for (size_t i = 0; i < units; ++i)
        FuzzCheck(data[2 * i] != 0 || data[2 * i + 1] != 0, "text runs over a NUL");
    if (units < size / 2)
        FuzzCheck(data[2 * units] == 0 && data[2 * units + 1] == 0, "text stopped before its NUL");
    FuzzCheck(ClipboardTextPayloadBytes(units) == 2 * units + 2, "payload without one terminator");

    std::u16string text;
    for (size_t i = 0; i + 1 < size; i += 2)
        text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    const std::u16string_view path = TrimClipboardFileName(text);
    const std::u16string_view before(text.data(), units);
    FuzzCheck(path.empty() || (path.data() >= before.data() &&
                               path.data() + path.size() <= before.data() + before.size()),
              "path outside the text before its NUL");
    FuzzCheck(path.find(u'\0') == std::u16string_view::npos, "path holds a NUL");
    return 0;
}
