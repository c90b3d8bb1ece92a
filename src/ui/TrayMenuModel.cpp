#include "ui/TrayMenuModel.h"

namespace {

struct Texts {
    const char16_t* english;
    const char16_t* chinese;
};

class MenuBuilder {
public:
    explicit MenuBuilder(bool english) : m_english(english) {}

    TrayMenuItem Entry(Texts texts, uint32_t command, bool checked = false, bool enabled = true) const {
        TrayMenuItem item;
        item.text = m_english ? texts.english : texts.chinese;
        item.commandId = command;
        item.checked = checked;
        item.enabled = enabled;
        return item;
    }

    TrayMenuItem Submenu(Texts texts, std::vector<TrayMenuItem> children, bool enabled = true) const {
        TrayMenuItem item = Entry(texts, 0, false, enabled);
        item.children = std::move(children);
        return item;
    }

    static TrayMenuItem Separator() {
        TrayMenuItem item;
        item.separator = true;
        return item;
    }

private:
    bool m_english;
};

std::vector<TrayMenuItem> VirtualScreenEntries(const MenuBuilder& b, int32_t mode) {
    const Texts names[] = {
        {u"Off", u"关闭虚拟屏"}, {u"Left", u"左"}, {u"Right", u"右"}, {u"Up", u"上"}, {u"Down", u"下"}};
    std::vector<TrayMenuItem> entries;
    for (int32_t i = 0; i < 5; ++i)
        entries.push_back(b.Entry(names[i], kTrayCmdVirtualScreenOff + static_cast<uint32_t>(i), mode == i));
    return entries;
}

// Two entries for an on/off or local/remote choice; the first is checked when `first` holds.
std::vector<TrayMenuItem> Pair(const MenuBuilder& b, Texts a, uint32_t commandA, Texts c, uint32_t commandC,
                               bool first, bool enabled = true) {
    return {b.Entry(a, commandA, first, enabled), b.Entry(c, commandC, !first, enabled)};
}

} // namespace

std::vector<TrayMenuItem> BuildTrayMenu(const TrayMenuInputs& in) {
    const MenuBuilder b(in.english);
    const bool cable = in.hidCable;
    const Texts on{u"On", u"开启"}, off{u"Off", u"关闭"};
    const Texts local{u"Local", u"本地"}, remote{u"Remote", u"远程"};

    std::vector<TrayMenuItem> menu;
    if (in.autoConnectIntent) {
        menu.push_back(b.Entry({u"Auto connect enabled", u"自动连接已开启"}, kTrayCmdAutoConnectOn, true));
        menu.push_back(
            b.Entry({u"Disable auto connect and disconnect", u"关闭自动连接并断开"}, kTrayCmdAutoConnectOff));
    } else {
        menu.push_back(b.Entry({u"Enable auto connect", u"开启自动连接"}, kTrayCmdAutoConnectOn));
        menu.push_back(b.Entry({u"Auto connect disabled", u"自动连接已关闭"}, kTrayCmdAutoConnectOff, false,
                               in.sessionRuns));
    }
    menu.push_back(MenuBuilder::Separator());
    menu.push_back(
        b.Submenu({u"Virtual Screen", u"虚拟屏设置"}, VirtualScreenEntries(b, in.virtualScreenMode)));
    menu.push_back(b.Submenu({u"Video Quality", u"画质选择"},
                             Pair(b, {u"Default Quality", u"默认画质"}, kTrayCmdQualityDefault,
                                  {u"Ultra Quality", u"超清画质"}, kTrayCmdQualityUltra, !in.ultraQuality)));
    menu.push_back(b.Submenu({u"File Transfer", u"文件传输"},
                             Pair(b, {u"Overwrite same-name file", u"文件同名覆盖"},
                                  kTrayCmdConflictOverwrite, {u"Rename same-name file", u"文件同名重命名"},
                                  kTrayCmdConflictRename, !in.conflictRename)));
    menu.push_back(b.Submenu({u"Language Settings", u"语言设置"},
                             Pair(b, {u"中文", u"中文"}, kTrayCmdChinese, {u"English", u"English"},
                                  kTrayCmdEnglish, !in.english)));
    menu.push_back(b.Submenu({u"Start with System", u"开机启动"},
                             Pair(b, on, kTrayCmdStartupOn, off, kTrayCmdStartupOff, in.startWithWindows)));
    menu.push_back(b.Submenu({u"Remote Audio", u"远端音频"},
                             Pair(b, on, kTrayCmdAudioOn, off, kTrayCmdAudioOff, in.audioEnabled)));
    menu.push_back(b.Submenu(
        {u"Disk Devices", u"磁盘设备"},
        Pair(b, local, kTrayCmdDiskLocal, remote, kTrayCmdDiskRemote, !in.diskRemote, cable), cable));
    menu.push_back(b.Submenu(
        {u"Other Devices", u"其它设备"},
        Pair(b, local, kTrayCmdOtherLocal, remote, kTrayCmdOtherRemote, !in.otherDeviceRemote, cable),
        cable));
    menu.push_back(b.Entry({u"Send Ctrl+Alt+Del", u"发送Ctrl+Alt+Del"}, kTrayCmdCtrlAltDel, false, cable));
    // The device reset and the restore (which ends with the cable's keyboard defaults) drive the cable too.
    menu.push_back(b.Submenu(
        {u"Reset software", u"重置软件"},
        {b.Entry({u"Device reset", u"设备重置"}, kTrayCmdDeviceReset, false, cable),
         b.Entry({u"Restore default settings", u"恢复默认设置"}, kTrayCmdRestoreDefaults, false, cable),
         MenuBuilder::Separator(), b.Entry({u"Log", u"日志"}, kTrayCmdOpenLog)}));
    menu.push_back(MenuBuilder::Separator());
    menu.push_back(b.Entry({u"Exit", u"退出"}, kTrayCmdExit));
    return menu;
}
