// Arbitrary bytes through the control server's reading and the dispatcher, with a recording session target
// and no-op services. The first byte picks the sender and how the bytes are cut into pieces; the rest is the
// message. Checked:
// - the server reads at most 4096 bytes, in pieces of at most 1024, and stops at the first "end=1;";
// - a control request that is accepted is held to the sender's rules (sizes even and at most 8192, fps 0 or
//   10..30, bit rate 0 or 2,000,000..25,000,000, flags 0 or 1) and switches to the sender;
// - nothing from a sender outside 10/8 reaches the session target;
// - the health line stays within 767 bytes and whole UTF-8 characters (when the bytes were UTF-8);
// - peer names handed on are at most 255 bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/RuntimeState.h"
#include "link/ControlDispatchServer.h"
#include "link/ControlHandler.h"
#include "link/ControlHandlerState.h"
#include "link/DiscoveryRun.h"
#include "link/ControlRequestParams.h"
#include "link/HealthLine.h"
#include "link/PeerRecord.h"
#include "link/SessionControllerServices.h"

#include "../support/Utf8Checks.h"
#include "FuzzChecks.h"

namespace {

class RecordingTarget final : public IControlSessionTarget {
public:
    std::string ActivePeerIp() override { return active; }
    bool IsActivePeer(std::string_view ip) override { return !ip.empty() && ip == active; }
    bool SwitchToControlled(const std::string& ip, const std::string& name) override {
        FuzzCheck(ip.rfind("10.", 0) == 0, "switch for a sender outside 10/8");
        FuzzCheck(name.size() <= Discovery::kPeerTextMaxBytes, "peer name not bounded");
        ++switches;
        return true;
    }
    void StopAllSessions(const char*) override { ++stops; }
    bool AdmitIncomingRequest(std::string_view ip, std::string_view) override {
        FuzzCheck(ip.rfind("10.", 0) == 0, "request admitted from outside 10/8");
        return true;
    }
    std::string active;
    int switches = 0;
    int stops = 0;
};

class PresentCable final : public SessionControllerServices {
public:
    bool RefreshCable(const char*) override { return true; }
};

// Hands out the message in pieces of `cut` bytes (at most the size asked for).
class PieceConnection final : public IControlConnection {
public:
    PieceConnection(std::string_view bytes, size_t cut) : m_bytes(bytes), m_cut(cut) {}
    int Receive(char* buffer, int capacity, int&) override {
        FuzzCheck(capacity > 0 && static_cast<size_t>(capacity) <= Discovery::kControlPieceBytes,
              "piece too large");
        size_t n = std::min({m_bytes.size(), m_cut, static_cast<size_t>(capacity)});
        m_bytes.copy(buffer, n);
        m_bytes.remove_prefix(n);
        return static_cast<int>(n);
    }
    bool SendAll(std::string_view, int&) override { return true; }
    void ShutdownSend() override {}

private:
    std::string_view m_bytes;
    size_t m_cut;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    static const char* const kSenders[] = {"10.0.0.2", "10.0.0.3", "192.168.1.5", "127.0.0.1"};
    const std::string sender = kSenders[data[0] & 3];
    const size_t cut = 1 + ((data[0] >> 2) & 63) * 32;
    std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

    // The server's reading.
    PieceConnection connection(bytes, cut);
    DiscoveryRun run;
    Discovery::ControlMessageRead read = Discovery::ReadControlMessage(connection, sender, run);
    FuzzCheck(read.message.size() <= Discovery::kControlMessageMaxBytes, "message over 4096 bytes");
    FuzzCheck(bytes.substr(0, read.message.size()) == read.message, "message is not the bytes read");
    size_t end = read.message.find("end=1;");
    FuzzCheck(end == std::string::npos || end + 6 + cut > read.message.size(), "read on past end=1;");

    // The dispatcher, on an idle PC, on the controlled side of the active peer (the duplicate-request path)
    // and on its controller (the desktop-state path).
    for (RuntimeRole role : {RuntimeRole::None, RuntimeRole::Controlled, RuntimeRole::Controller}) {
        RuntimeSetRole(role);
        RuntimeSetHostRunning(role == RuntimeRole::Controlled);
        RecordingTarget target;
        target.active = "10.0.0.2";
        ControlHandlerState state;
        state.requests.Store("10.0.0.2", ControlRequestParams{1920, 1080, 30, 8000000, 0, 5, 1, 0, 5});
        PresentCable services;
        ControlHandler handler(target, state, &services);
        handler.HandleControlMessage(sender, read.message);

        if (sender.rfind("10.", 0) != 0)
            FuzzCheck(target.switches == 0 && target.stops == 0, "sender outside 10/8 acted on");
        if (target.switches > 0)
            CheckRequestWithinSenderRules(state.requests.RequestOwnedBy(sender));
        CheckRequestWithinSenderRules(state.requests.RequestOwnedBy("10.0.0.2"));
        MacHealthEntry health = state.health.Read();
        FuzzCheck(health.line.size() < kHealthLineCapacity, "health line over 767 bytes");
        if (IsCompleteUtf8(read.message))
            FuzzCheck(IsCompleteUtf8(health.line), "health line cut inside a character");
    }
    RuntimeSetRole(RuntimeRole::None);
    RuntimeSetHostRunning(false);
    return 0;
}
