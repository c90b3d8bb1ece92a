#include "media/win/H264DecoderMF.h"

#include <mfapi.h>
#include <mferror.h>
#include <mfidl.h>
#include <wmcodecdsp.h>

#include <cstring>
#include <memory>

#include "core/Log.h"
#include "core/win/Handles.h"
#include "core/win/TextConvert.h"
#include "media/RemoteViewFrame.h"
#include "media/win/HdrSwitch.h"
#include "media/win/MediaTypeLog.h"

using Microsoft::WRL::ComPtr;

namespace {

constexpr uint32_t kHardwareFlags = MFT_ENUM_FLAG_HARDWARE | MFT_ENUM_FLAG_SORTANDFILTER;
constexpr uint32_t kSoftwareLocalFlags =
    MFT_ENUM_FLAG_SYNCMFT | MFT_ENUM_FLAG_LOCALMFT | MFT_ENUM_FLAG_SORTANDFILTER;
constexpr uint32_t kAllFlags = MFT_ENUM_FLAG_ALL;

// A transform that never says it needs more input, or keeps announcing stream changes, would hold the
// session thread in one drain for good; no decoder has this many pictures ready after one frame.
constexpr int kMaxDrainRounds = 64;
// Bounds the walk over offered output types the same way.
constexpr DWORD kMaxOutputTypes = 256;

unsigned Hex(HRESULT hr) {
    return static_cast<unsigned>(hr);
}

// The activation objects of one MFTEnumEx call, owned.
struct DecoderActivations {
    std::vector<ComPtr<IMFActivate>> items;
    HRESULT hr = E_FAIL;
};

DecoderActivations EnumDecoders(uint32_t flags) {
    MFT_REGISTER_TYPE_INFO input = {MFMediaType_Video, MFVideoFormat_H264};
    IMFActivate** raw = nullptr;
    UINT32 count = 0;
    DecoderActivations result;
    result.hr = ::MFTEnumEx(MFT_CATEGORY_VIDEO_DECODER, flags, &input, nullptr, &raw, &count);
    std::unique_ptr<IMFActivate*, CoTaskMemFreeDeleter> array(raw);
    if (raw == nullptr)
        count = 0;
    for (UINT32 i = 0; i < count; ++i) {
        ComPtr<IMFActivate> item;
        // Takes over the array's reference (mingw's Attach would add one).
        *item.GetAddressOf() = raw[i];
        result.items.push_back(std::move(item));
    }
    return result;
}

void LogDecoderList() {
    const DecoderActivations all = EnumDecoders(kAllFlags);
    Log::Write("Decoder enum %s flags=0x%08X hr=0x%08X count=%u", "diagnostic-all", kAllFlags, Hex(all.hr),
               static_cast<unsigned>(all.items.size()));
    for (size_t i = 0; i < all.items.size(); ++i) {
        wchar_t* raw = nullptr;
        UINT32 length = 0;
        const HRESULT hr = all.items[i]->GetAllocatedString(MFT_FRIENDLY_NAME_Attribute, &raw, &length);
        std::unique_ptr<wchar_t, CoTaskMemFreeDeleter> name(raw);
        if (SUCCEEDED(hr) && name) {
            Log::Write("  decoder[%u]=%s", static_cast<unsigned>(i), WideToUtf8(name.get()).c_str());
        } else {
            Log::Write("  decoder[%u]=<no friendly name> hr=0x%08X", static_cast<unsigned>(i), Hex(hr));
        }
    }
}

GUID SubtypeOf(IMFMediaType* type) {
    GUID subtype = GUID_NULL;
    if (type != nullptr)
        type->GetGUID(MF_MT_SUBTYPE, &subtype);
    return subtype;
}

// The frame size of a type, when it carries one with both parts above 0.
bool FrameSizeOf(IMFMediaType* type, int32_t& width, int32_t& height) {
    UINT32 w = 0;
    UINT32 h = 0;
    if (type == nullptr || FAILED(MFGetAttributeSize(type, MF_MT_FRAME_SIZE, &w, &h)) || w == 0 || h == 0 ||
        w > INT32_MAX || h > INT32_MAX)
        return false;
    width = static_cast<int32_t>(w);
    height = static_cast<int32_t>(h);
    return true;
}

HRESULT CreateSampleWithBuffer(DWORD bytes, ComPtr<IMFSample>& sample, ComPtr<IMFMediaBuffer>& buffer) {
    HRESULT hr = ::MFCreateMemoryBuffer(bytes, &buffer);
    if (SUCCEEDED(hr))
        hr = ::MFCreateSample(&sample);
    if (SUCCEEDED(hr))
        hr = sample->AddBuffer(buffer.Get());
    return hr;
}

// Owns a locked media buffer until the end of the scope.
class BufferLock {
public:
    explicit BufferLock(IMFMediaBuffer* buffer) : m_buffer(buffer) {
        m_hr = m_buffer->Lock(&m_bytes, nullptr, &m_length);
    }
    ~BufferLock() {
        if (SUCCEEDED(m_hr))
            m_buffer->Unlock();
    }
    BufferLock(const BufferLock&) = delete;
    BufferLock& operator=(const BufferLock&) = delete;

    HRESULT Result() const { return m_hr; }
    const BYTE* Bytes() const { return m_bytes; }
    DWORD Length() const { return m_length; }

private:
    IMFMediaBuffer* m_buffer;
    HRESULT m_hr = E_FAIL;
    BYTE* m_bytes = nullptr;
    DWORD m_length = 0;
};

} // namespace

H264DecoderMF::H264DecoderMF() : H264DecoderMF(FindSystemDecoder) {}

H264DecoderMF::H264DecoderMF(TransformFactory factory) : m_factory(std::move(factory)) {}

H264DecoderMF::~H264DecoderMF() {
    Release();
}

bool H264DecoderMF::TryEnumDecoder(uint32_t flags, const char* label, ComPtr<IMFTransform>& out) {
    out.Reset();
    const DecoderActivations found = EnumDecoders(flags);
    Log::Write("TryEnumDecoder %s hr=0x%08X count=%u", label, Hex(found.hr),
               static_cast<unsigned>(found.items.size()));
    if (FAILED(found.hr) || found.items.empty())
        return false;
    const HRESULT hr = found.items[0]->ActivateObject(IID_PPV_ARGS(out.ReleaseAndGetAddressOf()));
    if (FAILED(hr) || !out) {
        out.Reset();
        Log::Write("Activate decoder by enum %s failed hr=0x%08X", label,
                   Hex(FAILED(hr) ? hr : E_NOINTERFACE));
        return false;
    }
    if (IsAsyncTransform(out.Get())) {
        out.Reset();
        found.items[0]->ShutdownObject();
        Log::Write("Activate decoder by enum %s refused: asynchronous transform", label);
        return false;
    }
    Log::Write("Activate decoder by enum %s OK", label);
    return true;
}

bool H264DecoderMF::IsAsyncTransform(IMFTransform* transform) {
    ComPtr<IMFAttributes> attributes;
    UINT32 async = 0;
    return transform != nullptr && SUCCEEDED(transform->GetAttributes(&attributes)) && attributes &&
           SUCCEEDED(attributes->GetUINT32(MF_TRANSFORM_ASYNC, &async)) && async != 0;
}

bool H264DecoderMF::FindSystemDecoder(ComPtr<IMFTransform>& out) {
    if (TryEnumDecoder(kHardwareFlags, "hardware", out) ||
        TryEnumDecoder(kSoftwareLocalFlags, "software/local", out) || TryEnumDecoder(kAllFlags, "all", out))
        return true;
    LogDecoderList();
    const HRESULT hr = ::CoCreateInstance(CLSID_CMSH264DecoderMFT, nullptr, CLSCTX_INPROC_SERVER,
                                          IID_PPV_ARGS(out.ReleaseAndGetAddressOf()));
    if (FAILED(hr) || !out) {
        out.Reset();
        Log::Write("CoCreate CLSID_CMSH264DecoderMFT failed hr=0x%08X", Hex(FAILED(hr) ? hr : E_NOINTERFACE));
        return false;
    }
    Log::Write("CoCreate CLSID_CMSH264DecoderMFT OK");
    return true;
}

bool H264DecoderMF::Init(int32_t widthHint, int32_t heightHint) {
    if (m_transform)
        Release();
    m_outputSubtype = GUID_NULL;
    m_width = widthHint;
    m_height = heightHint;
    m_inputStreamId = 0;
    m_outputStreamId = 0;

    ComPtr<IMFTransform> transform;
    if (!m_factory || !m_factory(transform) || !transform) {
        Log::Write("No H264 decoder can be created. If this is Windows N/KN, install Media Feature Pack.");
        return false;
    }
    m_transform = transform;
    if (!Configure()) {
        DropTransform();
        return false;
    }
    if (IsHdrFrameworkEnabled()) {
        Log::Write(
            "HDR framework: H264DecoderMF is SDR/H.264/NV12 path; HDR10 requires future HEVC Main10/P010 "
            "decoder switch");
    }
    Log::Write("H264DecoderMF LowLatency4 NV12-only init OK hint=%dx%d", widthHint, heightHint);
    return true;
}

bool H264DecoderMF::Configure() {
    ComPtr<IMFAttributes> attributes;
    if (SUCCEEDED(m_transform->GetAttributes(&attributes)) && attributes) {
        const HRESULT hr = attributes->SetUINT32(MF_LOW_LATENCY, TRUE);
        Log::Write("Decoder attribute MF_LOW_LATENCY=TRUE hr=0x%08X", Hex(hr));
    }
    Log::Write("Decoder LowLatency4: MF_LOW_LATENCY attribute enabled; CodecAPI AVLowLatencyMode skipped");

    DWORD inputId = 0;
    DWORD outputId = 0;
    const HRESULT hr = m_transform->GetStreamIDs(1, &inputId, 1, &outputId);
    if (SUCCEEDED(hr)) {
        m_inputStreamId = inputId;
        m_outputStreamId = outputId;
    } else if (hr != E_NOTIMPL) {
        // Fixed-stream transforms answer E_NOTIMPL; anything else is odd, but ids 0 are still the best guess.
        Log::Write("Decoder GetStreamIDs failed hr=0x%08X; using stream ids 0", Hex(hr));
    }
    if (!SetInputType() || !SetInitialOutputType())
        return false;

    m_transform->ProcessMessage(MFT_MESSAGE_COMMAND_FLUSH, 0);
    m_transform->ProcessMessage(MFT_MESSAGE_NOTIFY_BEGIN_STREAMING, 0);
    m_transform->ProcessMessage(MFT_MESSAGE_NOTIFY_START_OF_STREAM, 0);
    return true;
}

bool H264DecoderMF::SetInputType() {
    ComPtr<IMFMediaType> type;
    HRESULT hr = ::MFCreateMediaType(&type);
    if (SUCCEEDED(hr))
        hr = type->SetGUID(MF_MT_MAJOR_TYPE, MFMediaType_Video);
    if (SUCCEEDED(hr))
        hr = type->SetGUID(MF_MT_SUBTYPE, MFVideoFormat_H264);
    if (SUCCEEDED(hr) && m_width > 0 && m_height > 0)
        hr = MFSetAttributeSize(type.Get(), MF_MT_FRAME_SIZE, static_cast<UINT32>(m_width),
                                static_cast<UINT32>(m_height));
    if (SUCCEEDED(hr))
        hr = MFSetAttributeRatio(type.Get(), MF_MT_FRAME_RATE, 30, 1);
    if (SUCCEEDED(hr))
        hr = MFSetAttributeRatio(type.Get(), MF_MT_PIXEL_ASPECT_RATIO, 1, 1);
    if (SUCCEEDED(hr))
        hr = m_transform->SetInputType(m_inputStreamId, type.Get(), 0);
    if (FAILED(hr)) {
        Log::Write("Decoder SetInputType H264 failed hr=0x%08X hint=%dx%d", Hex(hr), m_width, m_height);
        return false;
    }
    return true;
}

bool H264DecoderMF::SetInitialOutputType() {
    for (DWORD i = 0; i < kMaxOutputTypes; ++i) {
        ComPtr<IMFMediaType> offered;
        HRESULT hr = m_transform->GetOutputAvailableType(m_outputStreamId, i, &offered);
        if (hr == MF_E_NO_MORE_TYPES)
            break;
        if (FAILED(hr) || !offered) {
            Log::Write("Decoder GetOutputAvailableType failed i=%lu hr=0x%08X", static_cast<unsigned long>(i),
                       Hex(FAILED(hr) ? hr : E_POINTER));
            break;
        }
        const GUID subtype = SubtypeOf(offered.Get());
        const std::string name = MediaSubtypeName(subtype);
        Log::Write("Decoder output type[%lu] subtype=%s", static_cast<unsigned long>(i), name.c_str());
        if (subtype != MFVideoFormat_NV12)
            continue;
        // A copy: the offered type belongs to the transform.
        ComPtr<IMFMediaType> type;
        hr = ::MFCreateMediaType(&type);
        if (SUCCEEDED(hr))
            hr = offered->CopyAllItems(type.Get());
        if (SUCCEEDED(hr) && m_width > 0 && m_height > 0)
            hr = MFSetAttributeSize(type.Get(), MF_MT_FRAME_SIZE, static_cast<UINT32>(m_width),
                                    static_cast<UINT32>(m_height));
        if (SUCCEEDED(hr))
            hr = m_transform->SetOutputType(m_outputStreamId, type.Get(), 0);
        if (FAILED(hr)) {
            Log::Write("Decoder SetOutputType subtype=%s failed hr=0x%08X", name.c_str(), Hex(hr));
            continue;
        }
        Log::Write("Decoder SetOutputType OK subtype=%s", name.c_str());
        LogDecoderColorType("initial-output", type.Get());
        m_outputSubtype = MFVideoFormat_NV12;
        return true;
    }
    Log::Write("Decoder SetOutputType failed for NV12-only output.");
    m_outputSubtype = GUID_NULL;
    return false;
}

bool H264DecoderMF::SelectStreamChangeOutputType() {
    for (DWORD i = 0; i < kMaxOutputTypes; ++i) {
        ComPtr<IMFMediaType> type;
        HRESULT hr = m_transform->GetOutputAvailableType(m_outputStreamId, i, &type);
        if (FAILED(hr) || !type)
            return false;
        const GUID subtype = SubtypeOf(type.Get());
        const std::string name = MediaSubtypeName(subtype);
        Log::Write("Decoder stream-change output type[%lu] subtype=%s", static_cast<unsigned long>(i),
                   name.c_str());
        if (subtype != MFVideoFormat_NV12 ||
            FAILED(m_transform->SetOutputType(m_outputStreamId, type.Get(), 0)))
            continue;
        FrameSizeOf(type.Get(), m_width, m_height);
        m_outputSubtype = subtype;
        Log::Write("Decoder stream-change SetOutputType OK subtype=%s %dx%d", name.c_str(), m_width,
                   m_height);
        LogDecoderColorType("stream-change-output", type.Get());
        return true;
    }
    return false;
}

bool H264DecoderMF::Decode(const uint8_t* data, size_t size, H264DecodedPicture& picture) {
    picture.got = false;
    if (!m_transform) {
        Log::Write("Decoder not initialised; frame dropped size=%zu", size);
        return false;
    }
    // A media buffer holds at most a DWORD of bytes; an empty frame has nothing to decode.
    if (data == nullptr || size == 0 || size > MAXDWORD) {
        Log::Write("Decoder input refused size=%zu", size);
        return false;
    }
    ComPtr<IMFSample> sample;
    ComPtr<IMFMediaBuffer> buffer;
    const DWORD bytes = static_cast<DWORD>(size);
    HRESULT hr = CreateSampleWithBuffer(bytes, sample, buffer);
    if (SUCCEEDED(hr)) {
        BYTE* target = nullptr;
        hr = buffer->Lock(&target, nullptr, nullptr);
        if (SUCCEEDED(hr)) {
            std::memcpy(target, data, size);
            buffer->Unlock();
            hr = buffer->SetCurrentLength(bytes);
        }
    }
    if (FAILED(hr)) {
        Log::Write("Decoder input sample failed hr=0x%08X size=%zu", Hex(hr), size);
        return false;
    }

    hr = m_transform->ProcessInput(m_inputStreamId, sample.Get(), 0);
    // The transform holds pictures it wants taken first; what that drain hands out is kept in case the
    // drain after the input brings nothing newer.
    H264DecodedPicture held;
    if (hr == MF_E_NOTACCEPTING) {
        DrainOutput(held);
        hr = m_transform->ProcessInput(m_inputStreamId, sample.Get(), 0);
    }
    bool ok = false;
    if (SUCCEEDED(hr)) {
        ok = DrainOutput(picture) == 1;
    } else {
        Log::Write("Decoder ProcessInput failed hr=0x%08X size=%zu", Hex(hr), size);
    }
    if (!picture.got && held.got)
        picture = std::move(held);
    return ok;
}

int H264DecoderMF::DrainOutput(H264DecodedPicture& picture) {
    picture.got = false;
    picture.subtype = GUID_NULL;
    if (!m_transform) {
        Log::Write("Decoder not initialised; nothing to drain");
        return 0;
    }
    MFT_OUTPUT_STREAM_INFO info = {};
    HRESULT hr = m_transform->GetOutputStreamInfo(m_outputStreamId, &info);
    if (FAILED(hr)) {
        Log::Write("Decoder GetOutputStreamInfo failed hr=0x%08X", Hex(hr));
        return 0;
    }
    bool taken = false;
    for (int round = 0; round < kMaxDrainRounds; ++round) {
        const bool providesSamples = (info.dwFlags & MFT_OUTPUT_STREAM_PROVIDES_SAMPLES) != 0;
        ComPtr<IMFSample> sample;
        if (!providesSamples) {
            size_t size = info.cbSize != 0 ? info.cbSize : Nv12PictureBytes(m_width, m_height);
            if (size == 0)
                size = 1;
            if (size > MAXDWORD) {
                Log::Write("Decoder output size %dx%d too large", m_width, m_height);
                return 0;
            }
            ComPtr<IMFMediaBuffer> buffer;
            if (FAILED(hr = CreateSampleWithBuffer(static_cast<DWORD>(size), sample, buffer))) {
                Log::Write("Decoder output sample failed hr=0x%08X size=%zu", Hex(hr), size);
                return 0;
            }
        }
        MFT_OUTPUT_DATA_BUFFER output = {};
        output.dwStreamID = m_outputStreamId;
        output.pSample = sample.Get();
        DWORD status = 0;
        hr = m_transform->ProcessOutput(0, 1, &output, &status);
        if (output.pEvents != nullptr)
            output.pEvents->Release();
        // A transform that provides its samples hands over a reference with each.
        ComPtr<IMFSample> produced;
        if (output.pSample != nullptr && output.pSample != sample.Get())
            *produced.GetAddressOf() = output.pSample;
        else
            produced = sample;

        if (hr == MF_E_TRANSFORM_NEED_MORE_INPUT) {
            if (taken) {
                picture.bytes.swap(m_newest);
                picture.width = m_newestWidth;
                picture.height = m_newestHeight;
                picture.subtype = m_newestSubtype;
                picture.got = true;
            }
            return 1;
        }
        if (hr == MF_E_TRANSFORM_STREAM_CHANGE) {
            Log::Write("Decoder stream change");
            SelectStreamChangeOutputType();
            // The buffer size the transform asks for follows its new type.
            if (FAILED(hr = m_transform->GetOutputStreamInfo(m_outputStreamId, &info))) {
                Log::Write("Decoder GetOutputStreamInfo failed hr=0x%08X", Hex(hr));
                return 0;
            }
            continue;
        }
        if (FAILED(hr)) {
            Log::Write("Decoder ProcessOutput failed hr=0x%08X", Hex(hr));
            return 0;
        }
        if (!produced) {
            Log::Write("Decoder ProcessOutput gave no sample");
            return 0;
        }
        if (!TakePicture(produced.Get()))
            return 0;
        taken = true;
    }
    Log::Write("Decoder drain stopped after %d rounds without a need-more-input answer", kMaxDrainRounds);
    return 0;
}

bool H264DecoderMF::TakePicture(IMFSample* sample) {
    ComPtr<IMFMediaBuffer> buffer;
    HRESULT hr = sample->ConvertToContiguousBuffer(&buffer);
    if (FAILED(hr) || !buffer) {
        Log::Write("Decoder output buffer failed hr=0x%08X", Hex(FAILED(hr) ? hr : E_POINTER));
        return false;
    }
    BufferLock lock(buffer.Get());
    if (FAILED(lock.Result())) {
        Log::Write("Decoder output buffer Lock failed hr=0x%08X", Hex(lock.Result()));
        return false;
    }
    ComPtr<IMFMediaType> current;
    if (SUCCEEDED(m_transform->GetOutputCurrentType(m_outputStreamId, &current)) && current) {
        FrameSizeOf(current.Get(), m_width, m_height);
        m_outputSubtype = SubtypeOf(current.Get());
    }
    const size_t expected = Nv12PictureBytes(m_width, m_height);
    if (m_outputSubtype != MFVideoFormat_NV12 || expected == 0 || lock.Length() < expected) {
        Log::Write("Decoder unsupported/short output buffer subtype=%s curLen=%lu expected=%zu size=%dx%d",
                   MediaSubtypeName(m_outputSubtype).c_str(), static_cast<unsigned long>(lock.Length()),
                   expected, m_width, m_height);
        return false;
    }
    m_newest.assign(lock.Bytes(), lock.Bytes() + expected);
    m_newestWidth = m_width;
    m_newestHeight = m_height;
    m_newestSubtype = m_outputSubtype;
    return true;
}

void H264DecoderMF::Release() {
    if (m_transform) {
        m_transform->ProcessMessage(MFT_MESSAGE_NOTIFY_END_OF_STREAM, m_inputStreamId);
        m_transform->ProcessMessage(MFT_MESSAGE_COMMAND_FLUSH, 0);
    }
    DropTransform();
}

void H264DecoderMF::DropTransform() {
    m_transform.Reset();
    m_outputSubtype = GUID_NULL;
}
