#include <windows.h>

#include "app/StartupSequence.h"
#include "app/win/TessalyServices.h"
#include "app/win/Win32StartupPlatform.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/win/RuntimeNotifierWin.h"
#include "core/win/StallThreadEnd.h"
#include "core/win/TextConvert.h"
#include "core/win/Win32LogPlatform.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    Log::InstallPlatform(&Win32LogPlatform());
    InstallStallThreadEndHook(); // before any other thread starts
    Log::SetErrorTextSink(&RuntimeLogErrorTextSink);
    RuntimeSetWindowPoster(&Win32RuntimeWindowPoster());
    // Kept to process end: threads that were detached at shutdown may still reach them.
    static auto* platform = new Win32StartupPlatform(instance);
    static auto* services = new TessalyServices;
    return RunTessaly(*platform, *services, AsUtf16(::GetCommandLineW()), showCommand);
}
