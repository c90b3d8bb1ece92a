#include <utility>

#include "core/Log.h"
#include "media/TileJpegDecoder.h"
#include "media/win/ClientPlatformWin.h"
#include "media/win/TileWorkerPriority.h"

namespace {

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

std::unique_ptr<IClientDecoder> CreateTileDecoderPort() {
    std::unique_ptr<TileJpegDecoder> decoder = TileJpegDecoder::Create(TileWorkerPriorityLauncher());
    if (!decoder || !decoder->IsReady())
        return nullptr;
    return std::make_unique<TileDecoderPort>(std::move(decoder));
}
