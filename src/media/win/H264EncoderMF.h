#pragma once

#include <windows.h>
#include <mftransform.h>
#include <wrl/client.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "media/H264EncoderSettings.h"
#include "media/H264EncoderStats.h"
#include "media/ParameterSetCache.h"

// The log texts of one input path (NV12 or BGRA).
struct EncoderInputPath;

// Turns captured desktop frames into an Annex-B H.264 stream through a Media Foundation encoder transform,
// tuned for low latency: no B-frames, one IDR frame a second, a constant frame duration, and every IDR
// frame carrying its SPS and PPS.
//
// Used by one thread (the host session's); COM and Media Foundation must already be started on it. A
// failed frame is logged, counted and leaves the encoder ready for the next one.
class H264EncoderMF {
public:
    // Makes the encoder transform. The default creates the system's H.264 encoder (CLSID_CMSH264EncoderMFT);
    // tests hand in their own.
    using TransformFactory = std::function<HRESULT(Microsoft::WRL::ComPtr<IMFTransform>& transform)>;

    H264EncoderMF();
    explicit H264EncoderMF(TransformFactory factory);
    ~H264EncoderMF();
    H264EncoderMF(const H264EncoderMF&) = delete;
    H264EncoderMF& operator=(const H264EncoderMF&) = delete;

    // Creates and configures the transform. An fps of 0 or less means the default frame rate. Call again
    // only after Shutdown.
    bool Init(int32_t width, int32_t height, int32_t fps, int32_t bitrate);

    // Encodes one NV12 frame (Y plane, then the U,V plane at yPitch * height). A pitch of 0 or less stands
    // for the width. out receives whatever the transform produced for this call (possibly nothing:
    // gotOutput false); false when the frame failed.
    bool EncodeNV12(const uint8_t* data, int32_t width, int32_t height, int32_t yPitch, int32_t uvPitch,
                    std::vector<uint8_t>& out, bool& gotOutput);

    // Encodes one BGRA frame (rows packed at width * 4) after ConvertBGRAtoNV12.
    bool EncodeBGRA(const uint8_t* data, int32_t width, int32_t height, std::vector<uint8_t>& out,
                    bool& gotOutput);

    // Ends the stream and releases the transform; safe to call when not initialised.
    void Shutdown();

    bool IsReady() const { return m_ready; }
    const H264EncoderSettings& Settings() const { return m_settings; }

private:
    bool Configure();
    void ConfigureCodecApi();
    bool SetOutputType();
    bool SetInputType();
    bool Encode(const EncoderInputPath& path, std::vector<uint8_t>& out, bool& gotOutput);
    bool SubmitInput(const EncoderInputPath& path);
    bool Drain(std::vector<uint8_t>& out, bool& gotOutput);
    bool RenegotiateOutputType();
    void CompleteParameterSets(std::vector<uint8_t>& out);
    void Finish(const char* path, bool ok, const std::vector<uint8_t>& out, bool gotOutput,
                uint32_t startTick);
    void Fail(const char* text, HRESULT hr);

    TransformFactory m_factory;
    Microsoft::WRL::ComPtr<IMFTransform> m_transform;
    H264EncoderSettings m_settings;
    int64_t m_sampleTime = 0;
    H264EncoderStats m_stats;
    ParameterSetCache m_parameterSets;
    std::vector<uint8_t> m_nv12;
    bool m_ready = false;
};
