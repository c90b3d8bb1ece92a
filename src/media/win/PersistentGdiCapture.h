#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "core/win/Handles.h"
#include "media/GdiCaptureSize.h"

// The primary screen's size in pixels (SM_CXSCREEN by SM_CYSCREEN).
CaptureSize PrimaryScreenSize();

// Screen capture through GDI for when desktop duplication is unavailable. The screen DC, a compatible
// memory DC and a top-down 32-bit DIB section of the output size (GdiCaptureOutputSize) are made once by
// Init and kept for the whole run, so a frame is one blit and one copy. Frames are BitBlt (same size) or
// StretchBlt (COLORONCOLOR) with SRCCOPY | CAPTUREBLT, so layered windows are in the picture.
// One thread at a time.
class PersistentGdiCapture {
public:
    // primarySize reports the primary screen's size; tests replace it to imitate a mode change.
    explicit PersistentGdiCapture(std::function<CaptureSize()> primarySize = PrimaryScreenSize);
    PersistentGdiCapture(const PersistentGdiCapture&) = delete;
    PersistentGdiCapture& operator=(const PersistentGdiCapture&) = delete;

    // Sets up for the current primary size and the maximum video size (0 = unlimited); logs
    // "[GDI][CAPTURE][INIT] ..." or the "[GDI][CAPTURE][INIT_FAIL] ..." line of the step that failed.
    bool Init(int32_t maxWidth, int32_t maxHeight);
    // Captures the screen and copies the output (Output().width * height * 4 bytes, BGRA, top-down,
    // tightly packed) into pixels. False when the primary size no longer equals the source size
    // ("[GDI][CAPTURE][MODE_CHANGE] ...": Init again) or the blit failed ("[GDI][CAPTURE][FRAME_FAIL] ...").
    bool CaptureFrame(std::vector<uint8_t>& pixels);
    // Frees the GDI objects; Init may follow.
    void Release();

    bool IsReady() const { return m_bits != nullptr; }
    CaptureSize Source() const { return m_source; }
    CaptureSize Output() const { return m_output; }

private:
    std::function<CaptureSize()> m_primarySize;
    CaptureSize m_source;
    CaptureSize m_output;
    // Destroyed bottom-up: the bitmap is selected out before it and the DCs are deleted.
    UniqueWindowDC m_screen;
    UniqueMemoryDC m_memory;
    UniqueGdiObject m_bitmap;
    ScopedDCSelection m_selection;
    const uint8_t* m_bits = nullptr;
};

// One frame through a temporary PersistentGdiCapture (the rescue when duplication gives no first frame):
// the pixels and their size, or false.
bool CaptureGdiSnapshot(int32_t maxWidth, int32_t maxHeight, std::vector<uint8_t>& pixels, CaptureSize& size);
