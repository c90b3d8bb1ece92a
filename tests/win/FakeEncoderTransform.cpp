#include "FakeEncoderTransform.h"

#include <codecapi.h>

#include <cstring>

#include "TransformMessageName.h"

namespace {

std::string CodecApiName(const GUID& api) {
    if (api == CODECAPI_AVLowLatencyMode)
        return "LowLatencyMode";
    if (api == CODECAPI_AVEncCommonMeanBitRate)
        return "MeanBitRate";
    if (api == CODECAPI_AVEncMPVDefaultBPictureCount)
        return "BPictureCount";
    if (api == CODECAPI_AVEncMPVGOPSize)
        return "GOPSize";
    return "other";
}

} // namespace

FakeEncoderTransform::FakeEncoderTransform() {
    ::MFCreateAttributes(&attributes, 4);
}

size_t FakeEncoderTransform::CountEvents(const std::string& prefix) const {
    size_t count = 0;
    for (const std::string& e : events)
        count += e.rfind(prefix, 0) == 0 ? 1 : 0;
    return count;
}

STDMETHODIMP FakeEncoderTransform::QueryInterface(REFIID riid, void** object) {
    if (object == nullptr)
        return E_POINTER;
    if (riid == __uuidof(IUnknown) || riid == __uuidof(IMFTransform)) {
        *object = static_cast<IMFTransform*>(this);
    } else if (riid == IID_ICodecAPI && offerCodecApi) {
        *object = static_cast<ICodecAPI*>(this);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP FakeEncoderTransform::GetStreamCount(DWORD* in, DWORD* out) {
    *in = 1;
    *out = 1;
    return S_OK;
}

STDMETHODIMP FakeEncoderTransform::GetOutputStreamInfo(DWORD stream, MFT_OUTPUT_STREAM_INFO* info) {
    if (stream != 0)
        return MF_E_INVALIDSTREAMNUMBER;
    *info = {};
    info->cbSize = outputStreamSize;
    return S_OK;
}

STDMETHODIMP FakeEncoderTransform::GetAttributes(IMFAttributes** out) {
    events.push_back("GetAttributes");
    *out = attributes.Get();
    (*out)->AddRef();
    return S_OK;
}

STDMETHODIMP FakeEncoderTransform::GetOutputAvailableType(DWORD stream, DWORD index, IMFMediaType** type) {
    events.push_back("GetOutputAvailableType");
    if (stream != 0 || index != 0 || !outputType)
        return MF_E_NO_MORE_TYPES;
    *type = outputType.Get();
    (*type)->AddRef();
    return S_OK;
}

STDMETHODIMP FakeEncoderTransform::SetInputType(DWORD stream, IMFMediaType* type, DWORD) {
    events.push_back("SetInputType");
    if (stream != 0)
        return MF_E_INVALIDSTREAMNUMBER;
    // The system encoder takes its input type only once its output type is set.
    if (!outputType)
        return MF_E_TRANSFORM_TYPE_NOT_SET;
    if (FAILED(setInputTypeResult))
        return setInputTypeResult;
    inputType = type;
    return S_OK;
}

STDMETHODIMP FakeEncoderTransform::SetOutputType(DWORD stream, IMFMediaType* type, DWORD) {
    events.push_back("SetOutputType");
    if (stream != 0)
        return MF_E_INVALIDSTREAMNUMBER;
    outputType = type;
    return S_OK;
}

STDMETHODIMP FakeEncoderTransform::ProcessMessage(MFT_MESSAGE_TYPE message, ULONG_PTR) {
    events.push_back("Message " + TransformMessageName(message));
    return S_OK;
}

STDMETHODIMP FakeEncoderTransform::ProcessInput(DWORD stream, IMFSample* sample, DWORD) {
    events.push_back("ProcessInput");
    if (stream != 0)
        return MF_E_INVALIDSTREAMNUMBER;
    if (!inputType || !outputType)
        return MF_E_TRANSFORM_TYPE_NOT_SET;
    if (FAILED(processInputResult))
        return processInputResult;
    if (!m_pending.empty())
        return MF_E_NOTACCEPTING;
    Microsoft::WRL::ComPtr<IMFMediaBuffer> buffer;
    if (FAILED(sample->ConvertToContiguousBuffer(&buffer)))
        return E_FAIL;
    BYTE* bytes = nullptr;
    DWORD length = 0;
    buffer->Lock(&bytes, nullptr, &length);
    inputs.emplace_back(bytes, bytes + length);
    buffer->Unlock();
    LONGLONG time = -1;
    LONGLONG duration = -1;
    sample->GetSampleTime(&time);
    sample->GetSampleDuration(&duration);
    sampleTimes.push_back(time);
    sampleDurations.push_back(duration);
    if (!m_script.empty()) {
        m_pending.assign(m_script.front().begin(), m_script.front().end());
        m_script.pop_front();
    }
    return S_OK;
}

STDMETHODIMP FakeEncoderTransform::ProcessOutput(DWORD, DWORD count, MFT_OUTPUT_DATA_BUFFER* buffers,
                                                 DWORD* status) {
    events.push_back("ProcessOutput");
    *status = 0;
    if (count != 1 || buffers[0].dwStreamID != 0 || buffers[0].pSample == nullptr)
        return E_INVALIDARG;
    if (m_pending.empty())
        return MF_E_TRANSFORM_NEED_MORE_INPUT;
    const Output next = m_pending.front();
    m_pending.pop_front();
    if (FAILED(next.hr))
        return next.hr;
    Microsoft::WRL::ComPtr<IMFMediaBuffer> buffer;
    if (FAILED(buffers[0].pSample->GetBufferByIndex(0, &buffer)))
        return E_INVALIDARG;
    BYTE* bytes = nullptr;
    DWORD max = 0;
    buffer->Lock(&bytes, &max, nullptr);
    smallestOutputBuffer = std::min(smallestOutputBuffer, max);
    if (max < next.bytes.size()) {
        buffer->Unlock();
        return MF_E_BUFFERTOOSMALL;
    }
    std::memcpy(bytes, next.bytes.data(), next.bytes.size());
    buffer->Unlock();
    buffer->SetCurrentLength(static_cast<DWORD>(next.bytes.size()));
    return S_OK;
}

STDMETHODIMP FakeEncoderTransform::SetValue(const GUID* api, VARIANT* value) {
    std::string text = "CodecAPI " + CodecApiName(*api) + "=";
    if (value->vt == VT_BOOL)
        text += value->boolVal == VARIANT_TRUE ? "TRUE" : "FALSE";
    else if (value->vt == VT_UI4)
        text += std::to_string(value->ulVal);
    else
        text += "vt" + std::to_string(value->vt);
    events.push_back(text);
    return S_OK;
}
