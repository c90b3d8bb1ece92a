#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

// The health report of a Mac peer (TSLY_REMOTE_HEALTH) and the one-line text the status line shows for it.

// The report's fields, as views into the received message.
struct MacHealthReport {
    std::string_view hw, net, ip, desktop, display, capture, videoState, inputState, reason;
    bool locked = false;
};
MacHealthReport ReadMacHealthReport(std::string_view message);

// The line is built in 768 bytes: at most 767, cut like snprintf but never inside a UTF-8 character, since
// every field comes from the peer and the message may be 4096 bytes long.
inline constexpr size_t kHealthLineCapacity = 768;

// English: "Remote Mac: hardware=%s | network=%s%s%s | desktop=%s | display=%s | capture=%s | video=%s |
// input=%s | reason=%s" (a space between net and ip only when ip is given; desktop "LoginWindow/locked" when
// locked). Chinese: the same fields behind "远端Mac状态：Marlo硬件=", with the desktop "登录界面/锁定" when
// locked and "桌面" for "aqua".
std::string FormatHealthLine(const MacHealthReport& report, bool english);

// The last health line with its sender and arrival tick; read by auto-connect's status and cleared with the
// peer cache when the cable is removed.
struct MacHealthEntry {
    std::string line; // empty: nothing cached
    std::string ip;
    uint32_t tick = 0;
};

class MacHealthCache {
public:
    void Store(std::string line, std::string ip, uint32_t tick);
    MacHealthEntry Read();
    void Clear();

private:
    std::mutex m_mutex;
    MacHealthEntry m_entry;
};
