#include "media/RemoteViewFrame.h"
#include "media/win/ClientPlatformWin.h"
#include "media/win/RemoteViewRenderer.h"

namespace {

class RemoteViewRenderer final : public IClientRenderer {
public:
    bool Start(int32_t width, int32_t height) override { return RemoteViewStartRenderer(width, height); }
    void Stop() override { RemoteViewStopRenderer(); }
    bool IsRunning() override { return RemoteViewIsRendererRunning(); }
    bool SubmitNv12(const std::vector<uint8_t>& pixels, int32_t codedWidth, int32_t codedHeight,
                    int32_t visibleWidth, int32_t visibleHeight) override {
        return pixels.size() >= Nv12PictureBytes(codedWidth, codedHeight) &&
               RemoteViewSubmitNv12Frame(pixels.data(), codedWidth, codedHeight, visibleWidth, visibleHeight);
    }
    bool SubmitBgra(const std::vector<uint8_t>& pixels, int32_t width, int32_t height, int32_t visibleWidth,
                    int32_t visibleHeight, int32_t stride) override {
        const size_t rows = height > 0 ? static_cast<size_t>(height) : 0;
        return stride > 0 && pixels.size() >= static_cast<size_t>(stride) * rows &&
               RemoteViewSubmitBgraFrame(pixels.data(), width, height, visibleWidth, visibleHeight, stride);
    }
};

} // namespace

IClientRenderer& RemoteViewRendererPort() {
    static RemoteViewRenderer* renderer = new RemoteViewRenderer();
    return *renderer;
}
