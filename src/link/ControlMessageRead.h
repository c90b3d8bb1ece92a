#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// Reading rules of the control protocol (messages: link/ControlMessage.h). Texts are the received bytes;
// a zero byte ends the text as the end of the buffer would. Every value returned is a view into the text.
namespace Discovery {

// The value of the first "key=" anywhere in the text (a plain substring search: the character before the
// key is not examined, so "quality" is found inside "req_quality=..."), up to the next ";" or the end of
// the text. nullopt when "key=" does not occur.
std::optional<std::string_view> FindMessageValue(std::string_view text, std::string_view key);
// The same, with a missing key as empty text.
std::string_view GetMessageValue(std::string_view text, std::string_view key);

// Numbers are read in base 10 (leading white space and a sign allowed, as strtol does); empty text, text
// without leading digits or a result below 1 gives 0, and a result above 1,000,000,000 gives 1,000,000,000.
inline constexpr uint32_t kMessageNumberMax = 1000000000;
uint32_t ParseMessageNumber(std::string_view value);
uint32_t ReadMessageNumber(std::string_view text, std::string_view key);
// A number lowered to the next even one: req_w and req_h.
uint32_t ReadMessageEvenNumber(std::string_view text, std::string_view key);
// True only when the value is exactly "1".
bool ReadMessageFlag(std::string_view text, std::string_view key);

// The message begins with the verb and ";" (verbs are case-sensitive).
bool MessageHasVerb(std::string_view text, const char* verb);

// The sender offers ULTRA: "cap_uq" is exactly "1", or else the second capability key is.
bool PeerHasUltraCapability(std::string_view text);

// Receivers act only on senders inside the link's 10.0.0.0/8: the dotted address begins with "10.".
bool IsLinkPeerAddress(std::string_view ip);

// A message's id names another PC: non-empty and not this PC's own id (a PC hears its own broadcast).
bool IsForeignPeerId(std::string_view id, std::string_view localId);

// A reply confirms a visibility or quality request only when it begins "TSLY_ACK;", its verb is the verb
// sent, "accepted" is exactly "1", its sequence equals the one sent and, for quality, its mode too.
bool AckConfirmsVisibility(std::string_view reply, uint32_t viewSeq);
bool AckConfirmsQuality(std::string_view reply, uint32_t qualitySeq, bool ultra);

} // namespace Discovery
