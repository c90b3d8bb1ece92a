#pragma once

#include <windows.h>
#include <mmdeviceapi.h>
#include <audioclient.h>
#include <wrl/client.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/win/Handles.h"
#include "media/AudioWaveFormat.h"

// The Core Audio steps the loopback sender and the UDP player share.

// Makes the device enumerator a pipeline starts from. The system's (CoCreateInstance of MMDeviceEnumerator)
// by default; tests hand in their own, so fakes can stand behind every interface that follows.
using AudioEnumeratorFactory =
    std::function<HRESULT(Microsoft::WRL::ComPtr<IMMDeviceEnumerator>& enumerator)>;
HRESULT CreateSystemAudioEnumerator(Microsoft::WRL::ComPtr<IMMDeviceEnumerator>& enumerator);

// Device errors after which only a new pipeline helps (the endpoint went away or the audio service stopped).
inline bool IsAudioDeviceLost(HRESULT hr) {
    return hr == AUDCLNT_E_DEVICE_INVALIDATED || hr == AUDCLNT_E_SERVICE_NOT_RUNNING;
}

// The default render endpoint (console role) and its id.
HRESULT OpenDefaultRenderEndpoint(IMMDeviceEnumerator* enumerator, Microsoft::WRL::ComPtr<IMMDevice>& device,
                                  std::string& id);
// The id of the default render endpoint now; "" when there is none.
std::string DefaultRenderEndpointId(IMMDeviceEnumerator* enumerator);

// A WAVEFORMATEX the platform handed out, read whole (18 + extra size bytes).
std::optional<AudioWaveFormat> ReadPlatformWaveFormat(const WAVEFORMATEX* format);

using UniqueWaveFormat = std::unique_ptr<WAVEFORMATEX, CoTaskMemFreeDeleter>;

// The worker thread's place in the "Pro Audio" multimedia class: joined on the first Join, kept until the
// object ends on the same thread. A thread that cannot join runs on at normal priority; the log says so once.
class ProAudioClass {
public:
    void Join(const char* owner);

private:
    UniqueMmcssTask m_task;
    bool m_tried = false;
};
