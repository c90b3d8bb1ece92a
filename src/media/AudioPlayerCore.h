#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "media/AudioJitterQueue.h"
#include "media/AudioWaveFormat.h"

// What the player does with each received datagram, apart from the device itself: it reads and checks the
// datagram, decides when the render pipeline must be (re)built, converts PCM to the render format and keeps
// the jitter queue. The Win32 player gathers the datagrams, owns the device and carries the decisions out.
// One thread uses it.
class AudioPlayerCore {
public:
    enum class Action {
        None,
        // A new remote format (or one arriving while no pipeline runs): the caller releases its pipeline and
        // builds one for RemoteFormat(), then reports PipelineStarted or leaves it released.
        BuildPipeline,
    };

    Action OnDatagram(const uint8_t* data, size_t size);

    bool HasRemoteFormat() const { return m_hasRemote; }
    const AudioWaveFormat& RemoteFormat() const { return m_remote; }

    // The pipeline runs with this render format: PCM is converted to it and queued from now on.
    void PipelineStarted(const AudioWaveFormat& render);
    // The pipeline is gone: the queue is emptied and PCM is ignored until the next start.
    void PipelineReleased();
    bool PipelineRunning() const { return m_running; }
    const AudioWaveFormat& RenderFormat() const { return m_render; }

    AudioJitterQueue& Queue() { return m_queue; }
    uint64_t PcmQueued() const { return m_pcmQueued; }

private:
    Action OnFormat(AudioWaveFormat format);
    void OnPcm(const uint8_t* payload, size_t size);

    bool m_hasRemote = false;
    AudioWaveFormat m_remote;
    bool m_running = false;
    AudioWaveFormat m_render;
    AudioJitterQueue m_queue;
    std::vector<uint8_t> m_converted;
    uint64_t m_pcmQueued = 0;
};

// Where the render format came from: the remote format itself (the device takes it in shared mode), the
// device's mix format, the device's closest match to the remote format, or nothing usable.
enum class AudioRenderSource {
    Remote,
    Mix,
    Fallback,
    None,
};

struct AudioRenderChoice {
    AudioRenderSource source = AudioRenderSource::None;
    AudioWaveFormat format;
};

// The remote format when the device supports it; else the mix format when the player can convert to it;
// else the closest match the device offered when it can; else none.
AudioRenderChoice ChooseRenderFormat(const AudioWaveFormat& remote, bool remoteSupported,
                                     const std::optional<AudioWaveFormat>& mix,
                                     const std::optional<AudioWaveFormat>& closest);
