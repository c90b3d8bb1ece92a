#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <utility>

#include "media/HostVideoSettings.h"

struct SessionThreadArg;
using SessionThreadProc = void (*)(SessionThreadArg* arg);

// What session start, stop and the end of a run call in services that are built elsewhere: the channels
// (audio, clipboard, input, HID queue, renderer), the session controller, device presence and the font-
// smoothing guard. Every member has a default: the no-op or "absent" answer in brackets, so the sessions
// run before those services exist. Start-up installs one subclass that forwards to the real services
// (Session::SetServices); the object must live to the end of the process.
class SessionServices {
public:
    virtual ~SessionServices() = default;

    // Session controller: KvmSessionManager::SetActivePeer(ip, "") [nothing].
    virtual void SetActivePeer(const std::string& ip) { (void)ip; }
    // Session controller: KvmSessionManager::IsActivePeer(ip) [false].
    virtual bool IsActivePeer(const std::string& ip) {
        (void)ip;
        return false;
    }
    // Device presence: the cable is present [false: no presence source means the cable counts as missing].
    virtual bool IsDevicePresent() { return false; }

    // Audio loopback sender stop (host side) [nothing].
    virtual void StopAudioSender() {}
    // UDP audio player stop (controller side) [nothing].
    virtual void StopAudioPlayer() {}

    // Clipboard channel: its running flag, whether its connection socket is open, and its stop
    // [false, false, nothing].
    virtual bool IsClipboardRunning() { return false; }
    virtual bool IsClipboardConnected() { return false; }
    virtual void StopClipboardChannel() {}

    // HID worker: cancel the queued items [nothing].
    virtual void CancelHidQueue(const char* reason) { (void)reason; }
    // Input channel stop, taken under the input channel's own mutex [nothing].
    virtual void StopInputChannel() {}

    // RemoteView renderer stop (RemoteViewStopRenderer) [nothing].
    virtual void StopRenderer() {}
    // Quality-switch bookkeeping of the video quality sync: frame mode last seen -1, confirmed quality
    // sequence 0 [nothing].
    virtual void ResetQualitySwitch() {}

    // TextClearTypeGuard::Restore(reason) of the settings platform [nothing].
    virtual void RestoreClearTypeGuard(const char* reason) { (void)reason; }

    // --- Host session: the controller's stored request and its live wishes (control handling)
    // [nothing asked; view shown; no audio].
    virtual HostVideoRequest ControllerVideoRequest() { return {}; }
    virtual bool IsControllerViewHidden() { return false; }
    virtual bool ControllerRequestedAudio() { return false; }
    // Input channel host on the input port, and whether a controller is connected to it [nothing; false].
    virtual void StartInputHost(uint16_t port) { (void)port; }
    virtual bool IsInputConnected() { return false; }
    // Clipboard channel host on the clipboard port [not started: false].
    virtual bool StartClipboardHost(uint16_t port) {
        (void)port;
        return false;
    }
    // Audio loopback sender towards the controller, and whether it runs [nothing; false].
    virtual void StartAudioSender(const std::string& ip, uint16_t port) {
        (void)ip;
        (void)port;
    }
    virtual bool IsAudioSenderRunning() { return false; }
    // TSLY_DESKTOP_STATE to the controller [nothing sent].
    virtual void NotifyDesktopState(const std::string& ip, bool locked) {
        (void)ip;
        (void)locked;
    }
    // The file-transfer window's periodic tick; a non-empty text is a status text to show [""].
    virtual std::string TransferWindowTick() { return {}; }

    // --- Client session: the side channels towards the controlled PC and the peer's state.
    // Control request to the peer (TCP, else the UDP fallback) [nothing sent].
    virtual void SendControlRequest(const std::string& ip) { (void)ip; }
    // The control handling's desktop-locked report of the peer: 1 locked, 0 unlocked, -1 unknown [-1], and
    // its reset (Discovery::ResetDesktopStateCache) [nothing].
    virtual int32_t DesktopLockState() { return -1; }
    virtual void ResetDesktopLockState() {}
    // Session controller: a new address of the active peer under the same name [none].
    virtual bool ResolvePeerIpChange(const std::string& currentIp, std::string& newIp) {
        (void)currentIp;
        newIp.clear();
        return false;
    }
    // Input channel client towards ip:port (force: drop a live connection first), its connected flag, the
    // TCP-ready test of the input route and the capture-restart key on the priority queue [nothing; false;
    // false; not sent].
    virtual void StartInputClient(const std::string& ip, uint16_t port, bool force) {
        (void)ip;
        (void)port;
        (void)force;
    }
    virtual bool IsInputClientConnected() { return false; }
    virtual bool IsInputTcpReady() { return false; }
    virtual bool SendVideoRestartRequest() { return false; }
    // HID worker start and probe; the HID fallback on and off with their route changes [nothing].
    virtual void StartHidWorker() {}
    virtual void StartHidProbe(const char* reason) { (void)reason; }
    virtual void ForceHidFallback() {}
    virtual void ReleaseHidFallback() {}
    // Clipboard channel client towards ip:port, and its forced restart [nothing].
    virtual void StartClipboardClient(const std::string& ip, uint16_t port) {
        (void)ip;
        (void)port;
    }
    virtual void RestartClipboardClient(const std::string& ip, uint16_t port) {
        (void)ip;
        (void)port;
    }
    // UDP audio player on the audio port [nothing].
    virtual void StartAudioPlayer(uint16_t port) { (void)port; }
    // Tells the video quality sync which frame mode was shown (tiles: ULTRA) [nothing].
    virtual void ConfirmFrameMode(bool tiles) { (void)tiles; }
    // Logs the DPI of the main window under tag [nothing].
    virtual void LogWindowDpi(const char* tag) { (void)tag; }
    // A detached helper thread of the session (the in-session reconnect); throws when it cannot be
    // created [a detached std::thread].
    virtual void StartDetachedThread(std::function<void()> work) { std::thread(std::move(work)).detach(); }
    // The pause between the reconnect's control requests [sleeps].
    virtual void Pause(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

    // Creates the session thread running entry(arg); throws when the thread cannot be created.
    // [a std::thread]
    virtual std::thread StartThread(SessionThreadProc entry, SessionThreadArg* arg) {
        return std::thread(entry, arg);
    }
};
