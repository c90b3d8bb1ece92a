// Drives whatever is registered as CLSID_CMSH264EncoderMFT in this prefix the way a Media Foundation
// client does (output type first, streaming messages, one input then drain), on moving NV12 test frames.
// The end-to-end run uses it to show that the stand-in encoder loads by its class id and that its stream
// decodes to the frames it was given:
//   StandInEncoderProbe WIDTH HEIGHT FRAMES OUT   writes OUT.nv12 (the input) and OUT.h264 (Annex-B)
// Exit 0 when every call behaved as documented; otherwise a message on stderr and exit 1.
#include <windows.h>

#include <mfapi.h>
#include <mferror.h>
#include <mfidl.h>
#include <mftransform.h>
#include <wmcodecdsp.h>
#include <wrl/client.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

using Microsoft::WRL::ComPtr;

namespace {

bool Fail(const char* what, HRESULT hr) {
    std::fprintf(stderr, "StandInEncoderProbe: %s (hr=0x%08lX)\n", what, static_cast<unsigned long>(hr));
    return false;
}

ComPtr<IMFMediaType> VideoType(const GUID& subtype, UINT32 width, UINT32 height) {
    ComPtr<IMFMediaType> type;
    if (FAILED(MFCreateMediaType(&type)))
        return nullptr;
    type->SetGUID(MF_MT_MAJOR_TYPE, MFMediaType_Video);
    type->SetGUID(MF_MT_SUBTYPE, subtype);
    type->SetUINT32(MF_MT_INTERLACE_MODE, MFVideoInterlace_Progressive);
    MFSetAttributeSize(type.Get(), MF_MT_FRAME_SIZE, width, height);
    MFSetAttributeRatio(type.Get(), MF_MT_FRAME_RATE, 30, 1);
    MFSetAttributeRatio(type.Get(), MF_MT_PIXEL_ASPECT_RATIO, 1, 1);
    type->SetUINT32(MF_MT_VIDEO_NOMINAL_RANGE, MFNominalRange_0_255);
    type->SetUINT32(MF_MT_YUV_MATRIX, MFVideoTransferMatrix_BT709);
    if (subtype == MFVideoFormat_H264)
        type->SetUINT32(MF_MT_AVG_BITRATE, 8000000);
    return type;
}

// Flat blocks of distinct luma and chroma; the block grid shifts by one block every few frames.
void FillFrame(std::vector<uint8_t>& nv12, UINT32 width, UINT32 height, int frame) {
    const UINT32 block = 32;
    for (UINT32 y = 0; y < height; ++y)
        for (UINT32 x = 0; x < width; ++x)
            nv12[y * width + x] = static_cast<uint8_t>(40 + ((x / block + y / block + frame / 4) * 37) % 180);
    uint8_t* uv = nv12.data() + width * height;
    for (UINT32 y = 0; y < height / 2; ++y)
        for (UINT32 x = 0; x < width / 2; ++x) {
            const UINT32 n = (2 * x) / block + (2 * y) / block + frame / 4;
            uv[y * width + 2 * x] = static_cast<uint8_t>(64 + (n * 53) % 128);
            uv[y * width + 2 * x + 1] = static_cast<uint8_t>(64 + (n * 29) % 128);
        }
}

bool Drain(IMFTransform* mft, DWORD bufferSize, std::vector<uint8_t>& stream, bool& got) {
    got = false;
    for (int round = 0; round < 8; ++round) {
        ComPtr<IMFSample> sample;
        ComPtr<IMFMediaBuffer> buffer;
        if (FAILED(MFCreateSample(&sample)) || FAILED(MFCreateMemoryBuffer(bufferSize, &buffer)) ||
            FAILED(sample->AddBuffer(buffer.Get())))
            return Fail("output sample", E_FAIL);
        MFT_OUTPUT_DATA_BUFFER out{};
        out.pSample = sample.Get();
        DWORD status = 0;
        HRESULT hr = mft->ProcessOutput(0, 1, &out, &status);
        if (out.pEvents)
            out.pEvents->Release();
        if (hr == MF_E_TRANSFORM_NEED_MORE_INPUT)
            return true;
        if (FAILED(hr))
            return Fail("ProcessOutput", hr);
        BYTE* data = nullptr;
        DWORD length = 0;
        if (FAILED(buffer->Lock(&data, nullptr, &length)))
            return Fail("output Lock", E_FAIL);
        stream.insert(stream.end(), data, data + length);
        buffer->Unlock();
        got = got || length > 0;
    }
    return Fail("ProcessOutput never asked for more input", E_FAIL);
}

bool WriteBytes(const std::wstring& path, const std::vector<uint8_t>& bytes) {
    FILE* f = _wfopen(path.c_str(), L"wb");
    if (f == nullptr)
        return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

bool Run(UINT32 width, UINT32 height, int frames, const std::wstring& out) {
    ComPtr<IMFTransform> mft;
    HRESULT hr = CoCreateInstance(CLSID_CMSH264EncoderMFT, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&mft));
    if (FAILED(hr))
        return Fail("CoCreateInstance(CLSID_CMSH264EncoderMFT)", hr);
    ComPtr<IMFAttributes> attributes;
    if (FAILED(hr = mft->GetAttributes(&attributes)) ||
        FAILED(hr = attributes->SetUINT32(MF_LOW_LATENCY, TRUE)))
        return Fail("MF_LOW_LATENCY on the transform's attributes", hr);

    ComPtr<IMFMediaType> input = VideoType(MFVideoFormat_NV12, width, height);
    ComPtr<IMFMediaType> output = VideoType(MFVideoFormat_H264, width, height);
    if (!input || !output)
        return Fail("MFCreateMediaType", E_FAIL);
    if (mft->SetInputType(0, input.Get(), 0) != MF_E_TRANSFORM_TYPE_NOT_SET)
        return Fail("the input type was taken before an output type", E_FAIL);
    if (FAILED(hr = mft->SetOutputType(0, output.Get(), 0)))
        return Fail("SetOutputType H.264", hr);
    ComPtr<IMFMediaType> odd = VideoType(MFVideoFormat_NV12, width + 2, height);
    if (mft->SetInputType(0, odd.Get(), 0) != MF_E_INVALIDMEDIATYPE)
        return Fail("an input size other than the output's was taken", E_FAIL);
    if (FAILED(hr = mft->SetInputType(0, input.Get(), 0)))
        return Fail("SetInputType NV12", hr);
    for (MFT_MESSAGE_TYPE m :
         {MFT_MESSAGE_COMMAND_FLUSH, MFT_MESSAGE_NOTIFY_BEGIN_STREAMING, MFT_MESSAGE_NOTIFY_START_OF_STREAM})
        if (FAILED(hr = mft->ProcessMessage(m, 0)))
            return Fail("ProcessMessage", hr);
    MFT_OUTPUT_STREAM_INFO info{};
    if (FAILED(hr = mft->GetOutputStreamInfo(0, &info)) || info.cbSize == 0)
        return Fail("GetOutputStreamInfo", hr);

    std::vector<uint8_t> stream;
    bool got = false;
    if (!Drain(mft.Get(), info.cbSize, stream, got) || got)
        return Fail("output before any input", E_FAIL);

    const DWORD frameBytes = width * height * 3 / 2;
    std::vector<uint8_t> nv12(frameBytes);
    std::vector<uint8_t> inputs;
    for (int i = 0; i < frames; ++i) {
        FillFrame(nv12, width, height, i);
        inputs.insert(inputs.end(), nv12.begin(), nv12.end());
        ComPtr<IMFSample> sample;
        ComPtr<IMFMediaBuffer> buffer;
        BYTE* data = nullptr;
        if (FAILED(MFCreateMemoryBuffer(frameBytes, &buffer)) ||
            FAILED(buffer->Lock(&data, nullptr, nullptr)))
            return Fail("input buffer", E_FAIL);
        std::memcpy(data, nv12.data(), frameBytes);
        buffer->Unlock();
        buffer->SetCurrentLength(frameBytes);
        if (FAILED(MFCreateSample(&sample)) || FAILED(sample->AddBuffer(buffer.Get())))
            return Fail("input sample", E_FAIL);
        sample->SetSampleTime(i * 333333LL);
        sample->SetSampleDuration(333333LL);
        if (FAILED(hr = mft->ProcessInput(0, sample.Get(), 0)))
            return Fail("ProcessInput", hr);
        if (i == 0 && mft->ProcessInput(0, sample.Get(), 0) != MF_E_NOTACCEPTING)
            return Fail("a second input was taken before the output was drained", E_FAIL);
        if (!Drain(mft.Get(), info.cbSize, stream, got))
            return false;
        if (!got)
            return Fail("no output for an input frame", E_FAIL);
    }
    mft->ProcessMessage(MFT_MESSAGE_NOTIFY_END_OF_STREAM, 0);
    mft->ProcessMessage(MFT_MESSAGE_NOTIFY_END_STREAMING, 0);
    if (!WriteBytes(out + L".nv12", inputs) || !WriteBytes(out + L".h264", stream))
        return Fail("writing the output files", E_FAIL);
    std::printf("StandInEncoderProbe: %d frames %ux%u -> %zu bytes\n", frames, width, height, stream.size());
    return true;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: StandInEncoderProbe WIDTH HEIGHT FRAMES OUT\n");
        return 2;
    }
    const UINT32 width = std::wcstoul(argv[1], nullptr, 10);
    const UINT32 height = std::wcstoul(argv[2], nullptr, 10);
    const int frames = static_cast<int>(std::wcstol(argv[3], nullptr, 10));
    if (width < 16 || height < 16 || width % 2 || height % 2 || width > 4096 || height > 4096 || frames < 1 ||
        frames > 300) {
        std::fprintf(stderr, "StandInEncoderProbe: bad size or frame count\n");
        return 2;
    }
    if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) ||
        FAILED(MFStartup(MF_VERSION, MFSTARTUP_FULL)))
        return Fail("CoInitializeEx/MFStartup", E_FAIL) ? 0 : 1;
    const bool ok = Run(width, height, frames, argv[4]);
    MFShutdown();
    CoUninitialize();
    return ok ? 0 : 1;
}
