// The controller's ULTRA picture path per 1080p frame, for tests/bench/tiles_decode_ms.sh: an MF44 tile
// container (made once with TileJpegEncoder from a desktop-like picture) decoded by TileJpegDecoder on its
// four workers and drawn by the Renderer into a 1920 x 1080 window. Prints the median over the measured
// frames after a warm-up:
//   BENCH tiles_decode_ms <ms> ms
// Exits 1 when any step fails.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "media/TileJpegDecoder.h"
#include "media/TileJpegEncoder.h"
#include "media/win/Renderer.h"
#include "support/ScreenPicture.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kWarmUp = 3;
constexpr int kFrames = 30;

void Pump() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

HWND MakeWindow() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TslyTilesDecodeBench";
    ::RegisterClassW(&wc);
    return ::CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, kWidth,
                             kHeight, nullptr, nullptr, wc.hInstance, nullptr);
}

} // namespace

int wmain() {
    const std::vector<uint8_t> picture = MakeScreenPicture(kWidth, kHeight);
    std::vector<uint8_t> container;
    {
        auto encoder = TileJpegEncoder::Create();
        if (!encoder->IsReady() || !encoder->Encode(picture.data(), kWidth, kHeight, container)) {
            std::fprintf(stderr, "tiles_decode_ms: encode failed\n");
            return 1;
        }
    }
    auto decoder = TileJpegDecoder::Create();
    const HWND window = MakeWindow();
    Renderer renderer;
    if (!decoder->IsReady() || window == nullptr || !renderer.Init(window, kWidth, kHeight)) {
        std::fprintf(stderr, "tiles_decode_ms: setup failed\n");
        return 1;
    }
    std::vector<uint8_t> frame;
    std::vector<double> ms;
    for (int i = 0; i < kWarmUp + kFrames; ++i) {
        Pump();
        const auto start = std::chrono::steady_clock::now();
        if (!decoder->Decode(container.data(), container.size(), kWidth, kHeight, frame) ||
            !renderer.RenderBgra(frame.data(), frame.size(), kWidth, kHeight, kWidth, kHeight, 0)) {
            std::fprintf(stderr, "tiles_decode_ms: frame %d failed\n", i);
            return 1;
        }
        if (i >= kWarmUp)
            ms.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    std::printf("BENCH tiles_decode_ms %.2f ms\n", ms[ms.size() / 2]);
    renderer.Release();
    ::DestroyWindow(window);
    return 0;
}
