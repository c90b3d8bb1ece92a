#include <atomic>

#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/StallScope.h"
#include "media/ColorDiagnostics.h"
#include "media/RenderGeometry.h"
#include "media/RendererSizeMove.h"
#include "media/win/Renderer.h"

namespace {

constexpr HRESULT kWasStillDrawing = static_cast<HRESULT>(0x887A000A);
constexpr HRESULT kInvalidCall = static_cast<HRESULT>(0x887A0001);
constexpr uint64_t kNv12StatsIntervalMs = 5000;

unsigned Hex(HRESULT hr) {
    return static_cast<unsigned>(hr);
}

struct Constants {
    float uvScale[2];
    float padding[2];
};

// The first NV12 picture of the process is always described; later ones at most every 5 s.
std::atomic<bool> g_firstNv12Logged{false};

} // namespace

void Renderer::SetSizeMoveActive(bool active) {
    RendererSizeMove::Instance().SetActive(active, ::GetTickCount64());
}

bool Renderer::IsSizeMoveActive() {
    return RendererSizeMove::Instance().Active();
}

bool Renderer::ShouldSkipFrame() {
    const bool leftDown = (::GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0;
    return RendererSizeMove::Instance().ShouldSkipFrame(::GetTickCount64(), leftDown) !=
           RendererSizeMove::Skip::None;
}

void Renderer::LogRemoval(const char* where) {
    if (!m_device)
        return;
    const HRESULT reason = m_device->GetDeviceRemovedReason();
    if (reason != S_OK)
        Log::Write("Renderer device removed/reset at %s reason=0x%08X", where, Hex(reason));
}

bool Renderer::ResizeBuffersIfNeeded(int32_t width, int32_t height) {
    m_resizePending = false;
    const RendererResizeRule::Action action =
        m_resizeRule.Decide(width, height, m_width, m_height, m_targetView != nullptr, ::GetTickCount64());
    switch (action) {
    case RendererResizeRule::Action::Refuse:
        return false;
    case RendererResizeRule::Action::Keep:
        return true;
    case RendererResizeRule::Action::Wait:
        m_resizePending = true;
        return true;
    case RendererResizeRule::Action::Apply:
        break;
    }
    if (!m_swapChain || !m_context)
        return false;

    // Every reference to the back buffers must go before ResizeBuffers.
    ID3D11ShaderResourceView* none[2] = {nullptr, nullptr};
    m_context->PSSetShaderResources(0, 2, none);
    m_context->OMSetRenderTargets(0, nullptr, nullptr);
    m_context->ClearState();
    m_context->Flush();
    m_targetView.Reset();
    const HRESULT hr = m_swapChain->ResizeBuffers(0, static_cast<UINT>(width), static_cast<UINT>(height),
                                                  DXGI_FORMAT_UNKNOWN, 0);
    if (FAILED(hr)) {
        Log::Write("Renderer ResizeBuffers failed hr=0x%08X", Hex(hr));
        LogRemoval("ResizeBuffers");
        return false;
    }
    m_width = width;
    m_height = height;
    if (!CreateTargetView())
        return false;
    ApplyColorSpace();
    Log::Write("[RESIZE-FIX] Renderer resized once %dx%d", width, height);
    return true;
}

void Renderer::Destination(const RenderSizes& sizes, int32_t& width, int32_t& height) const {
    RECT client = {};
    if (!::GetClientRect(m_window, &client))
        client = RECT{};
    DestinationSize(client.right - client.left, client.bottom - client.top, sizes, width, height);
}

Renderer::Readiness Renderer::PrepareDraw(const uint8_t* bytes, size_t byteCount, const RenderSizes& sizes,
                                          const UploadLayout& layout, int32_t& width, int32_t& height) {
    if (!m_device || !m_context || !m_swapChain || !m_targetView || bytes == nullptr ||
        layout.requiredBytes > byteCount) {
        return Readiness::Fail;
    }
    Destination(sizes, width, height);
    if (!ResizeBuffersIfNeeded(width, height))
        return Readiness::Fail;
    return m_resizePending ? Readiness::Wait : Readiness::Draw;
}

void Renderer::Draw(ID3D11PixelShader* shader, ID3D11ShaderResourceView* const* views, UINT viewCount,
                    const UvScale& scale, int32_t width, int32_t height) {
    const Constants constants = {{scale.x, scale.y}, {0.0f, 0.0f}};
    m_context->UpdateSubresource(m_constants.Get(), 0, nullptr, &constants, 0, 0);

    ID3D11RenderTargetView* target = m_targetView.Get();
    m_context->OMSetRenderTargets(1, &target, nullptr);
    const float black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    m_context->ClearRenderTargetView(target, black);
    D3D11_VIEWPORT viewport = {};
    viewport.Width = static_cast<float>(width);
    viewport.Height = static_cast<float>(height);
    viewport.MaxDepth = 1.0f;
    m_context->RSSetViewports(1, &viewport);
    m_context->IASetInputLayout(nullptr);
    m_context->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
    m_context->VSSetShader(m_vertexShader.Get(), nullptr, 0);
    m_context->PSSetShader(shader, nullptr, 0);
    m_context->PSSetShaderResources(0, viewCount, views);
    ID3D11SamplerState* sampler = m_sampler.Get();
    m_context->PSSetSamplers(0, 1, &sampler);
    ID3D11Buffer* buffer = m_constants.Get();
    m_context->PSSetConstantBuffers(0, 1, &buffer);
    m_context->Draw(3, 0);
    ID3D11ShaderResourceView* none[2] = {nullptr, nullptr};
    m_context->PSSetShaderResources(0, viewCount, none);
}

bool Renderer::PresentPicture(bool bgra) {
    HRESULT hr = S_OK;
    {
        StallScope scope("D3DRender", "Present", 80);
        hr = m_swapChain->Present(0, DXGI_PRESENT_DO_NOT_WAIT);
    }
    if (hr == kWasStillDrawing) {
        // The GPU is still busy with earlier work: drop this picture rather than wait; a newer one follows.
        if (++m_presentBusy % 120 == 0)
            Log::Write("Shader renderer Present busy/drop count=%u", m_presentBusy);
        return true;
    }
    if (hr == kInvalidCall) {
        if (m_presentFailures == 0)
            Log::Write("Shader renderer Present DO_NOT_WAIT unsupported, fallback Present(0,0)");
        StallScope scope("D3DRender", "PresentFallback", 80);
        hr = m_swapChain->Present(0, 0);
    }
    if (FAILED(hr)) {
        ++m_presentFailures;
        if (bgra) {
            Log::Write("[QUALITY][RENDER] BGRA Present failed hr=0x%08X", Hex(hr));
            LogRemoval("BgraShaderPresent");
        } else {
            Log::Write("Shader renderer Present failed hr=0x%08X failCount=%u", Hex(hr), m_presentFailures);
            LogRemoval("ShaderPresent");
            RuntimeSetErrorText("D3D shader present failed");
        }
        return false;
    }
    ++m_framesRendered;
    return true;
}

bool Renderer::RenderNv12(const uint8_t* bytes, size_t byteCount, int32_t codedW, int32_t codedH,
                          int32_t visibleW, int32_t visibleH, int32_t yPitch, int32_t uvPitch) {
    if (ShouldSkipFrame())
        return true;
    RenderSizes sizes;
    UploadLayout layout;
    if (!NormalizeRenderSizes(codedW, codedH, visibleW, visibleH, sizes) ||
        !Nv12UploadLayout(codedW, codedH, yPitch, uvPitch, sizes, layout)) {
        return false;
    }
    int32_t width = 0;
    int32_t height = 0;
    const Readiness ready = PrepareDraw(bytes, byteCount, sizes, layout, width, height);
    if (ready != Readiness::Draw)
        return ready == Readiness::Wait;
    if (!EnsureNv12Resources(sizes.textureW, sizes.textureH))
        return false;

    const uint64_t now = ::GetTickCount64();
    const int32_t yStep = static_cast<int32_t>(layout.rowPitch);
    const int32_t uvStep = static_cast<int32_t>(layout.chromaPitch);
    if (!g_firstNv12Logged.exchange(true)) {
        m_lastStatsTick = now;
        LogNv12Stats("[COLOR][RENDER][NV12-FIRST]", Nv12StatsSource::Renderer, bytes, codedW, codedH, yStep,
                     uvStep);
    } else if (now - m_lastStatsTick >= kNv12StatsIntervalMs) {
        m_lastStatsTick = now;
        LogNv12Stats("[COLOR][RENDER][NV12-STATS]", Nv12StatsSource::Renderer, bytes, codedW, codedH, yStep,
                     uvStep);
    }

    m_context->UpdateSubresource(m_yTexture.Get(), 0, nullptr, bytes, static_cast<UINT>(layout.rowPitch), 0);
    m_context->UpdateSubresource(m_uvTexture.Get(), 0, nullptr, bytes + layout.chromaOffset,
                                 static_cast<UINT>(layout.chromaPitch), 0);
    const UvScale scale = UvScaleOf(sizes);
    ID3D11ShaderResourceView* views[2] = {m_yView.Get(), m_uvView.Get()};
    Draw(m_nv12Shader.Get(), views, 2, scale, width, height);
    if (m_framesRendered % 120 == 0) {
        Log::Write("[RENDER][SCALE] path=Shader mode=%s src=%dx%d coded=%dx%d dst=%dx%d uvScale=%.4f,%.4f "
                   "cpuPreScale=0",
                   RenderScaleModeName(m_samplerMode), sizes.visibleW, sizes.visibleH, sizes.textureW,
                   sizes.textureH, width, height, scale.x, scale.y);
    }
    return PresentPicture(false);
}

bool Renderer::RenderBgra(const uint8_t* bytes, size_t byteCount, int32_t width, int32_t height,
                          int32_t visibleW, int32_t visibleH, int32_t stride) {
    if (ShouldSkipFrame())
        return true;
    RenderSizes sizes;
    UploadLayout layout;
    if (!NormalizeRenderSizes(width, height, visibleW, visibleH, sizes) ||
        !BgraUploadLayout(width, stride, sizes, layout)) {
        return false;
    }
    int32_t targetW = 0;
    int32_t targetH = 0;
    const Readiness ready = PrepareDraw(bytes, byteCount, sizes, layout, targetW, targetH);
    if (ready != Readiness::Draw)
        return ready == Readiness::Wait;
    if (!EnsureBgraResources(sizes.textureW, sizes.textureH))
        return false;
    m_context->UpdateSubresource(m_bgraTexture.Get(), 0, nullptr, bytes, static_cast<UINT>(layout.rowPitch),
                                 0);
    ID3D11ShaderResourceView* views[1] = {m_bgraView.Get()};
    Draw(m_bgraShader.Get(), views, 1, UvScaleOf(sizes), targetW, targetH);
    return PresentPicture(true);
}

bool Renderer::RenderBlack() {
    if (ShouldSkipFrame())
        return true;
    if (!m_device || !m_context || !m_swapChain || !m_targetView)
        return false;
    RECT client = {};
    ::GetClientRect(m_window, &client);
    const RenderSizes current{m_width, m_height, m_width, m_height};
    int32_t width = 0;
    int32_t height = 0;
    DestinationSize(client.right - client.left, client.bottom - client.top, current, width, height);
    if (!ResizeBuffersIfNeeded(width, height))
        return false;
    ID3D11RenderTargetView* target = m_targetView.Get();
    m_context->OMSetRenderTargets(1, &target, nullptr);
    const float black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    m_context->ClearRenderTargetView(target, black);
    m_context->Flush();
    HRESULT hr = S_OK;
    {
        StallScope scope("D3DRender", "RenderBlack", 80);
        hr = m_swapChain->Present(0, 0);
    }
    if (FAILED(hr)) {
        Log::Write("Renderer RenderBlack Present failed hr=0x%08X", Hex(hr));
        LogRemoval("RenderBlack");
        return false;
    }
    return true;
}
