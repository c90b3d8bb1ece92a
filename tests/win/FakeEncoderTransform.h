#pragma once

#include <windows.h>
#include <mfapi.h>
#include <mferror.h>
#include <mfidl.h>
#include <mftransform.h>
#include <strmif.h>
#include <wrl/client.h>

#include <atomic>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

// A stand-in for the system H.264 encoder transform, written from what the encoder wrapper relies on: it
// takes its output type before its input type (as the system encoder does), records every call in order,
// and hands out scripted Annex-B outputs for each input until it answers NEED_MORE_INPUT.
class FakeEncoderTransform : public IMFTransform, public ICodecAPI {
public:
    using Bytes = std::vector<uint8_t>;

    // One answer of ProcessOutput: bytes, or a failure code.
    struct Output {
        Bytes bytes;
        HRESULT hr = S_OK;
    };

    FakeEncoderTransform();
    virtual ~FakeEncoderTransform() = default;

    // Queued for the next ProcessInput: its outputs, in order.
    void ScriptNextInput(std::vector<Output> outputs) { m_script.push_back(std::move(outputs)); }

    // Calls in order, e.g. "SetOutputType", "Message FLUSH", "ProcessInput", "CodecAPI GOPSize=30".
    std::vector<std::string> events;
    // The bytes and times of every input sample.
    std::vector<Bytes> inputs;
    std::vector<LONGLONG> sampleTimes;
    std::vector<LONGLONG> sampleDurations;
    // What the encoder asked for.
    Microsoft::WRL::ComPtr<IMFMediaType> outputType;
    Microsoft::WRL::ComPtr<IMFMediaType> inputType;
    Microsoft::WRL::ComPtr<IMFAttributes> attributes;
    // Smallest output buffer the encoder offered.
    DWORD smallestOutputBuffer = 0xFFFFFFFF;

    // Behaviour switches.
    DWORD outputStreamSize = 0; // GetOutputStreamInfo cbSize; 0 makes the encoder pick its own
    bool offerCodecApi = true;
    HRESULT processInputResult = S_OK;
    HRESULT setInputTypeResult = S_OK;

    size_t CountEvents(const std::string& prefix) const;
    ULONG References() const { return m_refs.load(); }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG left = --m_refs;
        if (left == 0)
            delete this;
        return left;
    }

    // IMFTransform
    STDMETHODIMP GetStreamLimits(DWORD*, DWORD*, DWORD*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP GetStreamCount(DWORD* in, DWORD* out) override;
    STDMETHODIMP GetStreamIDs(DWORD, DWORD*, DWORD, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP GetInputStreamInfo(DWORD, MFT_INPUT_STREAM_INFO*) override { return E_NOTIMPL; }
    STDMETHODIMP GetOutputStreamInfo(DWORD stream, MFT_OUTPUT_STREAM_INFO* info) override;
    STDMETHODIMP GetAttributes(IMFAttributes** out) override;
    STDMETHODIMP GetInputStreamAttributes(DWORD, IMFAttributes**) override { return E_NOTIMPL; }
    STDMETHODIMP GetOutputStreamAttributes(DWORD, IMFAttributes**) override { return E_NOTIMPL; }
    STDMETHODIMP DeleteInputStream(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP AddInputStreams(DWORD, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP GetInputAvailableType(DWORD, DWORD, IMFMediaType**) override { return E_NOTIMPL; }
    STDMETHODIMP GetOutputAvailableType(DWORD stream, DWORD index, IMFMediaType** type) override;
    STDMETHODIMP SetInputType(DWORD stream, IMFMediaType* type, DWORD flags) override;
    STDMETHODIMP SetOutputType(DWORD stream, IMFMediaType* type, DWORD flags) override;
    STDMETHODIMP GetInputCurrentType(DWORD, IMFMediaType**) override { return E_NOTIMPL; }
    STDMETHODIMP GetOutputCurrentType(DWORD, IMFMediaType**) override { return E_NOTIMPL; }
    STDMETHODIMP GetInputStatus(DWORD, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP GetOutputStatus(DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP SetOutputBounds(LONGLONG, LONGLONG) override { return E_NOTIMPL; }
    STDMETHODIMP ProcessEvent(DWORD, IMFMediaEvent*) override { return E_NOTIMPL; }
    STDMETHODIMP ProcessMessage(MFT_MESSAGE_TYPE message, ULONG_PTR param) override;
    STDMETHODIMP ProcessInput(DWORD stream, IMFSample* sample, DWORD flags) override;
    STDMETHODIMP ProcessOutput(DWORD flags, DWORD count, MFT_OUTPUT_DATA_BUFFER* buffers,
                               DWORD* status) override;

    // ICodecAPI: only SetValue is used.
    STDMETHODIMP IsSupported(const GUID*) override { return E_NOTIMPL; }
    STDMETHODIMP IsModifiable(const GUID*) override { return E_NOTIMPL; }
    STDMETHODIMP GetParameterRange(const GUID*, VARIANT*, VARIANT*, VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetParameterValues(const GUID*, VARIANT**, ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP GetDefaultValue(const GUID*, VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetValue(const GUID*, VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP SetValue(const GUID* api, VARIANT* value) override;
    STDMETHODIMP RegisterForEvent(const GUID*, LONG_PTR) override { return E_NOTIMPL; }
    STDMETHODIMP UnregisterForEvent(const GUID*) override { return E_NOTIMPL; }
    STDMETHODIMP SetAllDefaults() override { return E_NOTIMPL; }
    STDMETHODIMP SetValueWithNotify(const GUID*, VARIANT*, GUID**, ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP SetAllDefaultsWithNotify(GUID**, ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP GetAllSettings(IStream*) override { return E_NOTIMPL; }
    STDMETHODIMP SetAllSettings(IStream*) override { return E_NOTIMPL; }
    STDMETHODIMP SetAllSettingsWithNotify(IStream*, GUID**, ULONG*) override { return E_NOTIMPL; }

private:
    std::atomic<ULONG> m_refs{1};
    std::deque<std::vector<Output>> m_script;
    std::deque<Output> m_pending;
};
