// Drives a running Tessaly from outside, inside the same Wine prefix and display:
//   TessalyDriver wait-window [timeoutMs]   exit 0 once the main window exists, 1 on time-out
//   TessalyDriver quit                      post WM_QUIT to the main window's thread
//   TessalyDriver final-destroy             post the final-destroy message of the asynchronous exit
//   TessalyDriver place X Y WIDTH HEIGHT     move and size the main window (a test action: the picture the
//                                           controller shows is compared at a size of the test's choosing)
//   TessalyDriver child-rect CLASS          print the client area of the main window's visible child of that
//                                           window class (e.g. Tessaly_RemoteView_Wnd) in screen coordinates
//                                           as "X Y WIDTH HEIGHT"; exit 1 when there is none
//   TessalyDriver minimize                  the user's minimise: WM_SYSCOMMAND SC_MINIMIZE to the main window
//   TessalyDriver restore                   show the main window again, then restore it from minimised
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

struct ChildSearch {
    const wchar_t* windowClass;
    HWND found;
};

BOOL CALLBACK FindVisibleChild(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<ChildSearch*>(param);
    wchar_t name[64];
    if (IsWindowVisible(hwnd) && GetClassNameW(hwnd, name, 64) > 0 &&
        std::wcscmp(name, search->windowClass) == 0) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

int PrintChildRect(HWND main, int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: TessalyDriver child-rect CLASS\n");
        return 2;
    }
    ChildSearch search{argv[2], nullptr};
    EnumChildWindows(main, FindVisibleChild, reinterpret_cast<LPARAM>(&search));
    RECT client{};
    POINT origin{0, 0};
    if (search.found == nullptr || !GetClientRect(search.found, &client) ||
        !ClientToScreen(search.found, &origin) || client.right < 1 || client.bottom < 1) {
        std::fprintf(stderr, "TessalyDriver: no visible child %ls with a client area\n", argv[2]);
        return 1;
    }
    std::printf("%ld %ld %ld %ld\n", origin.x, origin.y, client.right, client.bottom);
    return 0;
}

int Place(HWND main, int argc, wchar_t** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: TessalyDriver place X Y WIDTH HEIGHT\n");
        return 2;
    }
    int v[4];
    for (int i = 0; i < 4; ++i)
        v[i] = static_cast<int>(std::wcstol(argv[2 + i], nullptr, 10));
    return SetWindowPos(main, nullptr, v[0], v[1], v[2], v[3], SWP_NOZORDER | SWP_NOACTIVATE) ? 0 : 1;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr,
                     "usage: TessalyDriver wait-window [timeoutMs] | quit | final-destroy | place X Y W H | "
                     "child-rect CLASS | minimize | restore\n");
        return 2;
    }
    const bool waitArgument = std::wcscmp(argv[1], L"wait-window") == 0;
    DWORD timeoutMs =
        waitArgument && argc >= 3 ? static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)) : 10000;
    HWND hwnd = WaitForMainWindow(timeoutMs);
    if (hwnd == nullptr) {
        std::fprintf(stderr, "TessalyDriver: no main window\n");
        return 1;
    }
    if (waitArgument)
        return 0;
    if (std::wcscmp(argv[1], L"place") == 0)
        return Place(hwnd, argc, argv);
    if (std::wcscmp(argv[1], L"child-rect") == 0)
        return PrintChildRect(hwnd, argc, argv);
    if (std::wcscmp(argv[1], L"minimize") == 0)
        return PostMessageW(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0) ? 0 : 1;
    if (std::wcscmp(argv[1], L"restore") == 0) {
        ShowWindow(hwnd, SW_SHOW);
        ShowWindow(hwnd, SW_RESTORE);
        return IsWindowVisible(hwnd) ? 0 : 1;
    }
    UINT message = std::wcscmp(argv[1], L"quit") == 0            ? WM_QUIT
                   : std::wcscmp(argv[1], L"final-destroy") == 0 ? kFinalDestroy
                                                                 : 0;
    if (message == 0) {
        std::fprintf(stderr, "TessalyDriver: unknown command\n");
        return 2;
    }
    return PostMessageW(hwnd, message, 0, 0) ? 0 : 1;
}
