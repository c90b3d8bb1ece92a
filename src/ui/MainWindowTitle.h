#pragma once

#include <string>
#include <string_view>

// The main window's title: "Marlo", two spaces, this build's version, " <--> " and the peer part. All texts
// are UTF-8.
inline constexpr char kTitleProductWord[] = "Marlo";
inline constexpr char kTitleVersion[] = "20260827.3";

// The peer's version as the title shows it: cut at the first '_' or space, then one leading 'v' or 'V'
// removed. May come out empty (a peer that sent "v" or "_x").
std::string TitlePeerVersion(std::string_view version);

// The peer part: "Disconnected" / "未连接" without a peer address, "Unknown" / "未知" with an address but
// no version (or one that shortens to nothing), else TitlePeerVersion.
std::string TitlePeerPart(std::string_view peerIp, std::string_view peerVersion, bool english);

std::string FormatMainWindowTitle(std::string_view peerIp, std::string_view peerVersion, bool english);
