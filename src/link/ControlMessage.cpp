#include "link/ControlMessage.h"

#include <array>

#include "link/ControlRequestParams.h"
#include "link/LocalIdentity.h"

namespace Discovery {

namespace {

std::string TextOf(const ControlMessageBuffer& message) {
    return std::string(message.View());
}

// TCP messages end with "end=1;", UDP ones carry no ending.
void AppendEndFor(ControlMessageBuffer& message, ControlTransport transport) {
    if (transport == ControlTransport::Tcp)
        AppendEnd(message);
}

} // namespace

const char* SecondCapabilityKey() {
    // The tag of the tile container that ULTRA streams carry, in lower case. Trivially destructible, so
    // detached threads may still read it at process exit.
    static const std::array<char, 5> key = [] {
        constexpr char kTileTag[] = "MF44";
        std::array<char, 5> lower{};
        for (size_t i = 0; i + 1 < sizeof kTileTag; ++i) {
            char c = kTileTag[i];
            lower[i] = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        }
        return lower;
    }();
    return key.data();
}

void AppendHead(ControlMessageBuffer& message, const char* verb, const LocalIdentity& identity) {
    message.Append("%s;id=%s;name=%s;ver=%s;", verb, identity.id.c_str(), identity.name.c_str(),
                   identity.version.c_str());
}

void AppendCapabilities(ControlMessageBuffer& message) {
    message.Append("%s=1;", kCapabilityKeyUltra);
    message.Append("%s=1;", SecondCapabilityKey());
}

void AppendEnd(ControlMessageBuffer& message) {
    // Like any part it is cut where the 512 bytes end: a full text gets none of it.
    message.Append("end=1;");
}

std::string BuildDiscoverMessage(const LocalIdentity& identity) {
    constexpr PortSet kPorts{};
    ControlMessageBuffer message;
    AppendHead(message, kVerbDiscover, identity);
    message.Append("video=%u;input=%u;audio=%u;clipboard=%u;control=%u;", unsigned(kPorts.video),
                   unsigned(kPorts.input), unsigned(kPorts.audio), unsigned(kPorts.clipboard),
                   unsigned(kPorts.control));
    AppendCapabilities(message);
    return TextOf(message);
}

std::string BuildPingMessage(const LocalIdentity& identity) {
    ControlMessageBuffer message;
    AppendHead(message, kVerbPing, identity);
    AppendEnd(message);
    return TextOf(message);
}

std::string BuildControlRequestMessage(const LocalIdentity& identity, const ControlRequestParams& request,
                                       ControlTransport transport) {
    ControlMessageBuffer message;
    AppendHead(message, kVerbControlRequest, identity);
    message.Append("req_w=%u;req_h=%u;req_fps=%u;req_bitrate=%u;view_hidden=%u;view_seq=%u;req_audio=%u;"
                   "req_quality=%u;quality_seq=%u;",
                   request.width, request.height, request.fps, request.bitrate, request.viewHidden,
                   request.viewSeq, request.audio, request.quality, request.qualitySeq);
    AppendCapabilities(message);
    AppendEndFor(message, transport);
    return TextOf(message);
}

std::string BuildControlStopMessage(const LocalIdentity& identity, ControlTransport transport) {
    ControlMessageBuffer message;
    if (transport == ControlTransport::Udp) {
        message.Append("%s;id=%s;name=%s;", kVerbControlStop, identity.id.c_str(), identity.name.c_str());
        return TextOf(message);
    }
    AppendHead(message, kVerbControlStop, identity);
    AppendEnd(message);
    return TextOf(message);
}

std::string BuildVideoVisibilityMessage(const LocalIdentity& identity, bool hidden, uint32_t viewSeq) {
    ControlMessageBuffer message;
    AppendHead(message, kVerbVideoVisibility, identity);
    message.Append("hidden=%d;view_seq=%u;", hidden ? 1 : 0, viewSeq);
    AppendEnd(message);
    return TextOf(message);
}

std::string BuildVideoQualityMessage(const LocalIdentity& identity, bool ultra, uint32_t qualitySeq) {
    ControlMessageBuffer message;
    AppendHead(message, kVerbVideoQuality, identity);
    message.Append("quality=%d;quality_seq=%u;", ultra ? 1 : 0, qualitySeq);
    AppendCapabilities(message);
    AppendEnd(message);
    return TextOf(message);
}

std::string BuildDesktopStateMessage(const LocalIdentity& identity, bool locked) {
    ControlMessageBuffer message;
    AppendHead(message, kVerbDesktopState, identity);
    message.Append("locked=%d;", locked ? 1 : 0);
    AppendEnd(message);
    return TextOf(message);
}

std::string BuildVisibilityAck(uint32_t viewSeq, bool accepted) {
    ControlMessageBuffer message;
    message.Append("%s;verb=%s;view_seq=%u;accepted=%d;", kVerbAck, kVerbVideoVisibility, viewSeq,
                   accepted ? 1 : 0);
    AppendEnd(message);
    return TextOf(message);
}

std::string BuildQualityAck(uint32_t qualitySeq, bool ultra, bool accepted) {
    ControlMessageBuffer message;
    message.Append("%s;verb=%s;quality_seq=%u;quality=%d;accepted=%d;", kVerbAck, kVerbVideoQuality,
                   qualitySeq, ultra ? 1 : 0, accepted ? 1 : 0);
    AppendEnd(message);
    return TextOf(message);
}

} // namespace Discovery
