#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "TestPaths.h"
#include "core/win/Handles.h"
#include "service/BmpHeader.h"

// Screenshots for the drawing tests: what a window shows on the test display, saved next to the test
// executable (screenshots\<name>.bmp) to be looked at, and compared with a reference image kept in
// tests/win/data/reference. TSLY_UPDATE_REFERENCES=1 writes the reference from the current picture instead.

struct WindowSnapshot {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> bgra; // top-down rows, width * 4 bytes each

    uint32_t Pixel(int32_t x, int32_t y) const {
        const uint8_t* p = &bgra[(static_cast<size_t>(y) * width + x) * 4];
        return p[0] | (p[1] << 8) | (p[2] << 16); // 0x00RRGGBB
    }
};

// The screen pixels of a rectangle in screen coordinates; empty when the copy fails.
inline WindowSnapshot CaptureScreenRect(const RECT& r) {
    WindowSnapshot shot;
    const int32_t w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0)
        return shot;
    UniqueWindowDC screen(nullptr, GetDC(nullptr));
    UniqueMemoryDC memory(CreateCompatibleDC(screen.Get()));
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueGdiObject bitmap(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (screen.Get() == nullptr || memory.Get() == nullptr || bitmap.Get() == nullptr)
        return shot;
    {
        ScopedDCSelection select(memory.Get(), SelectObject(memory.Get(), bitmap.Get()));
        if (!BitBlt(memory.Get(), 0, 0, w, h, screen.Get(), r.left, r.top, SRCCOPY))
            return shot;
        GdiFlush();
    }
    shot.width = w;
    shot.height = h;
    shot.bgra.assign(static_cast<const uint8_t*>(bits),
                     static_cast<const uint8_t*>(bits) + size_t(w) * h * 4);
    for (size_t i = 3; i < shot.bgra.size(); i += 4)
        shot.bgra[i] = 0xFF; // the screen has no alpha; keep saved files opaque
    return shot;
}

// The whole window as the display shows it (frame included); bring it to the top and let it paint first.
inline WindowSnapshot CaptureWindow(HWND window) {
    RECT r = {};
    if (!GetWindowRect(window, &r))
        return {};
    return CaptureScreenRect(r);
}

inline bool SaveSnapshot(const WindowSnapshot& shot, const std::wstring& path) {
    auto header = BuildBmpHeader(shot.width, shot.height, shot.width * 4);
    if (!header)
        return false;
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE || file.Get() == nullptr)
        return false;
    DWORD wrote = 0;
    return WriteFile(file.Get(), header->data(), DWORD(header->size()), &wrote, nullptr) &&
           wrote == header->size() &&
           WriteFile(file.Get(), shot.bgra.data(), DWORD(shot.bgra.size()), &wrote, nullptr) &&
           wrote == shot.bgra.size();
}

// Reads back a file SaveSnapshot wrote; nothing for any other file.
inline std::optional<WindowSnapshot> LoadSnapshot(const std::wstring& path) {
    const std::string bytes = ReadWholeFile(path);
    if (bytes.size() < kBmpHeaderSize)
        return std::nullopt;
    int32_t w = 0, h = 0;
    std::memcpy(&w, bytes.data() + 18, 4);
    std::memcpy(&h, bytes.data() + 22, 4);
    auto header = BuildBmpHeader(w, -h, w * 4);
    if (!header || std::memcmp(header->data(), bytes.data(), kBmpHeaderSize) != 0 ||
        bytes.size() != kBmpHeaderSize + size_t(w) * size_t(-h) * 4)
        return std::nullopt;
    WindowSnapshot shot;
    shot.width = w;
    shot.height = -h;
    shot.bgra.assign(bytes.begin() + kBmpHeaderSize, bytes.end());
    return shot;
}

// The share of pixels (0..1) where any colour channel differs by more than channelTolerance; 1 when the
// sizes differ.
inline double SnapshotDifference(const WindowSnapshot& a, const WindowSnapshot& b, int channelTolerance) {
    if (a.width != b.width || a.height != b.height || a.bgra.size() != b.bgra.size() || a.bgra.empty())
        return 1.0;
    size_t differing = 0;
    for (size_t i = 0; i < a.bgra.size(); i += 4)
        for (size_t c = 0; c < 3; ++c)
            if (std::abs(int(a.bgra[i + c]) - int(b.bgra[i + c])) > channelTolerance) {
                ++differing;
                break;
            }
    return double(differing) / double(a.bgra.size() / 4);
}

inline std::wstring SnapshotFolder() {
    std::wstring folder = TestExeFolder() + L"screenshots\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

inline std::wstring ReferenceImagePath(const std::string& name) {
    std::wstring path = L"" TSLY_TEST_SOURCE_DIR L"/win/data/reference/";
    return path + std::wstring(name.begin(), name.end()) + L".bmp";
}

// Saves the picture for a look and compares it with its reference: at most maxShare of the pixels may differ
// by more than channelTolerance (font smoothing and the odd anti-aliased edge).
inline ::testing::AssertionResult MatchesReference(const WindowSnapshot& shot, const std::string& name,
                                                   double maxShare = 0.01, int channelTolerance = 40) {
    if (shot.bgra.empty())
        return ::testing::AssertionFailure() << name << ": the screen could not be read";
    const std::wstring wide(name.begin(), name.end());
    SaveSnapshot(shot, SnapshotFolder() + wide + L".bmp");
    const char* update = std::getenv("TSLY_UPDATE_REFERENCES");
    if (update != nullptr && std::strcmp(update, "1") == 0) {
        if (!SaveSnapshot(shot, ReferenceImagePath(name)))
            return ::testing::AssertionFailure() << name << ": the reference could not be written";
        return ::testing::AssertionSuccess();
    }
    auto reference = LoadSnapshot(ReferenceImagePath(name));
    if (!reference)
        return ::testing::AssertionFailure()
               << name << ": no reference image (run with TSLY_UPDATE_REFERENCES=1 "
               << "and look at it)";
    const double share = SnapshotDifference(shot, *reference, channelTolerance);
    if (share > maxShare)
        return ::testing::AssertionFailure()
               << name << ": " << share * 100 << "% of the pixels differ from "
               << "the reference (" << shot.width << "x" << shot.height << " against " << reference->width
               << "x" << reference->height << ")";
    return ::testing::AssertionSuccess();
}
