#include "media/win/PersistentGdiCapture.h"

#include <utility>

#include "core/Log.h"

namespace {

// SRCCOPY | CAPTUREBLT: layered (for example translucent) windows are copied too.
constexpr DWORD kCaptureRop = 0x40CC0020;

} // namespace

CaptureSize PrimaryScreenSize() {
    return {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

PersistentGdiCapture::PersistentGdiCapture(std::function<CaptureSize()> primarySize)
    : m_primarySize(std::move(primarySize)) {}

bool PersistentGdiCapture::Init(int32_t maxWidth, int32_t maxHeight) {
    Release();
    const CaptureSize source = m_primarySize();
    if (source.width < 1 || source.height < 1) {
        Log::Write("[GDI][CAPTURE][INIT_FAIL] invalid primary size=%dx%d", source.width, source.height);
        return false;
    }
    UniqueWindowDC screen(nullptr, ::GetDC(nullptr));
    if (screen.Get() == nullptr) {
        Log::Write("[GDI][CAPTURE][INIT_FAIL] GetDC gle=%lu", ::GetLastError());
        return false;
    }
    UniqueMemoryDC memory(::CreateCompatibleDC(screen.Get()));
    if (memory.Get() == nullptr) {
        Log::Write("[GDI][CAPTURE][INIT_FAIL] CreateCompatibleDC gle=%lu", ::GetLastError());
        return false;
    }
    const CaptureSize output = GdiCaptureOutputSize(source, maxWidth, maxHeight);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = output.width;
    info.bmiHeader.biHeight = -output.height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueGdiObject bitmap(::CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bitmap.Get() == nullptr || bits == nullptr) {
        Log::Write("[GDI][CAPTURE][INIT_FAIL] CreateDIBSection size=%dx%d gle=%lu", output.width,
                   output.height, ::GetLastError());
        return false;
    }
    HGDIOBJ previous = ::SelectObject(memory.Get(), bitmap.Get());
    if (previous == nullptr || previous == HGDI_ERROR) {
        Log::Write("[GDI][CAPTURE][INIT_FAIL] SelectObject gle=%lu", ::GetLastError());
        return false;
    }
    ::SetStretchBltMode(memory.Get(), COLORONCOLOR);

    m_screen = std::move(screen);
    m_memory = std::move(memory);
    m_bitmap = std::move(bitmap);
    m_selection = ScopedDCSelection(m_memory.Get(), previous);
    m_bits = static_cast<const uint8_t*>(bits);
    m_source = source;
    m_output = output;
    Log::Write("[GDI][CAPTURE][INIT] source=%dx%d output=%dx%d max=%dx%d persistent_dib=1", source.width,
               source.height, output.width, output.height, maxWidth, maxHeight);
    return true;
}

bool PersistentGdiCapture::CaptureFrame(std::vector<uint8_t>& pixels) {
    if (!IsReady())
        return false;
    const CaptureSize current = m_primarySize();
    if (current != m_source) {
        Log::Write("[GDI][CAPTURE][MODE_CHANGE] source=%dx%d current=%dx%d", m_source.width, m_source.height,
                   current.width, current.height);
        return false;
    }
    const BOOL blitted = m_output == m_source ? ::BitBlt(m_memory.Get(), 0, 0, m_output.width,
                                                         m_output.height, m_screen.Get(), 0, 0, kCaptureRop)
                                              : ::StretchBlt(m_memory.Get(), 0, 0, m_output.width,
                                                             m_output.height, m_screen.Get(), 0, 0,
                                                             m_source.width, m_source.height, kCaptureRop);
    if (!blitted) {
        Log::Write("[GDI][CAPTURE][FRAME_FAIL] source=%dx%d output=%dx%d gle=%lu", m_source.width,
                   m_source.height, m_output.width, m_output.height, ::GetLastError());
        return false;
    }
    // The DIB's memory is read directly: let GDI finish writing it first.
    ::GdiFlush();
    const size_t bytes = static_cast<size_t>(m_output.width) * static_cast<size_t>(m_output.height) * 4;
    pixels.assign(m_bits, m_bits + bytes);
    return true;
}

void PersistentGdiCapture::Release() {
    m_bits = nullptr;
    m_selection.Reset();
    m_bitmap.Reset();
    m_memory.Reset();
    m_screen.Reset();
    m_source = {};
    m_output = {};
}

bool CaptureGdiSnapshot(int32_t maxWidth, int32_t maxHeight, std::vector<uint8_t>& pixels,
                        CaptureSize& size) {
    PersistentGdiCapture capture;
    if (!capture.Init(maxWidth, maxHeight) || !capture.CaptureFrame(pixels))
        return false;
    size = capture.Output();
    return true;
}
