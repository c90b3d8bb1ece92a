#pragma once

#include <windows.h>
#include <d3d11.h>
#include <dxgi1_2.h>
#include <wrl/client.h>

#include <cstddef>
#include <cstdint>

#include "media/RenderGeometry.h"
#include "media/RendererResizeRule.h"

// Draws decoded pictures into one window with Direct3D 11: NV12 through a shader that samples a luma and a
// chroma texture and converts BT.709 full range to RGB, BGRA through a plain copy shader. Both sample only
// the visible part of the coded picture. Presents are low latency: flip model when the system offers it
// (legacy swap chain otherwise), frame latency 1, no waiting for a busy GPU.
//
// Every method runs on the one thread that owns the object (the render thread); only SetSizeMoveActive is
// called from other threads and touches shared state alone.
class Renderer {
public:
    Renderer();
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // Device, swap chain and render-target view for the window; sizes below 1 take 1280 x 720.
    bool Init(HWND window, int32_t width, int32_t height);
    // Unbinds and releases every device object.
    void Release();

    // bytes: codedH luma rows of yPitch bytes, then the chroma rows of uvPitch bytes (pitches below 1: the
    // coded width); byteCount bounds what the upload may read. True also when the frame was skipped or
    // waits for a resize, or the GPU was busy and the present dropped it.
    bool RenderNv12(const uint8_t* bytes, size_t byteCount, int32_t codedW, int32_t codedH, int32_t visibleW,
                    int32_t visibleH, int32_t yPitch, int32_t uvPitch);
    // height rows of stride bytes (width * 4 when below 1).
    bool RenderBgra(const uint8_t* bytes, size_t byteCount, int32_t width, int32_t height, int32_t visibleW,
                    int32_t visibleH, int32_t stride);
    bool RenderBlack();

    // The main window's modal move/size loop (any thread).
    static void SetSizeMoveActive(bool active);
    static bool IsSizeMoveActive();
    bool ShouldSkipFrame();
    // False for a size below 1 or a failed ResizeBuffers; true otherwise, with ResizePending() telling
    // whether the buffers still wait for a new size (the frame is then not drawn).
    bool ResizeBuffersIfNeeded(int32_t width, int32_t height);
    bool ResizePending() const { return m_resizePending; }

    bool UsesFlipModel() const { return m_flipModel; }
    int32_t Width() const { return m_width; }
    int32_t Height() const { return m_height; }

private:
    bool CreateSwapChain();
    bool CreateTargetView();
    void ApplyColorSpace();
    bool EnsureShaderCommon(uint32_t samplerMode);
    bool EnsureNv12Resources(int32_t textureW, int32_t textureH);
    bool EnsureBgraResources(int32_t textureW, int32_t textureH);
    // Checks a picture's buffer against its layout and brings the buffers to the destination size.
    enum class Readiness { Fail, Wait, Draw };
    Readiness PrepareDraw(const uint8_t* bytes, size_t byteCount, const RenderSizes& sizes,
                          const UploadLayout& layout, int32_t& width, int32_t& height);
    // Client size of the window made even, or fallback.
    void Destination(const RenderSizes& sizes, int32_t& width, int32_t& height) const;
    void Draw(ID3D11PixelShader* shader, ID3D11ShaderResourceView* const* views, UINT viewCount,
              const UvScale& scale, int32_t width, int32_t height);
    // Presents a drawn picture without waiting; a busy GPU drops it (true).
    bool PresentPicture(bool bgra);
    void LogRemoval(const char* where);

    template <class T> using ComPtr = Microsoft::WRL::ComPtr<T>;

    HWND m_window = nullptr;
    int32_t m_width = 1280;
    int32_t m_height = 720;

    bool m_resizePending = false;
    RendererResizeRule m_resizeRule;

    ComPtr<ID3D11Device> m_device;
    ComPtr<ID3D11DeviceContext> m_context;
    ComPtr<ID3D11VideoDevice> m_videoDevice;
    ComPtr<ID3D11VideoContext> m_videoContext;
    ComPtr<IDXGISwapChain> m_swapChain;
    ComPtr<ID3D11RenderTargetView> m_targetView;
    bool m_flipModel = false;

    ComPtr<ID3D11VertexShader> m_vertexShader;
    ComPtr<ID3D11SamplerState> m_sampler;
    ComPtr<ID3D11Buffer> m_constants;
    uint32_t m_samplerMode = 0xFFFFFFFFu;

    ComPtr<ID3D11Texture2D> m_yTexture;
    ComPtr<ID3D11Texture2D> m_uvTexture;
    ComPtr<ID3D11ShaderResourceView> m_yView;
    ComPtr<ID3D11ShaderResourceView> m_uvView;
    ComPtr<ID3D11PixelShader> m_nv12Shader;
    int32_t m_nv12W = 0;
    int32_t m_nv12H = 0;

    ComPtr<ID3D11Texture2D> m_bgraTexture;
    ComPtr<ID3D11ShaderResourceView> m_bgraView;
    ComPtr<ID3D11PixelShader> m_bgraShader;
    int32_t m_bgraW = 0;
    int32_t m_bgraH = 0;

    uint64_t m_framesRendered = 0;
    uint32_t m_presentBusy = 0;
    uint32_t m_presentFailures = 0;
    uint64_t m_lastStatsTick = 0;

    uint32_t m_vendorId = 0;
    wchar_t m_adapterName[128] = {};
};
