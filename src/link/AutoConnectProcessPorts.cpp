#include "link/AutoConnectProcessPorts.h"

#include "core/ConfigService.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/StateManager.h"
#include "link/ControlHandlerState.h"
#include "link/Discovery.h"
#include "link/KvmSessionManager.h"

uint32_t ProcessAutoConnectPorts::Now() {
    return Log::TickCount();
}

AutoConnectAppFacts ProcessAutoConnectPorts::AppFacts() {
    AutoConnectAppFacts facts;
    facts.appRunning = RuntimeIsAppRunning();
    return facts;
}

StateSnapshot ProcessAutoConnectPorts::SessionSnapshot() {
    return RuntimeStateManager().Snapshot();
}

AutoConnectRuntimeFacts ProcessAutoConnectPorts::RuntimeFacts() {
    AutoConnectRuntimeFacts facts;
    facts.hostRunning = RuntimeIsHostRunning();
    facts.clientRunning = RuntimeIsClientRunning();
    facts.requestInProgress = KvmSessionManager::Instance().IsRequestInProgress();
    return facts;
}

std::vector<PeerRecord> ProcessAutoConnectPorts::DiscoveredPeers() {
    return Discovery::GetDiscoveredDevices();
}

MacHealthEntry ProcessAutoConnectPorts::MacHealth() {
    return ControlHandlerState::Instance().health.Read();
}

bool ProcessAutoConnectPorts::UiEnglish() {
    return ConfigService::Instance().IsUiLanguageEnglish();
}

void ProcessAutoConnectPorts::OnLocalDeviceRemoved() {
    KvmSessionManager::Instance().OnLocalDeviceRemoved();
}

void ProcessAutoConnectPorts::StopAllSessions(const char* reason) {
    KvmSessionManager::Instance().StopAllSessions(reason);
}

void ProcessAutoConnectPorts::ClearPeerCache() {
    Discovery::ClearPeerCacheForDeviceRemoval();
}

void ProcessAutoConnectPorts::OnLocalDeviceInserted() {
    KvmSessionManager::Instance().OnLocalDeviceInserted();
}

bool ProcessAutoConnectPorts::RequestControlDevice(const std::string& peerId) {
    return DiscoveryRequestControlDevice(peerId);
}

void ProcessAutoConnectPorts::SetRuntimeIdle() {
    RuntimeSetProgramState(ProgramState::Idle);
    RuntimeSetRole(RuntimeRole::None);
    RuntimeSetErrorText("");
}

void ProcessAutoConnectPorts::SetStatusMessage(const std::string& text, bool repaint) {
    if (repaint)
        RuntimeSetStatusMessageAndRepaint(text.c_str());
    else
        RuntimeSetStatusMessage(text.c_str());
}

uint64_t ProcessAutoConnectPorts::DeviceListGeneration() {
    return Discovery::Service().DeviceListGeneration();
}

void ProcessAutoConnectPorts::WakeDeviceListWaiters() {
    Discovery::Service().WakeDeviceListWaiters();
}

uint64_t ProcessAutoConnectPorts::WaitForDeviceListChange(uint64_t seen, uint32_t timeoutMs) {
    return Discovery::Service().WaitForDeviceListChange(seen, timeoutMs);
}
