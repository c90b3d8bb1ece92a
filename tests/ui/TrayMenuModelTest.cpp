#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Utf.h"
#include "ui/TrayMenuModel.h"

namespace {

// One line per entry: text, command, then "*" when checked and "-" when greyed; a submenu's entries follow
// it indented, a separator is "---".
void Render(const std::vector<TrayMenuItem>& items, const std::string& indent,
            std::vector<std::string>& out) {
    for (const TrayMenuItem& item : items) {
        if (item.separator) {
            out.push_back(indent + "---");
            continue;
        }
        std::string line = indent + Utf16ToUtf8(item.text);
        if (item.commandId != 0)
            line += " " + std::to_string(item.commandId);
        if (item.checked)
            line += " *";
        if (!item.enabled)
            line += " -";
        out.push_back(line);
        Render(item.children, indent + "  ", out);
    }
}

std::vector<std::string> Render(const TrayMenuInputs& inputs) {
    std::vector<std::string> out;
    Render(BuildTrayMenu(inputs), "", out);
    return out;
}

TEST(TrayMenuModel, EnglishWithCableAndAutoConnectOn) {
    TrayMenuInputs in;
    in.english = true;
    in.hidCable = true;
    in.autoConnectIntent = true;
    in.virtualScreenMode = 2;
    in.ultraQuality = true;
    in.conflictRename = true;
    in.startWithWindows = true;
    in.audioEnabled = false;
    in.diskRemote = true;
    const std::vector<std::string> expected = {
        "Auto connect enabled 40003 *",
        "Disable auto connect and disconnect 40002",
        "---",
        "Virtual Screen",
        "  Off 40024",
        "  Left 40025",
        "  Right 40026 *",
        "  Up 40027",
        "  Down 40028",
        "Video Quality",
        "  Default Quality 40032",
        "  Ultra Quality 40033 *",
        "File Transfer",
        "  Overwrite same-name file 40011",
        "  Rename same-name file 40012 *",
        "Language Settings",
        "  中文 40007",
        "  English 40008 *",
        "Start with System",
        "  On 40013 *",
        "  Off 40014",
        "Remote Audio",
        "  On 40015",
        "  Off 40016 *",
        "Disk Devices",
        "  Local 40017",
        "  Remote 40018 *",
        "Other Devices",
        "  Local 40019 *",
        "  Remote 40020",
        "Send Ctrl+Alt+Del 40021",
        "Reset software",
        "  Device reset 40022",
        "  Restore default settings 40023",
        "  ---",
        "  Log 40029",
        "---",
        "Exit 40005",
    };
    EXPECT_EQ(Render(in), expected);
}

TEST(TrayMenuModel, ChineseWithoutCableGreysEveryCableEntry) {
    TrayMenuInputs in; // Chinese, no cable, auto-connect off, no session
    in.startWithWindows = false;
    in.otherDeviceRemote = true;
    const std::vector<std::string> expected = {
        "开启自动连接 40003",
        "自动连接已关闭 40002 -",
        "---",
        "虚拟屏设置",
        "  关闭虚拟屏 40024 *",
        "  左 40025",
        "  右 40026",
        "  上 40027",
        "  下 40028",
        "画质选择",
        "  默认画质 40032 *",
        "  超清画质 40033",
        "文件传输",
        "  文件同名覆盖 40011 *",
        "  文件同名重命名 40012",
        "语言设置",
        "  中文 40007 *",
        "  English 40008",
        "开机启动",
        "  开启 40013",
        "  关闭 40014 *",
        "远端音频",
        "  开启 40015 *",
        "  关闭 40016",
        "磁盘设备 -",
        "  本地 40017 * -",
        "  远程 40018 -",
        "其它设备 -",
        "  本地 40019 -",
        "  远程 40020 * -",
        "发送Ctrl+Alt+Del 40021 -",
        "重置软件",
        "  设备重置 40022 -",
        "  恢复默认设置 40023 -",
        "  ---",
        "  日志 40029",
        "---",
        "退出 40005",
    };
    EXPECT_EQ(Render(in), expected);
}

TEST(TrayMenuModel, DisconnectEntryIsLiveWhileASessionRunsEvenWithAutoConnectOff) {
    TrayMenuInputs in;
    in.english = true;
    in.sessionRuns = true;
    const std::vector<std::string> lines = Render(in);
    EXPECT_EQ(lines[0], "Enable auto connect 40003");
    EXPECT_EQ(lines[1], "Auto connect disabled 40002");
}

TEST(TrayMenuModel, VirtualScreenModeOutsideTheMenuChecksNoEdge) {
    TrayMenuInputs in;
    in.virtualScreenMode = 7;
    const std::vector<TrayMenuItem> menu = BuildTrayMenu(in);
    for (const TrayMenuItem& entry : menu[3].children)
        EXPECT_FALSE(entry.checked) << entry.commandId;
}

} // namespace
