#pragma once

#include <string_view>

// What the discovery sockets do with a datagram and whom they accept as a peer.
namespace Discovery {

// The text of a received datagram: its bytes up to the first zero byte (a C string of the buffer).
std::string_view DatagramText(std::string_view bytes);

enum class DatagramKind {
    Discover, // "TSLY_DISCOVER;": a peer announces itself
    Control,  // "TSLY_CONTROL_REQUEST;" or "TSLY_CONTROL_STOP;" (the UDP fallback of the control sender)
    Other,    // anything else is dropped
};
DatagramKind ClassifyDatagram(std::string_view text);

enum class PeerAdmission {
    Accept,
    NoId,      // empty id
    OwnId,     // this PC's id: it hears its own broadcast
    NoAddress, // empty sender address
    NonLink,   // the sender is outside the link's 10.0.0.0/8
};
// A message from senderIp carrying id is acted on only when Accept. The checks run in the order listed.
PeerAdmission AdmitPeer(std::string_view id, std::string_view senderIp, std::string_view localId);

struct DatagramDecision {
    DatagramKind kind = DatagramKind::Other;
    PeerAdmission admission = PeerAdmission::Accept; // of the message's id; Accept for Other
};
DatagramDecision DecideDatagram(std::string_view text, std::string_view senderIp, std::string_view localId);

} // namespace Discovery
