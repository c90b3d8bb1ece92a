#pragma once

#include <memory>

#include <turbojpeg.h>

// Owns a TurboJPEG compressor or decompressor handle.
struct TurboJpegDestroy {
    void operator()(void* handle) const { tjDestroy(handle); }
};
using TurboJpegHandle = std::unique_ptr<void, TurboJpegDestroy>;
