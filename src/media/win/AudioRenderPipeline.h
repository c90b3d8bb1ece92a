#pragma once

#include <windows.h>
#include <mmdeviceapi.h>
#include <audioclient.h>
#include <wrl/client.h>

#include <cstdint>
#include <string>

#include "core/win/Handles.h"
#include "media/AudioPlayerCore.h"
#include "media/AudioWaveFormat.h"
#include "media/win/AudioDevice.h"

// The player's WASAPI render path on the default render endpoint: a shared-mode event-callback client in
// the remote format (or a format the device offers instead) and its render client. Owned and used by the
// player's worker thread (COM initialised there). Every failure is logged; the player then waits for the
// next FORMAT.
class AudioRenderPipeline {
public:
    explicit AudioRenderPipeline(AudioEnumeratorFactory factory);
    ~AudioRenderPipeline() { Release(); }
    AudioRenderPipeline(const AudioRenderPipeline&) = delete;
    AudioRenderPipeline& operator=(const AudioRenderPipeline&) = delete;

    // Builds and starts a pipeline for remote; the render format used is RenderFormat(). False after a
    // logged failure, with nothing held.
    bool Build(const AudioWaveFormat& remote, ProAudioClass& proAudio);
    void Release();

    bool Running() const { return static_cast<bool>(m_render); }
    const AudioWaveFormat& RenderFormat() const { return m_renderFormat; }
    const std::string& EndpointId() const { return m_endpointId; }
    std::string CurrentDefaultEndpointId() const { return DefaultRenderEndpointId(m_enumerator.Get()); }

    struct FeedResult {
        uint32_t framesWritten = 0;
        bool deviceLost = false; // logged; the pipeline must be released
    };
    // Tops the device buffer up from the jitter queue.
    FeedResult Feed(AudioJitterQueue& queue);

private:
    bool ChooseFormat(const AudioWaveFormat& remote);

    AudioEnumeratorFactory m_factory;
    Microsoft::WRL::ComPtr<IMMDeviceEnumerator> m_enumerator;
    Microsoft::WRL::ComPtr<IMMDevice> m_device;
    Microsoft::WRL::ComPtr<IAudioClient> m_client;
    Microsoft::WRL::ComPtr<IAudioRenderClient> m_render;
    UniqueHandle m_event;
    std::string m_endpointId;
    AudioWaveFormat m_renderFormat;
    uint32_t m_bufferFrames = 0;
    bool m_started = false;
};
