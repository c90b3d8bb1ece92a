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
//   TessalyDriver tray-menu                 the user's right click on the tray icon: the menu opens at the
//                                           cursor
// Commands that need no running Tessaly:
//   TessalyDriver clip-set-text TEXT        put the text on the clipboard (CF_UNICODETEXT)
//   TessalyDriver clip-get-text             print the clipboard text as UTF-8 and a line end (exit 1: none)
//   TessalyDriver clip-set-image W H SEED   put a W x H test picture of that seed on the clipboard (CF_DIB)
//   TessalyDriver clip-get-image-hash       print "W H HASH" of the clipboard picture's colours (CF_DIB)
//   TessalyDriver clip-set-files PATH...    put the files on the clipboard as Explorer copies (CF_HDROP)
//   TessalyDriver desktop-window X Y W H SECONDS
//                                           show a topmost window of the desktop's class ("Progman") there,
//                                           so that the folder under a cursor on it is the desktop; prints
//                                           "READY" once shown and closes itself after SECONDS
//   TessalyDriver signal-event NAME         set a named event (EVENT_MODIFY_STATE), as a program of the
//                                           user's session signals the service
#include <windows.h>

#include <cwchar>
#include <cstdio>

#include "DriverClipboard.h"
#include "core/win/Handles.h"

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

LRESULT CALLBACK DesktopWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd, &paint);
        // Not black: a black window on the display's black root would not show in a screenshot.
        HBRUSH brush = CreateSolidBrush(RGB(0, 96, 160));
        FillRect(dc, &paint.rcPaint, brush);
        DeleteObject(brush);
        EndPaint(hwnd, &paint);
        return 0;
    }
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

int DesktopWindow(int argc, wchar_t** argv) {
    if (argc != 7) {
        std::fprintf(stderr, "usage: TessalyDriver desktop-window X Y WIDTH HEIGHT SECONDS\n");
        return 2;
    }
    int v[5];
    for (int i = 0; i < 5; ++i)
        v[i] = static_cast<int>(std::wcstol(argv[2 + i], nullptr, 10));
    WNDCLASSW wc{};
    wc.lpfnWndProc = DesktopWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"Progman";
    if (RegisterClassW(&wc) == 0)
        return 1;
    HWND hwnd = CreateWindowExW(WS_EX_TOPMOST, L"Progman", L"TessalyDriver desktop", WS_POPUP | WS_VISIBLE,
                                v[0], v[1], v[2], v[3], nullptr, nullptr, wc.hInstance, nullptr);
    if (hwnd == nullptr)
        return 1;
    SetForegroundWindow(hwnd);
    SetTimer(hwnd, 1, static_cast<UINT>(v[4]) * 1000, nullptr);
    std::printf("READY\n");
    std::fflush(stdout);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

// Sets a named event the way another program of the user's session does (the service's events).
int SignalEvent(const wchar_t* name) {
    UniqueHandle event(OpenEventW(EVENT_MODIFY_STATE, FALSE, name));
    if (!event.Valid()) {
        std::fprintf(stderr, "TessalyDriver: cannot open event %ls: error %lu\n", name, GetLastError());
        return 1;
    }
    return SetEvent(event.Get()) ? 0 : 1;
}

// The commands that act on this PC alone; -1 when argv names none of them.
int RunLocalCommand(int argc, wchar_t** argv) {
    const wchar_t* command = argv[1];
    if (std::wcscmp(command, L"clip-set-text") == 0 && argc == 3)
        return driverclip::SetText(argv[2]);
    if (std::wcscmp(command, L"clip-get-text") == 0)
        return driverclip::GetText();
    if (std::wcscmp(command, L"clip-set-image") == 0 && argc == 5)
        return driverclip::SetImage(static_cast<int>(std::wcstol(argv[2], nullptr, 10)),
                                    static_cast<int>(std::wcstol(argv[3], nullptr, 10)),
                                    static_cast<unsigned>(std::wcstoul(argv[4], nullptr, 10)));
    if (std::wcscmp(command, L"clip-get-image-hash") == 0)
        return driverclip::GetImageHash();
    if (std::wcscmp(command, L"clip-set-files") == 0 && argc >= 3)
        return driverclip::SetFiles(argc - 2, argv + 2);
    if (std::wcscmp(command, L"desktop-window") == 0)
        return DesktopWindow(argc, argv);
    if (std::wcscmp(command, L"signal-event") == 0 && argc == 3)
        return SignalEvent(argv[2]);
    return -1;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(
            stderr,
            "usage: TessalyDriver wait-window [timeoutMs] | quit | final-destroy | place X Y W H | "
            "child-rect CLASS | minimize | restore | tray-menu | clip-set-text TEXT | clip-get-text | "
            "clip-set-image W H SEED | clip-get-image-hash | clip-set-files PATH... | "
            "desktop-window X Y W H SECONDS | signal-event NAME\n");
        return 2;
    }
    const int local = RunLocalCommand(argc, argv);
    if (local >= 0)
        return local;
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
    if (std::wcscmp(argv[1], L"tray-menu") == 0) {
        constexpr UINT kTrayCallback = 0x8411;
        constexpr UINT kTrayIconId = 1;
        return PostMessageW(hwnd, kTrayCallback, 0, MAKELPARAM(WM_CONTEXTMENU, kTrayIconId)) ? 0 : 1;
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
