#include "link/ControlMessageRead.h"

#include <string>

#include "link/ControlMessage.h"

namespace Discovery {

namespace {

std::string_view UpToZero(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

bool IsCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The field is present and reads as the number expected.
bool NumberFieldEquals(std::string_view text, std::string_view key, uint32_t expected) {
    std::optional<std::string_view> value = FindMessageValue(text, key);
    return value && ParseMessageNumber(*value) == expected;
}

bool AckFor(std::string_view reply, const char* verb) {
    return MessageHasVerb(reply, kVerbAck) && GetMessageValue(reply, "verb") == verb &&
           ReadMessageFlag(reply, "accepted");
}

} // namespace

std::optional<std::string_view> FindMessageValue(std::string_view text, std::string_view key) {
    text = UpToZero(text);
    std::string needle(key);
    needle += '=';
    size_t at = text.find(needle);
    if (at == std::string_view::npos)
        return std::nullopt;
    std::string_view rest = text.substr(at + needle.size());
    return rest.substr(0, rest.find(';'));
}

std::string_view GetMessageValue(std::string_view text, std::string_view key) {
    return FindMessageValue(text, key).value_or(std::string_view());
}

uint32_t ParseMessageNumber(std::string_view value) {
    size_t i = 0;
    while (i < value.size() && IsCSpace(value[i]))
        ++i;
    bool negative = false;
    if (i < value.size() && (value[i] == '+' || value[i] == '-'))
        negative = value[i++] == '-';
    // Digits beyond the limit no longer change the result, so the sum cannot overflow.
    uint64_t number = 0;
    bool digits = false;
    for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
        digits = true;
        if (number <= kMessageNumberMax)
            number = number * 10 + static_cast<uint64_t>(value[i] - '0');
    }
    if (!digits || negative || number < 1)
        return 0;
    return number > kMessageNumberMax ? kMessageNumberMax : static_cast<uint32_t>(number);
}

uint32_t ReadMessageNumber(std::string_view text, std::string_view key) {
    return ParseMessageNumber(GetMessageValue(text, key));
}

uint32_t ReadMessageEvenNumber(std::string_view text, std::string_view key) {
    return ReadMessageNumber(text, key) & ~1u;
}

bool ReadMessageFlag(std::string_view text, std::string_view key) {
    return GetMessageValue(text, key) == "1";
}

bool MessageHasVerb(std::string_view text, const char* verb) {
    text = UpToZero(text);
    std::string_view name(verb);
    return text.size() > name.size() && text.substr(0, name.size()) == name && text[name.size()] == ';';
}

bool PeerHasUltraCapability(std::string_view text) {
    return ReadMessageFlag(text, kCapabilityKeyUltra) || ReadMessageFlag(text, SecondCapabilityKey());
}

bool IsLinkPeerAddress(std::string_view ip) {
    return ip.substr(0, 3) == "10.";
}

bool IsForeignPeerId(std::string_view id, std::string_view localId) {
    return !id.empty() && id != localId;
}

bool AckConfirmsVisibility(std::string_view reply, uint32_t viewSeq) {
    return AckFor(reply, kVerbVideoVisibility) && NumberFieldEquals(reply, "view_seq", viewSeq);
}

bool AckConfirmsQuality(std::string_view reply, uint32_t qualitySeq, bool ultra) {
    return AckFor(reply, kVerbVideoQuality) && NumberFieldEquals(reply, "quality_seq", qualitySeq) &&
           GetMessageValue(reply, "quality") == (ultra ? "1" : "0");
}

} // namespace Discovery
