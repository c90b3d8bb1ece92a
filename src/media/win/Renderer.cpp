#include "media/win/Renderer.h"

#include <dxgi1_3.h>
#include <dxgi1_4.h>

#include <atomic>

#include "core/Log.h"
#include "media/RendererSizeMove.h"
#include "media/win/HdrDetect.h"
#include "media/win/HdrSwitch.h"

namespace {

constexpr UINT kIntelVendor = 0x8086;
constexpr int32_t kDefaultWidth = 1280;
constexpr int32_t kDefaultHeight = 720;

unsigned Hex(HRESULT hr) {
    return static_cast<unsigned>(hr);
}

HRESULT CreateDevice(ID3D11Device** device, ID3D11DeviceContext** context) {
    static const D3D_FEATURE_LEVEL levels[] = {D3D_FEATURE_LEVEL_11_1, D3D_FEATURE_LEVEL_11_0,
                                               D3D_FEATURE_LEVEL_10_1, D3D_FEATURE_LEVEL_10_0};
    return ::D3D11CreateDevice(nullptr, D3D_DRIVER_TYPE_HARDWARE, nullptr, D3D11_CREATE_DEVICE_BGRA_SUPPORT,
                               levels, ARRAYSIZE(levels), D3D11_SDK_VERSION, device, nullptr, context);
}

} // namespace

Renderer::Renderer() : m_resizeRule(RendererSizeMove::Instance()) {}

Renderer::~Renderer() {
    Release();
}

bool Renderer::Init(HWND window, int32_t width, int32_t height) {
    Release();
    m_window = window;
    m_width = width < 1 ? kDefaultWidth : width;
    m_height = height < 1 ? kDefaultHeight : height;

    HRESULT hr = CreateDevice(m_device.ReleaseAndGetAddressOf(), m_context.ReleaseAndGetAddressOf());
    if (FAILED(hr))
        hr = CreateDevice(m_device.ReleaseAndGetAddressOf(), m_context.ReleaseAndGetAddressOf());
    if (FAILED(hr)) {
        Log::Write("Renderer D3D11CreateDevice failed hr=0x%08X", Hex(hr));
        Release();
        return false;
    }

    // The video interfaces only tell the log what the driver offers; drawing never needs them.
    if (FAILED(hr = m_device.As(&m_videoDevice)))
        Log::Write("Renderer query ID3D11VideoDevice failed hr=0x%08X", Hex(hr));
    if (FAILED(hr = m_context.As(&m_videoContext)))
        Log::Write("Renderer query ID3D11VideoContext failed hr=0x%08X", Hex(hr));

    ComPtr<IDXGIDevice> dxgiDevice;
    ComPtr<IDXGIAdapter> adapter;
    if (SUCCEEDED(m_device.As(&dxgiDevice)) && SUCCEEDED(dxgiDevice->GetAdapter(&adapter))) {
        DXGI_ADAPTER_DESC desc = {};
        if (SUCCEEDED(adapter->GetDesc(&desc))) {
            m_vendorId = desc.VendorId;
            ::wcsncpy(m_adapterName, desc.Description, ARRAYSIZE(m_adapterName) - 1);
            Log::Write("Renderer adapter vendor=0x%04X", m_vendorId);
            if (m_vendorId == kIntelVendor)
                Log::Write(
                    "Renderer Intel adapter detected; no fallback, using D3D11 NV12 VideoProcessor path");
        }
    }
    ComPtr<IDXGIDevice1> dxgiDevice1;
    if (SUCCEEDED(m_device.As(&dxgiDevice1)) && SUCCEEDED(dxgiDevice1->SetMaximumFrameLatency(1)))
        Log::Write("Renderer DXGI maximum frame latency set to 1");

    if (!CreateSwapChain() || !CreateTargetView()) {
        Release();
        return false;
    }
    ApplyColorSpace();
    Log::Write("Renderer init OK %dx%d D3D11 split-plane NV12 Shader low-latency present", m_width, m_height);
    return true;
}

bool Renderer::CreateSwapChain() {
    ComPtr<IDXGIDevice> dxgiDevice;
    ComPtr<IDXGIAdapter> adapter;
    ComPtr<IDXGIFactory> factory;
    HRESULT hr = m_device.As(&dxgiDevice);
    if (SUCCEEDED(hr))
        hr = dxgiDevice->GetAdapter(&adapter);
    if (SUCCEEDED(hr))
        hr = adapter->GetParent(IID_PPV_ARGS(&factory));
    if (FAILED(hr)) {
        Log::Write("Renderer legacy CreateSwapChain failed hr=0x%08X", Hex(hr));
        return false;
    }

    ComPtr<IDXGIFactory2> factory2;
    hr = factory.As(&factory2);
    if (FAILED(hr)) {
        Log::Write("Renderer IDXGIFactory2 unavailable hr=0x%08X", Hex(hr));
    } else {
        factory2->MakeWindowAssociation(m_window, DXGI_MWA_NO_ALT_ENTER);
        DXGI_SWAP_CHAIN_DESC1 desc = {};
        desc.Width = static_cast<UINT>(m_width);
        desc.Height = static_cast<UINT>(m_height);
        desc.Format = DXGI_FORMAT_B8G8R8A8_UNORM;
        desc.SampleDesc.Count = 1;
        desc.BufferUsage = DXGI_USAGE_RENDER_TARGET_OUTPUT;
        desc.BufferCount = 2;
        desc.Scaling = DXGI_SCALING_STRETCH;
        desc.SwapEffect = DXGI_SWAP_EFFECT_FLIP_DISCARD;
        desc.AlphaMode = DXGI_ALPHA_MODE_IGNORE;
        ComPtr<IDXGISwapChain1> swapChain;
        hr = factory2->CreateSwapChainForHwnd(m_device.Get(), m_window, &desc, nullptr, nullptr, &swapChain);
        if (FAILED(hr)) {
            Log::Write("Renderer CreateSwapChainForHwnd FLIP_DISCARD failed hr=0x%08X, retry FLIP_SEQUENTIAL",
                       Hex(hr));
            desc.SwapEffect = DXGI_SWAP_EFFECT_FLIP_SEQUENTIAL;
            hr = factory2->CreateSwapChainForHwnd(m_device.Get(), m_window, &desc, nullptr, nullptr,
                                                  &swapChain);
            if (FAILED(hr))
                Log::Write("Renderer CreateSwapChainForHwnd flip failed hr=0x%08X", Hex(hr));
        }
        if (SUCCEEDED(hr)) {
            ComPtr<IDXGISwapChain2> swapChain2;
            if (SUCCEEDED(swapChain.As(&swapChain2)) && SUCCEEDED(swapChain2->SetMaximumFrameLatency(1)))
                Log::Write("Renderer swap chain maximum frame latency set to 1");
            m_swapChain = swapChain;
            m_flipModel = true;
            Log::Write("Renderer using DXGI flip-model swap chain %dx%d bufferCount=2", m_width, m_height);
            return true;
        }
    }

    Log::Write("Renderer low-latency flip swap chain unavailable, falling back to legacy swap chain");
    factory->MakeWindowAssociation(m_window, DXGI_MWA_NO_ALT_ENTER);
    DXGI_SWAP_CHAIN_DESC desc = {};
    desc.BufferDesc.Width = static_cast<UINT>(m_width);
    desc.BufferDesc.Height = static_cast<UINT>(m_height);
    desc.BufferDesc.Format = DXGI_FORMAT_B8G8R8A8_UNORM;
    desc.SampleDesc.Count = 1;
    desc.BufferUsage = DXGI_USAGE_RENDER_TARGET_OUTPUT;
    desc.BufferCount = 2;
    desc.OutputWindow = m_window;
    desc.Windowed = TRUE;
    desc.SwapEffect = DXGI_SWAP_EFFECT_DISCARD;
    hr = factory->CreateSwapChain(m_device.Get(), &desc, m_swapChain.ReleaseAndGetAddressOf());
    if (FAILED(hr)) {
        Log::Write("Renderer legacy CreateSwapChain failed hr=0x%08X", Hex(hr));
        return false;
    }
    m_flipModel = false;
    Log::Write("Renderer using legacy DXGI swap chain %dx%d", m_width, m_height);
    return true;
}

bool Renderer::CreateTargetView() {
    ComPtr<ID3D11Texture2D> backBuffer;
    HRESULT hr = m_swapChain->GetBuffer(0, IID_PPV_ARGS(&backBuffer));
    if (FAILED(hr)) {
        Log::Write("Renderer GetBuffer failed hr=0x%08X", Hex(hr));
        return false;
    }
    hr = m_device->CreateRenderTargetView(backBuffer.Get(), nullptr, m_targetView.ReleaseAndGetAddressOf());
    if (FAILED(hr)) {
        Log::Write("Renderer CreateRenderTargetView failed hr=0x%08X", Hex(hr));
        return false;
    }
    return true;
}

void Renderer::ApplyColorSpace() {
    static std::atomic<bool> outputLogged{false};
    RECT client = {};
    ::GetClientRect(m_window, &client);
    if (!outputLogged.exchange(true))
        LogOutputColors("ControllerRender.Output", m_window, client);

    ComPtr<IDXGISwapChain3> swapChain3;
    if (FAILED(m_swapChain.As(&swapChain3))) {
        Log::Write("HDR framework: IDXGISwapChain3 unavailable; SDR color space kept");
        return;
    }
    const bool requestedHdr = IsHdrFrameworkEnabled();
    HdrOutputInfo info;
    const bool outputHdr = requestedHdr && DetectHdr(m_window, client, info, false) && info.windowsHdr;
    const DXGI_COLOR_SPACE_TYPE space =
        outputHdr ? DXGI_COLOR_SPACE_RGB_FULL_G2084_NONE_P2020 : DXGI_COLOR_SPACE_RGB_FULL_G22_NONE_P709;
    UINT support = 0;
    const HRESULT hr = swapChain3->CheckColorSpaceSupport(space, &support);
    if (SUCCEEDED(hr) && (support & DXGI_SWAP_CHAIN_COLOR_SPACE_SUPPORT_FLAG_PRESENT) != 0) {
        const HRESULT setHr = swapChain3->SetColorSpace1(space);
        Log::Write("HDR framework: swapchain colorSpace=%u requestedHdr=%d outputHdr=%d setHr=0x%08X",
                   static_cast<unsigned>(space), requestedHdr ? 1 : 0, outputHdr ? 1 : 0, Hex(setHr));
    } else {
        Log::Write("HDR framework: colorSpace=%u unsupported hr=0x%08X support=0x%08X; SDR kept",
                   static_cast<unsigned>(space), Hex(hr), static_cast<unsigned>(support));
    }
}

void Renderer::Release() {
    if (m_context) {
        ID3D11ShaderResourceView* none[2] = {nullptr, nullptr};
        m_context->PSSetShaderResources(0, 2, none);
        m_context->OMSetRenderTargets(0, nullptr, nullptr);
        m_context->ClearState();
        m_context->Flush();
    }
    m_bgraView.Reset();
    m_bgraTexture.Reset();
    m_bgraShader.Reset();
    m_bgraW = m_bgraH = 0;
    m_yView.Reset();
    m_uvView.Reset();
    m_yTexture.Reset();
    m_uvTexture.Reset();
    m_nv12Shader.Reset();
    m_nv12W = m_nv12H = 0;
    m_vertexShader.Reset();
    m_sampler.Reset();
    m_constants.Reset();
    m_samplerMode = 0xFFFFFFFFu;
    m_targetView.Reset();
    m_swapChain.Reset();
    m_flipModel = false;
    m_videoContext.Reset();
    m_videoDevice.Reset();
    m_context.Reset();
    m_device.Reset();
    m_resizePending = false;
    m_resizeRule.Clear();
}
