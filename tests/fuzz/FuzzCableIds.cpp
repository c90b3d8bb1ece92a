// The texts the cable code reads from the system: device property values (hardware ids as registry
// multi-strings), adapter names and addresses, MAC texts. Checks:
// - MatchesBridgeId is case-blind for ASCII, and a non-matching string put in front of a multi-string
//   never changes the answer (strings are looked at one by one, never across a NUL);
// - ParseMacOctet reads any text at any index without leaving it;
// - ParseIpv4 accepts only what FormatIpv4 gives back unchanged in value;
// - a netsh argument line, when built, quotes the adapter name exactly once and holds no '%' or control
//   character that cmd.exe would act on.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "link/BridgeId.h"
#include "link/RndisAdapter.h"
#include "link/RndisAddress.h"

namespace {

void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "FuzzCableIds: %s\n", what);
        std::abort();
    }
}

std::u16string ToUtf16(const uint8_t* data, size_t size) {
    std::u16string text;
    for (size_t i = 0; i + 1 < size; i += 2)
        text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    return text;
}

std::u16string LowerAscii(std::u16string text) {
    for (char16_t& c : text)
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::u16string text = ToUtf16(data, size);

    bool matches = MatchesBridgeId(text);
    Check(MatchesBridgeId(LowerAscii(text)) == matches, "bridge id match depends on ASCII case");
    std::u16string prefixed = u"USB\\VID_1234&PID_5678";
    prefixed.push_back(u'\0');
    prefixed += text;
    Check(MatchesBridgeId(prefixed) == matches, "a leading non-matching string changed the answer");

    for (int index = -1; index < 10; ++index)
        ParseMacOctet(text, index);

    if (std::optional<uint32_t> address = ParseIpv4(text))
        Check(ParseIpv4(FormatIpv4(*address)) == address, "formatted address does not read back");

    size_t split = size == 0 ? 0 : data[0] % (text.size() + 1);
    std::u16string name = text.substr(0, split);
    std::u16string ip = text.substr(split);
    if (std::optional<std::u16string> arguments = BuildNetshArguments(name, ip)) {
        size_t quotes = 0;
        for (char16_t c : *arguments) {
            quotes += c == u'"';
            Check(c != u'%' && c >= 0x20 && c != 0x7F, "netsh line holds a character cmd.exe acts on");
        }
        Check(quotes == 2, "adapter name not quoted exactly once");
    }
    return 0;
}
