#include "media/win/AudioCapturePipeline.h"

#include <utility>

#include "core/HResultNames.h"
#include "core/Log.h"
#include "media/AudioCaptureConvert.h"

using Microsoft::WRL::ComPtr;

namespace {

// 50 ms in the 100-ns units of IAudioClient::Initialize.
constexpr REFERENCE_TIME kCaptureBufferDuration = 50 * 10000;
// A drain takes what arrived since the last wake-up; the bound only keeps a misbehaving driver from
// holding the thread.
constexpr int kMaxPacketsPerDrain = 256;

} // namespace

AudioCapturePipeline::AudioCapturePipeline(AudioEnumeratorFactory factory)
    : m_factory(factory ? std::move(factory) : AudioEnumeratorFactory(&CreateSystemAudioEnumerator)) {}

bool AudioCapturePipeline::Build() {
    Release();
    HRESULT hr = m_factory(m_enumerator);
    if (FAILED(hr) || !m_enumerator) {
        Log::Write("Audio CoCreate MMDeviceEnumerator failed hr=0x%08lX; retry", HrBits(hr));
        Release();
        return false;
    }
    hr = OpenDefaultRenderEndpoint(m_enumerator.Get(), m_device, m_endpointId);
    if (FAILED(hr)) {
        Log::Write("Audio GetDefaultAudioEndpoint render failed hr=0x%08lX; retry", HrBits(hr));
        Release();
        return false;
    }
    Log::Write("Audio capture default render endpoint id=%s", m_endpointId.c_str());
    hr = m_device->Activate(__uuidof(IAudioClient), CLSCTX_ALL, nullptr,
                            reinterpret_cast<void**>(m_client.ReleaseAndGetAddressOf()));
    if (FAILED(hr)) {
        Log::Write("Audio Activate IAudioClient failed hr=0x%08lX; retry", HrBits(hr));
        Release();
        return false;
    }
    WAVEFORMATEX* rawMix = nullptr;
    hr = m_client->GetMixFormat(&rawMix);
    UniqueWaveFormat mix(rawMix);
    std::optional<AudioWaveFormat> read = ReadPlatformWaveFormat(mix.get());
    if (FAILED(hr) || !read) {
        Log::Write("Audio GetMixFormat failed hr=0x%08lX; retry", HrBits(FAILED(hr) ? hr : E_POINTER));
        Release();
        return false;
    }
    m_mix = std::move(*read);
    Log::Write("Audio loopback mix format tag=%u ch=%u rate=%u bits=%u block=%u avg=%u cbSize=%u",
               unsigned(m_mix.formatTag), unsigned(m_mix.channels), unsigned(m_mix.sampleRate),
               unsigned(m_mix.bitsPerSample), unsigned(m_mix.blockAlign), unsigned(m_mix.avgBytesPerSec),
               unsigned(m_mix.extra.size()));
    m_event.Reset(::CreateEventW(nullptr, FALSE, FALSE, nullptr));
    if (!m_event) {
        Log::Write("Audio CreateEvent failed gle=%lu; retry", static_cast<unsigned long>(::GetLastError()));
        Release();
        return false;
    }
    hr = m_client->Initialize(AUDCLNT_SHAREMODE_SHARED,
                              AUDCLNT_STREAMFLAGS_LOOPBACK | AUDCLNT_STREAMFLAGS_EVENTCALLBACK,
                              kCaptureBufferDuration, 0, mix.get(), nullptr);
    if (FAILED(hr)) {
        Log::Write("Audio loopback Initialize failed hr=0x%08lX; retry", HrBits(hr));
        Release();
        return false;
    }
    hr = m_client->SetEventHandle(m_event.Get());
    if (FAILED(hr)) {
        Log::Write("Audio SetEventHandle failed hr=0x%08lX; retry", HrBits(hr));
        Release();
        return false;
    }
    hr = m_client->GetService(__uuidof(IAudioCaptureClient),
                              reinterpret_cast<void**>(m_capture.ReleaseAndGetAddressOf()));
    if (FAILED(hr) || !m_capture) {
        Log::Write("Audio GetService IAudioCaptureClient failed hr=0x%08lX; retry", HrBits(hr));
        Release();
        return false;
    }
    return true;
}

bool AudioCapturePipeline::Start() {
    const HRESULT hr = m_client->Start();
    if (FAILED(hr)) {
        Log::Write("Audio client Start failed hr=0x%08lX; retry", HrBits(hr));
        return false;
    }
    m_started = true;
    return true;
}

void AudioCapturePipeline::Release() {
    if (m_started && m_client)
        m_client->Stop();
    m_started = false;
    m_capture.Reset();
    m_client.Reset();
    m_device.Reset();
    m_enumerator.Reset();
    m_event.Reset();
}

AudioCapturePipeline::Drain AudioCapturePipeline::DrainInto(std::vector<uint8_t>& pcm) {
    for (int packet = 0; packet < kMaxPacketsPerDrain; ++packet) {
        UINT32 frames = 0;
        HRESULT hr = m_capture->GetNextPacketSize(&frames);
        if (FAILED(hr)) {
            if (IsAudioDeviceLost(hr))
                Log::Write("Audio capture device invalid/service stopped hr=0x%08lX; rebuild", HrBits(hr));
            else
                Log::Write("Audio GetNextPacketSize failed hr=0x%08lX; rebuild", HrBits(hr));
            return Drain::Rebuild;
        }
        if (frames == 0)
            return Drain::Ok;
        BYTE* data = nullptr;
        DWORD flags = 0;
        hr = m_capture->GetBuffer(&data, &frames, &flags, nullptr, nullptr);
        if (FAILED(hr)) {
            if (IsAudioDeviceLost(hr))
                Log::Write("Audio GetBuffer device invalid/service stopped hr=0x%08lX; rebuild", HrBits(hr));
            else
                Log::Write("Audio GetBuffer failed hr=0x%08lX; rebuild", HrBits(hr));
            return Drain::Rebuild;
        }
        if (hr == AUDCLNT_S_BUFFER_EMPTY || frames == 0)
            return Drain::Ok;
        AppendCapturedAsStream(m_mix, data, frames, (flags & AUDCLNT_BUFFERFLAGS_SILENT) != 0, pcm);
        m_capture->ReleaseBuffer(frames);
    }
    return Drain::Ok;
}
