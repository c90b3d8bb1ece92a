#pragma once

#include <windows.h>

#include <cstdint>

#include "core/win/Handles.h"
#include "service/SecureCapturePorts.h"

// The capture worker's GDI path: the whole virtual desktop copied into a 32-bit top-down DIB section. Used
// where desktop duplication is not supported on the secure desktop.
class SecureGdiSource final : public ISecureCaptureSource {
public:
    int32_t Init() override;
    int32_t BeginFrame(SecureCaptureImage& image) override;
    int32_t EndFrame() override;
    void Release() override;

private:
    LONG m_left = 0;
    LONG m_top = 0;
    LONG m_width = 0;
    LONG m_height = 0;
    LONG m_stride = 0;
    // Destroyed from the last up: the selection is undone before the DIB and the DCs go.
    UniqueWindowDC m_screen;
    UniqueMemoryDC m_memory;
    UniqueGdiObject m_bitmap;
    ScopedDCSelection m_selection;
    const uint8_t* m_bits = nullptr;
};
