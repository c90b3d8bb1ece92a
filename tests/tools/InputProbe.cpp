// A test window for the controlled PC's display that writes down the input it receives: key messages with
// their virtual key and scan code, characters, mouse buttons at their screen points, and wheel turns, one
// line each, flushed at once, so the end-to-end run can read what the other PC's user did.
//   InputProbe X Y WIDTH HEIGHT SECONDS FILE   the window's screen rectangle, its lifetime and the record
// Lines: "key down|up vk=%u scan=%u ext=%d", "char %u", "button L|R|M down|up x=%d y=%d" (screen pixels),
// "wheel delta=%d". The window shows the letters and digits it received as keys, so a screenshot shows them.
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr UINT_PTR kLifetimeTimer = 1;
constexpr UINT_PTR kTopmostTimer = 2;
constexpr COLORREF kColour = RGB(70, 130, 200);

FILE* g_record = nullptr;
std::wstring g_typed;

void Record(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vfprintf(g_record, format, args);
    va_end(args);
    std::fputc('\n', g_record);
    std::fflush(g_record);
}

void RecordKey(HWND hwnd, WPARAM wparam, LPARAM lparam, bool down) {
    // A key injected by scan code may come without its virtual key (Wine): the layout gives it.
    const UINT scan = static_cast<UINT>((lparam >> 16) & 0xFF);
    const UINT vk = wparam != 0 ? static_cast<UINT>(wparam) : MapVirtualKeyW(scan, MAPVK_VSC_TO_VK);
    if (down && ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9'))) {
        g_typed.push_back(static_cast<wchar_t>(vk));
        InvalidateRect(hwnd, nullptr, FALSE);
    }
    Record("key %s vk=%u scan=%u ext=%d", down ? "down" : "up", static_cast<unsigned>(wparam), scan,
           static_cast<int>((lparam >> 24) & 1));
}

void RecordButton(HWND hwnd, char button, bool down, LPARAM lparam) {
    POINT point{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
    ClientToScreen(hwnd, &point);
    Record("button %c %s x=%ld y=%ld", button, down ? "down" : "up", point.x, point.y);
    if (down) {
        // Keys injected after the click belong to this window.
        SetForegroundWindow(hwnd);
        SetFocus(hwnd);
    }
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        HBRUSH brush = CreateSolidBrush(kColour);
        RECT client;
        GetClientRect(hwnd, &client);
        FillRect(dc, &client, brush);
        DeleteObject(brush);
        HFONT font =
            CreateFontW(48, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Arial");
        HGDIOBJ oldFont = SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 255, 255));
        DrawTextW(dc, g_typed.c_str(), static_cast<int>(g_typed.size()), &client,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        SelectObject(dc, oldFont);
        DeleteObject(font);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        RecordKey(hwnd, wparam, lparam, true);
        return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        RecordKey(hwnd, wparam, lparam, false);
        return 0;
    case WM_CHAR:
        Record("char %u", static_cast<unsigned>(wparam));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        RecordButton(hwnd, 'L', message == WM_LBUTTONDOWN, lparam);
        return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        RecordButton(hwnd, 'R', message == WM_RBUTTONDOWN, lparam);
        return 0;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        RecordButton(hwnd, 'M', message == WM_MBUTTONDOWN, lparam);
        return 0;
    case WM_MOUSEWHEEL:
        Record("wheel delta=%d", static_cast<int>(GET_WHEEL_DELTA_WPARAM(wparam)));
        return 0;
    case WM_TIMER:
        if (wparam == kLifetimeTimer)
            DestroyWindow(hwnd);
        else
            SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wparam, lparam);
    }
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 7) {
        std::fprintf(stderr, "usage: InputProbe X Y WIDTH HEIGHT SECONDS FILE\n");
        return 2;
    }
    const int x = static_cast<int>(std::wcstol(argv[1], nullptr, 10));
    const int y = static_cast<int>(std::wcstol(argv[2], nullptr, 10));
    const int width = static_cast<int>(std::wcstol(argv[3], nullptr, 10));
    const int height = static_cast<int>(std::wcstol(argv[4], nullptr, 10));
    const unsigned long seconds = std::wcstoul(argv[5], nullptr, 10);
    if (width < 10 || height < 10 || seconds < 1 || seconds > 3600) {
        std::fprintf(stderr, "InputProbe: bad size or lifetime\n");
        return 2;
    }
    g_record = _wfopen(argv[6], L"w");
    if (g_record == nullptr) {
        std::fprintf(stderr, "InputProbe: cannot write the record file\n");
        return 1;
    }

    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"TessalyInputProbe";
    if (!RegisterClassW(&wc))
        return 1;
    HWND hwnd = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"InputProbe", WS_POPUP | WS_VISIBLE, x, y,
                                width, height, nullptr, nullptr, wc.hInstance, nullptr);
    if (hwnd == nullptr)
        return 1;
    SetForegroundWindow(hwnd);
    SetFocus(hwnd);
    SetTimer(hwnd, kLifetimeTimer, seconds * 1000, nullptr);
    SetTimer(hwnd, kTopmostTimer, 250, nullptr);
    std::printf("InputProbe shown at %d,%d %dx%d for %lu s\n", x, y, width, height, seconds);
    std::fflush(stdout);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    std::fclose(g_record);
    return 0;
}
