#include "media/win/AudioRenderPipeline.h"

#include <utility>
#include <vector>

#include "core/HResultNames.h"
#include "core/Log.h"
#include "core/LogThrottle.h"

using Microsoft::WRL::ComPtr;

namespace {

// 60 ms in the 100-ns units of IAudioClient::Initialize.
constexpr REFERENCE_TIME kRenderBufferDuration = 60 * 10000;
// Feeding runs every few milliseconds: a failure that repeats is logged once a second.
constexpr uint32_t kRepeatLogMs = 1000;

void LogFormatChoice(const char* what, const AudioWaveFormat& remote, const AudioWaveFormat& render) {
    Log::Write("Audio player %s remote=%uHz/%uch/%ubit -> render=%uHz/%uch/%ubit tag=%u", what,
               unsigned(remote.sampleRate), unsigned(remote.channels), unsigned(remote.bitsPerSample),
               unsigned(render.sampleRate), unsigned(render.channels), unsigned(render.bitsPerSample),
               unsigned(render.formatTag));
}

} // namespace

AudioRenderPipeline::AudioRenderPipeline(AudioEnumeratorFactory factory)
    : m_factory(factory ? std::move(factory) : AudioEnumeratorFactory(&CreateSystemAudioEnumerator)) {}

bool AudioRenderPipeline::Build(const AudioWaveFormat& remote, ProAudioClass& proAudio) {
    Release();
    HRESULT hr = m_factory(m_enumerator);
    if (FAILED(hr) || !m_enumerator) {
        Log::Write("Audio player CoCreate MMDeviceEnumerator failed hr=0x%08lX", HrBits(hr));
        Release();
        return false;
    }
    hr = OpenDefaultRenderEndpoint(m_enumerator.Get(), m_device, m_endpointId);
    if (FAILED(hr)) {
        Log::Write("Audio player GetDefaultAudioEndpoint failed hr=0x%08lX", HrBits(hr));
        Release();
        return false;
    }
    Log::Write("Audio player default render endpoint id=%s", m_endpointId.c_str());
    hr = m_device->Activate(__uuidof(IAudioClient), CLSCTX_ALL, nullptr,
                            reinterpret_cast<void**>(m_client.ReleaseAndGetAddressOf()));
    if (FAILED(hr)) {
        Log::Write("Audio player Activate IAudioClient failed hr=0x%08lX", HrBits(hr));
        Release();
        return false;
    }
    if (!ChooseFormat(remote)) {
        Release();
        return false;
    }
    std::vector<uint8_t> format = PackWaveFormat(m_renderFormat);
    hr = m_client->Initialize(AUDCLNT_SHAREMODE_SHARED, AUDCLNT_STREAMFLAGS_EVENTCALLBACK,
                              kRenderBufferDuration, 0, reinterpret_cast<const WAVEFORMATEX*>(format.data()),
                              nullptr);
    if (FAILED(hr)) {
        Log::Write("Audio player Initialize failed hr=0x%08lX", HrBits(hr));
        Release();
        return false;
    }
    // Registered with the client, which requires one in event mode; the player's loop runs on its 5 ms
    // receive time-out instead of waiting on it.
    m_event.Reset(::CreateEventW(nullptr, FALSE, FALSE, nullptr));
    hr = m_event ? m_client->SetEventHandle(m_event.Get()) : HRESULT_FROM_WIN32(::GetLastError());
    if (FAILED(hr)) {
        Log::Write("Audio player SetEventHandle failed hr=0x%08lX", HrBits(hr));
        Release();
        return false;
    }
    UINT32 bufferFrames = 0;
    hr = m_client->GetBufferSize(&bufferFrames);
    if (SUCCEEDED(hr))
        hr = m_client->GetService(__uuidof(IAudioRenderClient),
                                  reinterpret_cast<void**>(m_render.ReleaseAndGetAddressOf()));
    if (FAILED(hr) || !m_render) {
        Log::Write("Audio player GetService IAudioRenderClient failed hr=0x%08lX", HrBits(hr));
        Release();
        return false;
    }
    m_bufferFrames = bufferFrames;
    proAudio.Join("AudioUdpPlayer");
    hr = m_client->Start();
    if (FAILED(hr)) {
        Log::Write("Audio player Start failed hr=0x%08lX", HrBits(hr));
        Release();
        return false;
    }
    m_started = true;
    Log::Write("Audio player started/reconnected bufferFrames=%u render=%uHz/%uch/%ubit jitterPrebufferMs=%u "
               "maxQueueMs=%u",
               m_bufferFrames, unsigned(m_renderFormat.sampleRate), unsigned(m_renderFormat.channels),
               unsigned(m_renderFormat.bitsPerSample), AudioJitterQueue::kPrebufferMs,
               AudioJitterQueue::kMaxQueueMs);
    return true;
}

bool AudioRenderPipeline::ChooseFormat(const AudioWaveFormat& remote) {
    const std::vector<uint8_t> wanted = PackWaveFormat(remote);
    WAVEFORMATEX* rawClosest = nullptr;
    const HRESULT supported = m_client->IsFormatSupported(
        AUDCLNT_SHAREMODE_SHARED, reinterpret_cast<const WAVEFORMATEX*>(wanted.data()), &rawClosest);
    UniqueWaveFormat closest(rawClosest);
    std::optional<AudioWaveFormat> mix;
    if (supported != S_OK) {
        Log::Write("Audio player format unsupported hr=0x%08lX; try mix format", HrBits(supported));
        WAVEFORMATEX* rawMix = nullptr;
        if (SUCCEEDED(m_client->GetMixFormat(&rawMix))) {
            UniqueWaveFormat owned(rawMix);
            mix = ReadPlatformWaveFormat(owned.get());
        }
    }
    const AudioRenderChoice choice =
        ChooseRenderFormat(remote, supported == S_OK, mix, ReadPlatformWaveFormat(closest.get()));
    switch (choice.source) {
    case AudioRenderSource::Remote:
        break;
    case AudioRenderSource::Mix:
        LogFormatChoice("render mix format", remote, choice.format);
        break;
    case AudioRenderSource::Fallback:
        LogFormatChoice("render format fallback", remote, choice.format);
        break;
    case AudioRenderSource::None:
        Log::Write("Audio player no render format available; skip until next FORMAT");
        return false;
    }
    m_renderFormat = choice.format;
    return true;
}

void AudioRenderPipeline::Release() {
    if (m_started && m_client)
        m_client->Stop();
    m_started = false;
    m_render.Reset();
    m_client.Reset();
    m_device.Reset();
    m_enumerator.Reset();
    m_event.Reset();
    m_bufferFrames = 0;
}

AudioRenderPipeline::FeedResult AudioRenderPipeline::Feed(AudioJitterQueue& queue) {
    FeedResult result;
    UINT32 padding = 0;
    HRESULT hr = m_client->GetCurrentPadding(&padding);
    if (FAILED(hr)) {
        if (IsAudioDeviceLost(hr)) {
            Log::Write("Audio player device invalid/service stopped hr=0x%08lX; wait for next format",
                       HrBits(hr));
            result.deviceLost = true;
        } else if (LogThrottle::Allow("audio.player.padding", kRepeatLogMs)) {
            Log::Write("Audio player GetCurrentPadding failed hr=0x%08lX", HrBits(hr));
        }
        return result;
    }
    if (padding >= m_bufferFrames)
        return result;
    const uint32_t frames = queue.FramesToWrite(m_bufferFrames - padding);
    if (frames == 0)
        return result;
    BYTE* data = nullptr;
    hr = m_render->GetBuffer(frames, &data);
    if (FAILED(hr)) {
        if (IsAudioDeviceLost(hr)) {
            Log::Write(
                "Audio player GetBuffer device invalid/service stopped hr=0x%08lX; wait for next format",
                HrBits(hr));
            result.deviceLost = true;
        } else if (LogThrottle::Allow("audio.player.getbuffer", kRepeatLogMs)) {
            Log::Write("Audio player GetBuffer failed hr=0x%08lX", HrBits(hr));
        }
        return result;
    }
    queue.Take(data, frames);
    hr = m_render->ReleaseBuffer(frames, 0);
    if (FAILED(hr) && LogThrottle::Allow("audio.player.releasebuffer", kRepeatLogMs))
        Log::Write("Audio player ReleaseBuffer failed hr=0x%08lX", HrBits(hr));
    result.framesWritten = frames;
    return result;
}
