#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A BGRA picture (packed rows) that looks like a desktop: a diagonal gradient background, a few windows with
// title bars and lines of dark glyph-like marks on white, the kind of content the tile codec sends. The
// same size always gives the same picture.
inline std::vector<uint8_t> MakeScreenPicture(int32_t width, int32_t height) {
    const size_t w = static_cast<size_t>(width);
    const size_t h = static_cast<size_t>(height);
    std::vector<uint8_t> pixels(w * h * 4);
    auto put = [&](size_t x, size_t y, uint8_t b, uint8_t g, uint8_t r) {
        uint8_t* p = pixels.data() + (y * w + x) * 4;
        p[0] = b;
        p[1] = g;
        p[2] = r;
        p[3] = 255;
    };
    for (size_t y = 0; y < h; ++y)
        for (size_t x = 0; x < w; ++x)
            put(x, y, static_cast<uint8_t>(90 + 120 * x / (w + 1)),
                static_cast<uint8_t>(60 + 100 * y / (h + 1)),
                static_cast<uint8_t>(40 + 60 * (x + y) / (w + h + 1)));

    // Windows: (left, top, right, bottom) as fractions of the screen in 1/16ths.
    const size_t windows[][4] = {{1, 1, 9, 10}, {6, 4, 15, 14}, {2, 11, 7, 15}};
    for (const auto& win : windows) {
        const size_t left = win[0] * w / 16, top = win[1] * h / 16;
        const size_t right = win[2] * w / 16, bottom = win[3] * h / 16;
        const size_t titleBottom = top + (bottom - top) / 10 + 1;
        for (size_t y = top; y < bottom; ++y)
            for (size_t x = left; x < right; ++x) {
                if (y < titleBottom) {
                    put(x, y, 160, 90, 30);
                    continue;
                }
                // Text lines of 6x9 glyph cells with 2-pixel gaps; the mark in each cell varies with its
                // position so neighbouring glyphs differ.
                const size_t cx = (x - left) % 8, cy = (y - titleBottom) % 14;
                const size_t glyph = (x - left) / 8 * 7 + (y - titleBottom) / 14 * 13;
                const bool ink =
                    cx >= 1 && cx < 7 && cy >= 2 && cy < 11 && ((glyph >> (cx + cy) % 5) & 1) &&
                    (cx == 1 || cy == 2 || (glyph % 3 == 0 && cx == 6) || (glyph % 4 == 1 && cy == 10));
                if (ink)
                    put(x, y, 20, 20, 20);
                else
                    put(x, y, 250, 250, 250);
            }
    }
    return pixels;
}
