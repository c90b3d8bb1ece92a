#include "media/win/ClientPlatformWin.h"

#include <windows.h>

#include <utility>

#include "core/Log.h"

namespace {

class TickClock final : public IClientClock {
public:
    uint32_t Now() override { return Log::TickCount(); }
    void Wait(uint32_t ms) override { ::Sleep(ms); }
};

// Until the render thread is installed: every start fails and says why once.
class NoRenderer final : public IClientRenderer {
public:
    bool Start(int32_t width, int32_t height) override {
        if (!m_logged.exchange(true))
            Log::Write("[RENDER][CLIENT] no RemoteView renderer installed; start %dx%d refused", width,
                       height);
        return false;
    }
    void Stop() override {}
    bool IsRunning() override { return false; }
    bool SubmitNv12(const std::vector<uint8_t>&, int32_t, int32_t, int32_t, int32_t) override {
        return false;
    }
    bool SubmitBgra(const std::vector<uint8_t>&, int32_t, int32_t, int32_t, int32_t, int32_t) override {
        return false;
    }

private:
    std::atomic<bool> m_logged{false};
};

} // namespace

class Win32ClientPlatform::DecoderFactory final : public IClientDecoderFactory {
public:
    std::unique_ptr<IClientDecoder> CreateH264(int32_t widthHint, int32_t heightHint) override {
        return CreateH264DecoderPort(widthHint, heightHint);
    }
    std::unique_ptr<IClientDecoder> CreateTiles() override { return CreateTileDecoderPort(); }
};

Win32ClientPlatform& Win32ClientPlatform::Instance() {
    static Win32ClientPlatform* platform = new Win32ClientPlatform();
    return *platform;
}

Win32ClientPlatform::Win32ClientPlatform() : m_decoders(std::make_unique<DecoderFactory>()) {}

Win32ClientPlatform::~Win32ClientPlatform() = default;

IClientClock& Win32ClientPlatform::Clock() {
    static TickClock* clock = new TickClock();
    return *clock;
}

IClientDecoderFactory& Win32ClientPlatform::Decoders() {
    return *m_decoders;
}

IClientRenderer& Win32ClientPlatform::Renderer() {
    static NoRenderer* none = new NoRenderer();
    IClientRenderer* renderer = m_renderer.load();
    return renderer != nullptr ? *renderer : *none;
}

std::unique_ptr<IClientVideoReceiver>
Win32ClientPlatform::CreateVideoReceiver(std::function<bool(const std::string&)> accept) {
    return CreateTcpVideoReceiverPort(std::move(accept));
}

void Win32ClientPlatform::SetRenderer(IClientRenderer* renderer) {
    m_renderer.store(renderer);
}
