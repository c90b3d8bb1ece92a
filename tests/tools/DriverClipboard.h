#pragma once

// The clipboard commands of TessalyDriver: put a known text, picture or file list on this PC's clipboard, and
// read a text or picture back in a form two PCs can compare.
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <shlobj.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "core/win/TextConvert.h"

namespace driverclip {

// The clipboard stays open only for one command; a window owns it so that SetClipboardData is allowed (an
// open without an owner makes it fail). The data outlives the window and the process.
class OpenedClipboard {
public:
    OpenedClipboard() {
        m_owner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        // Another process (Tessaly reading an update) may hold it for a moment.
        for (int attempt = 0; attempt < 50 && !m_open; ++attempt) {
            m_open = OpenClipboard(m_owner) != FALSE;
            if (!m_open)
                Sleep(20);
        }
    }
    ~OpenedClipboard() {
        if (m_open)
            CloseClipboard();
        if (m_owner != nullptr)
            DestroyWindow(m_owner);
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    bool Open() const { return m_open; }

private:
    HWND m_owner = nullptr;
    bool m_open = false;
};

// Empties the clipboard and places one block of the format; the system owns the memory once it is placed.
inline bool Place(UINT format, const void* bytes, size_t size) {
    OpenedClipboard clipboard;
    if (!clipboard.Open() || !EmptyClipboard()) {
        std::fprintf(stderr, "TessalyDriver: clipboard not available gle=%lu\n", GetLastError());
        return false;
    }
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    void* target = block != nullptr ? GlobalLock(block) : nullptr;
    if (target == nullptr) {
        if (block != nullptr)
            GlobalFree(block);
        return false;
    }
    std::memcpy(target, bytes, size);
    GlobalUnlock(block);
    if (SetClipboardData(format, block) == nullptr) {
        std::fprintf(stderr, "TessalyDriver: SetClipboardData(%u) failed gle=%lu\n", format, GetLastError());
        GlobalFree(block);
        return false;
    }
    return true;
}

// A copy of the clipboard's block of that format (bounded by the block's size); empty when absent.
inline std::vector<uint8_t> Read(UINT format) {
    OpenedClipboard clipboard;
    std::vector<uint8_t> out;
    HANDLE block = clipboard.Open() ? GetClipboardData(format) : nullptr;
    const void* source = block != nullptr ? GlobalLock(block) : nullptr;
    if (source != nullptr) {
        const auto* bytes = static_cast<const uint8_t*>(source);
        out.assign(bytes, bytes + GlobalSize(block));
        GlobalUnlock(block);
    }
    return out;
}

// Binary: the text is compared byte for byte, so "\n" must not become "\r\n".
inline void WriteStdout(const std::string& text) {
    _setmode(_fileno(stdout), _O_BINARY);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

inline int SetText(const wchar_t* text) {
    const size_t bytes = (std::wcslen(text) + 1) * sizeof(wchar_t);
    return Place(CF_UNICODETEXT, text, bytes) ? 0 : 1;
}

// Prints the clipboard text as UTF-8 followed by one "\n"; exit 1 when there is no text.
inline int GetText() {
    std::vector<uint8_t> block = Read(CF_UNICODETEXT);
    if (block.size() < sizeof(wchar_t)) {
        std::fprintf(stderr, "TessalyDriver: no text on the clipboard\n");
        return 1;
    }
    // The text ends at its first NUL within the block, whatever the block's rounding.
    std::wstring text(reinterpret_cast<const wchar_t*>(block.data()), block.size() / sizeof(wchar_t));
    text.resize(std::wcslen(text.c_str()));
    WriteStdout(WideToUtf8(text.c_str()) + "\n");
    return 0;
}

// The picture's pixel at (x, y) for a seed: every channel varies, so a swapped channel, a flipped row order
// or a shifted row shows in the hash.
inline void PatternPixel(int x, int y, unsigned seed, uint8_t rgb[3]) {
    rgb[0] = static_cast<uint8_t>(x * 7 + seed);
    rgb[1] = static_cast<uint8_t>(y * 13 + seed * 3);
    rgb[2] = static_cast<uint8_t>((x ^ y) + seed * 5);
}

// A 32-bit bottom-up CF_DIB of the pattern.
inline int SetImage(int width, int height, unsigned seed) {
    if (width < 1 || height < 1 || width > 4096 || height > 4096) {
        std::fprintf(stderr, "TessalyDriver: picture size %dx%d out of range\n", width, height);
        return 2;
    }
    std::vector<uint8_t> dib(sizeof(BITMAPINFOHEADER) + static_cast<size_t>(width) * height * 4);
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(width) * height * 4;
    std::memcpy(dib.data(), &header, sizeof(header));
    uint8_t* pixels = dib.data() + sizeof(header);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = pixels + static_cast<size_t>(height - 1 - y) * width * 4;
        for (int x = 0; x < width; ++x) {
            uint8_t rgb[3];
            PatternPixel(x, y, seed, rgb);
            row[x * 4 + 0] = rgb[2];
            row[x * 4 + 1] = rgb[1];
            row[x * 4 + 2] = rgb[0];
            row[x * 4 + 3] = 0;
        }
    }
    return Place(CF_DIB, dib.data(), dib.size()) ? 0 : 1;
}

inline void HashByte(uint64_t& hash, uint8_t byte) {
    hash = (hash ^ byte) * 1099511628211ull; // FNV-1a
}

// Prints "WIDTH HEIGHT HASH" of the clipboard's CF_DIB: the hash covers the red, green and blue of every
// pixel, top row first, so a 24-bit or 32-bit, bottom-up or top-down copy of the same picture hashes alike.
inline int GetImageHash() {
    std::vector<uint8_t> dib = Read(CF_DIB);
    BITMAPINFOHEADER header{};
    if (dib.size() < sizeof(header)) {
        std::fprintf(stderr, "TessalyDriver: no CF_DIB on the clipboard\n");
        return 1;
    }
    std::memcpy(&header, dib.data(), sizeof(header));
    const int bits = header.biBitCount;
    const bool known = (bits == 24 || bits == 32) && (header.biCompression == BI_RGB ||
                                                      (bits == 32 && header.biCompression == BI_BITFIELDS));
    const int width = header.biWidth;
    const int height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    if (!known || width < 1 || height < 1 || header.biSize < sizeof(header)) {
        std::fprintf(stderr, "TessalyDriver: CF_DIB of %d bits, compression %lu, %dx%d not read\n", bits,
                     header.biCompression, width, height);
        return 1;
    }
    // Three colour masks follow a BITMAPINFOHEADER with BI_BITFIELDS.
    const size_t masks = header.biSize == sizeof(header) && header.biCompression == BI_BITFIELDS ? 12 : 0;
    const size_t stride = (static_cast<size_t>(width) * bits / 8 + 3) & ~static_cast<size_t>(3);
    const size_t offset = header.biSize + masks;
    if (dib.size() < offset + stride * height) {
        std::fprintf(stderr, "TessalyDriver: CF_DIB of %zu bytes is shorter than its %dx%d pixels\n",
                     dib.size(), width, height);
        return 1;
    }
    uint64_t hash = 14695981039346656037ull;
    for (int y = 0; y < height; ++y) {
        const int stored = header.biHeight < 0 ? y : height - 1 - y;
        const uint8_t* row = dib.data() + offset + stride * stored;
        for (int x = 0; x < width; ++x) {
            const uint8_t* p = row + static_cast<size_t>(x) * (bits / 8);
            HashByte(hash, p[2]);
            HashByte(hash, p[1]);
            HashByte(hash, p[0]);
        }
    }
    std::printf("%d %d %016llx\n", width, height, static_cast<unsigned long long>(hash));
    return 0;
}

// CF_HDROP of the given paths (made absolute), as Explorer's copy puts it.
inline int SetFiles(int count, wchar_t** paths) {
    std::wstring list;
    for (int i = 0; i < count; ++i) {
        wchar_t full[MAX_PATH * 4];
        const DWORD length = GetFullPathNameW(paths[i], MAX_PATH * 4, full, nullptr);
        if (length == 0 || length >= MAX_PATH * 4) {
            std::fprintf(stderr, "TessalyDriver: no full path for %ls\n", paths[i]);
            return 2;
        }
        list.append(full, length);
        list.push_back(L'\0');
    }
    list.push_back(L'\0');
    std::vector<uint8_t> block(sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
    DROPFILES header{};
    header.pFiles = sizeof(DROPFILES);
    header.fWide = TRUE;
    std::memcpy(block.data(), &header, sizeof(header));
    std::memcpy(block.data() + sizeof(header), list.data(), list.size() * sizeof(wchar_t));
    return Place(CF_HDROP, block.data(), block.size()) ? 0 : 1;
}

} // namespace driverclip
