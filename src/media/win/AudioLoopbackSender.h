#pragma once

#include <cstdint>
#include <mutex>
#include <string>

#include "media/win/AudioDevice.h"
#include "media/win/AudioWorker.h"

// The controlled PC's remote sound: captures what the default playback device plays (WASAPI loopback),
// converts it to 16-bit stereo and sends it to the controller as 10 ms UDP datagrams (media/AudioPacket.h),
// with the stream's FORMAT at every pipeline start and once a second. One process-wide object; the worker
// thread "AudioLoopbackSender" rebuilds its pipeline when the device changes or fails.
//
// Runs follow AudioWorker: Stop never waits (a stopped worker leaves within about 100 ms, its capture wait),
// and a Start right after shares nothing with the run it replaces. Start and Stop may be called from any
// thread.
class AudioLoopbackSender {
public:
    // Built on first use and never destroyed (detached workers may outlive every static).
    static AudioLoopbackSender& Instance();

    // Stops a running sender, then starts a worker towards peerIp (dotted IPv4) and port. False when the
    // thread could not be created.
    bool Start(const std::string& peerIp, uint16_t port);
    void Stop();
    bool IsRunning() const { return m_worker.IsRunning(); }

    // How the next runs make their device enumerator; empty gives the system's. For tests.
    void SetEnumeratorFactory(AudioEnumeratorFactory factory);

private:
    AudioLoopbackSender() = default;

    std::mutex m_mutex; // serialises Start and Stop
    AudioWorker m_worker{"AudioLoopbackSender"};
    AudioEnumeratorFactory m_factory; // under m_mutex
};
