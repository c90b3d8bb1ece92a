#pragma once

#include <windows.h>
#include <mfapi.h>
#include <mferror.h>
#include <mfidl.h>
#include <mftransform.h>
#include <wrl/client.h>

#include <atomic>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

// A stand-in for an H.264 decoder transform, written from what the decoder wrapper relies on: it offers a
// list of output types, checks every stream id it is called with, refuses input while pictures are ready
// (MF_E_NOTACCEPTING), and hands out scripted pictures, stream changes and failures per input until it
// answers NEED_MORE_INPUT. Every call is recorded in order.
class FakeDecoderTransform : public IMFTransform {
public:
    using Bytes = std::vector<uint8_t>;
    using TypeList = std::vector<Microsoft::WRL::ComPtr<IMFMediaType>>;

    // One answer of ProcessOutput: a picture (S_OK, its bytes become the buffer's current length), a stream
    // change (newTypes are offered from then on and the output type is cleared), or a failure code.
    struct Output {
        HRESULT hr = S_OK;
        Bytes bytes;
        TypeList newTypes;
    };
    static Output Picture(Bytes bytes) { return {S_OK, std::move(bytes), {}}; }
    static Output StreamChange(TypeList types) {
        return {MF_E_TRANSFORM_STREAM_CHANGE, {}, std::move(types)};
    }

    // A video type with the subtype and, when both are above 0, the frame size.
    static Microsoft::WRL::ComPtr<IMFMediaType> VideoType(const GUID& subtype, UINT32 width = 0,
                                                          UINT32 height = 0);

    FakeDecoderTransform();
    virtual ~FakeDecoderTransform() = default;

    // Pictures ready before the next input (so that input is refused until they are taken).
    void ReadyNow(std::vector<Output> outputs) {
        m_pending.insert(m_pending.end(), outputs.begin(), outputs.end());
    }
    // What the next accepted input produces, in order.
    void ScriptNextInput(std::vector<Output> outputs) { m_script.push_back(std::move(outputs)); }

    // Calls in order, e.g. "SetOutputType", "Message FLUSH", "ProcessInput", "ProcessOutput".
    std::vector<std::string> events;
    std::vector<Bytes> inputs; // bytes of every accepted input
    Microsoft::WRL::ComPtr<IMFMediaType> inputType;
    Microsoft::WRL::ComPtr<IMFMediaType> outputType;
    Microsoft::WRL::ComPtr<IMFAttributes> attributes;
    TypeList availableTypes; // offered by GetOutputAvailableType, in order

    // Behaviour switches.
    HRESULT streamIdsResult = E_NOTIMPL; // S_OK hands out the ids below
    DWORD inputStreamId = 0;
    DWORD outputStreamId = 0;
    HRESULT setInputTypeResult = S_OK;
    HRESULT availableTypeResult = S_OK; // a failure here ends every type walk
    int refuseOutputTypes = 0;          // the first this many SetOutputType calls fail
    HRESULT processInputResult = S_OK;
    DWORD outputStreamSize = 0;         // GetOutputStreamInfo cbSize
    bool bufferSizeFollowsType = false; // cbSize = width * height * 3 / 2 of the output type instead
    bool endlessPictures = false;       // every ProcessOutput after an input gives the last picture again

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
    STDMETHODIMP GetStreamIDs(DWORD inSize, DWORD* in, DWORD outSize, DWORD* out) override;
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
    STDMETHODIMP GetOutputCurrentType(DWORD stream, IMFMediaType** type) override;
    STDMETHODIMP GetInputStatus(DWORD, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP GetOutputStatus(DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP SetOutputBounds(LONGLONG, LONGLONG) override { return E_NOTIMPL; }
    STDMETHODIMP ProcessEvent(DWORD, IMFMediaEvent*) override { return E_NOTIMPL; }
    STDMETHODIMP ProcessMessage(MFT_MESSAGE_TYPE message, ULONG_PTR param) override;
    STDMETHODIMP ProcessInput(DWORD stream, IMFSample* sample, DWORD flags) override;
    STDMETHODIMP ProcessOutput(DWORD flags, DWORD count, MFT_OUTPUT_DATA_BUFFER* buffers,
                               DWORD* status) override;

private:
    std::atomic<ULONG> m_refs{1};
    std::deque<std::vector<Output>> m_script;
    std::deque<Output> m_pending;
    Bytes m_lastPicture;
};
