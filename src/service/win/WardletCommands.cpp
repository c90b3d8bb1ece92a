#include "service/win/WardletCommands.h"

#include <cstdio>
#include <string_view>
#include <vector>

#include "core/win/TextConvert.h"
#include "service/WardletCommandLine.h"
#include "service/WardletShared.h"
#include "service/win/WardletServiceControl.h"
#include "service/win/WardletWorker.h"

uint32_t RunWardletCommand(int argc, const wchar_t* const* argv) {
    std::vector<std::u16string_view> args;
    for (int i = 0; i < argc; ++i)
        args.push_back(AsUtf16(argv[i]));
    switch (ChooseWardletVerb(args)) {
    case WardletVerb::Service:
        return RunWardletServiceDispatcher();
    case WardletVerb::Install:
        return InstallWardletService();
    case WardletVerb::Stop:
        return StopWardletService();
    case WardletVerb::Uninstall:
        return UninstallWardletService();
    case WardletVerb::Capture:
        return RunCaptureDiagnostic(true);
    case WardletVerb::Console:
        return RunCaptureDiagnostic(false);
    case WardletVerb::Worker:
        return RunCaptureWorker(args[2], args[3]);
    case WardletVerb::Usage:
        break;
    }
    std::fputws(AsWide(kWardletUsageText).c_str(), stdout);
    return kWardletExitUsage;
}
