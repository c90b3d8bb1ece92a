#include "transfer/win/ClipboardReaders.h"

#include <ole2.h>
#include <shellapi.h>

#include <cstring>
#include <new>

#include "core/Log.h"
#include "core/win/Handles.h"
#include "core/win/TextConvert.h"
#include "dragdrop/win/DragDrop.h"
#include "transfer/ClipboardWatchRules.h"

namespace {

UINT FileNameClipboardFormat() {
    return ::RegisterClipboardFormatW(L"FileName");
}

UINT PreferredDropEffectFormat() {
    return ::RegisterClipboardFormatW(L"Preferred DropEffect");
}

bool Available(UINT format) {
    return format != 0 && ::IsClipboardFormatAvailable(format) != FALSE;
}

bool Exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

UINT PngClipboardFormat() {
    return ::RegisterClipboardFormatW(L"PNG");
}

UINT FileNameWClipboardFormat() {
    return ::RegisterClipboardFormatW(L"FileNameW");
}

ClipboardFormatSet ProbeClipboardFormats() {
    ClipboardFormatSet set;
    set.hdrop = Available(CF_HDROP);
    set.fileNameW = Available(FileNameWClipboardFormat());
    set.fileName = Available(FileNameClipboardFormat());
    set.unicodeText = Available(CF_UNICODETEXT);
    set.ansiText = Available(CF_TEXT);
    set.dib = Available(CF_DIB);
    set.dibv5 = Available(CF_DIBV5);
    set.bitmap = Available(CF_BITMAP);
    set.png = Available(PngClipboardFormat());
    return set;
}

bool ReadClipboardFormatBytes(UINT format, std::vector<uint8_t>& bytes) {
    bytes.clear();
    HANDLE data = ::GetClipboardData(format);
    if (data == nullptr)
        return false;
    const uint64_t size = ::GlobalSize(data);
    if (!ClipboardFormatSizeAllowed(size)) {
        Log::Write("[CLIP][IMAGE][SKIP] fmt=%u invalid-size=%llu max=%llu", format,
                   static_cast<unsigned long long>(size),
                   static_cast<unsigned long long>(kMaxClipboardFormatBytes));
        return false;
    }
    ScopedGlobalLock lock(data);
    if (lock.Get() == nullptr) {
        Log::Write("[CLIP][IMAGE][SKIP] fmt=%u GlobalLock failed gle=%lu", format, ::GetLastError());
        return false;
    }
    const auto* first = static_cast<const uint8_t*>(lock.Get());
    // Up to 64 MiB on the UI thread: a failed allocation skips the format instead of ending the program.
    try {
        bytes.assign(first, first + size);
    } catch (const std::bad_alloc&) {
        Log::Write("[CLIP][IMAGE][SKIP] fmt=%u out of memory bytes=%llu", format,
                   static_cast<unsigned long long>(size));
        return false;
    }
    return true;
}

bool ReadClipboardBitmapAsDib(std::vector<uint8_t>& dib) {
    dib.clear();
    auto* bitmap = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP));
    if (bitmap == nullptr)
        return false;
    BITMAP info{};
    if (::GetObjectW(bitmap, sizeof(info), &info) != static_cast<int>(sizeof(info)) || info.bmWidth <= 0 ||
        info.bmHeight <= 0) {
        Log::Write("[CLIP][IMAGE][BITMAP] GetObject failed gle=%lu", ::GetLastError());
        return false;
    }
    const uint64_t bytes = BitmapDibBytes(info.bmWidth, info.bmHeight);
    if (!ClipboardFormatSizeAllowed(bytes)) {
        Log::Write("[CLIP][IMAGE][BITMAP] too-large width=%d height=%d bytes=%llu",
                   static_cast<int>(info.bmWidth), static_cast<int>(info.bmHeight),
                   static_cast<unsigned long long>(bytes));
        return false;
    }
    UniqueWindowDC screen(nullptr, ::GetDC(nullptr));
    if (screen.Get() == nullptr) {
        Log::Write("[CLIP][IMAGE][BITMAP] GetDC failed gle=%lu", ::GetLastError());
        return false;
    }
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    header.bmiHeader.biWidth = info.bmWidth;
    header.bmiHeader.biHeight = -info.bmHeight; // rows top-down
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    header.bmiHeader.biCompression = BI_RGB;
    header.bmiHeader.biSizeImage = static_cast<DWORD>(bytes - kDibHeaderBytes);
    std::vector<uint8_t> out;
    try {
        out.resize(static_cast<size_t>(bytes));
    } catch (const std::bad_alloc&) {
        Log::Write("[CLIP][IMAGE][BITMAP] out of memory bytes=%llu", static_cast<unsigned long long>(bytes));
        return false;
    }
    const int lines = ::GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(info.bmHeight),
                                  out.data() + kDibHeaderBytes, &header, DIB_RGB_COLORS);
    if (lines != info.bmHeight) {
        Log::Write("[CLIP][IMAGE][BITMAP] GetDIBits failed scanLines=%d height=%d gle=%lu", lines,
                   static_cast<int>(info.bmHeight), ::GetLastError());
        return false;
    }
    // The header as sent, whatever GetDIBits wrote back into its own copy.
    BITMAPINFOHEADER sent{};
    sent.biSize = sizeof(BITMAPINFOHEADER);
    sent.biWidth = info.bmWidth;
    sent.biHeight = -info.bmHeight;
    sent.biPlanes = 1;
    sent.biBitCount = 32;
    sent.biCompression = BI_RGB;
    sent.biSizeImage = static_cast<DWORD>(bytes - kDibHeaderBytes);
    static_assert(sizeof(sent) == kDibHeaderBytes);
    std::memcpy(out.data(), &sent, sizeof(sent));
    dib = std::move(out);
    return true;
}

bool ReadClipboardImage(const ClipboardFormatSet& formats, std::vector<uint8_t>& bytes,
                        ClipboardImageSource& source) {
    if (formats.dib && ReadClipboardFormatBytes(CF_DIB, bytes)) {
        source = ClipboardImageSource::Dib;
        return true;
    }
    if (formats.dibv5 && ReadClipboardFormatBytes(CF_DIBV5, bytes)) {
        source = ClipboardImageSource::DibV5;
        return true;
    }
    if (formats.bitmap && ReadClipboardBitmapAsDib(bytes)) {
        source = ClipboardImageSource::Bitmap;
        return true;
    }
    if (formats.png && ReadClipboardFormatBytes(PngClipboardFormat(), bytes)) {
        source = ClipboardImageSource::Png;
        return true;
    }
    bytes.clear();
    return false;
}

ClipboardTextRead ReadClipboardText(std::u16string& text, uint64_t& payloadBytes) {
    text.clear();
    payloadBytes = 0;
    HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    if (data == nullptr)
        return ClipboardTextRead::Unavailable;
    const size_t blockBytes = ::GlobalSize(data);
    ScopedGlobalLock lock(data);
    if (lock.Get() == nullptr || blockBytes == 0)
        return ClipboardTextRead::Unavailable;
    const auto* block = static_cast<const uint8_t*>(lock.Get());
    const size_t units = ClipboardTextUnits(block, blockBytes);
    payloadBytes = ClipboardTextPayloadBytes(units);
    if (!ClipboardSendSizeAllowed(payloadBytes))
        return ClipboardTextRead::TooLarge;
    try {
        text.resize(units);
    } catch (const std::bad_alloc&) {
        Log::Write("[CLIP][TEXT][SKIP] out of memory bytes=%llu",
                   static_cast<unsigned long long>(payloadBytes));
        return ClipboardTextRead::Unavailable;
    }
    std::memcpy(text.data(), block, units * sizeof(char16_t));
    return ClipboardTextRead::Ok;
}

bool ReadClipboardHdropPaths(std::vector<std::wstring>& paths, bool existingOnly) {
    paths.clear();
    auto* drop = static_cast<HDROP>(::GetClipboardData(CF_HDROP));
    std::vector<std::u16string> names;
    // The drop belongs to the clipboard: never DragFinish it here.
    if (drop == nullptr || !DragDrop::ExtractHdropFiles(drop, names, false))
        return false;
    for (const std::u16string& name : names) {
        std::wstring path = AsWide(name);
        if (!existingOnly || Exists(path))
            paths.push_back(std::move(path));
    }
    return !paths.empty();
}

bool ReadClipboardFileNamePath(std::vector<std::wstring>& paths) {
    paths.clear();
    std::vector<uint8_t> bytes;
    if (!ReadClipboardFormatBytes(FileNameWClipboardFormat(), bytes))
        return false;
    std::u16string units(bytes.size() / 2, u'\0');
    std::memcpy(units.data(), bytes.data(), units.size() * sizeof(char16_t));
    std::wstring path = AsWide(TrimClipboardFileName(units));
    if (path.empty() || !Exists(path))
        return false;
    paths.push_back(std::move(path));
    return true;
}

bool ClipboardHoldsCut() {
    std::vector<uint8_t> bytes;
    if (!Available(PreferredDropEffectFormat()) ||
        !ReadClipboardFormatBytes(PreferredDropEffectFormat(), bytes) || bytes.size() < sizeof(DWORD))
        return false;
    DWORD effect = 0;
    std::memcpy(&effect, bytes.data(), sizeof(effect));
    return (effect & DROPEFFECT_MOVE) != 0;
}
