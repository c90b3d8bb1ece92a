#pragma once

#include <cstddef>
#include <cstdint>

// Sizes the renderer works with for one picture. The textures are made at the coded size made even (NV12
// chroma is one sample per 2 x 2 block); only the visible part is sampled, so the padding rows and columns
// a decoder adds (1088 coded rows for 1080 visible) never reach the screen.
struct RenderSizes {
    int32_t textureW = 0; // coded size, even
    int32_t textureH = 0;
    int32_t visibleW = 0; // visible size clamped to the coded size, even
    int32_t visibleH = 0;
};

// A visible value below 1 or above the coded one takes the coded value; all four are then made even. False
// when any of them is 0.
bool NormalizeRenderSizes(int32_t codedW, int32_t codedH, int32_t visibleW, int32_t visibleH,
                          RenderSizes& out);

// The share of the texture the shaders sample: visible / texture per axis.
struct UvScale {
    float x = 1.0f;
    float y = 1.0f;
};
UvScale UvScaleOf(const RenderSizes& sizes);

// The swap chain's size for a draw: the client size made even, or the visible size when the client area is
// empty (a minimised or not yet laid out window).
void DestinationSize(int32_t clientW, int32_t clientH, const RenderSizes& sizes, int32_t& width,
                     int32_t& height);

// Where the texture uploads read in a caller's buffer. Pitches of 0 or less stand for the coded width (BGRA:
// coded width * 4); the chroma plane starts after codedH luma rows. Offsets come from the coded size as
// delivered, not the even texture size, so a picture of odd size is still read at its real rows.
struct UploadLayout {
    size_t rowPitch = 0;      // luma or BGRA rows
    size_t chromaPitch = 0;   // NV12 only
    size_t chromaOffset = 0;  // NV12 only
    size_t requiredBytes = 0; // the buffer must hold this many bytes for the upload to stay inside it
};
// False for a pitch shorter than a texture row.
bool Nv12UploadLayout(int32_t codedW, int32_t codedH, int32_t yPitch, int32_t uvPitch,
                      const RenderSizes& sizes, UploadLayout& out);
bool BgraUploadLayout(int32_t width, int32_t stride, const RenderSizes& sizes, UploadLayout& out);

// The sampler of a renderScaleMode setting for the log: 1 "Nearest", 3 "Anisotropic", 0 "Auto"; 2 and any
// value above 3 "Linear".
const char* RenderScaleModeName(uint32_t mode);
