// The host pipeline's encoder ports: the Media Foundation H.264 encoder and the JPEG tile codec.
#include <objbase.h>

#include <memory>

#include "core/win/Handles.h"
#include "media/TileJpegEncoder.h"
#include "media/VideoFrameHeader.h"
#include "media/win/H264EncoderMF.h"
#include "media/win/HostPlatformWin.h"
#include "media/win/TileWorkerPriority.h"

namespace {

class H264EncoderPort final : public IHostEncoder {
public:
    ~H264EncoderPort() override { m_encoder.Shutdown(); }
    bool Init(int32_t width, int32_t height, int32_t fps, int32_t bitrate) override {
        return m_encoder.Init(width, height, fps, bitrate);
    }
    bool Encode(const HostFrame& frame, std::vector<uint8_t>& out) override {
        bool gotOutput = false;
        const bool ok =
            frame.nv12
                ? m_encoder.EncodeNV12(frame.pixels.data(), frame.width, frame.height, 0, 0, out, gotOutput)
                : m_encoder.EncodeBGRA(frame.pixels.data(), frame.width, frame.height, out, gotOutput);
        if (ok && !gotOutput)
            out.clear();
        return ok;
    }
    void Shutdown() override { m_encoder.Shutdown(); }
    uint32_t CodecFlag() const override { return static_cast<uint32_t>(VideoCodecFlag::H264); }

private:
    // The transform needs COM on the session thread that creates and drives it. Declared first, so the
    // transform is shut down before COM is left.
    ComApartment m_com;
    H264EncoderMF m_encoder;
};

class TileEncoderPort final : public IHostEncoder {
public:
    bool Init(int32_t, int32_t, int32_t, int32_t) override {
        m_encoder = TileJpegEncoder::Create(TileWorkerPriorityLauncher());
        return m_encoder && m_encoder->IsReady();
    }
    bool Encode(const HostFrame& frame, std::vector<uint8_t>& out) override {
        return m_encoder && !frame.nv12 &&
               m_encoder->Encode(frame.pixels.data(), frame.width, frame.height, out);
    }
    void Shutdown() override { m_encoder.reset(); }
    uint32_t CodecFlag() const override { return static_cast<uint32_t>(VideoCodecFlag::Tiles); }

private:
    std::unique_ptr<TileJpegEncoder> m_encoder;
};

} // namespace

std::unique_ptr<IHostEncoder> CreateHostEncoder(bool ultra) {
    if (ultra)
        return std::make_unique<TileEncoderPort>();
    return std::make_unique<H264EncoderPort>();
}
