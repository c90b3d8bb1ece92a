#include <gtest/gtest.h>

#include "ui/TrayCommands.h"
#include "ui/TrayMenuModel.h"

namespace {

struct CommandCase {
    uint32_t id;
    TrayAction action;
    int32_t value;
};

TEST(TrayCommands, EveryMenuIdMapsToItsAction) {
    const CommandCase cases[] = {
        {40002, TrayAction::Disconnect, 0},
        {40003, TrayAction::Reconnect, 0},
        {40005, TrayAction::Exit, 0},
        {40007, TrayAction::SetLanguage, 0},
        {40008, TrayAction::SetLanguage, 1},
        {40011, TrayAction::SetConflictRename, 0},
        {40012, TrayAction::SetConflictRename, 1},
        {40013, TrayAction::SetStartWithWindows, 1},
        {40014, TrayAction::SetStartWithWindows, 0},
        {40015, TrayAction::SetAudio, 1},
        {40016, TrayAction::SetAudio, 0},
        {40017, TrayAction::SetDiskSide, 0},
        {40018, TrayAction::SetDiskSide, 1},
        {40019, TrayAction::SetOtherDeviceSide, 0},
        {40020, TrayAction::SetOtherDeviceSide, 1},
        {40021, TrayAction::SendCtrlAltDel, 0},
        {40022, TrayAction::DeviceReset, 0},
        {40023, TrayAction::RestoreDefaults, 0},
        {40024, TrayAction::SetVirtualScreenMode, 0},
        {40025, TrayAction::SetVirtualScreenMode, 1},
        {40026, TrayAction::SetVirtualScreenMode, 2},
        {40027, TrayAction::SetVirtualScreenMode, 3},
        {40028, TrayAction::SetVirtualScreenMode, 4},
        {40029, TrayAction::OpenLogFolder, 0},
        {40032, TrayAction::SetVideoQuality, 0},
        {40033, TrayAction::SetVideoQuality, 1},
        // Nothing chosen, and ids the menu does not have.
        {0, TrayAction::None, 0},
        {40001, TrayAction::None, 0},
        {40030, TrayAction::None, 0},
        {40034, TrayAction::None, 0},
    };
    for (const CommandCase& c : cases) {
        const TrayCommand command = TrayCommandFor(c.id);
        EXPECT_EQ(command.action, c.action) << c.id;
        EXPECT_EQ(command.value, c.value) << c.id;
    }
}

TEST(TrayCommands, EveryEntryOfTheMenuHasAnAction) {
    TrayMenuInputs in;
    in.hidCable = true;
    std::vector<TrayMenuItem> pending = BuildTrayMenu(in);
    size_t seen = 0;
    while (!pending.empty()) {
        TrayMenuItem item = pending.back();
        pending.pop_back();
        pending.insert(pending.end(), item.children.begin(), item.children.end());
        if (item.separator || item.HasSubmenu())
            continue;
        ++seen;
        EXPECT_NE(TrayCommandFor(item.commandId).action, TrayAction::None) << item.commandId;
    }
    EXPECT_EQ(seen, 26u);
}

TEST(TrayCommands, CableActionsAreTheOnesThatTalkToTheCable) {
    for (TrayAction a : {TrayAction::SetDiskSide, TrayAction::SetOtherDeviceSide, TrayAction::SendCtrlAltDel,
                         TrayAction::DeviceReset, TrayAction::RestoreDefaults})
        EXPECT_TRUE(IsCableAction(a));
    for (TrayAction a : {TrayAction::None, TrayAction::Disconnect, TrayAction::Reconnect, TrayAction::Exit,
                         TrayAction::SetLanguage, TrayAction::SetAudio, TrayAction::SetVirtualScreenMode,
                         TrayAction::OpenLogFolder, TrayAction::SetVideoQuality,
                         TrayAction::SetStartWithWindows, TrayAction::SetConflictRename})
        EXPECT_FALSE(IsCableAction(a));
}

TEST(TrayCommands, ChoosingTheCurrentAudioStateChangesNothing) {
    EXPECT_FALSE(AudioChoiceChanges(true, true));
    EXPECT_FALSE(AudioChoiceChanges(false, false));
    EXPECT_TRUE(AudioChoiceChanges(true, false));
    EXPECT_TRUE(AudioChoiceChanges(false, true));
}

TEST(TrayCommands, FlippedAudioGoesWhereTheRoleSays) {
    struct Case {
        const char* name;
        bool client, host;
        int32_t role;
        bool peer;
        AudioToggleRoute expected;
    };
    const Case cases[] = {
        {"client session with peer", true, false, 0, true, AudioToggleRoute::NotifyPeer},
        {"controller role without peer", false, false, 1, false, AudioToggleRoute::SkipNoPeer},
        {"client session wins over host", true, true, 2, true, AudioToggleRoute::NotifyPeer},
        {"host session", false, true, 0, true, AudioToggleRoute::KeepSession},
        {"controlled role", false, false, 2, false, AudioToggleRoute::KeepSession},
        {"idle", false, false, 0, true, AudioToggleRoute::StopLocalAudio},
        {"switching", false, false, 3, false, AudioToggleRoute::StopLocalAudio},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecideAudioToggleRoute(c.client, c.host, c.role, c.peer), c.expected) << c.name;
}

TEST(TrayCommands, VirtualScreenModesFiveAndAboveAreStoredAsOff) {
    for (int32_t mode = 0; mode <= 4; ++mode)
        EXPECT_EQ(StoredVirtualScreenMode(mode), static_cast<uint32_t>(mode));
    for (int32_t mode : {5, 6, 100, -1})
        EXPECT_EQ(StoredVirtualScreenMode(mode), 0u) << mode;
}

TEST(TrayCommands, CableSideIsOneForLocalAndZeroForRemote) {
    EXPECT_EQ(CableSideFor(false), 1);
    EXPECT_EQ(CableSideFor(true), 0);
}

} // namespace
