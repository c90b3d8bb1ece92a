#include "media/win/AudioDevice.h"

#include <cstddef>
#include <cstdint>

#include "core/Log.h"
#include "core/win/TextConvert.h"

using Microsoft::WRL::ComPtr;

HRESULT CreateSystemAudioEnumerator(ComPtr<IMMDeviceEnumerator>& enumerator) {
    return ::CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL,
                              __uuidof(IMMDeviceEnumerator),
                              reinterpret_cast<void**>(enumerator.ReleaseAndGetAddressOf()));
}

HRESULT OpenDefaultRenderEndpoint(IMMDeviceEnumerator* enumerator, ComPtr<IMMDevice>& device,
                                  std::string& id) {
    id.clear();
    HRESULT hr = enumerator->GetDefaultAudioEndpoint(eRender, eConsole, device.ReleaseAndGetAddressOf());
    if (FAILED(hr))
        return hr;
    LPWSTR rawId = nullptr;
    hr = device->GetId(&rawId);
    if (FAILED(hr))
        return hr;
    std::unique_ptr<wchar_t, CoTaskMemFreeDeleter> owned(rawId);
    id = WideToUtf8(owned.get());
    return S_OK;
}

std::string DefaultRenderEndpointId(IMMDeviceEnumerator* enumerator) {
    if (enumerator == nullptr)
        return {};
    ComPtr<IMMDevice> device;
    std::string id;
    if (FAILED(OpenDefaultRenderEndpoint(enumerator, device, id)))
        return {};
    return id;
}

std::optional<AudioWaveFormat> ReadPlatformWaveFormat(const WAVEFORMATEX* format) {
    if (format == nullptr)
        return std::nullopt;
    return ParseWaveFormat(reinterpret_cast<const uint8_t*>(format), kWaveFormatBaseBytes + format->cbSize);
}

void ProAudioClass::Join(const char* owner) {
    if (m_tried)
        return;
    m_tried = true;
    DWORD index = 0;
    m_task.Reset(::AvSetMmThreadCharacteristicsW(L"Pro Audio", &index));
    if (!m_task)
        Log::Write("[AUDIO] %s Pro Audio class join failed gle=%lu", owner,
                   static_cast<unsigned long>(::GetLastError()));
}
