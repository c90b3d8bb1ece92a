#include "link/ControlDispatchServer.h"

#include <algorithm>

#include "core/Log.h"
#include "link/ControlHandler.h"
#include "link/ControlMessage.h"
#include "link/ControlMessageRead.h"
#include "link/DiscoveryRun.h"
#include "link/SessionControllerServices.h"

namespace {

constexpr int kWsaTimedOut = 10060;
constexpr int kWsaWouldBlock = 10035;

class DefaultSink final : public IControlServerSink {
public:
    bool HandleVideoVisibility(const std::string& ip, std::string_view message, uint32_t& viewSeq) override {
        return InstalledSessionControllerServices().HandleVideoVisibility(ip, message, viewSeq);
    }
    bool HandleVideoQualityRequest(const std::string& ip, std::string_view message, uint32_t& qualitySeq,
                                   bool& ultra) override {
        return InstalledSessionControllerServices().HandleVideoQualityRequest(ip, message, qualitySeq, ultra);
    }
    void HandleControlMessage(const std::string& ip, std::string_view message) override {
        Discovery::HandleControlMessage(ip, message);
    }
};

unsigned Bytes(const std::string& text) {
    return static_cast<unsigned>(text.size());
}

} // namespace

IControlServerSink& DefaultControlServerSink() {
    static DefaultSink* sink = new DefaultSink();
    return *sink;
}

namespace Discovery {

ControlMessageRead ReadControlMessage(IControlConnection& connection, const std::string& ip,
                                      const DiscoveryRun& run) {
    ControlMessageRead read;
    const uint32_t start = Log::TickCount();
    char piece[kControlPieceBytes];
    while (read.message.size() < kControlMessageMaxBytes && run.Running() &&
           Log::TickCount() - start < kControlMessageBudgetMs) {
        int want = static_cast<int>(std::min(sizeof piece, kControlMessageMaxBytes - read.message.size()));
        int wsa = 0;
        ++read.recvCalls;
        int got = connection.Receive(piece, want, wsa);
        if (got <= 0) {
            if (got < 0 && wsa != kWsaTimedOut && wsa != kWsaWouldBlock)
                Log::Write("Discovery TCP control recv failed peer=%s calls=%d bytes=%u wsa=%d", ip.c_str(),
                           read.recvCalls, Bytes(read.message), wsa);
            break;
        }
        read.message.append(piece, static_cast<size_t>(std::min(got, want)));
        if (read.message.find("end=1;") != std::string::npos)
            break;
    }
    return read;
}

void ServeControlConnection(IControlConnection& connection, const std::string& ip, IControlServerSink& sink,
                            const DiscoveryRun& run) {
    ControlMessageRead read = ReadControlMessage(connection, ip, run);
    const std::string& message = read.message;
    if (message.empty()) {
        Log::Write("Discovery TCP control empty message peer=%s recvCalls=%d", ip.c_str(), read.recvCalls);
        return;
    }
    int wsa = 0;
    if (MessageHasVerb(message, kVerbVideoVisibility)) {
        uint32_t viewSeq = 0;
        bool accepted = sink.HandleVideoVisibility(ip, message, viewSeq);
        bool sent = connection.SendAll(BuildVisibilityAck(viewSeq, accepted), wsa);
        connection.ShutdownSend();
        Log::Write(
            "[VIDEO][VISIBILITY][RX_ACK] peer=%s accepted=%d viewSeq=%lu ackOk=%d recvCalls=%d bytes=%u",
            ip.c_str(), accepted ? 1 : 0, static_cast<unsigned long>(viewSeq), sent ? 1 : 0, read.recvCalls,
            Bytes(message));
    } else if (MessageHasVerb(message, kVerbVideoQuality)) {
        uint32_t qualitySeq = 0;
        bool ultra = false;
        bool accepted = sink.HandleVideoQualityRequest(ip, message, qualitySeq, ultra);
        bool sent = connection.SendAll(BuildQualityAck(qualitySeq, ultra, accepted), wsa);
        connection.ShutdownSend();
        Log::Write(
            "[QUALITY][RX_ACK] peer=%s accepted=%d qualitySeq=%lu mode=%s ackOk=%d recvCalls=%d bytes=%u",
            ip.c_str(), accepted ? 1 : 0, static_cast<unsigned long>(qualitySeq), ultra ? "ULTRA" : "H264",
            sent ? 1 : 0, read.recvCalls, Bytes(message));
    } else {
        sink.HandleControlMessage(ip, message);
    }
}

} // namespace Discovery
