#pragma once

#include <windows.h>
#include <d3d11.h>
#include <dxgi1_2.h>
#include <wrl/client.h>

#include <atomic>
#include <cstdint>
#include <vector>

// An output duplication for systems without one (Wine): every AcquireNextFrame hands out the same desktop
// texture, made on the caller's real device from a picture the test chose, until the test asks for an error.
// Counts acquires and releases so a test can see that every acquired frame was given back.
class FakeOutputDuplication final : public IDXGIOutputDuplication {
public:
    // A desktop of width x height in format with the given pixels (4 bytes each, rows packed); the
    // duplication reports rotation.
    static Microsoft::WRL::ComPtr<FakeOutputDuplication> Create(ID3D11Device* device, UINT width, UINT height,
                                                                DXGI_FORMAT format,
                                                                const std::vector<uint8_t>& pixels,
                                                                DXGI_MODE_ROTATION rotation) {
        Microsoft::WRL::ComPtr<FakeOutputDuplication> fake(new FakeOutputDuplication);
        D3D11_TEXTURE2D_DESC desc = {};
        desc.Width = width;
        desc.Height = height;
        desc.MipLevels = 1;
        desc.ArraySize = 1;
        desc.Format = format;
        desc.SampleDesc.Count = 1;
        desc.Usage = D3D11_USAGE_DEFAULT;
        desc.BindFlags = D3D11_BIND_SHADER_RESOURCE | D3D11_BIND_RENDER_TARGET;
        D3D11_SUBRESOURCE_DATA data = {pixels.data(), width * 4, 0};
        if (FAILED(device->CreateTexture2D(&desc, &data, &fake->m_texture)))
            return nullptr;
        fake->m_desc.ModeDesc.Width = width;
        fake->m_desc.ModeDesc.Height = height;
        fake->m_desc.ModeDesc.Format = format;
        fake->m_desc.Rotation = rotation;
        return fake;
    }

    // What the next acquires return: S_OK hands out the texture.
    std::atomic<HRESULT> nextResult{S_OK};
    std::atomic<int> acquired{0}; // successful acquires
    std::atomic<int> released{0};

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (object == nullptr)
            return E_POINTER;
        if (riid == __uuidof(IUnknown) || riid == __uuidof(IDXGIObject) ||
            riid == __uuidof(IDXGIOutputDuplication)) {
            *object = static_cast<IDXGIOutputDuplication*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --m_references;
        if (left == 0)
            delete this;
        return left;
    }

    // IDXGIObject
    HRESULT STDMETHODCALLTYPE SetPrivateData(REFGUID, UINT, const void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetPrivateDataInterface(REFGUID, const IUnknown*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPrivateData(REFGUID, UINT*, void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetParent(REFIID, void**) override { return E_NOTIMPL; }

    // IDXGIOutputDuplication
    void STDMETHODCALLTYPE GetDesc(DXGI_OUTDUPL_DESC* desc) override { *desc = m_desc; }
    HRESULT STDMETHODCALLTYPE AcquireNextFrame(UINT timeoutMs, DXGI_OUTDUPL_FRAME_INFO* info,
                                               IDXGIResource** resource) override {
        *resource = nullptr;
        const HRESULT hr = nextResult.load();
        if (FAILED(hr)) {
            Sleep(hr == DXGI_ERROR_WAIT_TIMEOUT ? timeoutMs : 1);
            return hr;
        }
        if (m_held.exchange(true))
            return DXGI_ERROR_INVALID_CALL; // the previous frame was not released
        *info = {};
        info->AccumulatedFrames = 1;
        ++acquired;
        Sleep(2); // a desktop changes a few hundred times a second at most
        return m_texture->QueryInterface(IID_PPV_ARGS(resource));
    }
    HRESULT STDMETHODCALLTYPE GetFrameDirtyRects(UINT, RECT*, UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetFrameMoveRects(UINT, DXGI_OUTDUPL_MOVE_RECT*, UINT*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetFramePointerShape(UINT, void*, UINT*,
                                                   DXGI_OUTDUPL_POINTER_SHAPE_INFO*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE MapDesktopSurface(DXGI_MAPPED_RECT*) override { return DXGI_ERROR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE UnMapDesktopSurface() override { return DXGI_ERROR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE ReleaseFrame() override {
        if (!m_held.exchange(false))
            return DXGI_ERROR_INVALID_CALL;
        ++released;
        return S_OK;
    }

private:
    FakeOutputDuplication() = default;
    ~FakeOutputDuplication() = default;

    std::atomic<ULONG> m_references{0}; // the first ComPtr adds the first
    std::atomic<bool> m_held{false};
    Microsoft::WRL::ComPtr<ID3D11Texture2D> m_texture;
    DXGI_OUTDUPL_DESC m_desc = {};
};
