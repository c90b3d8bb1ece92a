#include <d3dcompiler.h>

#include <cfloat>
#include <cstring>
#include <string>

#include "core/ConfigService.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "media/RenderGeometry.h"
#include "media/win/Renderer.h"

namespace {

unsigned Hex(HRESULT hr) {
    return static_cast<unsigned>(hr);
}

// A full-screen triangle from the vertex id alone; texture coordinates run past 1 outside the screen.
constexpr char kVertexShader[] = R"(
struct VsOut { float4 pos : SV_POSITION; float2 uv : TEXCOORD0; };
VsOut main(uint id : SV_VertexID) {
    VsOut o;
    float2 p = float2(-1.0, -1.0);
    float2 t = float2(0.0, 1.0);
    if (id == 1) { p = float2(-1.0, 3.0); t = float2(0.0, -1.0); }
    if (id == 2) { p = float2(3.0, -1.0); t = float2(2.0, 1.0); }
    o.pos = float4(p, 0.0, 1.0);
    o.uv = t;
    return o;
}
)";

// BT.709 full range; the CPU twin with the same coefficients is Nv12ShaderMath.
constexpr char kNv12PixelShader[] = R"(
Texture2D texY : register(t0);
Texture2D texUV : register(t1);
SamplerState samp : register(s0);
cbuffer Params : register(b0) { float2 uvScale; float2 padding; };
float4 main(float4 pos : SV_POSITION, float2 uv : TEXCOORD0) : SV_TARGET {
    float2 suv = saturate(uv * uvScale);
    float y = texY.Sample(samp, suv).r;
    float2 c = texUV.Sample(samp, suv).rg - 128.0 / 255.0;
    float r = y + 1.5748 * c.y;
    float g = y - 0.18732427 * c.x - 0.46812427 * c.y;
    float b = y + 1.8556 * c.x;
    return float4(saturate(float3(r, g, b)), 1.0);
}
)";

constexpr char kBgraPixelShader[] = R"(
Texture2D texBgra : register(t0);
SamplerState samp : register(s0);
cbuffer Params : register(b0) { float2 uvScale; float2 padding; };
float4 main(float4 pos : SV_POSITION, float2 uv : TEXCOORD0) : SV_TARGET {
    return float4(texBgra.Sample(samp, saturate(uv * uvScale)).rgb, 1.0);
}
)";

HRESULT Compile(const char* source, size_t size, const char* profile, Microsoft::WRL::ComPtr<ID3DBlob>& code,
                std::string& error) {
    Microsoft::WRL::ComPtr<ID3DBlob> errors;
    const HRESULT hr = ::D3DCompile(source, size, nullptr, nullptr, nullptr, "main", profile,
                                    D3DCOMPILE_OPTIMIZATION_LEVEL3, 0, &code, &errors);
    error.clear();
    if (errors && errors->GetBufferSize() > 0)
        error.assign(static_cast<const char*>(errors->GetBufferPointer()), errors->GetBufferSize());
    while (!error.empty() && (error.back() == '\0' || error.back() == '\n' || error.back() == '\r'))
        error.pop_back();
    return hr;
}

struct SamplerChoice {
    const char* name;
    D3D11_FILTER filter;
    UINT maxAniso;
};

// renderScaleMode: values above 3 count as 2.
SamplerChoice SamplerFor(uint32_t mode) {
    switch (mode) {
    case 1:
        return {RenderScaleModeName(mode), D3D11_FILTER_MIN_MAG_MIP_POINT, 1};
    case 3:
        return {RenderScaleModeName(mode), D3D11_FILTER_ANISOTROPIC, 8};
    default:
        return {RenderScaleModeName(mode), D3D11_FILTER_MIN_MAG_MIP_LINEAR, 1};
    }
}

} // namespace

bool Renderer::EnsureShaderCommon(uint32_t samplerMode) {
    HRESULT hr = S_OK;
    std::string error;
    if (!m_vertexShader) {
        ComPtr<ID3DBlob> code;
        hr = Compile(kVertexShader, sizeof kVertexShader - 1, "vs_4_0", code, error);
        if (FAILED(hr)) {
            Log::Write("Shader renderer compile VS failed hr=0x%08X err=%s", Hex(hr), error.c_str());
            RuntimeSetErrorText("D3D Shader VS compile failed");
            return false;
        }
        hr = m_device->CreateVertexShader(code->GetBufferPointer(), code->GetBufferSize(), nullptr,
                                          &m_vertexShader);
        if (FAILED(hr)) {
            Log::Write("CreateVertexShader failed hr=0x%08X", Hex(hr));
            return false;
        }
    }
    if (!m_sampler || m_samplerMode != samplerMode) {
        const SamplerChoice choice = SamplerFor(samplerMode);
        D3D11_SAMPLER_DESC desc = {};
        desc.Filter = choice.filter;
        desc.AddressU = desc.AddressV = desc.AddressW = D3D11_TEXTURE_ADDRESS_CLAMP;
        desc.MaxAnisotropy = choice.maxAniso;
        desc.ComparisonFunc = D3D11_COMPARISON_NEVER;
        desc.MinLOD = 0.0f;
        desc.MaxLOD = FLT_MAX;
        hr = m_device->CreateSamplerState(&desc, m_sampler.ReleaseAndGetAddressOf());
        if (FAILED(hr)) {
            Log::Write("CreateSamplerState failed hr=0x%08X", Hex(hr));
            return false;
        }
        m_samplerMode = samplerMode;
        Log::Write("[RENDER][SCALE] shader sampler mode=%s filter=%u maxAniso=%u", choice.name,
                   static_cast<unsigned>(choice.filter), choice.maxAniso);
    }
    if (!m_constants) {
        D3D11_BUFFER_DESC desc = {};
        desc.ByteWidth = 16; // float2 uvScale, float2 padding
        desc.Usage = D3D11_USAGE_DEFAULT;
        desc.BindFlags = D3D11_BIND_CONSTANT_BUFFER;
        hr = m_device->CreateBuffer(&desc, nullptr, &m_constants);
        if (FAILED(hr)) {
            Log::Write("Create constant buffer failed hr=0x%08X", Hex(hr));
            return false;
        }
    }
    return true;
}

namespace {

HRESULT MakePlane(ID3D11Device* device, int32_t width, int32_t height, DXGI_FORMAT format,
                  Microsoft::WRL::ComPtr<ID3D11Texture2D>& texture) {
    D3D11_TEXTURE2D_DESC desc = {};
    desc.Width = static_cast<UINT>(width);
    desc.Height = static_cast<UINT>(height);
    desc.MipLevels = 1;
    desc.ArraySize = 1;
    desc.Format = format;
    desc.SampleDesc.Count = 1;
    desc.Usage = D3D11_USAGE_DEFAULT;
    desc.BindFlags = D3D11_BIND_SHADER_RESOURCE;
    return device->CreateTexture2D(&desc, nullptr, texture.ReleaseAndGetAddressOf());
}

uint32_t ConfiguredSamplerMode() {
    const uint32_t mode = ConfigService::Instance().GetRenderScaleMode();
    return mode > 3 ? 2 : mode;
}

} // namespace

bool Renderer::EnsureNv12Resources(int32_t textureW, int32_t textureH) {
    const uint32_t mode = ConfiguredSamplerMode();
    if (m_nv12Shader && m_yView && m_uvView && m_nv12W == textureW && m_nv12H == textureH &&
        m_samplerMode == mode)
        return true;
    if (!EnsureShaderCommon(mode))
        return false;
    HRESULT hr = S_OK;
    if (!m_nv12Shader) {
        ComPtr<ID3DBlob> code;
        std::string error;
        hr = Compile(kNv12PixelShader, sizeof kNv12PixelShader - 1, "ps_4_0", code, error);
        if (FAILED(hr)) {
            Log::Write("Shader renderer compile PS failed hr=0x%08X err=%s", Hex(hr), error.c_str());
            RuntimeSetErrorText("D3D Shader PS compile failed");
            return false;
        }
        hr = m_device->CreatePixelShader(code->GetBufferPointer(), code->GetBufferSize(), nullptr,
                                         &m_nv12Shader);
        if (FAILED(hr)) {
            Log::Write("CreatePixelShader failed hr=0x%08X", Hex(hr));
            return false;
        }
    }
    m_yView.Reset();
    m_uvView.Reset();
    m_nv12W = m_nv12H = 0;
    if (FAILED(hr = MakePlane(m_device.Get(), textureW, textureH, DXGI_FORMAT_R8_UNORM, m_yTexture))) {
        Log::Write("Shader CreateTexture2D Y/R8 failed hr=0x%08X", Hex(hr));
        RuntimeSetErrorText("Create Y texture failed");
        return false;
    }
    if (FAILED(hr = MakePlane(m_device.Get(), textureW / 2, textureH / 2, DXGI_FORMAT_R8G8_UNORM,
                              m_uvTexture))) {
        Log::Write("Shader CreateTexture2D UV/R8G8 failed hr=0x%08X", Hex(hr));
        RuntimeSetErrorText("Create UV texture failed");
        return false;
    }
    if (FAILED(hr = m_device->CreateShaderResourceView(m_yTexture.Get(), nullptr, &m_yView))) {
        Log::Write("CreateShaderResourceView Y/R8 failed hr=0x%08X", Hex(hr));
        RuntimeSetErrorText("Create Y SRV failed");
        return false;
    }
    if (FAILED(hr = m_device->CreateShaderResourceView(m_uvTexture.Get(), nullptr, &m_uvView))) {
        m_yView.Reset();
        Log::Write("CreateShaderResourceView UV/R8G8 failed hr=0x%08X", Hex(hr));
        RuntimeSetErrorText("Create UV SRV failed");
        return false;
    }
    m_nv12W = textureW;
    m_nv12H = textureH;
    Log::Write("Shader split-plane NV12 resources OK Y=%dx%d UV=%dx%d", textureW, textureH, textureW / 2,
               textureH / 2);
    Log::Write("Shader NV12 renderer resources created");
    Log::Write(
        "[COLOR][RENDER][SHADER] NV12->RGB matrix=BT709 full-range formula=shader split-plane output=BGRA8 "
        "SDR swapchainColorSpaceAppliedByDXGI");
    return true;
}

bool Renderer::EnsureBgraResources(int32_t textureW, int32_t textureH) {
    const uint32_t mode = ConfiguredSamplerMode();
    if (m_bgraShader && m_bgraView && m_bgraW == textureW && m_bgraH == textureH && m_samplerMode == mode)
        return true;
    if (!EnsureShaderCommon(mode))
        return false;
    HRESULT hr = S_OK;
    if (!m_bgraShader) {
        ComPtr<ID3DBlob> code;
        std::string error;
        hr = Compile(kBgraPixelShader, sizeof kBgraPixelShader - 1, "ps_4_0", code, error);
        if (FAILED(hr)) {
            Log::Write("BGRA shader compile failed hr=0x%08X err=%s", Hex(hr), error.c_str());
            return false;
        }
        hr = m_device->CreatePixelShader(code->GetBufferPointer(), code->GetBufferSize(), nullptr,
                                         &m_bgraShader);
        if (FAILED(hr)) {
            Log::Write("BGRA CreatePixelShader failed hr=0x%08X", Hex(hr));
            return false;
        }
    }
    m_bgraView.Reset();
    m_bgraW = m_bgraH = 0;
    if (FAILED(
            hr = MakePlane(m_device.Get(), textureW, textureH, DXGI_FORMAT_B8G8R8A8_UNORM, m_bgraTexture))) {
        Log::Write("BGRA CreateTexture2D failed hr=0x%08X size=%dx%d", Hex(hr), textureW, textureH);
        return false;
    }
    if (FAILED(hr = m_device->CreateShaderResourceView(m_bgraTexture.Get(), nullptr, &m_bgraView))) {
        Log::Write("BGRA CreateShaderResourceView failed hr=0x%08X", Hex(hr));
        return false;
    }
    m_bgraW = textureW;
    m_bgraH = textureH;
    Log::Write("[QUALITY][RENDER] BGRA shader resources created size=%dx%d", textureW, textureH);
    return true;
}
