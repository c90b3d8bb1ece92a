#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// Readers of the local clipboard for the clipboard watch and the file offer. The caller holds the clipboard
// open (ScopedClipboard) around them. Every reader returns false with an empty result when its format is
// absent or unreadable.

// The registered formats (0 when the registration failed, which no clipboard holds).
UINT PngClipboardFormat();
UINT FileNameWClipboardFormat();

// Which of the formats the clipboard sharing reads are present.
struct ClipboardFormatSet {
    bool hdrop = false, fileNameW = false, fileName = false;
    bool unicodeText = false, ansiText = false;
    bool dib = false, dibv5 = false, bitmap = false, png = false;

    bool HasFileFormat() const { return hdrop || fileNameW || fileName; }
    bool HasText() const { return unicodeText || ansiText; }
    bool HasImage() const { return dib || dibv5 || bitmap || png; }
};
ClipboardFormatSet ProbeClipboardFormats();

// The whole block of a format, when it holds 1 to 64 MiB; logs "[CLIP][IMAGE][SKIP] ..." for a size out of
// range or a failed lock.
bool ReadClipboardFormatBytes(UINT format, std::vector<uint8_t>& bytes);

// CF_BITMAP as a top-down 32-bit DIB: a BITMAPINFOHEADER and the pixels from GetDIBits on the screen DC.
// A bitmap whose DIB would exceed 64 MiB is refused before anything is allocated.
bool ReadClipboardBitmapAsDib(std::vector<uint8_t>& dib);

enum class ClipboardImageSource { Dib, DibV5, Bitmap, Png };
// The first image format that is present and reads, in the order CF_DIB, CF_DIBV5, CF_BITMAP (as a DIB),
// "PNG".
bool ReadClipboardImage(const ClipboardFormatSet& formats, std::vector<uint8_t>& bytes,
                        ClipboardImageSource& source);

enum class ClipboardTextRead { Ok, Unavailable, TooLarge };
// CF_UNICODETEXT as the text before its first NUL, searched only within the block (an owner's block need
// not be terminated). payloadBytes receives the size of the text with one terminator; a text whose payload
// would exceed what the peer accepts (16 MiB) is not copied and gives TooLarge.
ClipboardTextRead ReadClipboardText(std::u16string& text, uint64_t& payloadBytes);

// The CF_HDROP paths; with existingOnly only those GetFileAttributesW finds. The clipboard keeps the drop.
bool ReadClipboardHdropPaths(std::vector<std::wstring>& paths, bool existingOnly);
// The "FileNameW" path (trimmed, one quote pair stripped), kept only when it exists: at most one path.
bool ReadClipboardFileNamePath(std::vector<std::wstring>& paths);
// "Preferred DropEffect" holds the move bit: the files were cut, not copied.
bool ClipboardHoldsCut();
