#include "ui/win/TrayWorkers.h"

#include <windows.h>

#include <deque>
#include <exception>
#include <mutex>

#include "core/ConfigService.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/StateManager.h"
#include "core/ThreadHelpers.h"
#include "link/AutoConnect.h"
#include "link/AutoConnectTick.h"
#include "link/Discovery.h"
#include "link/KvmSessionHid.h"
#include "link/KvmSessionManager.h"
#include "link/SessionControllerServices.h"
#include "media/win/AudioUdpPlayer.h"
#include "ui/win/MainWindowState.h"

namespace {

constexpr DWORD kAudioRequestRepeatMs = 250;

// The body of every tray thread: an exception is logged with the thread's name and shown as the error text.
void Guarded(const char* name, const std::function<void()>& body) {
    try {
        body();
    } catch (const std::exception& e) {
        Log::Write("[THREAD][EXCEPTION] name=%s tid=%lu what=%s", name, Tid(), e.what());
        RuntimeSetErrorText(e.what());
    } catch (...) {
        Log::Write("[THREAD][EXCEPTION] name=%s tid=%lu unknown", name, Tid());
        RuntimeSetErrorText("unknown exception");
    }
}

void Start(const char* name, std::function<void()> body) {
    std::string error;
    if (!StartDetachedWorker(
            name, [name, body = std::move(body)] { Guarded(name, body); }, &error))
        Log::Write("Tray %s thread create failed: %s", name, error.c_str());
}

void SaveAutoConnect(bool enabled, const char* reason) {
    ConfigService& config = ConfigService::Instance();
    config.SetAutoConnectEnable(enabled);
    Log::Write("[CONFIG][SERVICE] autoConnectEnable=%d reason=%s", enabled ? 1 : 0, reason);
    config.Save();
}

void ReleaseForcedHid(const char* line) {
    StateManager& state = StateManager::Instance();
    if (!state.IsHidForced())
        return;
    Log::Write("%s", line);
    ReleaseHidFallback(state, InstalledSessionControllerServices());
}

void Disconnect(const std::string& peer) {
    AutoConnect::Instance().SetIntent(false, "tray disconnect");
    SaveAutoConnect(false, "tray disconnect");
    Log::Write("Tray menu: disconnect peer=%s; auto intent disabled saved", peer.c_str());
    ReleaseForcedHid("[HID][FORCE] clear fallback: tray disconnect");
    KvmSessionManager::Instance().StopAllSessions("tray menu disconnect");
    RuntimeSetStatusMessage("Disconnected");
    RuntimeSetErrorText("");
    RepaintStateView();
}

void Reconnect(const std::string& peer) {
    AutoConnect& autoConnect = AutoConnect::Instance();
    autoConnect.SetIntent(true, "tray connect");
    autoConnect.Suppress(kAutoConnectUserConnectSuppressMs, "tray reconnect worker");
    SaveAutoConnect(true, "tray connect");
    Log::Write("Tray menu: connect/reconnect peer=%s; auto intent enabled saved", peer.c_str());
    ReleaseForcedHid("[HID][FORCE] clear fallback: tray reconnect");
    const bool sent = Discovery::ConnectFirstDevice();
    RuntimeSetStatusMessage(sent ? "Reconnecting..." : "No discovered device");
    RepaintStateView();
}

void AudioRequestUpdate(const std::string& peer, bool enable) {
    Log::Write("[AUDIO][CLIENT][REQUEST_CHANGED] enable=%d peer=%s action=notify-peer-no-reconnect",
               enable ? 1 : 0, peer.c_str());
    AudioUdpPlayer& player = AudioUdpPlayer::Instance();
    if (enable) {
        StateManager::Instance().SetChannelState(2, ChannelState::Connecting, "controller audio enabled");
        if (!player.IsRunning())
            player.Start(ConfigService::Instance().GetSnapshot().audioPort);
    } else {
        player.Stop();
        StateManager::Instance().SetChannelState(2, ChannelState::Disabled, "controller audio disabled");
    }
    SessionControllerServices& services = InstalledSessionControllerServices();
    services.SendControlRequest(peer);
    ::Sleep(kAudioRequestRepeatMs);
    services.SendControlRequest(peer);
}

// Cable commands queue here and one thread at a time works the queue off, so that two commands never
// interleave their reports and pauses and run in the order chosen.
std::mutex g_cableMutex;
std::deque<std::function<void()>> g_cableQueue; // under g_cableMutex
bool g_cableWorkerRunning = false;              // under g_cableMutex

void WorkCableQueue() {
    for (;;) {
        std::function<void()> command;
        {
            std::lock_guard<std::mutex> lock(g_cableMutex);
            if (g_cableQueue.empty()) {
                g_cableWorkerRunning = false;
                return;
            }
            command = std::move(g_cableQueue.front());
            g_cableQueue.pop_front();
        }
        Guarded("TrayCableCommand", command);
    }
}

} // namespace

void StartTrayDisconnect(std::string peer) {
    Start("TrayDisconnect", [peer = std::move(peer)] { Disconnect(peer); });
}

void StartTrayReconnect(std::string peer) {
    Start("TrayReconnect", [peer = std::move(peer)] { Reconnect(peer); });
}

void StartTrayAudioRequestUpdate(std::string peer, bool enable) {
    Start("TrayAudioRequestUpdate", [peer = std::move(peer), enable] { AudioRequestUpdate(peer, enable); });
}

void StartTrayCableCommand(std::function<void()> command) {
    {
        std::lock_guard<std::mutex> lock(g_cableMutex);
        g_cableQueue.push_back(std::move(command));
        if (g_cableWorkerRunning)
            return;
        g_cableWorkerRunning = true;
    }
    std::string error;
    if (StartDetachedWorker("TrayCableCommand", WorkCableQueue, &error))
        return;
    Log::Write("Tray TrayCableCommand thread create failed: %s", error.c_str());
    std::lock_guard<std::mutex> lock(g_cableMutex);
    g_cableQueue.clear();
    g_cableWorkerRunning = false;
}
