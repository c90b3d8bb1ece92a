#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/PortSet.h"
#include "link/ControlMessageText.h"

struct ControlRequestParams;
struct LocalIdentity;

// The control protocol between the two PCs: ASCII "VERB;key=value;key=value;..." with no escaping (a value
// cannot hold ";"). One message is one UDP datagram, or all that a client writes on one TCP connection
// before it shuts its sending side; replies come back on the same connection. TCP messages end with
// "end=1;", UDP ones never do. Reading rules: link/ControlMessageRead.h.
namespace Discovery {

inline constexpr const char* kVerbDiscover = "TSLY_DISCOVER";
inline constexpr const char* kVerbPing = "TSLY_PING";
inline constexpr const char* kVerbControlRequest = "TSLY_CONTROL_REQUEST";
inline constexpr const char* kVerbControlStop = "TSLY_CONTROL_STOP";
inline constexpr const char* kVerbVideoVisibility = "TSLY_VIDEO_VISIBILITY";
inline constexpr const char* kVerbVideoQuality = "TSLY_VIDEO_QUALITY";
inline constexpr const char* kVerbDesktopState = "TSLY_DESKTOP_STATE";
inline constexpr const char* kVerbRemoteHealth = "TSLY_REMOTE_HEALTH"; // only received (Mac peer)
inline constexpr const char* kVerbAck = "TSLY_ACK";

// Fixed ports of the protocol (not the configured channel ports).
inline constexpr uint16_t kControlPort = PortSet{}.control;                   // TCP
inline constexpr uint16_t kDiscoveryPrimaryPort = PortSet{}.discoveryPrimary; // UDP
inline constexpr uint16_t kDiscoveryLegacyPort = PortSet{}.discoveryLegacy;   // UDP
inline constexpr const char* kBroadcastAddress = "10.255.255.255";

// TCP client time-outs (ms): connect for the liveness check, for request / stop / desktop state /
// quality, and for visibility; reply waits for visibility and quality.
inline constexpr uint32_t kPingConnectTimeoutMs = 180;
inline constexpr uint32_t kControlConnectTimeoutMs = 350;
inline constexpr uint32_t kVisibilityConnectTimeoutMs = 500;
inline constexpr uint32_t kVisibilityReplyTimeoutMs = 700;
inline constexpr uint32_t kQualityReplyTimeoutMs = 300;
// A reply is read in pieces of 256 bytes up to 1024 bytes.
inline constexpr size_t kReplyPieceBytes = 256;
inline constexpr size_t kReplyMaxBytes = 1024;

// Senders build every message in 512 bytes: at most 511 characters, parts that do not fit are cut off.
inline constexpr size_t kControlMessageCapacity = 512;
using ControlMessageBuffer = BoundedText<kControlMessageCapacity>;

enum class ControlTransport { Tcp, Udp };

// The capability keys: a peer offers ULTRA when either is exactly "1". The second key is put together at
// run time from the tile container's tag ("mf44"); no other key of the protocol contains it, ends with it
// or is a suffix of it, so the substring search of GetMessageValue cannot confuse them.
inline constexpr const char* kCapabilityKeyUltra = "cap_uq";
const char* SecondCapabilityKey();

// Parts of a message, in this order: the head "%s;id=%s;name=%s;ver=%s;", the verb's own fields (Append),
// the capability tail "cap_uq=1;<second key>=1;", and for TCP "end=1;".
void AppendHead(ControlMessageBuffer& message, const char* verb, const LocalIdentity& identity);
void AppendCapabilities(ControlMessageBuffer& message);
void AppendEnd(ControlMessageBuffer& message);

// The complete messages. Their texts:
// - discovery (UDP): head, "video=6000;input=5000;audio=7001;clipboard=5002;control=5003;", capabilities;
// - liveness check (TCP): head, "end=1;";
// - control request: head, "req_w=..;req_h=..;req_fps=..;req_bitrate=..;view_hidden=..;view_seq=..;
//   req_audio=..;req_quality=..;quality_seq=..;", capabilities, "end=1;" for TCP;
// - control stop: TCP head, "end=1;"; UDP "TSLY_CONTROL_STOP;id=%s;name=%s;" (no version);
// - visibility (TCP): head, "hidden=%d;view_seq=%u;", "end=1;";
// - quality (TCP): head, "quality=%d;quality_seq=%u;", capabilities, "end=1;";
// - desktop state (TCP): head, "locked=%d;", "end=1;";
// - the two replies: "TSLY_ACK;verb=TSLY_VIDEO_VISIBILITY;view_seq=%u;accepted=%d;end=1;" and
//   "TSLY_ACK;verb=TSLY_VIDEO_QUALITY;quality_seq=%u;quality=%d;accepted=%d;end=1;".
std::string BuildDiscoverMessage(const LocalIdentity& identity);
std::string BuildPingMessage(const LocalIdentity& identity);
std::string BuildControlRequestMessage(const LocalIdentity& identity, const ControlRequestParams& request,
                                       ControlTransport transport);
std::string BuildControlStopMessage(const LocalIdentity& identity, ControlTransport transport);
std::string BuildVideoVisibilityMessage(const LocalIdentity& identity, bool hidden, uint32_t viewSeq);
std::string BuildVideoQualityMessage(const LocalIdentity& identity, bool ultra, uint32_t qualitySeq);
std::string BuildDesktopStateMessage(const LocalIdentity& identity, bool locked);
std::string BuildVisibilityAck(uint32_t viewSeq, bool accepted);
std::string BuildQualityAck(uint32_t qualitySeq, bool ultra, bool accepted);

} // namespace Discovery
