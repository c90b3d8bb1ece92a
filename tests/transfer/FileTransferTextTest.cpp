#include <gtest/gtest.h>

#include <string>

#include "core/Utf.h"
#include "transfer/FileTransferText.h"
#include "transfer/FileTransferUi.h"

namespace {

struct TextCase {
    const char* name;
    std::u16string input;
    bool english;
    std::u16string expected;
};

std::string CaseName(const ::testing::TestParamInfo<TextCase>& info) {
    return info.param.name;
}

class MaskNetworkDetailsTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(MaskNetworkDetailsTest, Hides) {
    EXPECT_EQ(MaskNetworkDetails(GetParam().input, GetParam().english), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MaskNetworkDetailsTest,
    ::testing::Values(
        TextCase{"PlainAddress", u"connect 10.0.0.2 failed", true, u"connect remote device failed"},
        TextCase{"AddressAtBothEnds", u"1.2.3.4 to 255.255.255.255", true, u"remote device to remote device"},
        TextCase{"SentenceFullStop", u"lost 10.1.2.3.", true, u"lost remote device."},
        TextCase{"FiveGroupsStay", u"v1.2.3.4.5", true, u"v1.2.3.4.5"},
        TextCase{"LeadingGroupStays", u"5.1.2.3.4", true, u"5.1.2.3.4"},
        TextCase{"GroupAbove255Stays", u"256.1.1.1", true, u"256.1.1.1"},
        TextCase{"FourDigitGroupStays", u"1.2.3.1000", true, u"1.2.3.1000"},
        TextCase{"ThreeGroupsStay", u"1.2.3", true, u"1.2.3"},
        TextCase{"UrlToTheNextSpace", u"GET http://10.0.0.2:5002/file?id=1&path=a%20b failed", true,
                 u"GET remote file service failed"},
        TextCase{"HttpsInCapitals", u"(HTTPS://host/x)", true, u"(remote file service)"},
        TextCase{"Chinese", u"连接 10.0.0.2 http://x 失败", false, u"连接 远程设备 远程文件服务 失败"}),
    CaseName);

class TransferFailureTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(TransferFailureTextTest, Maps) {
    EXPECT_EQ(TransferFailureText(GetParam().input, GetParam().english), GetParam().expected);
}

const std::u16string kNetwork =
    u"Transfer failed: network connection to the remote file service was interrupted.";
const std::u16string kWrite =
    u"Transfer failed: unable to create or write the target file. Please check path permissions.";
const std::u16string kDisk =
    u"Transfer failed: target disk space check failed or free space is insufficient.";

INSTANTIATE_TEST_SUITE_P(
    Cases, TransferFailureTextTest,
    ::testing::Values(TextCase{"Cancel", u"Canceled by peer", true, u"Transfer canceled by user."},
                      TextCase{"CancelChinese", u"用户取消", false, u"文件传输已取消。"},
                      TextCase{"Manifest", u"GET manifest failed", true,
                               u"Transfer failed: unable to read the file list from the remote side."},
                      TextCase{"ManifestBeforeParse", u"parse manifest failed", true,
                               u"Transfer failed: unable to read the file list from the remote side."},
                      TextCase{"Parse", u"PARSE error at 12", true,
                               u"Transfer failed: remote file list format is invalid."},
                      TextCase{"Disk", u"not enough disk", true, kDisk},
                      TextCase{"Network", u"recv timed out", true, kNetwork},
                      TextCase{"UrlIsNotHttpAfterMasking", u"bad answer from http://10.0.0.2/x", true,
                               u"bad answer from remote file service"},
                      TextCase{"Write", u"CreateFileW gle=5", true, kWrite},
                      TextCase{"DetailDecides", u"download file failed | write failed gle=112", true, kWrite},
                      TextCase{"DetailDisk", u"download file failed | free space 10 < 20", true, kDisk},
                      TextCase{"DetailWithoutMatchFallsBackToWhole", u"download file failed | gle=0", true,
                               kNetwork},
                      TextCase{"Unknown", u"odd thing at 10.0.0.9", true, u"odd thing at remote device"},
                      TextCase{"ChineseWrite", u"权限不足", false,
                               u"文件传输失败：无法创建或写入目标文件，请检查目标路径权限。"}),
    CaseName);

class TransferCompletionTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(TransferCompletionTextTest, Says) {
    EXPECT_EQ(TransferCompletionText(GetParam().input, GetParam().english), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TransferCompletionTextTest,
    ::testing::Values(TextCase{"Empty", u"", true, u"Files downloaded."},
                      TextCase{"EmptyChinese", u"", false, u"文件已下载"},
                      TextCase{"DownloadedToTrimmed", u"Files downloaded to: \tD:\\in ", true,
                               u"Files downloaded to: D:\\in"},
                      TextCase{"DownloadedToInChinese", u"Files downloaded to: D:\\in", false,
                               u"文件已下载到：D:\\in"},
                      TextCase{"RemoteSaved", u"远端已下载到：C:\\x", true, u"Remote saved to: C:\\x"},
                      TextCase{"Save", u"3 files. Save: E:\\dl", true, u"Files downloaded to: E:\\dl"},
                      TextCase{"Other", u"done", true, u"File transfer complete."},
                      TextCase{"OtherChinese", u"done", false, u"文件传输完成"}),
    CaseName);

TEST(TransferStatusLineTest, MovingTransferShowsPercentSpeedAndKilobytes) {
    FileTransferSnapshot s;
    s.phase = FileTransferPhase::Sending;
    s.doneBytes = 3 * 1024 * 1024;
    s.totalBytes = 12 * 1024 * 1024;
    s.speed = 1.5 * 1024 * 1024;
    s.name = u"movie.mkv";
    EXPECT_EQ(FormatTransferStatusLine(s), "File Sending 25% 1.5 MB/s 3072/12288 KB movie.mkv");
    s.totalBytes = 0;
    EXPECT_EQ(FormatTransferStatusLine(s), "File Sending 0% 1.5 MB/s 3072/0 KB movie.mkv") << "no total: 0 %";
    s.totalBytes = 1;
    EXPECT_EQ(FormatTransferStatusLine(s), "File Sending 100% 1.5 MB/s 3072/0 KB movie.mkv") << "capped";
}

TEST(TransferStatusLineTest, FinishedTransferShowsItsMessageBeforeTheName) {
    FileTransferSnapshot s;
    EXPECT_EQ(FormatTransferStatusLine(s), "");
    s.phase = FileTransferPhase::Canceled;
    s.name = u"a.txt";
    EXPECT_EQ(FormatTransferStatusLine(s), "File Canceled a.txt");
    s.message = u"Transfer canceled by user.";
    EXPECT_EQ(FormatTransferStatusLine(s), "File Canceled Transfer canceled by user.");
}

TEST(TransferStatusLineTest, ALongNameKeepsItsLast48BytesWithoutSplittingACharacter) {
    FileTransferSnapshot s;
    s.phase = FileTransferPhase::Complete;
    s.name = std::u16string(12, u'a') + std::u16string(48, u'b'); // 60 bytes
    EXPECT_EQ(FormatTransferStatusLine(s), "File Complete ..." + std::string(48, 'b'));
    // 61 bytes: the last 48 start inside a three-byte character, so 15 whole ones and "z" (46 bytes) stay.
    s.name = std::u16string(20, u'文') + u"z";
    std::string tail;
    for (int i = 0; i < 15; ++i)
        tail += "文";
    EXPECT_EQ(FormatTransferStatusLine(s), "File Complete ..." + tail + "z");
    s.name = std::u16string(48, u'c');
    EXPECT_EQ(FormatTransferStatusLine(s), "File Complete " + std::string(48, 'c'))
        << "48 bytes are shown whole";
}

TEST(TransferFiguresTest, SizesAndSpeeds) {
    struct {
        uint64_t bytes;
        const char* text;
    } sizes[] = {{0, "0 B"},           {1023, "1023 B"},        {1024, "1 KB"},         {1536, "2 KB"},
                 {1048576, "1.00 MB"}, {1073741824, "1.00 GB"}, {5368709120, "5.00 GB"}};
    for (const auto& c : sizes)
        EXPECT_EQ(FormatTransferSize(c.bytes), c.text) << c.bytes;
    EXPECT_EQ(FormatTransferSpeed(0), "0 KB/s");
    EXPECT_EQ(FormatTransferSpeed(512 * 1024), "512 KB/s");
    EXPECT_EQ(FormatTransferSpeed(3 * 1024 * 1024), "3.00 MB/s");
    EXPECT_EQ(TransferPercent(~0ull, ~0ull), 100);
    EXPECT_EQ(TransferPercent(~0ull, 0), 0);
}

TEST(TransferTextCutsTest, BalloonBodyAndUtf16Cuts) {
    std::u16string body(181, u'x');
    body[0] = u'A';
    EXPECT_EQ(ShortenBalloonBody(body), u"..." + std::u16string(140, u'x'));
    EXPECT_EQ(ShortenBalloonBody(std::u16string(180, u'y')), std::u16string(180, u'y'));
    std::u16string pair = u"ab\xD83D\xDE00";
    EXPECT_EQ(HeadUtf16(pair, 3), u"ab");
    EXPECT_EQ(TailUtf16(pair, 1), u"");
    EXPECT_EQ(TailUtf16(pair, 2), u"\xD83D\xDE00");
}

} // namespace
