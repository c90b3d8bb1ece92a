#pragma once

#include <cstdint>

struct CaptureSize {
    int32_t width = 0;
    int32_t height = 0;

    bool operator==(const CaptureSize&) const = default;
};

// Output size of the GDI screen capture for a source (the primary screen) and a maximum video size.
// When both maxima are at least 1 and the source exceeds one of them, the source is scaled by
// min(maxWidth / width, maxHeight / height), truncated and made even; otherwise it is the source made even.
// Either way each side is at least 2, so an odd 1-pixel source still gives a picture the encoders take.
// The ratio is worked out in integers, so 1920x1080 into 1280x720 gives exactly 1280x720.
CaptureSize GdiCaptureOutputSize(CaptureSize source, int32_t maxWidth, int32_t maxHeight);
