#pragma once

#include <atomic>
#include <functional>
#include <memory>

#include "media/ClientSessionRunBody.h"

// The controller pipeline's ports on Windows: the TCP video receiver, the tile decoder on its raised-
// priority pool, the H.264 decoder and the RemoteView renderer. Install ClientSessionRunBody over
// Instance() at start-up; tests make their own with a recording renderer.
class Win32ClientPlatform final : public IClientPlatform {
public:
    using H264DecoderMaker =
        std::function<std::unique_ptr<IClientDecoder>(int32_t widthHint, int32_t heightHint)>;

    static Win32ClientPlatform& Instance();

    Win32ClientPlatform();
    ~Win32ClientPlatform() override;
    IClientClock& Clock() override;
    IClientDecoderFactory& Decoders() override;
    IClientRenderer& Renderer() override;
    std::unique_ptr<IClientVideoReceiver>
    CreateVideoReceiver(std::function<bool(const std::string& ip)> accept) override;

    // Installed at start-up, before the first session (RemoteViewRendererPort; tests their own). Until one is
    // set every renderer start fails and the session keeps retrying.
    void SetRenderer(IClientRenderer* renderer);

private:
    class DecoderFactory;
    std::unique_ptr<DecoderFactory> m_decoders;
    std::atomic<IClientRenderer*> m_renderer{nullptr};
};

// The receiver over TcpVideoReceiver. Close may come from Stop on another thread: every call runs under
// one mutex (Receive holds it for at most the 5 ms accept poll), and after Close nothing listens again.
std::unique_ptr<IClientVideoReceiver>
CreateTcpVideoReceiverPort(std::function<bool(const std::string& ip)> accept);
// The Media Foundation H.264 decoder with COM on the calling thread; null when it cannot be made.
std::unique_ptr<IClientDecoder> CreateH264DecoderPort(int32_t widthHint, int32_t heightHint);
// The ULTRA decoder with four decompressors on a raised-priority pool; null when it cannot be made ready.
std::unique_ptr<IClientDecoder> CreateTileDecoderPort();
// The RemoteView render thread's start, stop and frame submit (RemoteViewRenderer.h).
IClientRenderer& RemoteViewRendererPort();
