#include "link/HealthLine.h"

#include <utility>

#include "link/ControlMessageRead.h"
#include "link/ControlMessageText.h"

namespace {

// "%.*s" arguments; an empty view may hold no pointer at all.
int Len(std::string_view text) {
    return static_cast<int>(text.size());
}

const char* Data(std::string_view text) {
    return text.empty() ? "" : text.data();
}

} // namespace

MacHealthReport ReadMacHealthReport(std::string_view message) {
    using Discovery::GetMessageValue;
    MacHealthReport r;
    r.hw = GetMessageValue(message, "hw");
    r.net = GetMessageValue(message, "net");
    r.ip = GetMessageValue(message, "ip");
    r.desktop = GetMessageValue(message, "desktop");
    r.display = GetMessageValue(message, "display");
    r.capture = GetMessageValue(message, "capture");
    r.videoState = GetMessageValue(message, "video_state");
    r.inputState = GetMessageValue(message, "input_state");
    r.reason = GetMessageValue(message, "reason");
    r.locked = Discovery::ReadMessageFlag(message, "locked");
    return r;
}

std::string FormatHealthLine(const MacHealthReport& r, bool english) {
    std::string_view desktop = r.desktop;
    if (english) {
        if (r.locked)
            desktop = "LoginWindow/locked";
    } else if (r.locked) {
        desktop = "登录界面/锁定";
    } else if (r.desktop == "aqua") {
        desktop = "桌面";
    }
    std::string_view gap = r.ip.empty() ? std::string_view() : std::string_view(" ");
    BoundedText<kHealthLineCapacity> line;
    if (english)
        line.Append("Remote Mac: hardware=%.*s | network=%.*s%.*s%.*s | desktop=%.*s | display=%.*s | "
                    "capture=%.*s | video=%.*s | input=%.*s | reason=%.*s",
                    Len(r.hw), Data(r.hw), Len(r.net), Data(r.net), Len(gap), Data(gap), Len(r.ip),
                    Data(r.ip), Len(desktop), Data(desktop), Len(r.display), Data(r.display), Len(r.capture),
                    Data(r.capture), Len(r.videoState), Data(r.videoState), Len(r.inputState),
                    Data(r.inputState), Len(r.reason), Data(r.reason));
    else
        line.Append("远端Mac状态：Marlo硬件=%.*s | 网络=%.*s%.*s%.*s | 系统=%.*s | 显示源=%.*s | 采集=%.*s | "
                    "视频=%.*s | 输入=%.*s | 原因=%.*s",
                    Len(r.hw), Data(r.hw), Len(r.net), Data(r.net), Len(gap), Data(gap), Len(r.ip),
                    Data(r.ip), Len(desktop), Data(desktop), Len(r.display), Data(r.display), Len(r.capture),
                    Data(r.capture), Len(r.videoState), Data(r.videoState), Len(r.inputState),
                    Data(r.inputState), Len(r.reason), Data(r.reason));
    return std::string(line.View());
}

void MacHealthCache::Store(std::string line, std::string ip, uint32_t tick) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_entry.line = std::move(line);
    m_entry.ip = std::move(ip);
    m_entry.tick = tick;
}

MacHealthEntry MacHealthCache::Read() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_entry;
}

void MacHealthCache::Clear() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_entry = {};
}
