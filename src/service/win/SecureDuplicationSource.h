#pragma once

#include <windows.h>
#include <d3d11.h>
#include <dxgi1_2.h>
#include <wrl/client.h>

#include <cstdint>
#include <functional>
#include <string>

#include "service/SecureCapturePorts.h"

// The capture worker's desktop-duplication path: the primary output duplicated on a device of its adapter,
// each new frame copied into a CPU-readable staging texture.
class SecureDuplicationSource final : public ISecureCaptureSource {
public:
    // IDXGIOutput1::DuplicateOutput; tests hand in a fake where the system has no duplication (Wine).
    using DuplicateOutputFn =
        std::function<HRESULT(IDXGIOutput1* output, ID3D11Device* device,
                              Microsoft::WRL::ComPtr<IDXGIOutputDuplication>& duplication)>;

    // duplicate: null means IDXGIOutput1::DuplicateOutput.
    explicit SecureDuplicationSource(DuplicateOutputFn duplicate = nullptr);

    int32_t Init() override;
    int32_t BeginFrame(SecureCaptureImage& image) override;
    int32_t EndFrame() override;
    void Release() override;

private:
    HRESULT CreatePipeline();
    HRESULT CopyHeldFrame(IDXGIResource* resource, SecureCaptureImage& image);
    HRESULT EnsureStaging(const D3D11_TEXTURE2D_DESC& frame);

    DuplicateOutputFn m_duplicate;
    Microsoft::WRL::ComPtr<IDXGIAdapter1> m_adapter;
    Microsoft::WRL::ComPtr<IDXGIOutput> m_output;
    Microsoft::WRL::ComPtr<ID3D11Device> m_device;
    Microsoft::WRL::ComPtr<ID3D11DeviceContext> m_context;
    Microsoft::WRL::ComPtr<IDXGIOutputDuplication> m_duplication;
    Microsoft::WRL::ComPtr<ID3D11Texture2D> m_staging;
    UINT m_stagingWidth = 0;
    UINT m_stagingHeight = 0;
    DXGI_FORMAT m_stagingFormat = DXGI_FORMAT_UNKNOWN;
    bool m_mapped = false; // the staging texture is mapped and a frame is held
};
