#include "ui/StateViewNames.h"

#include <cstdio>
#include <iterator>

namespace {

struct Name {
    const char* english;
    const char* chinese;
};

constexpr Name kUnknown{"Unknown", "未知"};

constexpr Name kProgramStates[] = {
    {"Disconnected", "未连接"},   {"Host starting", "被控启动中"},
    {"Host running", "被控运行"}, {"Client starting", "控制启动中"},
    {"Connecting", "连接中"},     {"Controlling", "正在控制"},
    {"Controlled", "正在被控"},   {"Switching", "切换中"},
    {"Peer lost", "对端丢失"},    {"Error", "错误"},
    {"Stopping", "停止中"},
};

constexpr Name kRoles[] = {
    {"Idle", "空闲"}, {"Controller", "正在控制"}, {"Controlled", "正在被控"}, {"Switching", "切换中"}};

constexpr Name kChannelStates[] = {
    {"Disabled", "禁用"},    {"Disconnected", "断开"},   {"Listening", "监听"}, {"Connecting", "连接中"},
    {"Connected", "已连接"}, {"Reconnecting", "重连中"}, {"Error", "错误"},
};

constexpr const char* kClipboardKinds[] = {"NONE",        "LOCAL_TEXT",   "LOCAL_IMAGE", "LOCAL_FILES",
                                           "REMOTE_TEXT", "REMOTE_IMAGE", "REMOTE_FILES"};

template <size_t N> const char* Lookup(const Name (&table)[N], int32_t value, bool english) {
    const Name& name = value >= 0 && static_cast<size_t>(value) < N ? table[value] : kUnknown;
    return english ? name.english : name.chinese;
}

} // namespace

const char* ProgramStateDisplayName(int32_t programState, bool english) {
    return Lookup(kProgramStates, programState, english);
}

const char* RoleDisplayName(int32_t role, bool english) {
    return Lookup(kRoles, role, english);
}

const char* ChannelStateDisplayName(int32_t channelState, bool english) {
    return Lookup(kChannelStates, channelState, english);
}

const char* ClipboardKindName(uint32_t kind) {
    return kind < std::size(kClipboardKinds) ? kClipboardKinds[kind] : kClipboardKinds[0];
}

std::string FormatPanelSize(uint64_t bytes) {
    constexpr uint64_t kKiB = 1024, kMiB = kKiB * 1024, kGiB = kMiB * 1024;
    char text[48];
    if (bytes < kKiB)
        std::snprintf(text, sizeof text, "%lluB", static_cast<unsigned long long>(bytes));
    else if (bytes < kMiB)
        std::snprintf(text, sizeof text, "%.1fKB", static_cast<double>(bytes) / kKiB);
    else if (bytes < kGiB)
        std::snprintf(text, sizeof text, "%.1fMB", static_cast<double>(bytes) / kMiB);
    else
        std::snprintf(text, sizeof text, "%.1fGB", static_cast<double>(bytes) / kGiB);
    return text;
}
