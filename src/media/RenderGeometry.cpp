#include "media/RenderGeometry.h"

namespace {

int32_t Even(int32_t value) {
    return value & ~1;
}

} // namespace

bool NormalizeRenderSizes(int32_t codedW, int32_t codedH, int32_t visibleW, int32_t visibleH,
                          RenderSizes& out) {
    if (codedW < 1 || codedH < 1)
        return false;
    if (visibleW < 1 || visibleW > codedW)
        visibleW = codedW;
    if (visibleH < 1 || visibleH > codedH)
        visibleH = codedH;
    RenderSizes sizes{Even(codedW), Even(codedH), Even(visibleW), Even(visibleH)};
    if (sizes.textureW == 0 || sizes.textureH == 0 || sizes.visibleW == 0 || sizes.visibleH == 0)
        return false;
    out = sizes;
    return true;
}

UvScale UvScaleOf(const RenderSizes& sizes) {
    if (sizes.textureW < 1 || sizes.textureH < 1)
        return UvScale{};
    return UvScale{static_cast<float>(sizes.visibleW) / static_cast<float>(sizes.textureW),
                   static_cast<float>(sizes.visibleH) / static_cast<float>(sizes.textureH)};
}

void DestinationSize(int32_t clientW, int32_t clientH, const RenderSizes& sizes, int32_t& width,
                     int32_t& height) {
    // A client area one pixel wide or high would even down to nothing, which ResizeBuffers cannot take.
    if (Even(clientW) < 1 || Even(clientH) < 1) {
        width = sizes.visibleW;
        height = sizes.visibleH;
        return;
    }
    width = Even(clientW);
    height = Even(clientH);
}

bool Nv12UploadLayout(int32_t codedW, int32_t codedH, int32_t yPitch, int32_t uvPitch,
                      const RenderSizes& sizes, UploadLayout& out) {
    if (codedW < 1 || codedH < 1 || sizes.textureW < 1 || sizes.textureH < 2)
        return false;
    const size_t rowBytes = static_cast<size_t>(sizes.textureW);
    const size_t pitch = yPitch < 1 ? static_cast<size_t>(codedW) : static_cast<size_t>(yPitch);
    const size_t chromaPitch = uvPitch < 1 ? static_cast<size_t>(codedW) : static_cast<size_t>(uvPitch);
    if (pitch < rowBytes || chromaPitch < rowBytes)
        return false;
    const size_t rows = static_cast<size_t>(sizes.textureH);
    out.rowPitch = pitch;
    out.chromaPitch = chromaPitch;
    out.chromaOffset = pitch * static_cast<size_t>(codedH);
    out.requiredBytes = out.chromaOffset + (rows / 2 - 1) * chromaPitch + rowBytes;
    return true;
}

bool BgraUploadLayout(int32_t width, int32_t stride, const RenderSizes& sizes, UploadLayout& out) {
    if (width < 1 || sizes.textureW < 1 || sizes.textureH < 1)
        return false;
    const size_t rowBytes = static_cast<size_t>(sizes.textureW) * 4;
    const size_t pitch = stride < 1 ? static_cast<size_t>(width) * 4 : static_cast<size_t>(stride);
    if (pitch < rowBytes)
        return false;
    out = UploadLayout{};
    out.rowPitch = pitch;
    out.requiredBytes = (static_cast<size_t>(sizes.textureH) - 1) * pitch + rowBytes;
    return true;
}

const char* RenderScaleModeName(uint32_t mode) {
    switch (mode) {
    case 1:
        return "Nearest";
    case 3:
        return "Anisotropic";
    case 0:
        return "Auto";
    default:
        return "Linear";
    }
}
