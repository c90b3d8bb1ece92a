#pragma once

#include <cstdint>
#include <string>
#include <thread>

#include "core/WorkerThread.h"

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

    // Creates the session thread running entry(arg); throws when the thread cannot be created.
    // [a std::thread]
    virtual std::thread StartThread(SessionThreadProc entry, SessionThreadArg* arg) {
        return std::thread(entry, arg);
    }

    // Starts the workers of the JPEG tile encoder and decoder (TileJpegEncoder/TileJpegDecoder::Create).
    // [empty: plain threads; Windows passes TileWorkerPriorityLauncher]
    virtual WorkerThread::Launcher TileWorkerLauncher() { return {}; }
};
