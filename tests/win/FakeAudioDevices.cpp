#include "FakeAudioDevices.h"

#include <combaseapi.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "core/LittleEndian.h"

using Microsoft::WRL::ComPtr;

namespace {

// Takes a one-shot failure out of slot (S_OK when none is set).
HRESULT TakeError(std::atomic<HRESULT>& slot) {
    return slot.exchange(S_OK);
}

// Reference counting and QueryInterface for one interface.
template <typename Interface> class FakeComObject : public Interface {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (object == nullptr)
            return E_POINTER;
        if (riid == __uuidof(IUnknown) || riid == __uuidof(Interface)) {
            *object = static_cast<Interface*>(this);
            this->AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --m_references;
        if (left == 0)
            delete this;
        return left;
    }

protected:
    virtual ~FakeComObject() = default;

private:
    std::atomic<ULONG> m_references{1};
};

// The capture side of a started client: frames become available at the mix rate from the start tick on.
class FakeCaptureClient final : public FakeComObject<IAudioCaptureClient> {
public:
    FakeCaptureClient(std::shared_ptr<FakeAudioScript> script, const AudioWaveFormat& format,
                      std::shared_ptr<std::atomic<DWORD>> startTick)
        : m_script(std::move(script)), m_format(format), m_startTick(std::move(startTick)) {
        m_packetFrames = std::max<uint32_t>(m_format.sampleRate / 100, 1);
        m_buffer.resize(static_cast<size_t>(m_packetFrames) * m_format.blockAlign);
        uint32_t bits = 0;
        std::memcpy(&bits, &m_script->sample, sizeof bits);
        for (size_t at = 0; at + 4 <= m_buffer.size(); at += 4)
            PutLe32(m_buffer.data() + at, bits);
    }

    HRESULT STDMETHODCALLTYPE GetBuffer(BYTE** data, UINT32* frames, DWORD* flags, UINT64* position,
                                        UINT64* qpc) override {
        if (const HRESULT error = TakeError(m_script->getBufferError); FAILED(error))
            return error;
        if (Available() < m_packetFrames) {
            *frames = 0;
            return AUDCLNT_S_BUFFER_EMPTY;
        }
        *data = m_buffer.data();
        *frames = m_packetFrames;
        *flags = 0;
        if (m_script->silentBuffers.load() > 0) {
            --m_script->silentBuffers;
            *flags = AUDCLNT_BUFFERFLAGS_SILENT;
        }
        if (position != nullptr)
            *position = m_delivered;
        if (qpc != nullptr)
            *qpc = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ReleaseBuffer(UINT32 frames) override {
        m_delivered += frames;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetNextPacketSize(UINT32* frames) override {
        if (const HRESULT error = TakeError(m_script->nextPacketError); FAILED(error))
            return error;
        *frames = Available() >= m_packetFrames ? m_packetFrames : 0;
        return S_OK;
    }

private:
    uint64_t Available() const {
        const DWORD start = m_startTick->load();
        if (start == 0)
            return 0;
        const uint64_t produced = static_cast<uint64_t>(GetTickCount() - start) * m_format.sampleRate / 1000;
        return produced > m_delivered ? produced - m_delivered : 0;
    }

    std::shared_ptr<FakeAudioScript> m_script;
    AudioWaveFormat m_format;
    std::shared_ptr<std::atomic<DWORD>> m_startTick;
    uint32_t m_packetFrames = 0;
    uint64_t m_delivered = 0;
    std::vector<uint8_t> m_buffer;
};

class FakeAudioClient final : public FakeComObject<IAudioClient> {
public:
    explicit FakeAudioClient(std::shared_ptr<FakeAudioScript> script) : m_script(std::move(script)) {
        std::lock_guard<std::mutex> lock(m_script->mutex);
        m_mix = m_script->mix;
    }

    HRESULT STDMETHODCALLTYPE Initialize(AUDCLNT_SHAREMODE mode, DWORD flags, REFERENCE_TIME, REFERENCE_TIME,
                                         const WAVEFORMATEX* format, LPCGUID) override {
        if (m_initialized)
            return AUDCLNT_E_ALREADY_INITIALIZED;
        if (mode != AUDCLNT_SHAREMODE_SHARED || ReadPlatformWaveFormat(format) != m_mix)
            return AUDCLNT_E_UNSUPPORTED_FORMAT;
        m_initialized = true;
        m_script->lastInitializeFlags = flags;
        ++m_script->clientsInitialized;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetBufferSize(UINT32* frames) override {
        *frames = m_mix.sampleRate / 20;
        return m_initialized ? S_OK : AUDCLNT_E_NOT_INITIALIZED;
    }
    HRESULT STDMETHODCALLTYPE GetStreamLatency(REFERENCE_TIME* latency) override {
        *latency = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetCurrentPadding(UINT32* frames) override {
        *frames = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE IsFormatSupported(AUDCLNT_SHAREMODE, const WAVEFORMATEX* format,
                                                WAVEFORMATEX** closest) override {
        if (closest != nullptr)
            *closest = nullptr;
        return ReadPlatformWaveFormat(format) == m_mix ? S_OK : AUDCLNT_E_UNSUPPORTED_FORMAT;
    }
    HRESULT STDMETHODCALLTYPE GetMixFormat(WAVEFORMATEX** format) override {
        const std::vector<uint8_t> bytes = PackWaveFormat(m_mix);
        void* copy = ::CoTaskMemAlloc(bytes.size());
        if (copy == nullptr)
            return E_OUTOFMEMORY;
        std::memcpy(copy, bytes.data(), bytes.size());
        *format = static_cast<WAVEFORMATEX*>(copy);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDevicePeriod(REFERENCE_TIME* period, REFERENCE_TIME* minimum) override {
        if (period != nullptr)
            *period = 100000;
        if (minimum != nullptr)
            *minimum = 30000;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Start() override {
        if (!m_initialized)
            return AUDCLNT_E_NOT_INITIALIZED;
        m_startTick->store(std::max<DWORD>(GetTickCount(), 1));
        ++m_script->clientsStarted;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Stop() override {
        m_startTick->store(0);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Reset() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetEventHandle(HANDLE event) override {
        if (event == nullptr)
            return E_INVALIDARG;
        ++m_script->eventsSet;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetService(REFIID riid, void** service) override {
        *service = nullptr;
        if (!m_initialized)
            return AUDCLNT_E_NOT_INITIALIZED;
        if (riid != __uuidof(IAudioCaptureClient))
            return E_NOINTERFACE;
        *service = static_cast<IAudioCaptureClient*>(new FakeCaptureClient(m_script, m_mix, m_startTick));
        return S_OK;
    }

private:
    std::shared_ptr<FakeAudioScript> m_script;
    AudioWaveFormat m_mix;
    bool m_initialized = false;
    std::shared_ptr<std::atomic<DWORD>> m_startTick = std::make_shared<std::atomic<DWORD>>(0);
};

class FakeDevice final : public FakeComObject<IMMDevice> {
public:
    FakeDevice(std::shared_ptr<FakeAudioScript> script, std::string id)
        : m_script(std::move(script)), m_id(std::move(id)) {}

    HRESULT STDMETHODCALLTYPE Activate(REFIID riid, DWORD, PROPVARIANT*, void** object) override {
        *object = nullptr;
        if (const HRESULT error = TakeError(m_script->activateError); FAILED(error))
            return error;
        if (riid != __uuidof(IAudioClient))
            return E_NOINTERFACE;
        *object = static_cast<IAudioClient*>(new FakeAudioClient(m_script));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OpenPropertyStore(DWORD, IPropertyStore** store) override {
        *store = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetId(LPWSTR* id) override {
        const std::wstring wide(m_id.begin(), m_id.end());
        auto* copy = static_cast<wchar_t*>(::CoTaskMemAlloc((wide.size() + 1) * sizeof(wchar_t)));
        if (copy == nullptr)
            return E_OUTOFMEMORY;
        std::memcpy(copy, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
        *id = copy;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetState(DWORD* state) override {
        *state = DEVICE_STATE_ACTIVE;
        return S_OK;
    }

private:
    std::shared_ptr<FakeAudioScript> m_script;
    std::string m_id;
};

class FakeEnumerator final : public FakeComObject<IMMDeviceEnumerator> {
public:
    explicit FakeEnumerator(std::shared_ptr<FakeAudioScript> script) : m_script(std::move(script)) {}

    HRESULT STDMETHODCALLTYPE EnumAudioEndpoints(EDataFlow, DWORD, IMMDeviceCollection** devices) override {
        *devices = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetDefaultAudioEndpoint(EDataFlow flow, ERole, IMMDevice** device) override {
        *device = nullptr;
        const std::string id = m_script->EndpointId();
        if (flow != eRender || id.empty())
            return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
        *device = new FakeDevice(m_script, id);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDevice(LPCWSTR, IMMDevice** device) override {
        *device = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE RegisterEndpointNotificationCallback(IMMNotificationClient*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE UnregisterEndpointNotificationCallback(IMMNotificationClient*) override {
        return E_NOTIMPL;
    }

private:
    std::shared_ptr<FakeAudioScript> m_script;
};

} // namespace

FakeAudioScript::FakeAudioScript() {
    mix.formatTag = kWaveFormatExtensible;
    mix.channels = 2;
    mix.sampleRate = 48000;
    mix.bitsPerSample = 32;
    mix.blockAlign = 8;
    mix.avgBytesPerSec = 48000 * 8;
    // Valid bits 32, front left and right, KSDATAFORMAT_SUBTYPE_IEEE_FLOAT.
    mix.extra = {0x20, 0x00, 0x03, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x00,
                 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
}

std::string FakeAudioScript::EndpointId() {
    std::lock_guard<std::mutex> lock(mutex);
    return endpointId;
}

void FakeAudioScript::SetEndpointId(const std::string& id) {
    std::lock_guard<std::mutex> lock(mutex);
    endpointId = id;
}

AudioEnumeratorFactory FakeAudioEnumeratorFactory(std::shared_ptr<FakeAudioScript> script) {
    return [script](ComPtr<IMMDeviceEnumerator>& enumerator) {
        ++script->enumeratorsMade;
        // Taken over without another reference (mingw's ComPtr::Attach would add one).
        *enumerator.ReleaseAndGetAddressOf() = new FakeEnumerator(script);
        return S_OK;
    };
}
