#include "service/win/SecureGdiSource.h"

#include <utility>

#include "service/SecureCaptureRules.h"
#include "service/win/WardletLog.h"

namespace {

// SRCCOPY | CAPTUREBLT: layered windows (the credential UI uses some) are copied too.
constexpr DWORD kCaptureRop = 0x40CC0020;

// The HRESULT of the failed call that just happened; never a success.
int32_t LastErrorHresult() {
    const int32_t hr = SecureHresultFromWin32(::GetLastError());
    return hr < 0 ? hr : static_cast<int32_t>(E_FAIL);
}

} // namespace

int32_t SecureGdiSource::Init() {
    Release();
    LONG left = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    LONG top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    LONG width = ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    LONG height = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    if (width <= 0 || height <= 0) {
        left = 0;
        top = 0;
        width = ::GetSystemMetrics(SM_CXSCREEN);
        height = ::GetSystemMetrics(SM_CYSCREEN);
    }
    if (width <= 0 || height <= 0)
        return static_cast<int32_t>(E_FAIL);

    UniqueWindowDC screen(nullptr, ::GetDC(nullptr));
    if (screen.Get() == nullptr)
        return LastErrorHresult();
    UniqueMemoryDC memory(::CreateCompatibleDC(screen.Get()));
    if (memory.Get() == nullptr)
        return LastErrorHresult();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueGdiObject bitmap(::CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bitmap.Get() == nullptr || bits == nullptr)
        return LastErrorHresult();
    HGDIOBJ previous = ::SelectObject(memory.Get(), bitmap.Get());
    if (previous == nullptr || previous == HGDI_ERROR)
        return LastErrorHresult();

    m_screen = std::move(screen);
    m_memory = std::move(memory);
    m_bitmap = std::move(bitmap);
    m_selection = ScopedDCSelection(m_memory.Get(), previous);
    m_bits = static_cast<const uint8_t*>(bits);
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    m_stride = width * 4; // 32-bit rows need no padding
    WardletLog("[SECURE_GDI][INIT] desktop=%ld,%ld size=%ldx%ld stride=%ld", m_left, m_top, m_width, m_height,
               m_stride);
    return S_OK;
}

int32_t SecureGdiSource::BeginFrame(SecureCaptureImage& image) {
    if (m_bits == nullptr)
        return static_cast<int32_t>(E_UNEXPECTED);
    if (!::BitBlt(m_memory.Get(), 0, 0, m_width, m_height, m_screen.Get(), m_left, m_top, kCaptureRop)) {
        // Some drivers refuse CAPTUREBLT; the plain copy still shows the secure desktop.
        const DWORD firstError = ::GetLastError();
        if (!::BitBlt(m_memory.Get(), 0, 0, m_width, m_height, m_screen.Get(), m_left, m_top, SRCCOPY))
            return SecureBlitFailure(firstError, ::GetLastError());
    }
    // The DIB's memory is read directly: let GDI finish writing it first.
    ::GdiFlush();
    image.pixels = m_bits;
    image.bufferSize = size_t(m_stride) * size_t(m_height);
    image.width = m_width;
    image.height = m_height;
    image.stride = m_stride;
    return S_OK;
}

int32_t SecureGdiSource::EndFrame() {
    return S_OK;
}

void SecureGdiSource::Release() {
    m_bits = nullptr;
    m_selection.Reset();
    m_bitmap.Reset();
    m_memory.Reset();
    m_screen.Reset();
    m_left = m_top = m_width = m_height = m_stride = 0;
}
