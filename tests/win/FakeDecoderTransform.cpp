#include "FakeDecoderTransform.h"

#include <cstring>

#include "TransformMessageName.h"

using Microsoft::WRL::ComPtr;

ComPtr<IMFMediaType> FakeDecoderTransform::VideoType(const GUID& subtype, UINT32 width, UINT32 height) {
    ComPtr<IMFMediaType> type;
    ::MFCreateMediaType(&type);
    type->SetGUID(MF_MT_MAJOR_TYPE, MFMediaType_Video);
    type->SetGUID(MF_MT_SUBTYPE, subtype);
    if (width > 0 && height > 0)
        MFSetAttributeSize(type.Get(), MF_MT_FRAME_SIZE, width, height);
    return type;
}

FakeDecoderTransform::FakeDecoderTransform() {
    ::MFCreateAttributes(&attributes, 4);
}

size_t FakeDecoderTransform::CountEvents(const std::string& prefix) const {
    size_t count = 0;
    for (const std::string& e : events)
        count += e.rfind(prefix, 0) == 0 ? 1 : 0;
    return count;
}

STDMETHODIMP FakeDecoderTransform::QueryInterface(REFIID riid, void** object) {
    if (object == nullptr)
        return E_POINTER;
    if (riid == __uuidof(IUnknown) || riid == __uuidof(IMFTransform)) {
        *object = static_cast<IMFTransform*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP FakeDecoderTransform::GetStreamCount(DWORD* in, DWORD* out) {
    *in = 1;
    *out = 1;
    return S_OK;
}

STDMETHODIMP FakeDecoderTransform::GetStreamIDs(DWORD inSize, DWORD* in, DWORD outSize, DWORD* out) {
    events.push_back("GetStreamIDs");
    if (FAILED(streamIdsResult))
        return streamIdsResult;
    if (inSize < 1 || outSize < 1)
        return MF_E_BUFFERTOOSMALL;
    *in = inputStreamId;
    *out = outputStreamId;
    return S_OK;
}

STDMETHODIMP FakeDecoderTransform::GetOutputStreamInfo(DWORD stream, MFT_OUTPUT_STREAM_INFO* info) {
    if (stream != outputStreamId)
        return MF_E_INVALIDSTREAMNUMBER;
    *info = {};
    info->cbSize = outputStreamSize;
    UINT32 width = 0;
    UINT32 height = 0;
    if (bufferSizeFollowsType && outputType &&
        SUCCEEDED(MFGetAttributeSize(outputType.Get(), MF_MT_FRAME_SIZE, &width, &height)))
        info->cbSize = width * height * 3 / 2;
    return S_OK;
}

STDMETHODIMP FakeDecoderTransform::GetAttributes(IMFAttributes** out) {
    events.push_back("GetAttributes");
    *out = attributes.Get();
    (*out)->AddRef();
    return S_OK;
}

STDMETHODIMP FakeDecoderTransform::GetOutputAvailableType(DWORD stream, DWORD index, IMFMediaType** type) {
    events.push_back("GetOutputAvailableType");
    if (stream != outputStreamId)
        return MF_E_INVALIDSTREAMNUMBER;
    if (FAILED(availableTypeResult))
        return availableTypeResult;
    if (index >= availableTypes.size())
        return MF_E_NO_MORE_TYPES;
    *type = availableTypes[index].Get();
    (*type)->AddRef();
    return S_OK;
}

STDMETHODIMP FakeDecoderTransform::SetInputType(DWORD stream, IMFMediaType* type, DWORD) {
    events.push_back("SetInputType");
    if (stream != inputStreamId)
        return MF_E_INVALIDSTREAMNUMBER;
    if (FAILED(setInputTypeResult))
        return setInputTypeResult;
    inputType = type;
    return S_OK;
}

STDMETHODIMP FakeDecoderTransform::SetOutputType(DWORD stream, IMFMediaType* type, DWORD) {
    events.push_back("SetOutputType");
    if (stream != outputStreamId)
        return MF_E_INVALIDSTREAMNUMBER;
    // A decoder takes its output type once it knows its input.
    if (!inputType)
        return MF_E_TRANSFORM_TYPE_NOT_SET;
    if (refuseOutputTypes > 0) {
        --refuseOutputTypes;
        return MF_E_INVALIDMEDIATYPE;
    }
    outputType = type;
    return S_OK;
}

STDMETHODIMP FakeDecoderTransform::GetOutputCurrentType(DWORD stream, IMFMediaType** type) {
    if (stream != outputStreamId)
        return MF_E_INVALIDSTREAMNUMBER;
    if (!outputType)
        return MF_E_TRANSFORM_TYPE_NOT_SET;
    *type = outputType.Get();
    (*type)->AddRef();
    return S_OK;
}

STDMETHODIMP FakeDecoderTransform::ProcessMessage(MFT_MESSAGE_TYPE message, ULONG_PTR) {
    events.push_back("Message " + TransformMessageName(message));
    if (message == MFT_MESSAGE_COMMAND_FLUSH)
        m_pending.clear();
    return S_OK;
}

STDMETHODIMP FakeDecoderTransform::ProcessInput(DWORD stream, IMFSample* sample, DWORD) {
    events.push_back("ProcessInput");
    if (stream != inputStreamId)
        return MF_E_INVALIDSTREAMNUMBER;
    if (!inputType || !outputType)
        return MF_E_TRANSFORM_TYPE_NOT_SET;
    if (FAILED(processInputResult))
        return processInputResult;
    if (!m_pending.empty())
        return MF_E_NOTACCEPTING;
    ComPtr<IMFMediaBuffer> buffer;
    if (FAILED(sample->ConvertToContiguousBuffer(&buffer)))
        return E_FAIL;
    BYTE* bytes = nullptr;
    DWORD length = 0;
    buffer->Lock(&bytes, nullptr, &length);
    inputs.emplace_back(bytes, bytes + length);
    buffer->Unlock();
    if (!m_script.empty()) {
        m_pending.assign(m_script.front().begin(), m_script.front().end());
        m_script.pop_front();
    }
    return S_OK;
}

STDMETHODIMP FakeDecoderTransform::ProcessOutput(DWORD, DWORD count, MFT_OUTPUT_DATA_BUFFER* buffers,
                                                 DWORD* status) {
    events.push_back("ProcessOutput");
    *status = 0;
    if (count != 1 || buffers[0].pSample == nullptr)
        return E_INVALIDARG;
    if (buffers[0].dwStreamID != outputStreamId)
        return MF_E_INVALIDSTREAMNUMBER;
    if (!outputType)
        return MF_E_TRANSFORM_TYPE_NOT_SET;
    Output next;
    if (!m_pending.empty()) {
        next = m_pending.front();
        m_pending.pop_front();
    } else if (endlessPictures && !m_lastPicture.empty()) {
        next = Picture(m_lastPicture);
    } else {
        return MF_E_TRANSFORM_NEED_MORE_INPUT;
    }
    if (next.hr == MF_E_TRANSFORM_STREAM_CHANGE) {
        availableTypes = next.newTypes;
        outputType.Reset();
        return next.hr;
    }
    if (FAILED(next.hr))
        return next.hr;
    ComPtr<IMFMediaBuffer> buffer;
    if (FAILED(buffers[0].pSample->GetBufferByIndex(0, &buffer)))
        return E_INVALIDARG;
    BYTE* bytes = nullptr;
    DWORD max = 0;
    buffer->Lock(&bytes, &max, nullptr);
    if (max < next.bytes.size()) {
        buffer->Unlock();
        return MF_E_BUFFERTOOSMALL;
    }
    std::memcpy(bytes, next.bytes.data(), next.bytes.size());
    buffer->Unlock();
    buffer->SetCurrentLength(static_cast<DWORD>(next.bytes.size()));
    m_lastPicture = next.bytes;
    return S_OK;
}
