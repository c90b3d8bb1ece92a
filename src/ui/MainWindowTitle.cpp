#include "ui/MainWindowTitle.h"

std::string TitlePeerVersion(std::string_view version) {
    size_t cut = version.find_first_of("_ ");
    if (cut != std::string_view::npos)
        version = version.substr(0, cut);
    if (!version.empty() && (version.front() == 'v' || version.front() == 'V'))
        version.remove_prefix(1);
    return std::string(version);
}

std::string TitlePeerPart(std::string_view peerIp, std::string_view peerVersion, bool english) {
    if (peerIp.empty())
        return english ? "Disconnected" : "未连接";
    // A version that shortens to nothing says as little as none at all.
    std::string shown = TitlePeerVersion(peerVersion);
    if (shown.empty())
        return english ? "Unknown" : "未知";
    return shown;
}

std::string FormatMainWindowTitle(std::string_view peerIp, std::string_view peerVersion, bool english) {
    std::string title = kTitleProductWord;
    title += "  ";
    title += kTitleVersion;
    title += " <--> ";
    title += TitlePeerPart(peerIp, peerVersion, english);
    return title;
}
