// Notification texts carry names of files and peers. Checks: the body is a tail of the text, never holds
// the title, the time-out is never 0, and the UTF-16 cut never splits a surrogate pair.
#include <cstdint>
#include <cstring>
#include <string>

#include "FuzzChecks.h"
#include "core/Utf.h"
#include "ui/NotificationText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 16)
        return 0;
    int64_t v1 = 0, v2 = 0;
    std::memcpy(&v1, data, 8);
    std::memcpy(&v2, data + 8, 8);
    std::string text(reinterpret_cast<const char*>(data + 16), size - 16);
    BalloonRequest r = BalloonFromNotification(text, v1, v2);
    FuzzCheck(r.timeoutMs != 0, "zero time-out");
    FuzzCheck(r.body.size() <= text.size() &&
                  text.compare(text.size() - r.body.size(), r.body.size(), r.body) == 0,
              "body not a tail");
    if (text.find('\n') != std::string::npos)
        FuzzCheck(r.body.size() < text.size(), "title kept in the body");

    std::u16string wide;
    for (size_t i = 16; i + 1 < size; i += 2)
        wide.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    size_t limit = data[0] % 300;
    std::u16string_view cut = HeadUtf16(wide, limit);
    FuzzCheck(cut.size() <= limit, "cut too long");
    // A pair is split when the cut ends on a high surrogate whose low half was left behind.
    if (cut.size() < wide.size() && !cut.empty()) {
        bool high = cut.back() >= 0xD800 && cut.back() <= 0xDBFF;
        bool nextLow = wide[cut.size()] >= 0xDC00 && wide[cut.size()] <= 0xDFFF;
        FuzzCheck(!(high && nextLow), "split surrogate pair");
    }
    return 0;
}
