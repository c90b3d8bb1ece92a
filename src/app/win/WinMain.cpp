#include <windows.h>

#include "app/win/PendingAppServices.h"
#include "app/StartupSequence.h"
#include "app/win/Win32StartupPlatform.h"
#include "core/Log.h"
#include "core/win/TextConvert.h"
#include "core/win/Win32LogPlatform.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    Log::InstallPlatform(&Win32LogPlatform());
    // Kept to process end: threads that were detached at shutdown may still reach them.
    static auto* platform = new Win32StartupPlatform(instance);
    static auto* services = new PendingAppServices;
    return RunTessaly(*platform, *services, AsUtf16(::GetCommandLineW()), showCommand);
}
