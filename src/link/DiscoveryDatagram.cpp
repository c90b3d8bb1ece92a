#include "link/DiscoveryDatagram.h"

#include "link/ControlMessage.h"
#include "link/ControlMessageRead.h"

namespace Discovery {

std::string_view DatagramText(std::string_view bytes) {
    return bytes.substr(0, bytes.find('\0'));
}

DatagramKind ClassifyDatagram(std::string_view text) {
    if (MessageHasVerb(text, kVerbDiscover))
        return DatagramKind::Discover;
    if (MessageHasVerb(text, kVerbControlRequest) || MessageHasVerb(text, kVerbControlStop))
        return DatagramKind::Control;
    return DatagramKind::Other;
}

PeerAdmission AdmitPeer(std::string_view id, std::string_view senderIp, std::string_view localId) {
    if (id.empty())
        return PeerAdmission::NoId;
    if (!IsForeignPeerId(id, localId))
        return PeerAdmission::OwnId;
    if (senderIp.empty())
        return PeerAdmission::NoAddress;
    if (!IsLinkPeerAddress(senderIp))
        return PeerAdmission::NonLink;
    return PeerAdmission::Accept;
}

DatagramDecision DecideDatagram(std::string_view text, std::string_view senderIp, std::string_view localId) {
    DatagramDecision decision;
    decision.kind = ClassifyDatagram(text);
    if (decision.kind != DatagramKind::Other)
        decision.admission = AdmitPeer(GetMessageValue(text, "id"), senderIp, localId);
    return decision;
}

} // namespace Discovery
