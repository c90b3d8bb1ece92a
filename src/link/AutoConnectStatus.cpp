#include "link/AutoConnectStatus.h"

#include "link/ControlMessageText.h"

namespace {

// Two peer texts of at most 255 bytes and the longest line fit.
using StatusText = BoundedText<1024>;

} // namespace

CableNetworkProblem FindCableNetworkProblem(const CableNetwork& network) {
    if (!network.found)
        return CableNetworkProblem::AdapterMissing;
    if (!network.up)
        return CableNetworkProblem::AdapterDown;
    if (!network.hasTenDot)
        return CableNetworkProblem::NoTenDotAddress;
    return CableNetworkProblem::None;
}

const char* DeviceMissingStatus(bool english) {
    return english ? "Marlo hardware: not detected | network: unavailable | remote: waiting for hardware"
                   : "Marlo硬件：未检测到 | 网络：不可用 | 远端：等待硬件就绪";
}

const char* NetworkProblemStatus(CableNetworkProblem problem, bool english) {
    switch (problem) {
    case CableNetworkProblem::AdapterMissing:
        return english
                   ? "Marlo hardware: detected | local Marlo network adapter: missing | remote: powered off "
                     "or USB network not ready"
                   : "Marlo硬件：已检测 | 本机Marlo网卡：未出现 | 远端：可能已关机或USB网络未就绪";
    case CableNetworkProblem::AdapterDown:
        return english
                   ? "Marlo hardware: detected | local Marlo network adapter: down | remote: powered off or "
                     "USB link down"
                   : "Marlo硬件：已检测 | 本机Marlo网卡：Down | 远端：可能已关机或USB链路已断开";
    case CableNetworkProblem::NoTenDotAddress:
        return english
                   ? "Marlo hardware: detected | local Marlo network: no valid 10.x IP | remote: network not "
                     "ready"
                   : "Marlo硬件：已检测 | 本机Marlo网络：没有有效10.x IP | 远端：网络尚未就绪";
    case CableNetworkProblem::None:
        break;
    }
    return "";
}

const char* NetworkNotReadyStatus(bool english) {
    return english ? "Local Marlo network is not ready" : "本机Marlo网络未就绪";
}

std::string ReconnectingStatus(std::string_view localIp, const PeerRecord* peer, bool english) {
    const std::string ip = localIp.empty() ? std::string("10.x") : std::string(localIp);
    StatusText text;
    if (peer != nullptr)
        text.Append(
            english ? "Marlo hardware: detected | local network: ready %s | remote: rediscovered %s (%s) | "
                      "session: reconnecting / waiting for remote health"
                    : "Marlo硬件：已检测 | 本机网络：已就绪 %s | 远端：已重新发现 %s (%s) | "
                      "会话：正在重连/等待远端状态",
            ip.c_str(), peer->name.c_str(), peer->ip.c_str());
    else
        text.Append(english ? "Marlo hardware: detected | local network: ready %s | remote: not discovered "
                              "(rebooting/offline) | session: reconnecting"
                            : "Marlo硬件：已检测 | 本机网络：已就绪 %s | 远端：尚未发现（重启中/离线） | "
                              "会话：正在重连",
                    ip.c_str());
    return std::string(text.View());
}

const char* NoPeerStatus(bool english) {
    return english ? "Marlo hardware: ready | network: waiting for remote 10.x / Marlo service | remote: not "
                     "discovered"
                   : "Marlo硬件：已就绪 | 网络：等待远端10.x网卡/Marlo服务 | 远端：尚未发现";
}

std::string PeerAvailableStatus(const PeerRecord& peer, bool english) {
    StatusText text;
    text.Append(english ? "Marlo hardware: ready | network: ready | remote discovered: %s (%s) | requesting "
                          "remote state..."
                        : "Marlo硬件：已就绪 | 网络：已就绪 | 已发现远端：%s (%s) | 正在获取远端状态...",
                peer.name.c_str(), peer.ip.c_str());
    return std::string(text.View());
}
