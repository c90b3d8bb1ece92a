#include "app/win/TessalyServices.h"

#include "app/AppLifecycle.h"
#include "app/win/AudioWiring.h"
#include "app/win/FirewallWorker.h"
#include "app/win/InputWiring.h"
#include "app/win/ProductMainWindowParts.h"
#include "app/win/RemoteDragWiring.h"
#include "app/win/ServiceWiring.h"
#include "app/win/TransferWiring.h"
#include "core/ConfigService.h"
#include "core/RuntimeState.h"
#include "core/win/DiagnosticsThreads.h"
#include "core/win/RegistrySettingsPlatform.h"
#include "dragdrop/win/DragDrop.h"
#include "input/win/InputChannel.h"
#include "link/AutoConnect.h"
#include "link/ControlHandlerState.h"
#include "core/StateManager.h"
#include "link/win/DevicePresenceService.h"

void TessalyServices::SetAppRunning(bool running) {
    StateManager::Instance().SetRunning(running);
}

void TessalyServices::LoadSettings() {
    ConfigService& config = ConfigService::Instance();
    config.Attach(RegistrySettingsPlatform::Instance(),
                  [](const PortSet& ports) { StateManager::Instance().PublishPorts(ports); });
    config.Load();
    StateManagerSeams seams;
    seams.audioEnabled = [] { return ConfigService::Instance().GetSnapshot().audioEnable > 0; };
    seams.clipboardEnabled = [] { return ConfigService::Instance().GetSnapshot().clipboardEnable > 0; };
    seams.controllerRequestedAudio = [] { return Discovery::ControllerRequestedAudio(); };
    seams.inputChannelReady = [] { return InputChannel::Instance().IsConnected(); };
    StateManager::Instance().SetSeams(std::move(seams));
}

void TessalyServices::ConnectServices() {
    ConnectLinkServices();
    ConnectDragServices();
    ConnectInputServices();
    ConnectAudioServices();
    ConnectTransferServices();
    ConnectRemoteDragServices();
    InstallProductMainWindowParts();
}

void TessalyServices::StopDragDrop() {
    DragDrop::Stop();
}

PortSet TessalyServices::ConfiguredPorts() {
    return ConfigService::Instance().GetPortSet();
}
void TessalyServices::SetRuntimeErrorText(const char* text) {
    RuntimeSetErrorText(text);
}
void TessalyServices::ScheduleFirewallCheck() {
    ::ScheduleFirewallCheck();
}
void TessalyServices::StartLifecycleModules() {
    AppLifecycleStartAll();
}
void TessalyServices::StopLifecycleModules(const char* reason) {
    AppLifecycleStopAll(reason);
}
void TessalyServices::StartDiagnosticsThreads() {
    ::StartDiagnosticsThreads();
}
void TessalyServices::StopDiagnosticsThreads() {
    ::StopDiagnosticsThreads();
}
bool TessalyServices::AutoConnectSetting() {
    return ConfigService::Instance().IsAutoConnectEnabled();
}
void TessalyServices::SetAutoConnectIntent(bool enabled, const char* reason) {
    AutoConnect::Instance().SetIntent(enabled, reason);
}
void TessalyServices::StartAutoConnect() {
    AutoConnect::Instance().Start();
}
void TessalyServices::StopAutoConnect() {
    AutoConnect::Instance().Stop();
}
void TessalyServices::RefreshDevicePresence(const char* reason) {
    DevicePresenceService::Refresh(reason);
}
void TessalyServices::StartDevicePresence() {
    DevicePresenceService::Start();
}
void TessalyServices::StopDevicePresence() {
    DevicePresenceService::Stop();
}
