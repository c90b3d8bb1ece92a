// Under Wine: the readers of the local clipboard that the clipboard watch and the file offer use, over
// formats that the test puts on the real (Wine) clipboard.
#include <gtest/gtest.h>

#include <windows.h>
#include <ole2.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "HdropBuilder.h"
#include "LogAssertions.h"
#include "core/Log.h"
#include "core/win/Handles.h"
#include "transfer/ClipboardWatchRules.h"
#include "transfer/win/ClipboardReaders.h"

namespace {

// A global block holding bytes, as SetClipboardData takes it.
HGLOBAL Block(const void* bytes, size_t size) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (block == nullptr)
        return nullptr;
    ScopedGlobalLock lock(block);
    std::memcpy(lock.Get(), bytes, size);
    return block;
}

HGLOBAL TextBlock(const std::u16string& units) {
    return Block(units.data(), units.size() * sizeof(char16_t));
}

std::wstring TempFolder() {
    wchar_t buffer[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, buffer);
    return buffer;
}

class ClipboardReadersTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Log::Open());
        // SetClipboardData needs an owner window: after an open without one, EmptyClipboard leaves no owner.
        m_owner = CreateWindowExW(0, L"STATIC", L"ClipboardReadersTest", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  nullptr, nullptr);
        ASSERT_NE(m_owner, nullptr);
        m_logStart = OwnLog().size();
        m_file = TempFolder() + L"tsly clip reader.txt";
        UniqueHandle file(CreateFileW(m_file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(file.Valid());
    }
    void TearDown() override {
        if (OpenClipboard(m_owner)) {
            EmptyClipboard();
            CloseClipboard();
        }
        DestroyWindow(m_owner);
        DeleteFileW(m_file.c_str());
        Log::Close();
    }

    // Replaces the clipboard's content by these formats; the clipboard owns the handles afterwards.
    void Put(const std::vector<std::pair<UINT, HANDLE>>& formats) {
        ASSERT_TRUE(OpenClipboard(m_owner));
        EmptyClipboard();
        for (const auto& [format, handle] : formats)
            EXPECT_NE(SetClipboardData(format, handle), nullptr) << "format " << format;
        CloseClipboard();
    }

    // What ReadClipboardText gives with these formats on the clipboard.
    struct TextRead {
        ClipboardTextRead result = ClipboardTextRead::Unavailable;
        std::u16string text;
        uint64_t bytes = 0;
    };
    TextRead ReadText(const std::vector<std::pair<UINT, HANDLE>>& formats) {
        Put(formats);
        TextRead read;
        ScopedClipboard clipboard(nullptr);
        EXPECT_TRUE(clipboard.IsOpen());
        read.result = ReadClipboardText(read.text, read.bytes);
        return read;
    }

    std::string FlushedLog() const {
        Log::Flush();
        return OwnLogSince(m_logStart);
    }

    HWND m_owner = nullptr;
    size_t m_logStart = 0;
    std::wstring m_file; // an existing file, its name with a space
};

TEST_F(ClipboardReadersTest, TextStopsAtTheFirstNul) {
    const TextRead read = ReadText({{CF_UNICODETEXT, TextBlock(std::u16string(u"h\u00e9llo\0tail\0", 11))}});
    ASSERT_EQ(read.result, ClipboardTextRead::Ok);
    EXPECT_EQ(read.text, u"h\u00e9llo");
    EXPECT_EQ(read.bytes, 12u);
}

// Wine terminates a CF_UNICODETEXT block within its size itself, so the unterminated block is a case of the
// native rules only; here the sizes at the peer's limit.
TEST_F(ClipboardReadersTest, TextUpToSixteenMebibytesWithItsTerminator) {
    std::u16string units(8388607, u'a');
    units.push_back(u'\0');
    const TextRead read = ReadText({{CF_UNICODETEXT, TextBlock(units)}});
    ASSERT_EQ(read.result, ClipboardTextRead::Ok);
    EXPECT_EQ(read.bytes, 16777216u);
    EXPECT_EQ(read.text.size(), 8388607u);
}

TEST_F(ClipboardReadersTest, TextOverSixteenMebibytesIsNotCopied) {
    std::u16string units(8388608, u'a');
    units.push_back(u'\0');
    const TextRead read = ReadText({{CF_UNICODETEXT, TextBlock(units)}});
    EXPECT_EQ(read.result, ClipboardTextRead::TooLarge);
    EXPECT_EQ(read.bytes, 16777218u);
    EXPECT_TRUE(read.text.empty());
}

TEST_F(ClipboardReadersTest, NoTextFormat) {
    EXPECT_EQ(ReadText({}).result, ClipboardTextRead::Unavailable);
}

// A 2 x 2 bottom-up 32-bit DIB.
std::vector<uint8_t> SmallDib() {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = 2;
    header.biHeight = 2;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    header.biSizeImage = 16;
    std::vector<uint8_t> dib(sizeof(header) + 16);
    std::memcpy(dib.data(), &header, sizeof(header));
    for (size_t i = 0; i < 16; ++i)
        dib[sizeof(header) + i] = static_cast<uint8_t>(0x10 + i);
    return dib;
}

TEST_F(ClipboardReadersTest, DibIsTheFirstImageFormat) {
    const std::vector<uint8_t> dib = SmallDib();
    Put({{CF_DIB, Block(dib.data(), dib.size())}});
    ScopedClipboard clipboard(nullptr);
    ASSERT_TRUE(clipboard.IsOpen());
    const ClipboardFormatSet formats = ProbeClipboardFormats();
    EXPECT_TRUE(formats.dib);
    EXPECT_TRUE(formats.HasImage());
    EXPECT_FALSE(formats.HasText());
    EXPECT_FALSE(formats.HasFileFormat());
    std::vector<uint8_t> bytes;
    ClipboardImageSource source = ClipboardImageSource::Png;
    ASSERT_TRUE(ReadClipboardImage(formats, bytes, source));
    EXPECT_EQ(source, ClipboardImageSource::Dib);
    ASSERT_GE(bytes.size(), dib.size());
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + dib.size()), dib);
}

TEST_F(ClipboardReadersTest, BitmapBecomesTopDown32BitDib) {
    // Row 0 (top) holds 0x00112233, 0x00445566; row 1 holds 0x00778899, 0x00AABBCC.
    const uint32_t pixels[4] = {0x00112233u, 0x00445566u, 0x00778899u, 0x00AABBCCu};
    HBITMAP bitmap = CreateBitmap(2, 2, 1, 32, pixels);
    ASSERT_NE(bitmap, nullptr);
    Put({{CF_BITMAP, bitmap}});
    ScopedClipboard clipboard(nullptr);
    ASSERT_TRUE(clipboard.IsOpen());
    std::vector<uint8_t> dib;
    ASSERT_TRUE(ReadClipboardBitmapAsDib(dib));
    ASSERT_EQ(dib.size(), 40u + 16u);
    BITMAPINFOHEADER header{};
    std::memcpy(&header, dib.data(), sizeof(header));
    EXPECT_EQ(header.biSize, 40u);
    EXPECT_EQ(header.biWidth, 2);
    EXPECT_EQ(header.biHeight, -2) << "rows run top-down";
    EXPECT_EQ(header.biPlanes, 1);
    EXPECT_EQ(header.biBitCount, 32);
    EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));
    EXPECT_EQ(header.biSizeImage, 16u);
    EXPECT_EQ(header.biXPelsPerMeter, 0);
    EXPECT_EQ(header.biClrUsed, 0u);
    uint32_t read[4] = {};
    std::memcpy(read, dib.data() + 40, sizeof(read));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(read[i] & 0x00FFFFFFu, pixels[i]) << "pixel " << i;
}

TEST_F(ClipboardReadersTest, LargestBitmapIsReadAndOneRowMoreIsRefused) {
    HBITMAP largest = CreateBitmap(4096, 4095, 1, 32, nullptr);
    ASSERT_NE(largest, nullptr);
    Put({{CF_BITMAP, largest}});
    {
        ScopedClipboard clipboard(nullptr);
        ASSERT_TRUE(clipboard.IsOpen());
        std::vector<uint8_t> dib;
        ASSERT_TRUE(ReadClipboardBitmapAsDib(dib));
        EXPECT_EQ(dib.size(), 67092520u);
    }
    HBITMAP tooLarge = CreateBitmap(4096, 4096, 1, 32, nullptr);
    ASSERT_NE(tooLarge, nullptr);
    Put({{CF_BITMAP, tooLarge}});
    {
        ScopedClipboard clipboard(nullptr);
        ASSERT_TRUE(clipboard.IsOpen());
        std::vector<uint8_t> dib;
        EXPECT_FALSE(ReadClipboardBitmapAsDib(dib));
        EXPECT_TRUE(dib.empty());
    }
    EXPECT_TRUE(
        InOrder(FlushedLog(), {"[CLIP][IMAGE][BITMAP] too-large width=4096 height=4096 bytes=67108904"}));
}

HGLOBAL FileNameWBlock(const std::wstring& text) {
    return Block(text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

TEST_F(ClipboardReadersTest, FileNameWithQuotesAndBlanks) {
    Put({{FileNameWClipboardFormat(), FileNameWBlock(L"  \"" + m_file + L"\"\r\n")}});
    ScopedClipboard clipboard(nullptr);
    ASSERT_TRUE(clipboard.IsOpen());
    EXPECT_TRUE(ProbeClipboardFormats().HasFileFormat());
    std::vector<std::wstring> paths;
    ASSERT_TRUE(ReadClipboardFileNamePath(paths));
    EXPECT_EQ(paths, std::vector<std::wstring>{m_file});
}

TEST_F(ClipboardReadersTest, FileNameThatDoesNotExistGivesNoPath) {
    Put({{FileNameWClipboardFormat(), FileNameWBlock(L"'" + TempFolder() + L"tsly no such file.txt'")}});
    ScopedClipboard clipboard(nullptr);
    ASSERT_TRUE(clipboard.IsOpen());
    std::vector<std::wstring> paths;
    EXPECT_FALSE(ReadClipboardFileNamePath(paths));
    EXPECT_TRUE(paths.empty());
}

TEST_F(ClipboardReadersTest, HdropPathsThatDoNotExistAreSkippedForAnOffer) {
    const std::wstring missing = TempFolder() + L"tsly gone.txt";
    Put({{CF_HDROP, MakeHdrop({missing, m_file}, POINT{0, 0}, false)}});
    ScopedClipboard clipboard(nullptr);
    ASSERT_TRUE(clipboard.IsOpen());
    std::vector<std::wstring> paths;
    ASSERT_TRUE(ReadClipboardHdropPaths(paths, true));
    EXPECT_EQ(paths, std::vector<std::wstring>{m_file});
    ASSERT_TRUE(ReadClipboardHdropPaths(paths, false)) << "the clipboard still holds the drop";
    EXPECT_EQ(paths, (std::vector<std::wstring>{missing, m_file}));
}

TEST_F(ClipboardReadersTest, HdropOfOnlyMissingPathsGivesNone) {
    Put({{CF_HDROP, MakeHdrop({TempFolder() + L"tsly gone.txt"}, POINT{0, 0}, false)}});
    ScopedClipboard clipboard(nullptr);
    ASSERT_TRUE(clipboard.IsOpen());
    std::vector<std::wstring> paths;
    EXPECT_FALSE(ReadClipboardHdropPaths(paths, true));
    EXPECT_TRUE(paths.empty());
}

TEST_F(ClipboardReadersTest, FilesAndTextSendTheFiles) {
    Put({{CF_HDROP, MakeHdrop({m_file}, POINT{0, 0}, false)},
         {CF_UNICODETEXT, TextBlock(std::u16string(u"x\0", 2))}});
    ScopedClipboard clipboard(nullptr);
    ASSERT_TRUE(clipboard.IsOpen());
    const ClipboardFormatSet formats = ProbeClipboardFormats();
    EXPECT_TRUE(formats.hdrop);
    EXPECT_TRUE(formats.unicodeText);
    std::vector<std::wstring> paths;
    ASSERT_TRUE(ReadClipboardHdropPaths(paths, false));
    EXPECT_EQ(ChooseClipboardContent(!paths.empty(), formats.HasImage(), formats.unicodeText),
              ClipboardContent::Files);
}

TEST_F(ClipboardReadersTest, MoveDropEffectMarksACut) {
    const UINT dropEffect = RegisterClipboardFormatW(L"Preferred DropEffect");
    const struct {
        DWORD effect;
        bool cut;
    } cases[] = {
        {DROPEFFECT_MOVE, true}, {DROPEFFECT_COPY | DROPEFFECT_LINK, false}, {DROPEFFECT_COPY, false}};
    for (const auto& c : cases) {
        Put({{CF_HDROP, MakeHdrop({m_file}, POINT{0, 0}, false)},
             {dropEffect, Block(&c.effect, sizeof(c.effect))}});
        ScopedClipboard clipboard(nullptr);
        ASSERT_TRUE(clipboard.IsOpen());
        EXPECT_EQ(ClipboardHoldsCut(), c.cut) << "effect " << c.effect;
    }
    Put({{CF_HDROP, MakeHdrop({m_file}, POINT{0, 0}, false)}});
    ScopedClipboard clipboard(nullptr);
    ASSERT_TRUE(clipboard.IsOpen());
    EXPECT_FALSE(ClipboardHoldsCut()) << "no drop effect: a copy";
}

} // namespace
