// Publishes a known picture through the capture worker's frame publisher, for the reader tests:
//   SecureFramePublisherTool <width> <height> <frames> <interval-ms> [hold-ms]
// makes the mapping and its ready event, publishes <frames> frames <interval-ms> apart, keeps the objects
// for [hold-ms] more (default 0), then exits. Frame n (sequence n) shows, at column x and row y, the pixel
// B = n & 0xFF, G = x & 0xFF, R = y & 0xFF, A = 0xFF. Exit 0, 1 when the objects cannot be made, 2 on bad
// arguments, 3 when a frame was refused.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <vector>

#include "service/win/SecureFramePublisher.h"

namespace {

void Paint(std::vector<uint8_t>& pixels, int32_t width, int32_t height, uint64_t sequence) {
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            uint8_t* p = &pixels[(static_cast<size_t>(y) * width + x) * 4];
            p[0] = static_cast<uint8_t>(sequence);
            p[1] = static_cast<uint8_t>(x);
            p[2] = static_cast<uint8_t>(y);
            p[3] = 0xFF;
        }
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 5 && argc != 6) {
        std::fprintf(stderr, "usage: SecureFramePublisherTool width height frames interval-ms [hold-ms]\n");
        return 2;
    }
    const auto width = static_cast<int32_t>(std::wcstol(argv[1], nullptr, 10));
    const auto height = static_cast<int32_t>(std::wcstol(argv[2], nullptr, 10));
    const auto frames = std::wcstoul(argv[3], nullptr, 10);
    const auto interval = static_cast<DWORD>(std::wcstoul(argv[4], nullptr, 10));
    const auto hold = static_cast<DWORD>(argc == 6 ? std::wcstoul(argv[5], nullptr, 10) : 0);
    if (width < 1 || height < 1 || width > 4096 || height > 4096 || frames > 100000 || interval > 60000 ||
        hold > 60000)
        return 2;

    SecureFramePublisher publisher;
    if (!publisher.Init()) {
        std::fprintf(stderr, "SecureFramePublisherTool: init failed gle=%lu\n", GetLastError());
        return 1;
    }
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
    for (unsigned long n = 1; n <= frames; ++n) {
        Paint(pixels, width, height, n);
        if (!publisher.Publish(pixels.data(), width, height, width * 4))
            return 3;
        if (n < frames)
            Sleep(interval);
    }
    Sleep(hold);
    publisher.Close();
    return 0;
}
