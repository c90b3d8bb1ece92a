// Failure reasons carry URLs and addresses of the peer. Checks: no "http://" or "https://" and no dotted
// IPv4 address survives the masking or the failure text, the mapping is one of its messages or the masked
// reason, and masking twice changes nothing.
#include <cstdint>
#include <string>

#include "FuzzChecks.h"
#include "core/Utf.h"
#include "transfer/FileTransferText.h"

namespace {

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// Any four dot-separated groups of 1-3 digits below 256 that stand alone, checked independently of the
// masking's own scanner.
bool HoldsIpv4(const std::u16string& text) {
    for (size_t at = 0; at < text.size(); ++at) {
        if (!IsDigit(text[at]) || (at > 0 && IsDigit(text[at - 1])) ||
            (at > 1 && text[at - 1] == u'.' && IsDigit(text[at - 2])))
            continue;
        size_t i = at;
        bool ok = true;
        for (int g = 0; g < 4 && ok; ++g) {
            if (g > 0)
                ok = i < text.size() && text[i++] == u'.';
            size_t start = i;
            int value = 0;
            while (ok && i < text.size() && IsDigit(text[i]) && i - start < 3)
                value = value * 10 + (text[i++] - u'0');
            ok = ok && i > start && value < 256;
        }
        if (!ok || (i < text.size() && IsDigit(text[i])) ||
            (i + 1 < text.size() && text[i] == u'.' && IsDigit(text[i + 1])))
            continue;
        return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    bool english = (data[0] & 1) != 0;
    std::u16string reason;
    // Bytes as they come widen to ASCII and Latin-1, which is where addresses and URLs live; odd-flagged
    // inputs also try whole UTF-16 units.
    if (data[0] & 2) {
        for (size_t i = 1; i + 1 < size; i += 2)
            reason.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    } else {
        for (size_t i = 1; i < size; ++i)
            reason.push_back(static_cast<char16_t>(data[i]));
    }
    std::u16string masked = MaskNetworkDetails(reason, english);
    FuzzCheck(!ContainsIgnoringCase(masked, u"http://") && !ContainsIgnoringCase(masked, u"https://"),
              "URL left in the masked text");
    FuzzCheck(!HoldsIpv4(masked), "IPv4 address left in the masked text");
    FuzzCheck(MaskNetworkDetails(masked, english) == masked, "masking twice changed the text");
    std::u16string text = TransferFailureText(reason, english);
    FuzzCheck(!HoldsIpv4(text) && !ContainsIgnoringCase(text, u"http://"), "address in the failure text");
    return 0;
}
