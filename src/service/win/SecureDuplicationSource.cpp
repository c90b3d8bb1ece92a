#include "service/win/SecureDuplicationSource.h"

#include <optional>
#include <utility>
#include <vector>

#include "core/win/TextConvert.h"
#include "service/SecureCaptureRules.h"
#include "service/win/WardletLog.h"

using Microsoft::WRL::ComPtr;

namespace {

struct OutputCandidate {
    ComPtr<IDXGIAdapter1> adapter;
    ComPtr<IDXGIOutput> output;
    DXGI_OUTPUT_DESC desc = {};
};

// Every output of every adapter, logged; the choice among them is ChooseSecureCaptureOutput's.
HRESULT EnumerateOutputs(IDXGIFactory1* factory, std::vector<OutputCandidate>& candidates) {
    for (UINT a = 0;; ++a) {
        ComPtr<IDXGIAdapter1> adapter;
        HRESULT hr = factory->EnumAdapters1(a, &adapter);
        if (hr == DXGI_ERROR_NOT_FOUND)
            return S_OK;
        if (FAILED(hr))
            return hr;
        DXGI_ADAPTER_DESC1 adapterDesc = {};
        adapter->GetDesc1(&adapterDesc);
        WardletLog("adapter[%u]=%s vendor=0x%04X device=0x%04X flags=0x%X", a,
                   WideToUtf8Bounded(adapterDesc.Description).c_str(), adapterDesc.VendorId,
                   adapterDesc.DeviceId, adapterDesc.Flags);
        for (UINT o = 0;; ++o) {
            ComPtr<IDXGIOutput> output;
            hr = adapter->EnumOutputs(o, &output);
            if (FAILED(hr))
                break; // DXGI_ERROR_NOT_FOUND ends the list; another failure only loses this adapter's rest
            OutputCandidate candidate{adapter, output, {}};
            output->GetDesc(&candidate.desc);
            const RECT& r = candidate.desc.DesktopCoordinates;
            WardletLog(" output[%u]=%s attached=%u rect=(%ld,%ld)-(%ld,%ld) rotation=%u", o,
                       WideToUtf8Bounded(candidate.desc.DeviceName).c_str(),
                       candidate.desc.AttachedToDesktop ? 1u : 0u, r.left, r.top, r.right, r.bottom,
                       static_cast<unsigned>(candidate.desc.Rotation));
            candidates.push_back(std::move(candidate));
        }
    }
}

HRESULT CreateDevice(IDXGIAdapter1* adapter, ComPtr<ID3D11Device>& device,
                     ComPtr<ID3D11DeviceContext>& context, D3D_FEATURE_LEVEL& level) {
    static const D3D_FEATURE_LEVEL kLevels[] = {D3D_FEATURE_LEVEL_11_1, D3D_FEATURE_LEVEL_11_0,
                                                D3D_FEATURE_LEVEL_10_1, D3D_FEATURE_LEVEL_10_0};
    HRESULT hr =
        ::D3D11CreateDevice(adapter, D3D_DRIVER_TYPE_UNKNOWN, nullptr, D3D11_CREATE_DEVICE_BGRA_SUPPORT,
                            kLevels, 4, D3D11_SDK_VERSION, &device, &level, &context);
    // A runtime that does not know 11.1 refuses the whole list.
    if (hr == E_INVALIDARG)
        hr = ::D3D11CreateDevice(adapter, D3D_DRIVER_TYPE_UNKNOWN, nullptr, D3D11_CREATE_DEVICE_BGRA_SUPPORT,
                                 kLevels + 1, 3, D3D11_SDK_VERSION, &device, &level, &context);
    return hr;
}

} // namespace

SecureDuplicationSource::SecureDuplicationSource(DuplicateOutputFn duplicate)
    : m_duplicate(std::move(duplicate)) {}

int32_t SecureDuplicationSource::Init() {
    Release();
    const HRESULT hr = CreatePipeline();
    if (FAILED(hr))
        Release();
    return hr;
}

HRESULT SecureDuplicationSource::CreatePipeline() {
    WardletLog("DDA initialize begin");
    ComPtr<IDXGIFactory1> factory;
    HRESULT hr = ::CreateDXGIFactory1(IID_PPV_ARGS(&factory));
    if (FAILED(hr))
        return hr;
    std::vector<OutputCandidate> candidates;
    hr = EnumerateOutputs(factory.Get(), candidates);
    if (FAILED(hr))
        return hr;
    std::vector<SecureOutputInfo> outputs;
    for (const OutputCandidate& c : candidates)
        outputs.push_back({c.desc.AttachedToDesktop != FALSE, c.desc.DesktopCoordinates.left,
                           c.desc.DesktopCoordinates.top});
    const std::optional<size_t> chosen = ChooseSecureCaptureOutput(outputs);
    if (!chosen)
        return DXGI_ERROR_NOT_FOUND;
    const OutputCandidate& candidate = candidates[*chosen];
    const std::string outputName = WideToUtf8Bounded(candidate.desc.DeviceName);

    WardletLog("D3D11CreateDevice begin output=%s", outputName.c_str());
    ComPtr<ID3D11Device> device;
    ComPtr<ID3D11DeviceContext> context;
    D3D_FEATURE_LEVEL level = {};
    hr = CreateDevice(candidate.adapter.Get(), device, context, level);
    if (FAILED(hr))
        return hr;
    WardletLog("D3D11CreateDevice success featureLevel=0x%X", static_cast<unsigned>(level));

    ComPtr<IDXGIOutput1> output1;
    hr = candidate.output.As(&output1);
    if (FAILED(hr))
        return hr;
    WardletLog("DuplicateOutput begin");
    ComPtr<IDXGIOutputDuplication> duplication;
    hr = m_duplicate ? m_duplicate(output1.Get(), device.Get(), duplication)
                     : output1->DuplicateOutput(device.Get(), &duplication);
    if (FAILED(hr))
        return hr;
    if (!duplication)
        return E_POINTER;
    WardletLog("DuplicateOutput success");
    DXGI_OUTDUPL_DESC desc = {};
    duplication->GetDesc(&desc);
    WardletLog("DDA initialized output=%s size=%ux%u format=%u rotation=%u", outputName.c_str(),
               desc.ModeDesc.Width, desc.ModeDesc.Height, static_cast<unsigned>(desc.ModeDesc.Format),
               static_cast<unsigned>(desc.Rotation));

    m_adapter = candidate.adapter;
    m_output = candidate.output;
    m_device = std::move(device);
    m_context = std::move(context);
    m_duplication = std::move(duplication);
    return S_OK;
}

int32_t SecureDuplicationSource::BeginFrame(SecureCaptureImage& image) {
    if (!m_duplication || m_mapped)
        return E_UNEXPECTED;
    DXGI_OUTDUPL_FRAME_INFO info = {};
    ComPtr<IDXGIResource> resource;
    const HRESULT hr = m_duplication->AcquireNextFrame(kSecureAcquireTimeoutMs, &info, &resource);
    if (FAILED(hr))
        return hr; // also the time-out: nothing is held
    const HRESULT copied = CopyHeldFrame(resource.Get(), image);
    if (FAILED(copied)) {
        // The first failure is the result; the frame goes back all the same.
        m_duplication->ReleaseFrame();
        return copied;
    }
    m_mapped = true;
    return S_OK;
}

HRESULT SecureDuplicationSource::CopyHeldFrame(IDXGIResource* resource, SecureCaptureImage& image) {
    if (resource == nullptr)
        return E_POINTER;
    ComPtr<ID3D11Texture2D> frame;
    HRESULT hr = resource->QueryInterface(IID_PPV_ARGS(&frame));
    if (FAILED(hr))
        return hr;
    D3D11_TEXTURE2D_DESC desc = {};
    frame->GetDesc(&desc);
    if (!IsSecureCaptureFormat(static_cast<uint32_t>(desc.Format)))
        return DXGI_ERROR_UNSUPPORTED;
    hr = EnsureStaging(desc);
    if (FAILED(hr))
        return hr;
    m_context->CopyResource(m_staging.Get(), frame.Get());
    D3D11_MAPPED_SUBRESOURCE mapped = {};
    hr = m_context->Map(m_staging.Get(), 0, D3D11_MAP_READ, 0, &mapped);
    if (FAILED(hr))
        return hr;
    image.pixels = static_cast<const uint8_t*>(mapped.pData);
    image.width = static_cast<int32_t>(desc.Width);
    image.height = static_cast<int32_t>(desc.Height);
    image.stride = static_cast<int32_t>(mapped.RowPitch);
    // The last row is only as long as the picture: nothing promises padding after it.
    image.bufferSize = size_t(mapped.RowPitch) * (desc.Height - 1) + size_t(desc.Width) * 4;
    return S_OK;
}

HRESULT SecureDuplicationSource::EnsureStaging(const D3D11_TEXTURE2D_DESC& frame) {
    if (m_staging && m_stagingWidth == frame.Width && m_stagingHeight == frame.Height &&
        m_stagingFormat == frame.Format)
        return S_OK;
    m_staging.Reset();
    D3D11_TEXTURE2D_DESC desc = {};
    desc.Width = frame.Width;
    desc.Height = frame.Height;
    desc.MipLevels = 1;
    desc.ArraySize = 1;
    desc.Format = frame.Format;
    desc.SampleDesc.Count = 1;
    desc.Usage = D3D11_USAGE_STAGING;
    desc.CPUAccessFlags = D3D11_CPU_ACCESS_READ;
    const HRESULT hr = m_device->CreateTexture2D(&desc, nullptr, &m_staging);
    if (FAILED(hr))
        return hr;
    m_stagingWidth = frame.Width;
    m_stagingHeight = frame.Height;
    m_stagingFormat = frame.Format;
    return S_OK;
}

int32_t SecureDuplicationSource::EndFrame() {
    if (!m_mapped)
        return S_OK;
    m_context->Unmap(m_staging.Get(), 0);
    m_mapped = false;
    return m_duplication->ReleaseFrame();
}

void SecureDuplicationSource::Release() {
    EndFrame();
    m_staging.Reset();
    m_stagingWidth = 0;
    m_stagingHeight = 0;
    m_stagingFormat = DXGI_FORMAT_UNKNOWN;
    m_duplication.Reset();
    m_context.Reset();
    m_device.Reset();
    m_output.Reset();
    m_adapter.Reset();
}
