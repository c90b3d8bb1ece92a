#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// One decoded picture, or a request to present one black frame, on its way from the ClientSession thread to
// the render thread. kind is the first field.
constexpr uint32_t kRemoteViewFramePicture = 0;
constexpr uint32_t kRemoteViewFrameBlackRequest = 1;

constexpr uint32_t kRemoteViewPixelNV12 = 0; // luma plane (width * height) then interleaved chroma
constexpr uint32_t kRemoteViewPixelBGRA = 1; // 32 bits per pixel, rows of `stride` bytes

// Bytes of a tightly packed NV12 picture on the controller's path (decoder output, queue, submit): the luma
// plane of width * height bytes, then the interleaved chroma plane of width * ((height + 1) / 2) bytes, so an
// odd height keeps its last chroma row. 0 for a size below 1.
constexpr size_t Nv12PictureBytes(int32_t width, int32_t height) {
    if (width < 1 || height < 1)
        return 0;
    const size_t w = static_cast<size_t>(width);
    return w * static_cast<size_t>(height) + w * ((static_cast<size_t>(height) + 1) / 2);
}

struct RemoteViewFrame {
    uint32_t kind = kRemoteViewFramePicture;
    uint32_t pixelFormat = kRemoteViewPixelNV12;
    std::vector<uint8_t> pixels; // owned by the record
    int32_t width = 0;           // coded size of the buffer
    int32_t height = 0;
    int32_t sourceWidth = 0; // the visible part that the renderer samples
    int32_t sourceHeight = 0;
    int32_t stride = 0;    // BGRA bytes per row; 0 for NV12
    uint32_t reserved = 0; // always 0
    uint64_t sequence = 0; // given by the queue when the record is queued
};

// A black request: no pixels, every size 0.
inline RemoteViewFrame RemoteViewBlackRequest() {
    RemoteViewFrame frame;
    frame.kind = kRemoteViewFrameBlackRequest;
    return frame;
}
