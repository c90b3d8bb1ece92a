#pragma once

#include <windows.h>
#include <mmdeviceapi.h>
#include <audioclient.h>
#include <wrl/client.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/win/Handles.h"
#include "media/AudioWaveFormat.h"
#include "media/win/AudioDevice.h"

// The sender's WASAPI loopback capture of the default render endpoint: enumerator, endpoint, audio client in
// shared loopback mode with an event, and its capture client. Owned and used by the sender's worker thread
// (COM initialised there); every failure is logged with the word "retry" or "rebuild" and leaves the caller
// to release and build again.
class AudioCapturePipeline {
public:
    explicit AudioCapturePipeline(AudioEnumeratorFactory factory);
    ~AudioCapturePipeline() { Release(); }
    AudioCapturePipeline(const AudioCapturePipeline&) = delete;
    AudioCapturePipeline& operator=(const AudioCapturePipeline&) = delete;

    // Builds everything up to the capture client, logging the endpoint id and the mix format. False after a
    // logged failure, with nothing held.
    bool Build();
    // Starts the client. False after a logged failure.
    bool Start();
    void Release();

    bool Built() const { return static_cast<bool>(m_capture); }
    HANDLE Event() const { return m_event.Get(); }
    const std::string& EndpointId() const { return m_endpointId; }
    const AudioWaveFormat& MixFormat() const { return m_mix; }
    // The default render endpoint's id now ("" when none), for the once-a-second change check.
    std::string CurrentDefaultEndpointId() const { return DefaultRenderEndpointId(m_enumerator.Get()); }

    enum class Drain {
        Ok,
        Rebuild, // logged; the pipeline must be built again
    };
    // Takes every packet the capture client holds and appends it to pcm as 16-bit stereo.
    Drain DrainInto(std::vector<uint8_t>& pcm);

private:
    AudioEnumeratorFactory m_factory;
    Microsoft::WRL::ComPtr<IMMDeviceEnumerator> m_enumerator;
    Microsoft::WRL::ComPtr<IMMDevice> m_device;
    Microsoft::WRL::ComPtr<IAudioClient> m_client;
    Microsoft::WRL::ComPtr<IAudioCaptureClient> m_capture;
    UniqueHandle m_event;
    std::string m_endpointId;
    AudioWaveFormat m_mix;
    bool m_started = false;
};
