#pragma once

#include <string_view>

#include "app/AppServices.h"
#include "app/StartupPlatform.h"

// Marks the copy started by the "runas" relaunch, so that a copy that is still not elevated (UAC off, a
// standard user) starts anyway instead of relaunching itself without end.
inline constexpr std::u16string_view kElevatedRelaunchSwitch = u"--elevated-relaunch";

// One process life of Tessaly: the ordered start-up steps, the message loop and the ordered shutdown.
// Returns the process exit code: 0 after a normal exit, a hand-off, a relaunch or a blocked second start;
// 1 when a start-up step after the single-instance check fails.
int RunTessaly(IStartupPlatform& platform, IAppServices& services, std::u16string_view commandLine,
               int showCommand);
