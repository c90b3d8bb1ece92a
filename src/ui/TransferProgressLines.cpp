#include "ui/TransferProgressLines.h"

#include "core/Utf.h"
#include "transfer/FileTransferText.h"

namespace {

std::u16string Ascii(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

std::u16string Number(uint64_t value) {
    return Ascii(std::to_string(value));
}

bool IsMoving(FileTransferPhase phase) {
    return phase == FileTransferPhase::Sending || phase == FileTransferPhase::Receiving;
}

std::u16string Title(FileTransferPhase phase, bool english) {
    switch (phase) {
    case FileTransferPhase::Sending:
        return english ? u"Sending files" : u"正在发送文件";
    case FileTransferPhase::Receiving:
        return english ? u"Downloading files" : u"正在下载文件";
    case FileTransferPhase::Error:
        return english ? u"Transfer failed" : u"文件传输失败";
    case FileTransferPhase::Canceled:
        return english ? u"Transfer canceled" : u"文件传输已取消";
    default:
        return english ? u"File transfer" : u"文件传输";
    }
}

std::u16string ShownName(std::u16string_view name) {
    if (size_t slash = name.find_last_of(u"\\/"); slash != std::u16string_view::npos)
        name.remove_prefix(slash + 1);
    if (name.size() <= kCurrentNameMaxUnits)
        return std::u16string(name);
    return u"..." + std::u16string(TailUtf16(name, kCurrentNameMaxUnits - 3));
}

} // namespace

TransferProgressLines FormatTransferProgressLines(const FileTransferSnapshot& s, bool english) {
    TransferProgressLines lines;
    lines.title = Title(s.phase, english);
    lines.alert = s.phase == FileTransferPhase::Error || s.phase == FileTransferPhase::Canceled;
    const std::u16string gap = u"    ";
    lines.total = (english ? u"Total: " : u"总进度：") + Number(TransferPercent(s.doneBytes, s.totalBytes)) +
                  u"%" + gap + (english ? u"Files: " : u"文件：") + Number(s.itemIndex) + u"/" +
                  Number(s.itemCount);
    lines.size = (english ? u"Size: " : u"总量：") + Ascii(FormatTransferSize(s.doneBytes)) + u" / " +
                 Ascii(FormatTransferSize(s.totalBytes)) + gap + Ascii(FormatTransferSpeed(s.speed));
    lines.current = (english ? u"Current: " : u"当前：") + ShownName(s.name);
    lines.currentFile = (english ? u"Current file: " : u"当前文件：") + Number(TransferBarPosition(s)) +
                        u"%" + gap + Ascii(FormatTransferSize(s.currentDoneBytes)) + u" / " +
                        Ascii(FormatTransferSize(s.currentTotalBytes));
    if (!IsMoving(s.phase))
        lines.message = s.message;
    return lines;
}

int TransferBarPosition(const FileTransferSnapshot& s) {
    return TransferPercent(s.currentDoneBytes, s.currentTotalBytes);
}

std::u16string TransferButtonText(FileTransferPhase phase, bool english) {
    if (IsMoving(phase))
        return english ? u"Cancel" : u"取消";
    return english ? u"Close" : u"关闭";
}
