// Reads a clock code (tests/support/ClockCode.h, drawn by MovingPattern --clock on the controlled PC and
// shown on this display) from the screen at a high rate and prints, for each new value, how long ago that
// value was drawn: now minus the value, both from the wall clock the two simulated PCs share.
//   LatencyProbe X Y WIDTH HEIGHT SECONDS [PERIOD_MS]   the screen rectangle that shows the code
// Prints "LATENCY <ms>" per new value and at the end
//   "PROBE grabs=<n> read=<n> values=<n> grab_avg_ms=<ms> grab_max_ms=<ms>".
// A value is first seen up to one period plus one grab after it appeared, and it is timed at the middle of
// the grab that saw it; the grab times printed at the end bound the error.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>

#include "support/ClockCode.h"

namespace {

uint64_t ClockTicks() {
    FILETIME ft;
    GetSystemTimePreciseAsFileTime(&ft);
    return (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

// Grabs only a stripe through the middle of each code row: a smaller grab is a shorter one, and its
// length is the uncertainty of when the picture was read.
struct Grabber {
    int width = 0;
    int height = 0;
    int stripe = 0;
    HDC screen = nullptr;
    HDC memory = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    const uint8_t* pixels = nullptr; // BGRA, top-down: the stripes one below the other, width * 4 per row

    bool Open(int w, int h) {
        width = w;
        height = h;
        const int cellHeight = h / clockcode::kRows;
        stripe = cellHeight / 2 < 16 ? cellHeight / 2 : 16;
        screen = GetDC(nullptr);
        memory = CreateCompatibleDC(screen);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -stripe * clockcode::kRows;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (screen == nullptr || memory == nullptr || bitmap == nullptr || stripe < 1)
            return false;
        old = SelectObject(memory, bitmap);
        pixels = static_cast<const uint8_t*>(bits);
        return true;
    }

    bool Grab(int x, int y) {
        bool ok = true;
        for (int row = 0; row < clockcode::kRows; ++row) {
            const int middle = (2 * row + 1) * height / (2 * clockcode::kRows);
            ok = BitBlt(memory, 0, row * stripe, width, stripe, screen, x, y + middle - stripe / 2,
                        SRCCOPY | CAPTUREBLT) != FALSE &&
                 ok;
        }
        GdiFlush();
        return ok;
    }

    // Mean luminance of each cell over the inner half of its width, within the row's stripe.
    clockcode::Cells Cells() const {
        clockcode::Cells cells{};
        for (int row = 0; row < clockcode::kRows; ++row) {
            for (int column = 0; column < clockcode::kColumns; ++column) {
                const int left = column * width / clockcode::kColumns;
                const int right = (column + 1) * width / clockcode::kColumns;
                const int qx = (right - left) / 4;
                uint64_t sum = 0;
                uint64_t count = 0;
                for (int y = row * stripe; y < (row + 1) * stripe; ++y) {
                    const uint8_t* p = pixels + (static_cast<size_t>(y) * width + left + qx) * 4;
                    for (int x = left + qx; x < right - qx; ++x, p += 4) {
                        sum += (299u * p[2] + 587u * p[1] + 114u * p[0]) / 1000u;
                        ++count;
                    }
                }
                cells[row][column] = count ? static_cast<int>(sum / count) : 0;
            }
        }
        return cells;
    }

    ~Grabber() {
        if (old != nullptr)
            SelectObject(memory, old);
        if (bitmap != nullptr)
            DeleteObject(bitmap);
        if (memory != nullptr)
            DeleteDC(memory);
        if (screen != nullptr)
            ReleaseDC(nullptr, screen);
    }
};

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 6 && argc != 7) {
        std::fprintf(stderr, "usage: LatencyProbe X Y WIDTH HEIGHT SECONDS [PERIOD_MS]\n");
        return 2;
    }
    const int x = static_cast<int>(std::wcstol(argv[1], nullptr, 10));
    const int y = static_cast<int>(std::wcstol(argv[2], nullptr, 10));
    const int width = static_cast<int>(std::wcstol(argv[3], nullptr, 10));
    const int height = static_cast<int>(std::wcstol(argv[4], nullptr, 10));
    const unsigned long seconds = std::wcstoul(argv[5], nullptr, 10);
    const unsigned long periodMs = argc == 7 ? std::wcstoul(argv[6], nullptr, 10) : 5;
    if (width < clockcode::kColumns * 2 || height < clockcode::kRows * 2 || width > 8192 || height > 8192 ||
        seconds < 1 || seconds > 3600 || periodMs > 1000) {
        std::fprintf(stderr, "LatencyProbe: bad rectangle, duration or period\n");
        return 2;
    }
    Grabber grabber;
    if (!grabber.Open(width, height)) {
        std::fprintf(stderr, "LatencyProbe: cannot set up the screen grab\n");
        return 1;
    }
    const uint64_t end = ClockTicks() + seconds * 10000000ull;
    unsigned long grabs = 0;
    unsigned long read = 0;
    unsigned long values = 0;
    uint64_t grabTicksSum = 0;
    uint64_t grabTicksMax = 0;
    bool haveLast = false;
    uint32_t last = 0;
    for (uint64_t now = ClockTicks(); now < end; now = ClockTicks()) {
        if (!grabber.Grab(x, y)) {
            std::fprintf(stderr, "LatencyProbe: BitBlt failed gle=%lu\n", GetLastError());
            return 1;
        }
        const uint64_t took = ClockTicks() - now;
        // The screen was read somewhere within the grab: its middle is off by at most half a grab.
        const uint64_t readAt = now + took / 2;
        ++grabs;
        grabTicksSum += took;
        grabTicksMax = took > grabTicksMax ? took : grabTicksMax;
        if (auto value = clockcode::Decode(grabber.Cells())) {
            ++read;
            // Wrap-safe: a value later than the last one is a new picture.
            if (!haveLast || static_cast<int32_t>(*value - last) > 0) {
                const int32_t latency = static_cast<int32_t>(static_cast<uint32_t>(readAt / 10000) - *value);
                std::printf("LATENCY %ld\n", static_cast<long>(latency));
                std::fflush(stdout);
                last = *value;
                haveLast = true;
                ++values;
            }
        }
        if (periodMs > 0)
            Sleep(periodMs);
    }
    std::printf("PROBE grabs=%lu read=%lu values=%lu grab_avg_ms=%.2f grab_max_ms=%.2f\n", grabs, read,
                values, grabs ? grabTicksSum / 10000.0 / grabs : 0.0, grabTicksMax / 10000.0);
    std::fflush(stdout);
    return values > 0 ? 0 : 1;
}
