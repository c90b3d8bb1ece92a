#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "core/StateTestSupport.h"
#include "core/ConfigService.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "link/ControlHandler.h"
#include "link/ControlHandlerState.h"
#include "link/KvmSessionManager.h"
#include "link/LocalIdentity.h"
#include "link/SessionControllerServices.h"
#include "support/TestLog.h"

// Shared by the session controller and control handling tests: services that record every call and act like
// the real sessions on the runtime state, and a fixture with a session controller and a handler over them.

class FakeControllerServices : public SessionControllerServices {
public:
    // Sessions: a started host sets host running, role controlled and HOST STARTING; a started client sets
    // client running, role controller and CLIENT STARTING; a stop clears the running flag, as the real ones.
    bool StartHostSession(const std::string& ip) override {
        Note("startHost " + ip);
        if (!hostStarts)
            return false;
        RuntimeSetHostRunning(true);
        RuntimeSetRole(RuntimeRole::Controlled);
        RuntimeSetProgramState(ProgramState::HostStarting);
        return true;
    }
    void StopHostSession() override {
        Note("stopHost");
        RuntimeSetHostRunning(false);
    }
    bool StartClientSession(const std::string& ip) override {
        Note("startClient " + ip);
        if (!clientStarts)
            return false;
        RuntimeSetClientRunning(true);
        RuntimeSetRole(RuntimeRole::Controller);
        RuntimeSetProgramState(ProgramState::ClientStarting);
        return true;
    }
    void StopClientSession() override {
        Note("stopClient");
        RuntimeSetClientRunning(false);
    }

    void SendControlStop(const std::string& ip) override { Note("sendStop " + ip); }
    void SendControlRequest(const std::string& ip) override {
        Note("sendRequest " + ip);
        if (onSendRequest)
            onSendRequest();
    }

    std::vector<PeerRecord> DiscoveredPeers() override { return peers; }
    std::optional<PeerRecord> FindPeerById(std::string_view id) override {
        if (onFindPeer)
            onFindPeer();
        for (const PeerRecord& p : peers)
            if (p.id == id)
                return p;
        return std::nullopt;
    }
    bool HasPeerWithIp(std::string_view ip) override {
        return std::any_of(peers.begin(), peers.end(), [&](const PeerRecord& p) { return p.ip == ip; });
    }

    bool RefreshCable(const char* reason) override {
        Note(std::string("refreshCable ") + reason);
        return cablePresent;
    }

    bool IsAutoConnectIntentEnabled() override { return autoIntent; }
    void SuppressAutoConnect(uint32_t ms, const char* reason) override {
        Note("suppress " + std::to_string(ms) + " " + reason);
    }
    void SetAutoConnectIntent(bool enabled, const char* reason) override {
        Note(std::string("intent ") + (enabled ? "1 " : "0 ") + reason);
        autoIntent = enabled;
    }

    void StartHidWorker() override { Note("hidStart"); }
    void StartHidProbe(const char* reason) override { Note(std::string("hidProbe ") + reason); }
    void CancelHidQueue(const char* reason) override { Note(std::string("hidCancel ") + reason); }

    bool HandleVideoVisibility(const std::string& ip, std::string_view, uint32_t& viewSeq) override {
        Note("visibility " + ip);
        viewSeq = 0;
        return false;
    }
    void RequestHostVideoRestart() override { Note("hostVideoRestart"); }

    void Note(const std::string& call) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_calls.push_back(call);
    }
    std::vector<std::string> Calls() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_calls;
    }
    size_t Count(const std::string& call) {
        std::lock_guard<std::mutex> lock(m_mutex);
        return std::count(m_calls.begin(), m_calls.end(), call);
    }
    bool Called(const std::string& prefix) {
        std::lock_guard<std::mutex> lock(m_mutex);
        return std::any_of(m_calls.begin(), m_calls.end(),
                           [&](const std::string& c) { return c.rfind(prefix, 0) == 0; });
    }
    void ClearCalls() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_calls.clear();
    }

    std::atomic<bool> hostStarts{true}, clientStarts{true};
    std::atomic<bool> cablePresent{true};
    std::atomic<bool> autoIntent{false};
    std::vector<PeerRecord> peers;       // set before the calls that read it
    std::function<void()> onSendRequest; // runs inside SendControlRequest (between send and its check)
    std::function<void()> onFindPeer;    // runs inside the outgoing request's peer lookup

private:
    std::mutex m_mutex;
    std::vector<std::string> m_calls;
};

// This PC is "TSLY-MID"; peers below it in id order yield to it, peers above it win.
class SessionControllerFixture : public ::testing::Test {
protected:
    static constexpr const char* kPeerIp = "10.0.0.2";
    static constexpr const char* kOtherIp = "10.0.0.3";

    void SetUp() override {
        Log::Open();
        TestLog().Clear();
        m_identity = Discovery::CurrentLocalIdentity();
        m_config = ConfigService::Instance().GetSnapshot();
        Discovery::SetLocalIdentity(Discovery::MakeLocalIdentity("MID"));
        ConfigService::Instance().SetPeerAddress("");
        ConfigService::Instance().SetUiLanguageEnglish(true);
        ConfigService::Instance().SetAudioEnable(true);
        RuntimeSetAppRunning(true);
    }
    void TearDown() override {
        Discovery::SetLocalIdentity(m_identity);
        ConfigService::Instance().SetPeerAddress("");
        ConfigService::Instance().SetUiLanguageEnglish(m_config.uiLanguageEnglish != 0);
        ConfigService::Instance().SetAudioEnable(m_config.audioEnable != 0);
        Log::Close();
    }

    static PeerRecord Peer(const std::string& id, const std::string& ip, const std::string& name = "Desk") {
        PeerRecord p;
        p.id = id;
        p.name = name;
        p.ip = ip;
        p.ver = "20260827.3";
        return p;
    }

    static std::vector<std::string> Lines() { return TestLog().Messages(); }
    static bool HasLine(const std::string& part) {
        std::vector<std::string> lines = Lines();
        return std::any_of(lines.begin(), lines.end(),
                           [&](const std::string& l) { return l.find(part) != std::string::npos; });
    }
    static size_t CountLines(const std::string& part) {
        std::vector<std::string> lines = Lines();
        return std::count_if(lines.begin(), lines.end(),
                             [&](const std::string& l) { return l.find(part) != std::string::npos; });
    }

    // Makes this PC the controlled side of kPeerIp, as an accepted request leaves it.
    void BecomeControlledBy(const std::string& ip) {
        ASSERT_TRUE(manager.SwitchToControlled(ip, "Desk"));
        services.ClearCalls();
        TestLog().Clear();
    }
    void BecomeControllerOf(const std::string& ip) {
        ASSERT_TRUE(manager.SwitchToController(ip, "Desk"));
        services.ClearCalls();
        TestLog().Clear();
    }

    RuntimeTestBinding runtime;
    FakeControllerServices services;
    ControlHandlerState state;
    KvmSessionManager manager{state, &services};
    ControlHandler handler{manager, state, &services};

private:
    LocalIdentity m_identity;
    ConfigSnapshot m_config;
};
