#include "transfer/FileTransferText.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "core/Utf.h"
#include "transfer/FileTransferUi.h"

namespace {

constexpr std::u16string_view kDownloadedTo[] = {u"Files downloaded to:", u"文件已下载到："};
constexpr std::u16string_view kRemoteSavedTo[] = {u"Remote downloaded to:", u"远端已下载到："};
constexpr std::u16string_view kSave = u"Save: ";

bool StartsWith(std::u16string_view text, std::u16string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

std::u16string_view TrimBlanks(std::u16string_view text) {
    while (!text.empty() && (text.front() == u' ' || text.front() == u'\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == u' ' || text.back() == u'\t'))
        text.remove_suffix(1);
    return text;
}

std::u16string Join(std::u16string_view a, std::u16string_view b) {
    std::u16string out(a);
    out.append(b);
    return out;
}

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

bool EndsUrl(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'"' || c == u'\'' || c == u'<' ||
           c == u'>' || c == u'(' || c == u')' || c == u'[' || c == u']';
}

// Length of a dotted IPv4 address at text[at], 0 when none. A further group on either side ("1.2.3.4.5",
// "5.1.2.3.4") makes it a different number; a full stop that ends a sentence does not.
size_t Ipv4LengthAt(std::u16string_view text, size_t at) {
    if (at > 0 && (IsDigit(text[at - 1]) || (text[at - 1] == u'.' && at > 1 && IsDigit(text[at - 2]))))
        return 0;
    size_t i = at;
    for (int group = 0; group < 4; ++group) {
        if (group > 0) {
            if (i >= text.size() || text[i] != u'.')
                return 0;
            ++i;
        }
        size_t start = i;
        unsigned value = 0;
        while (i < text.size() && IsDigit(text[i]) && i - start < 3)
            value = value * 10 + (text[i++] - u'0');
        if (i == start || value > 255)
            return 0;
    }
    if (i < text.size() && IsDigit(text[i]))
        return 0;
    if (i + 1 < text.size() && text[i] == u'.' && IsDigit(text[i + 1]))
        return 0;
    return i - at;
}

struct FailureRule {
    std::u16string_view needles[5];
    std::u16string_view english;
    std::u16string_view chinese;
};

// First match wins, so the order is part of the meaning.
constexpr FailureRule kFailureRules[] = {
    {{u"cancel", u"取消"}, u"Transfer canceled by user.", u"文件传输已取消。"},
    {{u"manifest"},
     u"Transfer failed: unable to read the file list from the remote side.",
     u"文件传输失败：无法从远端读取文件列表。"},
    {{u"parse"},
     u"Transfer failed: remote file list format is invalid.",
     u"文件传输失败：远端文件列表格式异常。"},
    {{u"disk", u"space", u"空间"},
     u"Transfer failed: target disk space check failed or free space is insufficient.",
     u"文件传输失败：目标磁盘空间检查失败或剩余空间不足。"},
    {{u"download file failed", u"recv", u"connect", u"socket", u"http"},
     u"Transfer failed: network connection to the remote file service was interrupted.",
     u"文件传输失败：与远端文件服务的网络连接中断。"},
    {{u"create", u"write", u"access", u"权限"},
     u"Transfer failed: unable to create or write the target file. Please check path permissions.",
     u"文件传输失败：无法创建或写入目标文件，请检查目标路径权限。"},
};

const FailureRule* MatchFailureRule(std::u16string_view text) {
    for (const FailureRule& rule : kFailureRules)
        for (std::u16string_view needle : rule.needles)
            if (!needle.empty() && ContainsIgnoringCase(text, needle))
                return &rule;
    return nullptr;
}

std::string Printf(const char* format, auto... args) {
    char buffer[160];
    int n = std::snprintf(buffer, sizeof buffer, format, args...);
    return std::string(buffer, n < 0 ? 0 : std::min<size_t>(static_cast<size_t>(n), sizeof buffer - 1));
}

// The last maxBytes of a UTF-8 text or fewer, never starting inside a character.
std::string_view TailUtf8(std::string_view text, size_t maxBytes) {
    if (text.size() <= maxBytes)
        return text;
    size_t start = text.size() - maxBytes;
    while (start < text.size() && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80)
        ++start;
    return text.substr(start);
}

} // namespace

std::u16string TransferCompletionText(std::u16string_view text, bool english) {
    const int lang = english ? 0 : 1;
    if (text.empty())
        return english ? u"Files downloaded." : u"文件已下载";
    for (std::u16string_view prefix : kDownloadedTo)
        if (StartsWith(text, prefix))
            return Join(english ? u"Files downloaded to: " : kDownloadedTo[lang],
                        TrimBlanks(text.substr(prefix.size())));
    for (std::u16string_view prefix : kRemoteSavedTo)
        if (StartsWith(text, prefix))
            return Join(english ? u"Remote saved to: " : kRemoteSavedTo[lang], text.substr(prefix.size()));
    if (size_t at = text.find(kSave); at != std::u16string_view::npos)
        return Join(english ? u"Files downloaded to: " : kDownloadedTo[lang], text.substr(at + kSave.size()));
    return english ? u"File transfer complete." : u"文件传输完成";
}

std::u16string TransferCanceledByUserText(bool english) {
    return english ? u"Transfer canceled by user." : u"文件传输已取消。";
}

std::u16string MaskNetworkDetails(std::u16string_view text, bool english) {
    const std::u16string_view service = english ? u"remote file service" : u"远程文件服务";
    const std::u16string_view device = english ? u"remote device" : u"远程设备";
    std::u16string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        std::u16string_view rest = text.substr(i);
        if (ContainsIgnoringCase(rest.substr(0, 7), u"http://") ||
            ContainsIgnoringCase(rest.substr(0, 8), u"https://")) {
            while (i < text.size() && !EndsUrl(text[i]))
                ++i;
            out.append(service);
            continue;
        }
        if (size_t n = IsDigit(text[i]) ? Ipv4LengthAt(text, i) : 0) {
            out.append(device);
            i += n;
            continue;
        }
        out.push_back(text[i++]);
    }
    return out;
}

std::u16string TransferFailureText(std::u16string_view reason, bool english) {
    std::u16string cleaned = MaskNetworkDetails(reason, english);
    const FailureRule* rule = nullptr;
    if (size_t bar = cleaned.find(u" | "); bar != std::u16string::npos)
        rule = MatchFailureRule(std::u16string_view(cleaned).substr(bar + 3));
    if (rule == nullptr)
        rule = MatchFailureRule(cleaned);
    if (rule == nullptr)
        return cleaned;
    return std::u16string(english ? rule->english : rule->chinese);
}

std::u16string ShortenBalloonBody(std::u16string_view body) {
    if (body.size() <= kBalloonBodyMaxUnits)
        return std::u16string(body);
    return Join(u"...", TailUtf16(body, kBalloonBodyTailUnits));
}

int TransferPercent(uint64_t done, uint64_t total) {
    if (total == 0)
        return 0;
    uint64_t part = std::min(done, total);
    // part * 100 would overflow only past 184 PB; the coarser division is exact enough there.
    if (part <= std::numeric_limits<uint64_t>::max() / 100)
        return static_cast<int>(part * 100 / total);
    return static_cast<int>(std::min<uint64_t>(part / (total / 100), 100));
}

std::string FormatTransferSize(uint64_t bytes) {
    constexpr double kKiB = 1024.0, kMiB = kKiB * 1024, kGiB = kMiB * 1024;
    double b = static_cast<double>(bytes);
    if (b >= kGiB)
        return Printf("%.2f GB", b / kGiB);
    if (b >= kMiB)
        return Printf("%.2f MB", b / kMiB);
    if (b >= kKiB)
        return Printf("%.0f KB", b / kKiB);
    return Printf("%llu B", static_cast<unsigned long long>(bytes));
}

std::string FormatTransferSpeed(double bytesPerSecond) {
    constexpr double kMiB = 1024.0 * 1024.0;
    if (bytesPerSecond >= kMiB)
        return Printf("%.2f MB/s", bytesPerSecond / kMiB);
    return Printf("%.0f KB/s", bytesPerSecond / 1024.0);
}

std::string FormatTransferStatusLine(const FileTransferSnapshot& s) {
    if (s.phase == FileTransferPhase::Idle)
        return {};
    std::string name = Utf16ToUtf8(s.message.empty() ? s.name : s.message);
    if (name.size() > kStatusNameMaxBytes)
        name = "..." + std::string(TailUtf8(name, kStatusNameMaxBytes));
    const char* word = FileTransferPhaseName(s.phase);
    if (s.phase == FileTransferPhase::Sending || s.phase == FileTransferPhase::Receiving) {
        // The name is appended, not formatted, so a long name is never cut by the buffer.
        return Printf("File %s %d%% %.1f MB/s %llu/%llu KB ", word,
                      TransferPercent(s.doneBytes, s.totalBytes), s.speed / (1024.0 * 1024.0),
                      static_cast<unsigned long long>(s.doneBytes / 1024),
                      static_cast<unsigned long long>(s.totalBytes / 1024)) +
               name;
    }
    return std::string("File ") + word + " " + name;
}
