#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "core/PeerFilter.h"
#include "media/win/AudioDevice.h"
#include "media/win/AudioWorker.h"

// The controller's remote sound: receives the audio datagrams (media/AudioPacket.h) on the audio port, keeps
// a small jitter buffer and plays them on the default playback device. One process-wide object; the worker
// thread "AudioUdpPlayer" builds its render pipeline from each new FORMAT and again when the device changes
// or fails.
//
// Runs follow AudioWorker: Stop never waits (a stopped worker leaves within one 5 ms receive time-out, or
// after a pipeline build in progress), and a Start right after shares nothing with the run it replaces, not
// even its counters. Start and Stop may be called from any thread.
class AudioUdpPlayer {
public:
    // What the current run has done, for diagnostics and tests.
    struct Counters {
        std::atomic<uint64_t> binds{0};          // sockets bound to the audio port
        std::atomic<uint64_t> datagrams{0};      // accepted from the peer
        std::atomic<uint64_t> refused{0};        // from an address the peer filter refused
        std::atomic<uint64_t> pipelineBuilds{0}; // render pipelines started
        std::atomic<uint64_t> framesWritten{0};
        std::atomic<uint64_t> underruns{0};
    };

    // Built on first use and never destroyed (detached workers may outlive every static).
    static AudioUdpPlayer& Instance();

    // Stops a running player, then starts a worker listening on 0.0.0.0:port. False when the thread could not
    // be created.
    bool Start(uint16_t port);
    void Stop();
    bool IsRunning() const { return m_worker.IsRunning(); }

    // Decides from a datagram's dotted IPv4 source whether it is played; refused ones are dropped (one log
    // line per second). Default: every address.
    void SetPeerFilter(PeerFilter::Allows filter);
    // How the next runs make their device enumerator; empty gives the system's. For tests.
    void SetEnumeratorFactory(AudioEnumeratorFactory factory);
    // The counters of the current (or last) run; never null.
    std::shared_ptr<const Counters> CurrentCounters() const;

private:
    AudioUdpPlayer() = default;
    bool PeerAllowed(const std::string& ip) const;

    mutable std::mutex m_mutex; // serialises Start and Stop; guards the members below
    AudioWorker m_worker{"AudioUdpPlayer"};
    std::shared_ptr<Counters> m_counters = std::make_shared<Counters>();
    AudioEnumeratorFactory m_factory;
    PeerFilter m_peerFilter; // read by the worker for every datagram
};
