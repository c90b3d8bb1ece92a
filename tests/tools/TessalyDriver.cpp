// Drives a running Tessaly from outside, inside the same Wine prefix and display:
//   TessalyDriver wait-window [timeoutMs]   exit 0 once the main window exists, 1 on time-out
//   TessalyDriver quit                      post WM_QUIT to the main window's thread
//   TessalyDriver final-destroy             post the final-destroy message of the asynchronous exit
#include <windows.h>

#include <cwchar>
#include <cstdio>

namespace {

constexpr wchar_t kMainWindowClass[] = L"Tessaly_UDPVideo_Demo_Wnd";
constexpr UINT kFinalDestroy = 0x8410;

HWND WaitForMainWindow(DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (HWND hwnd = FindWindowW(kMainWindowClass, nullptr))
            return hwnd;
        if (GetTickCount() - start >= timeoutMs)
            return nullptr;
        Sleep(100);
    }
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: TessalyDriver wait-window [timeoutMs] | quit | final-destroy\n");
        return 2;
    }
    DWORD timeoutMs = argc >= 3 ? static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)) : 10000;
    HWND hwnd = WaitForMainWindow(timeoutMs);
    if (hwnd == nullptr) {
        std::fprintf(stderr, "TessalyDriver: no main window\n");
        return 1;
    }
    if (std::wcscmp(argv[1], L"wait-window") == 0)
        return 0;
    UINT message = std::wcscmp(argv[1], L"quit") == 0 ? WM_QUIT
                   : std::wcscmp(argv[1], L"final-destroy") == 0 ? kFinalDestroy
                                                                 : 0;
    if (message == 0) {
        std::fprintf(stderr, "TessalyDriver: unknown command\n");
        return 2;
    }
    return PostMessageW(hwnd, message, 0, 0) ? 0 : 1;
}
