#include <objbase.h>

#include <mfapi.h>

#include <utility>

#include "core/win/Handles.h"
#include "media/SessionClock.h"
#include "media/TileJpegDecoder.h"
#include "media/win/ClientPlatformWin.h"
#include "media/win/H264DecoderMF.h"
#include "media/win/TileWorkerPriority.h"

namespace {

class H264DecoderPort final : public IClientDecoder {
public:
    ~H264DecoderPort() override { m_decoder.Release(); }
    bool Init(int32_t widthHint, int32_t heightHint) { return m_decoder.Init(widthHint, heightHint); }

    bool IsTiles() const override { return false; }
    ClientDecodeStatus Decode(const ClientVideoFrame& frame, ClientPicture& picture,
                              double& decodeMs) override {
        const double start = NowMs();
        // The old picture's storage goes back to the decoder, which swaps it with the newest picture.
        m_picture.bytes.swap(picture.pixels);
        m_picture.got = false;
        const bool ok = m_decoder.Decode(frame.payload.data(), frame.payload.size(), m_picture);
        decodeMs = NowMs() - start;
        if (!ok)
            return ClientDecodeStatus::Failed;
        if (!m_picture.got)
            return ClientDecodeStatus::NeedMore;
        picture.pixels.swap(m_picture.bytes);
        picture.width = m_picture.width;
        picture.height = m_picture.height;
        picture.stride = 0;
        picture.nv12 = IsEqualGUID(m_picture.subtype, MFVideoFormat_NV12) != 0;
        return ClientDecodeStatus::Picture;
    }
    void EndStream() override { m_decoder.Release(); }

private:
    // The transform needs COM on the session thread that creates and drives it (Media Foundation itself is
    // started for the process at start-up). Declared first, so the transform is gone before COM is left.
    ComApartment m_com;
    H264DecoderMF m_decoder;
    H264DecodedPicture m_picture;
};

class TileDecoderPort final : public IClientDecoder {
public:
    explicit TileDecoderPort(std::unique_ptr<TileJpegDecoder> decoder) : m_decoder(std::move(decoder)) {}
    bool IsTiles() const override { return true; }
    ClientDecodeStatus Decode(const ClientVideoFrame& frame, ClientPicture& picture,
                              double& decodeMs) override {
        // The container must carry exactly the size its header announced.
        if (!m_decoder->Decode(frame.payload.data(), frame.payload.size(), frame.videoWidth,
                               frame.videoHeight, picture.pixels, &decodeMs))
            return ClientDecodeStatus::Failed;
        picture.width = frame.videoWidth;
        picture.height = frame.videoHeight;
        picture.stride = frame.videoWidth * 4;
        picture.nv12 = false;
        return ClientDecodeStatus::Picture;
    }
    void EndStream() override { m_decoder->Destroy(); }

private:
    std::unique_ptr<TileJpegDecoder> m_decoder;
};

} // namespace

std::unique_ptr<IClientDecoder> CreateH264DecoderPort(int32_t widthHint, int32_t heightHint) {
    auto decoder = std::make_unique<H264DecoderPort>();
    if (!decoder->Init(widthHint, heightHint))
        return nullptr;
    return decoder;
}

std::unique_ptr<IClientDecoder> CreateTileDecoderPort() {
    std::unique_ptr<TileJpegDecoder> decoder = TileJpegDecoder::Create(TileWorkerPriorityLauncher());
    if (!decoder || !decoder->IsReady())
        return nullptr;
    return std::make_unique<TileDecoderPort>(std::move(decoder));
}
