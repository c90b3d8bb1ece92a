#pragma once

#include <string_view>

enum class ProcessMode {
    ServiceHost,  // hidden network host started by the service, persistent
    PreLoginHost, // hidden network host, not persistent
    UserHost,     // launched by the service on the user's desktop
    User,         // normal user start
};

struct ModeSwitches {
    bool serviceHost = false;
    bool preLoginHost = false;
    bool userHost = false;
};

// Switches are found anywhere in the command line, case-sensitive, also inside another argument.
ModeSwitches FindModeSwitches(std::u16string_view commandLine);
ProcessMode ModeFromSwitches(const ModeSwitches& switches);
bool IsHiddenNetworkHost(ProcessMode mode);

// The mode= text of the build line.
const char* BuildLineModeText(const ModeSwitches& switches);
// The mode= text of the single-instance line.
const char* SingleInstanceModeText(ProcessMode mode);
const char16_t* SingleInstanceMutexName(ProcessMode mode);
