#include "H264TestDecoder.h"

#include <windows.h>
#include <mfapi.h>
#include <mferror.h>
#include <mfidl.h>
#include <mftransform.h>
#include <wmcodecdsp.h>
#include <wrl/client.h>

#include <cstdio>
#include <cstring>

using Microsoft::WRL::ComPtr;

namespace {

std::string Failed(const char* what, HRESULT hr) {
    char text[128];
    std::snprintf(text, sizeof text, "%s hr=0x%08lX", what, static_cast<unsigned long>(hr));
    return text;
}

// Picks the NV12 output the decoder offers.
HRESULT SelectNv12Output(IMFTransform* decoder) {
    for (DWORD i = 0; i < 64; ++i) {
        ComPtr<IMFMediaType> type;
        HRESULT hr = decoder->GetOutputAvailableType(0, i, &type);
        if (FAILED(hr))
            return hr;
        GUID subtype = {};
        if (SUCCEEDED(type->GetGUID(MF_MT_SUBTYPE, &subtype)) && subtype == MFVideoFormat_NV12)
            return decoder->SetOutputType(0, type.Get(), 0);
    }
    return MF_E_NO_MORE_TYPES;
}

class Decoder {
public:
    Decoder(int32_t width, int32_t height, std::vector<DecodedPicture>& pictures)
        : m_width(width), m_height(height), m_pictures(pictures) {}

    std::string Open() {
        HRESULT hr = ::CoCreateInstance(CLSID_CMSH264DecoderMFT, nullptr, CLSCTX_INPROC_SERVER,
                                        IID_PPV_ARGS(&m_decoder));
        if (FAILED(hr))
            return Failed("CoCreateInstance(CLSID_CMSH264DecoderMFT)", hr);
        ComPtr<IMFMediaType> in;
        hr = ::MFCreateMediaType(&in);
        if (SUCCEEDED(hr))
            hr = in->SetGUID(MF_MT_MAJOR_TYPE, MFMediaType_Video);
        if (SUCCEEDED(hr))
            hr = in->SetGUID(MF_MT_SUBTYPE, MFVideoFormat_H264);
        if (SUCCEEDED(hr))
            hr = MFSetAttributeSize(in.Get(), MF_MT_FRAME_SIZE, m_width, m_height);
        if (SUCCEEDED(hr))
            hr = MFSetAttributeRatio(in.Get(), MF_MT_FRAME_RATE, 30, 1);
        if (SUCCEEDED(hr))
            hr = m_decoder->SetInputType(0, in.Get(), 0);
        if (FAILED(hr))
            return Failed("decoder input type", hr);
        if (FAILED(hr = SelectNv12Output(m_decoder.Get())))
            return Failed("decoder NV12 output type", hr);
        m_decoder->ProcessMessage(MFT_MESSAGE_NOTIFY_BEGIN_STREAMING, 0);
        m_decoder->ProcessMessage(MFT_MESSAGE_NOTIFY_START_OF_STREAM, 0);
        return {};
    }

    std::string Feed(const std::vector<uint8_t>& unit, LONGLONG time) {
        ComPtr<IMFMediaBuffer> buffer;
        HRESULT hr = ::MFCreateMemoryBuffer(static_cast<DWORD>(unit.size()), &buffer);
        if (FAILED(hr))
            return Failed("MFCreateMemoryBuffer", hr);
        BYTE* bytes = nullptr;
        buffer->Lock(&bytes, nullptr, nullptr);
        std::memcpy(bytes, unit.data(), unit.size());
        buffer->Unlock();
        buffer->SetCurrentLength(static_cast<DWORD>(unit.size()));
        ComPtr<IMFSample> sample;
        ::MFCreateSample(&sample);
        sample->AddBuffer(buffer.Get());
        sample->SetSampleTime(time);
        sample->SetSampleDuration(333333);
        for (int attempt = 0; attempt < 2; ++attempt) {
            hr = m_decoder->ProcessInput(0, sample.Get(), 0);
            if (hr != MF_E_NOTACCEPTING)
                break;
            std::string error = Drain();
            if (!error.empty())
                return error;
        }
        if (FAILED(hr))
            return Failed("decoder ProcessInput", hr);
        return Drain();
    }

    std::string Finish() {
        m_decoder->ProcessMessage(MFT_MESSAGE_NOTIFY_END_OF_STREAM, 0);
        m_decoder->ProcessMessage(MFT_MESSAGE_COMMAND_DRAIN, 0);
        return Drain();
    }

private:
    std::string Drain() {
        for (int round = 0; round < 64; ++round) {
            MFT_OUTPUT_STREAM_INFO info = {};
            HRESULT hr = m_decoder->GetOutputStreamInfo(0, &info);
            if (FAILED(hr))
                return Failed("decoder GetOutputStreamInfo", hr);
            const bool provides = (info.dwFlags & (MFT_OUTPUT_STREAM_PROVIDES_SAMPLES |
                                                   MFT_OUTPUT_STREAM_CAN_PROVIDE_SAMPLES)) != 0;
            ComPtr<IMFSample> sample;
            if (!provides) {
                ComPtr<IMFMediaBuffer> buffer;
                const DWORD size =
                    info.cbSize != 0 ? info.cbSize : static_cast<DWORD>(m_width * m_height * 2);
                ::MFCreateMemoryBuffer(size, &buffer);
                ::MFCreateSample(&sample);
                sample->AddBuffer(buffer.Get());
            }
            MFT_OUTPUT_DATA_BUFFER output = {};
            output.pSample = sample.Get();
            DWORD status = 0;
            hr = m_decoder->ProcessOutput(0, 1, &output, &status);
            if (output.pEvents != nullptr)
                output.pEvents->Release();
            if (hr == MF_E_TRANSFORM_NEED_MORE_INPUT)
                return {};
            if (hr == MF_E_TRANSFORM_STREAM_CHANGE) {
                if (FAILED(hr = SelectNv12Output(m_decoder.Get())))
                    return Failed("decoder output type after stream change", hr);
                continue;
            }
            if (FAILED(hr))
                return Failed("decoder ProcessOutput", hr);
            IMFSample* produced = output.pSample;
            TakePicture(produced);
            if (provides && produced != nullptr)
                produced->Release();
        }
        return "decoder kept producing output";
    }

    void TakePicture(IMFSample* sample) {
        ComPtr<IMFMediaType> type;
        UINT32 width = m_width;
        UINT32 height = m_height;
        UINT32 stride = 0;
        if (SUCCEEDED(m_decoder->GetOutputCurrentType(0, &type))) {
            MFGetAttributeSize(type.Get(), MF_MT_FRAME_SIZE, &width, &height);
            type->GetUINT32(MF_MT_DEFAULT_STRIDE, &stride);
        }
        if (static_cast<int32_t>(stride) < static_cast<int32_t>(width))
            stride = width;
        ComPtr<IMFMediaBuffer> buffer;
        if (FAILED(sample->ConvertToContiguousBuffer(&buffer)))
            return;
        BYTE* bytes = nullptr;
        DWORD length = 0;
        buffer->Lock(&bytes, nullptr, &length);
        DecodedPicture picture;
        picture.width = static_cast<int32_t>(width);
        picture.height = static_cast<int32_t>(height);
        if (static_cast<size_t>(stride) * height <= length) {
            for (UINT32 row = 0; row < height; ++row)
                picture.luma.insert(picture.luma.end(), bytes + row * stride, bytes + row * stride + width);
        }
        buffer->Unlock();
        m_pictures.push_back(std::move(picture));
    }

    int32_t m_width;
    int32_t m_height;
    std::vector<DecodedPicture>& m_pictures;
    ComPtr<IMFTransform> m_decoder;
};

} // namespace

bool DecodeH264ForTest(const std::vector<std::vector<uint8_t>>& accessUnits, int32_t width, int32_t height,
                       std::vector<DecodedPicture>& pictures, std::string& error) {
    Decoder decoder(width, height, pictures);
    error = decoder.Open();
    LONGLONG time = 0;
    for (size_t i = 0; error.empty() && i < accessUnits.size(); ++i, time += 333333)
        error = decoder.Feed(accessUnits[i], time);
    if (error.empty())
        error = decoder.Finish();
    return error.empty();
}
