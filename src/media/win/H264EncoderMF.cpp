#include "media/win/H264EncoderMF.h"

#include <codecapi.h>
#include <mfapi.h>
#include <mferror.h>
#include <mfidl.h>
#include <strmif.h>
#include <wmcodecdsp.h>

#include <atomic>
#include <cstdio>
#include <cstring>

#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/StallScope.h"
#include "core/win/HResultText.h"
#include "media/AnnexB.h"
#include "media/ColorDiagnostics.h"
#include "media/Nv12Frame.h"
#include "media/win/HdrSwitch.h"

using Microsoft::WRL::ComPtr;

namespace {

constexpr uint32_t kEncodeStallMs = 80;
constexpr uint32_t kColorStatsGapMs = 5'000;
// A transform that keeps handing out output would hold the session thread here for good; no real encoder
// produces this many outputs for one input.
constexpr int kMaxOutputsPerFrame = 64;

} // namespace

struct EncoderInputPath {
    const char* name;
    const char* firstStats;
    const char* stats;
    const char* createBuffer;
    const char* lockBuffer;
    const char* createSample;
    const char* processInput;
};

namespace {

constexpr EncoderInputPath kNv12Path = {"NV12",
                                        "[COLOR][ENC][DIRECT-NV12-FIRST]",
                                        "[COLOR][ENC][DIRECT-NV12-STATS]",
                                        "MFCreateMemoryBuffer NV12 failed",
                                        "NV12 buffer Lock failed",
                                        "MFCreateSample NV12 failed",
                                        "ProcessInput NV12 failed"};
constexpr EncoderInputPath kBgraPath = {"BGRA",
                                        "[COLOR][ENC][NV12-FIRST]",
                                        "[COLOR][ENC][NV12-STATS]",
                                        "MFCreateMemoryBuffer failed",
                                        "buffer Lock failed",
                                        "MFCreateSample failed",
                                        "ProcessInput failed"};

// Process-wide: the first frame of each path logs its colour statistics, then one frame every 5 s.
struct StatsGate {
    std::atomic<bool> done{false};
    std::atomic<uint32_t> last{0};
};
StatsGate g_nv12StatsGate;
StatsGate g_bgraStatsGate;
std::atomic<bool> g_bgraConvertLogged{false};
std::atomic<bool> g_spsChecked{false};

// The label to log the statistics under, or null when this frame is not due.
const char* StatsLabelDue(StatsGate& gate, const EncoderInputPath& path, uint32_t now) {
    if (!gate.done.exchange(true)) {
        gate.last.store(now);
        return path.firstStats;
    }
    uint32_t last = gate.last.load();
    if (now - last >= kColorStatsGapMs && gate.last.compare_exchange_strong(last, now)) {
        return path.stats;
    }
    return nullptr;
}

HRESULT CreateSystemEncoder(ComPtr<IMFTransform>& transform) {
    return ::CoCreateInstance(CLSID_CMSH264EncoderMFT, nullptr, CLSCTX_INPROC_SERVER,
                              IID_PPV_ARGS(transform.ReleaseAndGetAddressOf()));
}

HRESULT SetVideoFormat(IMFMediaType* type, const GUID& subtype, const H264EncoderSettings& s) {
    HRESULT hr = type->SetGUID(MF_MT_MAJOR_TYPE, MFMediaType_Video);
    if (SUCCEEDED(hr))
        hr = type->SetGUID(MF_MT_SUBTYPE, subtype);
    if (SUCCEEDED(hr))
        hr = type->SetUINT32(MF_MT_INTERLACE_MODE, MFVideoInterlace_Progressive);
    if (SUCCEEDED(hr))
        hr = MFSetAttributeSize(type, MF_MT_FRAME_SIZE, static_cast<UINT32>(s.width),
                                static_cast<UINT32>(s.height));
    if (SUCCEEDED(hr))
        hr = MFSetAttributeRatio(type, MF_MT_FRAME_RATE, static_cast<UINT32>(s.fps), 1);
    if (SUCCEEDED(hr))
        hr = MFSetAttributeRatio(type, MF_MT_PIXEL_ASPECT_RATIO, 1, 1);
    if (SUCCEEDED(hr))
        hr = type->SetUINT32(MF_MT_VIDEO_NOMINAL_RANGE, MFNominalRange_0_255);
    if (SUCCEEDED(hr))
        hr = type->SetUINT32(MF_MT_YUV_MATRIX, MFVideoTransferMatrix_BT709);
    return hr;
}

HRESULT SetCodecValue(ICodecAPI* api, const GUID& setting, VARTYPE type, uint32_t value) {
    VARIANT v;
    ::VariantInit(&v);
    v.vt = type;
    if (type == VT_BOOL) {
        v.boolVal = value != 0 ? VARIANT_TRUE : VARIANT_FALSE;
    } else {
        v.ulVal = value;
    }
    return api->SetValue(&setting, &v);
}

void AppendSampleBytes(IMFSample* sample, std::vector<uint8_t>& out) {
    DWORD count = 0;
    if (FAILED(sample->GetBufferCount(&count)))
        return;
    for (DWORD i = 0; i < count; ++i) {
        ComPtr<IMFMediaBuffer> buffer;
        if (FAILED(sample->GetBufferByIndex(i, &buffer)))
            continue;
        BYTE* bytes = nullptr;
        DWORD length = 0;
        if (FAILED(buffer->Lock(&bytes, nullptr, &length)))
            continue;
        out.insert(out.end(), bytes, bytes + length);
        buffer->Unlock();
    }
}

} // namespace

H264EncoderMF::H264EncoderMF() : H264EncoderMF(CreateSystemEncoder) {}

H264EncoderMF::H264EncoderMF(TransformFactory factory) : m_factory(std::move(factory)) {
    m_settings.fps = kEncoderDefaultFps;
}

H264EncoderMF::~H264EncoderMF() {
    Shutdown();
}

void H264EncoderMF::Fail(const char* text, HRESULT hr) {
    char line[512];
    std::snprintf(line, sizeof line, "%s %s", text, HResultToText(hr));
    Log::Write("%s", line);
    RuntimeSetStatusMessage(line);
}

bool H264EncoderMF::Init(int32_t width, int32_t height, int32_t fps, int32_t bitrate) {
    if (m_transform) {
        Shutdown();
    }
    m_settings = MakeH264EncoderSettings(width, height, fps, bitrate);
    m_sampleTime = 0;
    m_stats = H264EncoderStats{};
    m_stats.Restart(::GetTickCount());
    m_parameterSets.Clear();

    // Both encoders take only even sizes within the video cap; a transform would refuse the types anyway.
    if (Nv12FrameBytes(width, height) == 0) {
        Log::Write("[VIDEO][ENC][ERR] unsupported size %dx%d", width, height);
        return false;
    }
    HRESULT hr = m_factory ? m_factory(m_transform) : E_POINTER;
    if (FAILED(hr) || !m_transform) {
        Fail("CoCreate CMSH264EncoderMFT failed", FAILED(hr) ? hr : E_POINTER);
        m_transform.Reset();
        return false;
    }
    if (!Configure()) {
        m_transform.Reset();
        return false;
    }
    if (IsHdrFrameworkEnabled()) {
        Log::Write("HDR framework: H264EncoderMF is SDR/H.264 path; HDR10 requires future HEVC Main10/P010 "
                   "encoder switch");
    }
    const H264EncoderSettings& s = m_settings;
    Log::Write(
        "[VIDEO][ENC][INIT] mf_h264 width=%d height=%d fps=%d bitrate=%d gop=%d frame_duration_100ns=%lld "
        "input=NV12 output=H264 low_latency=1 bframes=0 range=full matrix=bt709",
        s.width, s.height, s.fps, s.bitrate, s.gop, static_cast<long long>(s.frameDuration100ns));
    m_ready = true;
    return true;
}

bool H264EncoderMF::Configure() {
    ComPtr<IMFAttributes> attributes;
    HRESULT hr = m_transform->GetAttributes(&attributes);
    if (SUCCEEDED(hr) && attributes) {
        hr = attributes->SetUINT32(MF_LOW_LATENCY, TRUE);
    }
    Log::Write("Encoder attribute MF_LOW_LATENCY=TRUE hr=0x%08X", static_cast<unsigned>(hr));

    ConfigureCodecApi();
    if (!SetOutputType() || !SetInputType()) {
        return false;
    }
    const H264EncoderSettings& s = m_settings;
    Log::Write(
        "[COLOR][ENC][MFT-TYPES] inputSubType=NV12 outputSubType=H264 nominalRange=MFNominalRange_0_255 "
        "mfValue=%u matrix=BT709 fps=%d size=%dx%d bitrate=%d "
        "note=SPS_VUI_will_be_logged_after_first_SPS",
        static_cast<unsigned>(MFNominalRange_0_255), s.fps, s.width, s.height, s.bitrate);

    if (FAILED(hr = m_transform->ProcessMessage(MFT_MESSAGE_COMMAND_FLUSH, 0)))
        Log::Write("MFT flush warning %s", HResultToText(hr));
    if (FAILED(hr = m_transform->ProcessMessage(MFT_MESSAGE_NOTIFY_BEGIN_STREAMING, 0)))
        Log::Write("MFT begin streaming warning %s", HResultToText(hr));
    if (FAILED(hr = m_transform->ProcessMessage(MFT_MESSAGE_NOTIFY_START_OF_STREAM, 0)))
        Log::Write("MFT start stream warning %s", HResultToText(hr));
    return true;
}

void H264EncoderMF::ConfigureCodecApi() {
    ComPtr<ICodecAPI> api;
    // By IID: mingw declares no __uuidof for ICodecAPI.
    HRESULT hr = m_transform->QueryInterface(IID_ICodecAPI, reinterpret_cast<void**>(api.GetAddressOf()));
    if (FAILED(hr) || !api) {
        Log::Write("[VIDEO][ENC][CFG] CodecAPI unavailable hr=0x%08X; MF_LOW_LATENCY still enabled",
                   static_cast<unsigned>(FAILED(hr) ? hr : E_NOINTERFACE));
        return;
    }
    const H264EncoderSettings& s = m_settings;
    hr = SetCodecValue(api.Get(), CODECAPI_AVLowLatencyMode, VT_BOOL, 1);
    Log::Write("[VIDEO][ENC][CFG] LowLatencyMode=TRUE hr=0x%08X", static_cast<unsigned>(hr));
    hr = SetCodecValue(api.Get(), CODECAPI_AVEncCommonMeanBitRate, VT_UI4, static_cast<uint32_t>(s.bitrate));
    Log::Write("[VIDEO][ENC][CFG] MeanBitRate=%d hr=0x%08X", s.bitrate, static_cast<unsigned>(hr));
    hr = SetCodecValue(api.Get(), CODECAPI_AVEncMPVDefaultBPictureCount, VT_UI4, 0);
    Log::Write("[VIDEO][ENC][CFG] BPictureCount=0 hr=0x%08X", static_cast<unsigned>(hr));
    hr = SetCodecValue(api.Get(), CODECAPI_AVEncMPVGOPSize, VT_UI4, static_cast<uint32_t>(s.gop));
    Log::Write("[VIDEO][ENC][CFG] GOPSize=%lu fps=%d idr_period_sec=%.2f hr=0x%08X",
               static_cast<unsigned long>(s.gop), s.fps, static_cast<double>(s.gop) / s.fps,
               static_cast<unsigned>(hr));
}

bool H264EncoderMF::SetOutputType() {
    ComPtr<IMFMediaType> type;
    HRESULT hr = ::MFCreateMediaType(&type);
    if (SUCCEEDED(hr))
        hr = SetVideoFormat(type.Get(), MFVideoFormat_H264, m_settings);
    if (SUCCEEDED(hr))
        hr = type->SetUINT32(MF_MT_AVG_BITRATE, static_cast<UINT32>(m_settings.bitrate));
    if (FAILED(hr)) {
        Fail("MFCreateMediaType out failed", hr);
        return false;
    }
    if (FAILED(hr = m_transform->SetOutputType(0, type.Get(), 0))) {
        Fail("SetOutputType H264 failed", hr);
        return false;
    }
    return true;
}

bool H264EncoderMF::SetInputType() {
    ComPtr<IMFMediaType> type;
    HRESULT hr = ::MFCreateMediaType(&type);
    if (SUCCEEDED(hr))
        hr = SetVideoFormat(type.Get(), MFVideoFormat_NV12, m_settings);
    if (FAILED(hr)) {
        Fail("MFCreateMediaType in failed", hr);
        return false;
    }
    if (FAILED(hr = m_transform->SetInputType(0, type.Get(), 0))) {
        Fail("SetInputType NV12 failed", hr);
        return false;
    }
    return true;
}

bool H264EncoderMF::EncodeNV12(const uint8_t* data, int32_t width, int32_t height, int32_t yPitch,
                               int32_t uvPitch, std::vector<uint8_t>& out, bool& gotOutput) {
    const uint32_t start = ::GetTickCount();
    out.clear();
    gotOutput = false;
    if (!m_ready || width != m_settings.width || height != m_settings.height || data == nullptr ||
        !PackNV12(data, width, height, yPitch, uvPitch, m_nv12)) {
        Finish(kNv12Path.name, false, out, gotOutput, start);
        return false;
    }
    if (const char* label = StatsLabelDue(g_nv12StatsGate, kNv12Path, start)) {
        LogNv12Stats(label, Nv12StatsSource::Encoder, data, width, height, yPitch, uvPitch);
    }
    const bool ok = Encode(kNv12Path, out, gotOutput);
    Finish(kNv12Path.name, ok, out, gotOutput, start);
    return ok;
}

bool H264EncoderMF::EncodeBGRA(const uint8_t* data, int32_t width, int32_t height, std::vector<uint8_t>& out,
                               bool& gotOutput) {
    const uint32_t start = ::GetTickCount();
    out.clear();
    gotOutput = false;
    if (!m_ready || width != m_settings.width || height != m_settings.height || data == nullptr) {
        Finish(kBgraPath.name, false, out, gotOutput, start);
        return false;
    }
    if (!ConvertBGRAtoNV12(data, width, height, m_nv12)) {
        Log::Write("[VIDEO][ENC][ERR] ConvertBGRAtoNV12 failed path=BGRA size=%dx%d", width, height);
        Finish(kBgraPath.name, false, out, gotOutput, start);
        return false;
    }
    if (!g_bgraConvertLogged.exchange(true)) {
        Log::Write(
            "[COLOR][ENC][BGRA-CONVERT] CPU BGRA->NV12 formula=BT709_full_range MFRange=0_255 matrix=BT709");
        LogNv12Stats("[COLOR][ENC][BGRA-CONVERT-FIRST]", Nv12StatsSource::Encoder, m_nv12.data(), width,
                     height, width, width);
    }
    if (const char* label = StatsLabelDue(g_bgraStatsGate, kBgraPath, start)) {
        LogNv12Stats(label, Nv12StatsSource::Encoder, m_nv12.data(), width, height, width, width);
    }
    const bool ok = Encode(kBgraPath, out, gotOutput);
    Finish(kBgraPath.name, ok, out, gotOutput, start);
    return ok;
}

bool H264EncoderMF::Encode(const EncoderInputPath& path, std::vector<uint8_t>& out, bool& gotOutput) {
    if (!SubmitInput(path)) {
        return false;
    }
    if (!Drain(out, gotOutput)) {
        return false;
    }
    if (gotOutput && !out.empty()) {
        CompleteParameterSets(out);
    }
    return true;
}

bool H264EncoderMF::SubmitInput(const EncoderInputPath& path) {
    const DWORD bytes = static_cast<DWORD>(m_nv12.size());
    ComPtr<IMFMediaBuffer> buffer;
    HRESULT hr = ::MFCreateMemoryBuffer(bytes, &buffer);
    if (FAILED(hr)) {
        Fail(path.createBuffer, hr);
        return false;
    }
    BYTE* target = nullptr;
    if (FAILED(hr = buffer->Lock(&target, nullptr, nullptr))) {
        Fail(path.lockBuffer, hr);
        return false;
    }
    std::memcpy(target, m_nv12.data(), bytes);
    buffer->Unlock();
    buffer->SetCurrentLength(bytes);

    ComPtr<IMFSample> sample;
    if (FAILED(hr = ::MFCreateSample(&sample))) {
        Fail(path.createSample, hr);
        return false;
    }
    sample->AddBuffer(buffer.Get());
    sample->SetSampleTime(m_sampleTime);
    sample->SetSampleDuration(m_settings.frameDuration100ns);
    m_sampleTime += m_settings.frameDuration100ns;
    {
        StallScope stall("VideoEncode", "ProcessInput", kEncodeStallMs);
        hr = m_transform->ProcessInput(0, sample.Get(), 0);
    }
    if (FAILED(hr)) {
        Fail(path.processInput, hr);
        return false;
    }
    return true;
}

bool H264EncoderMF::Drain(std::vector<uint8_t>& out, bool& gotOutput) {
    MFT_OUTPUT_STREAM_INFO info = {};
    HRESULT hr = m_transform->GetOutputStreamInfo(0, &info);
    if (FAILED(hr)) {
        Fail("GetOutputStreamInfo failed", hr);
        return false;
    }
    const DWORD bufferBytes = info.cbSize != 0 ? info.cbSize : kEncoderDefaultOutputBuffer;
    for (int outputs = 0; outputs < kMaxOutputsPerFrame; ++outputs) {
        ComPtr<IMFMediaBuffer> buffer;
        if (FAILED(hr = ::MFCreateMemoryBuffer(bufferBytes, &buffer))) {
            Fail("Create output buffer failed", hr);
            return false;
        }
        ComPtr<IMFSample> sample;
        if (FAILED(hr = ::MFCreateSample(&sample)) || FAILED(hr = sample->AddBuffer(buffer.Get()))) {
            Fail("Create output sample failed", hr);
            return false;
        }
        MFT_OUTPUT_DATA_BUFFER output = {};
        output.dwStreamID = 0;
        output.pSample = sample.Get();
        DWORD status = 0;
        {
            StallScope stall("VideoEncode", "ProcessOutput", kEncodeStallMs);
            hr = m_transform->ProcessOutput(0, 1, &output, &status);
        }
        if (output.pEvents != nullptr) {
            output.pEvents->Release();
        }
        if (hr == MF_E_TRANSFORM_NEED_MORE_INPUT) {
            return true;
        }
        if (hr == MF_E_TRANSFORM_STREAM_CHANGE) {
            // Output held back behind the change would make the next ProcessInput fail (not accepting), so
            // the drain goes on once the new type is set; without one it ends here.
            Log::Write("ProcessOutput stream change");
            if (!RenegotiateOutputType()) {
                return true;
            }
            continue;
        }
        if (FAILED(hr)) {
            Fail("ProcessOutput failed", hr);
            return false;
        }
        AppendSampleBytes(sample.Get(), out);
        gotOutput = true;
    }
    return true;
}

bool H264EncoderMF::RenegotiateOutputType() {
    // The transform hands out nothing more until its output type is set again; it offers the changed one.
    ComPtr<IMFMediaType> type;
    HRESULT hr = m_transform->GetOutputAvailableType(0, 0, &type);
    if (SUCCEEDED(hr)) {
        hr = m_transform->SetOutputType(0, type.Get(), 0);
    }
    if (FAILED(hr)) {
        Log::Write("Output type renegotiation failed %s", HResultToText(hr));
        return false;
    }
    return true;
}

void H264EncoderMF::CompleteParameterSets(std::vector<uint8_t>& out) {
    if (m_parameterSets.Update(out.data(), out.size())) {
        Log::Write("Encoder cached SPS/PPS bytes=%lu", static_cast<unsigned long>(m_parameterSets.Bytes()));
        const std::vector<uint8_t>& sps = m_parameterSets.Sps();
        if (!sps.empty() && !g_spsChecked.exchange(true)) {
            LogSpsColorCheck(sps.data(), sps.size());
        }
    }
    if (m_parameterSets.CompleteOutput(out, ScanNalTypes(out.data(), out.size()))) {
        Log::Write("Encoder prepended cached SPS/PPS before IDR, frame=%lu size=%lu",
                   static_cast<unsigned long>(m_stats.FrameNumber() + 1),
                   static_cast<unsigned long>(out.size()));
    }
}

void H264EncoderMF::Finish(const char* path, bool ok, const std::vector<uint8_t>& out, bool gotOutput,
                           uint32_t startTick) {
    const uint32_t now = ::GetTickCount();
    EncodedFrameRecord frame;
    frame.ok = ok;
    frame.gotOutput = gotOutput;
    frame.bytes = out.size();
    frame.nal = ScanNalTypes(out.data(), out.size());
    frame.encodeMs = now - startTick;
    if (m_stats.Record(frame, now, Log::IsDebugCategoryEnabled("media"))) {
        Log::Write("%s", m_stats.FrameLine(path, frame, m_settings, m_sampleTime).c_str());
    }
    const std::string window = m_stats.TakeWindowLine(path, m_settings, now);
    if (!window.empty()) {
        Log::Write("%s", window.c_str());
    }
}

void H264EncoderMF::Shutdown() {
    if (m_transform) {
        m_transform->ProcessMessage(MFT_MESSAGE_NOTIFY_END_OF_STREAM, 0);
        m_transform->ProcessMessage(MFT_MESSAGE_NOTIFY_END_STREAMING, 0);
        m_transform.Reset();
    }
    m_parameterSets.Clear();
    m_nv12.clear();
    m_nv12.shrink_to_fit();
    m_ready = false;
}
