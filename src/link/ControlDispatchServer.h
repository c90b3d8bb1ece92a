#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// What the TCP control server does with one accepted connection, apart from the sockets themselves: read one
// message, hand it on, write the reply where the verb has one.

// The accepted connection (a blocking socket with a 500 ms receive time-out on Windows).
class IControlConnection {
public:
    virtual ~IControlConnection() = default;
    // Up to capacity bytes: the count read, 0 when the peer closed, below 0 on an error (wsa set; a
    // time-out is 10060).
    virtual int Receive(char* buffer, int capacity, int& wsa) = 0;
    // Writes all of text; false (wsa set) when a send fails.
    virtual bool SendAll(std::string_view text, int& wsa) = 0;
    virtual void ShutdownSend() = 0;
};

class DiscoveryRun;

// Where the messages go: visibility and quality are answered, everything else goes to the dispatcher.
class IControlServerSink {
public:
    virtual ~IControlServerSink() = default;
    virtual bool HandleVideoVisibility(const std::string& ip, std::string_view message,
                                       uint32_t& viewSeq) = 0;
    virtual bool HandleVideoQualityRequest(const std::string& ip, std::string_view message,
                                           uint32_t& qualitySeq, bool& ultra) = 0;
    virtual void HandleControlMessage(const std::string& ip, std::string_view message) = 0;
};

// The production sink: the installed services for visibility and quality, Discovery::HandleControlMessage
// for the rest. Never destroyed.
IControlServerSink& DefaultControlServerSink();

namespace Discovery {

inline constexpr size_t kControlPieceBytes = 1024;
inline constexpr size_t kControlMessageMaxBytes = 4096;
inline constexpr uint32_t kControlReceiveTimeoutMs = 500;
// A message must be complete within this time, however slowly its bytes come: the server serves one
// connection at a time, and each piece may otherwise take up to the receive time-out.
inline constexpr uint32_t kControlMessageBudgetMs = 2000;

struct ControlMessageRead {
    std::string message;
    int recvCalls = 0;
};

// Reads pieces of up to 1024 bytes until the text holds "end=1;" (also across pieces), reaches 4096 bytes,
// recv gives 0 or less, the budget has passed or the run has stopped. An error other than a time-out
// (10060) or would-block (10035) is logged as "Discovery TCP control recv failed peer=%s calls=%d bytes=%u
// wsa=%d". What was read so far is the message.
ControlMessageRead ReadControlMessage(IControlConnection& connection, const std::string& ip,
                                      const DiscoveryRun& run);

// One connection: read, then
// - "TSLY_VIDEO_VISIBILITY;": the sink answers; reply "TSLY_ACK;verb=TSLY_VIDEO_VISIBILITY;view_seq=%u;
//   accepted=%d;end=1;", sending side shut down, "[VIDEO][VISIBILITY][RX_ACK] ..." logged;
// - "TSLY_VIDEO_QUALITY;": likewise with the quality reply and "[QUALITY][RX_ACK] ...";
// - anything else: the dispatcher, no reply.
// An empty message is logged as "Discovery TCP control empty message peer=%s recvCalls=%d" and dropped.
void ServeControlConnection(IControlConnection& connection, const std::string& ip, IControlServerSink& sink,
                            const DiscoveryRun& run);

} // namespace Discovery
