// A stand-in for the system's H.264 encoder transform, for test prefixes under Wine (which has none). The
// end-to-end run registers this DLL under CLSID_CMSH264EncoderMFT, so Tessaly's own encoder code creates
// and drives it exactly as it drives the real one on Windows.
//
// A synchronous IMFTransform with one input and one output stream: NV12 in, Annex-B H.264 out, encoded by
// x264 with no delay (every input gives one access unit, each IDR carrying SPS and PPS). The output type must
// be set before the input type, as with the system encoder; the caller allocates the output samples. The
// bit rate and GOP length come from ICodecAPI or the output type. A test tool: never shipped.
#include <windows.h>

#include <codecapi.h>
#include <mfapi.h>
#include <mferror.h>
#include <mfidl.h>
#include <mftransform.h>
#include <strmif.h>
#include <wmcodecdsp.h>
#include <wrl/client.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

extern "C" {
#include <x264.h>
}

using Microsoft::WRL::ComPtr;

namespace {

std::atomic<long> g_liveObjects{0};
std::atomic<long> g_serverLocks{0};

struct X264Closer {
    void operator()(x264_t* encoder) const { x264_encoder_close(encoder); }
};
using X264Handle = std::unique_ptr<x264_t, X264Closer>;

struct VideoFormat {
    UINT32 width = 0;
    UINT32 height = 0;
    UINT32 fpsNumerator = 30;
    UINT32 fpsDenominator = 1;
};

bool ReadVideoFormat(IMFMediaType* type, const GUID& subtype, VideoFormat& out) {
    GUID major{}, sub{};
    if (FAILED(type->GetGUID(MF_MT_MAJOR_TYPE, &major)) || major != MFMediaType_Video ||
        FAILED(type->GetGUID(MF_MT_SUBTYPE, &sub)) || sub != subtype)
        return false;
    VideoFormat f;
    if (FAILED(MFGetAttributeSize(type, MF_MT_FRAME_SIZE, &f.width, &f.height)))
        return false;
    // x264 takes 4:2:0 pictures of even size only.
    if (f.width < 2 || f.height < 2 || f.width % 2 != 0 || f.height % 2 != 0 || f.width > 16384 ||
        f.height > 16384)
        return false;
    if (FAILED(MFGetAttributeRatio(type, MF_MT_FRAME_RATE, &f.fpsNumerator, &f.fpsDenominator)) ||
        f.fpsNumerator == 0 || f.fpsDenominator == 0) {
        f.fpsNumerator = 30;
        f.fpsDenominator = 1;
    }
    out = f;
    return true;
}

class StandInEncoder final : public IMFTransform, public ICodecAPI {
public:
    StandInEncoder() { ++g_liveObjects; }
    ~StandInEncoder() { --g_liveObjects; }

    HRESULT Init() { return MFCreateAttributes(&m_attributes, 4); }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (ppv == nullptr)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IMFTransform)
            *ppv = static_cast<IMFTransform*>(this);
        else if (riid == IID_ICodecAPI)
            *ppv = static_cast<ICodecAPI*>(this);
        else {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG left = --m_refs;
        if (left == 0)
            delete this;
        return left;
    }

    // IMFTransform: one fixed input and output stream.
    STDMETHODIMP GetStreamLimits(DWORD* inMin, DWORD* inMax, DWORD* outMin, DWORD* outMax) override {
        if (!inMin || !inMax || !outMin || !outMax)
            return E_POINTER;
        *inMin = *inMax = *outMin = *outMax = 1;
        return S_OK;
    }
    STDMETHODIMP GetStreamCount(DWORD* inputs, DWORD* outputs) override {
        if (!inputs || !outputs)
            return E_POINTER;
        *inputs = *outputs = 1;
        return S_OK;
    }
    STDMETHODIMP GetStreamIDs(DWORD, DWORD*, DWORD, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP GetInputStreamInfo(DWORD id, MFT_INPUT_STREAM_INFO* info) override {
        if (id != 0)
            return MF_E_INVALIDSTREAMNUMBER;
        if (!info)
            return E_POINTER;
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_inputSet)
            return MF_E_TRANSFORM_TYPE_NOT_SET;
        *info = {};
        info->dwFlags = MFT_INPUT_STREAM_WHOLE_SAMPLES | MFT_INPUT_STREAM_SINGLE_SAMPLE_PER_BUFFER;
        info->cbSize = FrameBytes();
        return S_OK;
    }
    STDMETHODIMP GetOutputStreamInfo(DWORD id, MFT_OUTPUT_STREAM_INFO* info) override {
        if (id != 0)
            return MF_E_INVALIDSTREAMNUMBER;
        if (!info)
            return E_POINTER;
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_outputSet)
            return MF_E_TRANSFORM_TYPE_NOT_SET;
        *info = {};
        info->dwFlags = MFT_OUTPUT_STREAM_WHOLE_SAMPLES | MFT_OUTPUT_STREAM_SINGLE_SAMPLE_PER_BUFFER;
        // An access unit never exceeds its picture sent as raw PCM macroblocks (1.5 bytes a pixel) plus
        // headers, so this size always holds one.
        info->cbSize = m_output.width * m_output.height * 2 + 0x10000;
        return S_OK;
    }
    STDMETHODIMP GetAttributes(IMFAttributes** attributes) override {
        if (!attributes)
            return E_POINTER;
        return m_attributes.CopyTo(attributes);
    }
    STDMETHODIMP GetInputStreamAttributes(DWORD, IMFAttributes**) override { return E_NOTIMPL; }
    STDMETHODIMP GetOutputStreamAttributes(DWORD, IMFAttributes**) override { return E_NOTIMPL; }
    STDMETHODIMP DeleteInputStream(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP AddInputStreams(DWORD, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP GetInputAvailableType(DWORD id, DWORD, IMFMediaType**) override {
        return id != 0 ? MF_E_INVALIDSTREAMNUMBER : MF_E_NO_MORE_TYPES;
    }
    STDMETHODIMP GetOutputAvailableType(DWORD id, DWORD, IMFMediaType**) override {
        return id != 0 ? MF_E_INVALIDSTREAMNUMBER : MF_E_NO_MORE_TYPES;
    }

    STDMETHODIMP SetOutputType(DWORD id, IMFMediaType* type, DWORD flags) override {
        if (id != 0)
            return MF_E_INVALIDSTREAMNUMBER;
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_pending.size() != 0)
            return MF_E_TRANSFORM_CANNOT_CHANGE_MEDIATYPE_WHILE_PROCESSING;
        if (type == nullptr) {
            if ((flags & MFT_SET_TYPE_TEST_ONLY) == 0)
                ClearTypes();
            return S_OK;
        }
        VideoFormat format;
        if (!ReadVideoFormat(type, MFVideoFormat_H264, format))
            return MF_E_INVALIDMEDIATYPE;
        if (flags & MFT_SET_TYPE_TEST_ONLY)
            return S_OK;
        ClearTypes();
        m_output = format;
        m_outputSet = true;
        UINT32 bitrate = 0;
        if (SUCCEEDED(type->GetUINT32(MF_MT_AVG_BITRATE, &bitrate)) && bitrate > 0 && m_bitrate == 0)
            m_bitrate = bitrate;
        m_fullRange = MFGetAttributeUINT32(type, MF_MT_VIDEO_NOMINAL_RANGE, MFNominalRange_16_235) ==
                      MFNominalRange_0_255;
        return S_OK;
    }

    STDMETHODIMP SetInputType(DWORD id, IMFMediaType* type, DWORD flags) override {
        if (id != 0)
            return MF_E_INVALIDSTREAMNUMBER;
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_pending.size() != 0)
            return MF_E_TRANSFORM_CANNOT_CHANGE_MEDIATYPE_WHILE_PROCESSING;
        if (type == nullptr) {
            if ((flags & MFT_SET_TYPE_TEST_ONLY) == 0) {
                m_inputSet = false;
                m_encoder.reset();
            }
            return S_OK;
        }
        if (!m_outputSet)
            return MF_E_TRANSFORM_TYPE_NOT_SET;
        VideoFormat format;
        if (!ReadVideoFormat(type, MFVideoFormat_NV12, format) || format.width != m_output.width ||
            format.height != m_output.height)
            return MF_E_INVALIDMEDIATYPE;
        if (flags & MFT_SET_TYPE_TEST_ONLY)
            return S_OK;
        m_inputSet = true;
        m_encoder.reset();
        return S_OK;
    }

    STDMETHODIMP GetInputCurrentType(DWORD, IMFMediaType**) override { return E_NOTIMPL; }
    STDMETHODIMP GetOutputCurrentType(DWORD, IMFMediaType**) override { return E_NOTIMPL; }
    STDMETHODIMP GetInputStatus(DWORD id, DWORD* flags) override {
        if (id != 0)
            return MF_E_INVALIDSTREAMNUMBER;
        if (!flags)
            return E_POINTER;
        std::lock_guard<std::mutex> lock(m_mutex);
        *flags = m_pending.empty() ? MFT_INPUT_STATUS_ACCEPT_DATA : 0;
        return S_OK;
    }
    STDMETHODIMP GetOutputStatus(DWORD* flags) override {
        if (!flags)
            return E_POINTER;
        std::lock_guard<std::mutex> lock(m_mutex);
        *flags = m_pending.empty() ? 0 : MFT_OUTPUT_STATUS_SAMPLE_READY;
        return S_OK;
    }
    STDMETHODIMP SetOutputBounds(LONGLONG, LONGLONG) override { return E_NOTIMPL; }
    STDMETHODIMP ProcessEvent(DWORD, IMFMediaEvent*) override { return E_NOTIMPL; }

    STDMETHODIMP ProcessMessage(MFT_MESSAGE_TYPE message, ULONG_PTR) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        switch (message) {
        case MFT_MESSAGE_COMMAND_FLUSH:
            m_pending.clear();
            return S_OK;
        case MFT_MESSAGE_SET_D3D_MANAGER:
            return E_NOTIMPL; // system-memory samples only
        case MFT_MESSAGE_NOTIFY_END_STREAMING:
            // The next stream starts with a fresh encoder (and so with an IDR frame).
            m_encoder.reset();
            m_pending.clear();
            return S_OK;
        default:
            // Begin/end of streaming and of stream, drain: with no encoder delay nothing is held back.
            return S_OK;
        }
    }

    STDMETHODIMP ProcessInput(DWORD id, IMFSample* sample, DWORD flags) override {
        if (id != 0)
            return MF_E_INVALIDSTREAMNUMBER;
        if (sample == nullptr)
            return E_POINTER;
        if (flags != 0)
            return E_INVALIDARG;
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_inputSet || !m_outputSet)
            return MF_E_TRANSFORM_TYPE_NOT_SET;
        if (!m_pending.empty())
            return MF_E_NOTACCEPTING;
        if (!m_encoder) {
            HRESULT hr = OpenEncoder();
            if (FAILED(hr))
                return hr;
        }
        ComPtr<IMFMediaBuffer> buffer;
        HRESULT hr = sample->ConvertToContiguousBuffer(&buffer);
        if (FAILED(hr))
            return hr;
        BYTE* data = nullptr;
        DWORD length = 0;
        hr = buffer->Lock(&data, nullptr, &length);
        if (FAILED(hr))
            return hr;
        if (length < FrameBytes()) {
            buffer->Unlock();
            return E_INVALIDARG;
        }
        x264_picture_t in;
        x264_picture_init(&in);
        in.img.i_csp = X264_CSP_NV12;
        in.img.i_plane = 2;
        in.img.plane[0] = data;
        in.img.i_stride[0] = static_cast<int>(m_output.width);
        in.img.plane[1] = data + m_output.width * m_output.height;
        in.img.i_stride[1] = static_cast<int>(m_output.width);
        in.i_pts = m_nextPts++;
        x264_picture_t out;
        x264_nal_t* nals = nullptr;
        int nalCount = 0;
        const int bytes = x264_encoder_encode(m_encoder.get(), &nals, &nalCount, &in, &out);
        buffer->Unlock();
        if (bytes < 0)
            return E_FAIL;
        // With repeated headers and Annex-B start codes, the payloads are one contiguous access unit.
        if (bytes > 0)
            m_pending.assign(nals[0].p_payload, nals[0].p_payload + bytes);
        m_pendingKey = out.b_keyframe != 0;
        m_pendingTime = 0;
        m_pendingDuration = 0;
        sample->GetSampleTime(&m_pendingTime);
        sample->GetSampleDuration(&m_pendingDuration);
        return S_OK;
    }

    STDMETHODIMP ProcessOutput(DWORD flags, DWORD count, MFT_OUTPUT_DATA_BUFFER* buffers,
                               DWORD* status) override {
        if (count != 1 || buffers == nullptr || status == nullptr || flags != 0)
            return E_INVALIDARG;
        *status = 0;
        buffers[0].dwStatus = 0;
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_pending.empty())
            return MF_E_TRANSFORM_NEED_MORE_INPUT;
        if (buffers[0].dwStreamID != 0)
            return MF_E_INVALIDSTREAMNUMBER;
        IMFSample* sample = buffers[0].pSample;
        if (sample == nullptr)
            return E_INVALIDARG; // the caller provides output samples
        ComPtr<IMFMediaBuffer> buffer;
        HRESULT hr = sample->GetBufferByIndex(0, &buffer);
        if (FAILED(hr))
            return hr;
        BYTE* data = nullptr;
        DWORD capacity = 0;
        hr = buffer->Lock(&data, &capacity, nullptr);
        if (FAILED(hr))
            return hr;
        if (capacity < m_pending.size()) {
            buffer->Unlock();
            return MF_E_BUFFERTOOSMALL;
        }
        std::memcpy(data, m_pending.data(), m_pending.size());
        buffer->Unlock();
        buffer->SetCurrentLength(static_cast<DWORD>(m_pending.size()));
        sample->SetSampleTime(m_pendingTime);
        sample->SetSampleDuration(m_pendingDuration);
        sample->SetUINT32(MFSampleExtension_CleanPoint, m_pendingKey ? TRUE : FALSE);
        m_pending.clear();
        return S_OK;
    }

    // ICodecAPI: the settings the encoder is configured with; everything else is not supported.
    STDMETHODIMP IsSupported(const GUID* api) override { return api && Known(*api) ? S_OK : E_NOTIMPL; }
    STDMETHODIMP IsModifiable(const GUID* api) override { return IsSupported(api); }
    STDMETHODIMP GetParameterRange(const GUID*, VARIANT*, VARIANT*, VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetParameterValues(const GUID*, VARIANT**, ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP GetDefaultValue(const GUID*, VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetValue(const GUID* api, VARIANT* value) override {
        if (!api || !value)
            return E_POINTER;
        std::lock_guard<std::mutex> lock(m_mutex);
        if (*api == CODECAPI_AVEncCommonMeanBitRate) {
            value->vt = VT_UI4;
            value->ulVal = m_bitrate;
        } else if (*api == CODECAPI_AVEncMPVGOPSize) {
            value->vt = VT_UI4;
            value->ulVal = m_gop;
        } else if (*api == CODECAPI_AVLowLatencyMode || *api == CODECAPI_AVEncMPVDefaultBPictureCount) {
            value->vt = *api == CODECAPI_AVLowLatencyMode ? VT_BOOL : VT_UI4;
            value->ulVal = 0;
            if (*api == CODECAPI_AVLowLatencyMode)
                value->boolVal = VARIANT_TRUE;
        } else {
            return E_NOTIMPL;
        }
        return S_OK;
    }
    STDMETHODIMP SetValue(const GUID* api, VARIANT* value) override {
        if (!api || !value)
            return E_POINTER;
        std::lock_guard<std::mutex> lock(m_mutex);
        if (*api == CODECAPI_AVEncCommonMeanBitRate && value->vt == VT_UI4 && value->ulVal > 0)
            m_bitrate = value->ulVal;
        else if (*api == CODECAPI_AVEncMPVGOPSize && value->vt == VT_UI4)
            m_gop = value->ulVal;
        else if (*api == CODECAPI_AVLowLatencyMode && value->vt == VT_BOOL)
            return S_OK; // always low latency
        else if (*api == CODECAPI_AVEncMPVDefaultBPictureCount && value->vt == VT_UI4)
            return value->ulVal == 0 ? S_OK : E_INVALIDARG; // never B-frames
        else
            return Known(*api) ? E_INVALIDARG : E_NOTIMPL;
        return S_OK;
    }
    STDMETHODIMP RegisterForEvent(const GUID*, LONG_PTR) override { return E_NOTIMPL; }
    STDMETHODIMP UnregisterForEvent(const GUID*) override { return E_NOTIMPL; }
    STDMETHODIMP SetAllDefaults() override { return E_NOTIMPL; }
    STDMETHODIMP SetValueWithNotify(const GUID*, VARIANT*, GUID**, ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP SetAllDefaultsWithNotify(GUID**, ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP GetAllSettings(IStream*) override { return E_NOTIMPL; }
    STDMETHODIMP SetAllSettings(IStream*) override { return E_NOTIMPL; }
    STDMETHODIMP SetAllSettingsWithNotify(IStream*, GUID**, ULONG*) override { return E_NOTIMPL; }

private:
    static bool Known(const GUID& api) {
        return api == CODECAPI_AVEncCommonMeanBitRate || api == CODECAPI_AVEncMPVGOPSize ||
               api == CODECAPI_AVLowLatencyMode || api == CODECAPI_AVEncMPVDefaultBPictureCount;
    }

    DWORD FrameBytes() const { return m_output.width * m_output.height * 3 / 2; }

    void ClearTypes() {
        m_outputSet = false;
        m_inputSet = false;
        m_encoder.reset();
    }

    // Expects m_mutex held. Opened on the first frame, so every setting made before it counts.
    HRESULT OpenEncoder() {
        x264_param_t p;
        if (x264_param_default_preset(&p, "superfast", "zerolatency") < 0)
            return E_FAIL;
        p.i_log_level = X264_LOG_WARNING;
        p.i_csp = X264_CSP_NV12;
        p.i_width = static_cast<int>(m_output.width);
        p.i_height = static_cast<int>(m_output.height);
        p.i_fps_num = m_output.fpsNumerator;
        p.i_fps_den = m_output.fpsDenominator;
        p.i_threads = 2;
        p.i_bframe = 0;
        const uint32_t fps = m_output.fpsNumerator / m_output.fpsDenominator;
        p.i_keyint_max = static_cast<int>(m_gop > 0 ? m_gop : (fps > 0 ? fps : 30));
        p.b_repeat_headers = 1;
        p.b_annexb = 1;
        p.b_vfr_input = 0;
        p.vui.b_fullrange = m_fullRange ? 1 : 0;
        p.vui.i_colorprim = 1; // BT.709
        p.vui.i_transfer = 1;
        p.vui.i_colmatrix = 1;
        const uint32_t bitrate = m_bitrate > 0 ? m_bitrate : 8000000;
        p.rc.i_rc_method = X264_RC_ABR;
        p.rc.i_bitrate = static_cast<int>(bitrate / 1000);
        p.rc.i_vbv_max_bitrate = p.rc.i_bitrate;
        p.rc.i_vbv_buffer_size = p.rc.i_bitrate;
        if (x264_param_apply_profile(&p, "high") < 0)
            return E_FAIL;
        m_encoder.reset(x264_encoder_open(&p));
        m_nextPts = 0;
        return m_encoder ? S_OK : E_FAIL;
    }

    std::atomic<ULONG> m_refs{1};
    std::mutex m_mutex;
    ComPtr<IMFAttributes> m_attributes;
    VideoFormat m_output;
    bool m_outputSet = false;
    bool m_inputSet = false;
    bool m_fullRange = false;
    uint32_t m_bitrate = 0;
    uint32_t m_gop = 0;
    X264Handle m_encoder;
    int64_t m_nextPts = 0;
    std::vector<BYTE> m_pending;
    bool m_pendingKey = false;
    LONGLONG m_pendingTime = 0;
    LONGLONG m_pendingDuration = 0;
};

class Factory final : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (ppv == nullptr)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *ppv = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    // The factory is a static object: its lifetime is the module's.
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
        if (ppv == nullptr)
            return E_POINTER;
        *ppv = nullptr;
        if (outer != nullptr)
            return CLASS_E_NOAGGREGATION;
        auto* encoder = new (std::nothrow) StandInEncoder();
        if (encoder == nullptr)
            return E_OUTOFMEMORY;
        HRESULT hr = encoder->Init();
        if (SUCCEEDED(hr))
            hr = encoder->QueryInterface(riid, ppv);
        encoder->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        g_serverLocks += lock ? 1 : -1;
        return S_OK;
    }
};

Factory g_factory;

} // namespace

extern "C" __declspec(dllexport) HRESULT
    __stdcall DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    if (clsid != CLSID_CMSH264EncoderMFT)
        return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(riid, ppv);
}

extern "C" __declspec(dllexport) HRESULT __stdcall DllCanUnloadNow() {
    return g_liveObjects == 0 && g_serverLocks == 0 ? S_OK : S_FALSE;
}
