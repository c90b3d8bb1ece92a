// A test picture for the controlled PC's display: a borderless, topmost window whose client area is a
// 6 x 4 grid of distinct, never-black colour blocks above a dark track in which a white square moves one
// step every 250 ms. The end-to-end run compares the blocks of a received video frame with a screenshot and
// finds the square at different places in frames taken at different times.
// With --clock the window shows instead the wall-clock time in milliseconds as a clock code
// (tests/support/ClockCode.h), redrawn every few milliseconds, for the latency probe on the other display.
//   MovingPattern [--clock] X Y WIDTH HEIGHT SECONDS   the window's screen rectangle; it closes itself
//                                                       after SECONDS
#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "support/ClockCode.h"

namespace {

constexpr int kColumns = 6;
constexpr int kRows = 4;
constexpr UINT_PTR kStepTimer = 1;
constexpr UINT_PTR kLifetimeTimer = 2;
constexpr UINT kStepMs = 250;
constexpr COLORREF kTrackColour = RGB(48, 48, 48);
constexpr COLORREF kMarkerColour = RGB(255, 255, 255);
// Between two clock redraws: the value on screen is at most this much older than the time.
constexpr DWORD kClockRedrawMs = 4;

struct Layout {
    int width = 0;
    int height = 0;
    int trackTop() const { return height * 4 / 5; }
    int markerSide() const { return height - trackTop(); }
};

Layout g_layout;
unsigned g_step = 0;
bool g_clock = false;

// Block colours stay between 40 and 239 per channel: far from black (the host treats a black picture as a
// capture fault) and from the white marker.
COLORREF BlockColour(int index) {
    return RGB(40 + (index * 97) % 200, 40 + (index * 53 + 80) % 200, 40 + (index * 31 + 160) % 200);
}

void Fill(HDC dc, const RECT& rect, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

uint32_t ClockMs() {
    FILETIME ft;
    GetSystemTimePreciseAsFileTime(&ft);
    const uint64_t ticks = (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return static_cast<uint32_t>(ticks / 10000);
}

void DrawClock(HDC dc) {
    const uint32_t value = ClockMs();
    const Layout& l = g_layout;
    for (int row = 0; row < clockcode::kRows; ++row) {
        for (int column = 0; column < clockcode::kColumns; ++column) {
            RECT cell{column * l.width / clockcode::kColumns, row * l.height / clockcode::kRows,
                      (column + 1) * l.width / clockcode::kColumns, (row + 1) * l.height / clockcode::kRows};
            FillRect(dc, &cell,
                     static_cast<HBRUSH>(GetStockObject(
                         clockcode::CellWhite(value, row, column) ? WHITE_BRUSH : BLACK_BRUSH)));
        }
    }
}

void Draw(HDC dc) {
    if (g_clock) {
        DrawClock(dc);
        return;
    }
    const Layout& l = g_layout;
    const int gridHeight = l.trackTop();
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            RECT block{column * l.width / kColumns, row * gridHeight / kRows,
                       (column + 1) * l.width / kColumns, (row + 1) * gridHeight / kRows};
            Fill(dc, block, BlockColour(row * kColumns + column));
        }
    }
    RECT track{0, l.trackTop(), l.width, l.height};
    Fill(dc, track, kTrackColour);
    const int side = l.markerSide();
    const int travel = l.width - side;
    const int x = travel > 0 ? static_cast<int>((g_step * static_cast<unsigned>(side) / 2) % travel) : 0;
    RECT marker{x, l.trackTop(), x + side, l.height};
    Fill(dc, marker, kMarkerColour);
}

// Drawn off-screen and copied in one blit, so a capture never sees a half-painted picture.
void DrawBuffered(HDC dc) {
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, g_layout.width, g_layout.height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    Draw(memory);
    BitBlt(dc, 0, 0, g_layout.width, g_layout.height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

void Paint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    DrawBuffered(dc);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        Paint(hwnd);
        return 0;
    case WM_TIMER:
        if (wparam == kLifetimeTimer) {
            DestroyWindow(hwnd);
        } else {
            ++g_step;
            // Tessaly's own window may be raised over the pattern (a second start restores it): stay on top.
            SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            RECT track{0, g_layout.trackTop(), g_layout.width, g_layout.height};
            InvalidateRect(hwnd, &track, FALSE);
        }
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
    if (argc >= 2 && std::wcscmp(argv[1], L"--clock") == 0) {
        g_clock = true;
        --argc;
        ++argv;
    }
    if (argc != 6) {
        std::fprintf(stderr, "usage: MovingPattern [--clock] X Y WIDTH HEIGHT SECONDS\n");
        return 2;
    }
    const int x = static_cast<int>(std::wcstol(argv[1], nullptr, 10));
    const int y = static_cast<int>(std::wcstol(argv[2], nullptr, 10));
    g_layout.width = static_cast<int>(std::wcstol(argv[3], nullptr, 10));
    g_layout.height = static_cast<int>(std::wcstol(argv[4], nullptr, 10));
    const unsigned long seconds = std::wcstoul(argv[5], nullptr, 10);
    const int minWidth = g_clock ? clockcode::kColumns * 4 : kColumns * 2;
    if (g_layout.width < minWidth || g_layout.height < 10 || seconds < 1 || seconds > 3600) {
        std::fprintf(stderr, "MovingPattern: bad size or lifetime\n");
        return 2;
    }

    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"TessalyMovingPattern";
    if (!RegisterClassW(&wc))
        return 1;
    HWND hwnd = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"MovingPattern", WS_POPUP | WS_VISIBLE, x,
                                y, g_layout.width, g_layout.height, nullptr, nullptr, wc.hInstance, nullptr);
    if (hwnd == nullptr)
        return 1;
    SetTimer(hwnd, kStepTimer, kStepMs, nullptr);
    SetTimer(hwnd, kLifetimeTimer, seconds * 1000, nullptr);
    std::printf("MovingPattern%s shown at %d,%d %dx%d for %lu s\n", g_clock ? " clock" : "", x, y,
                g_layout.width, g_layout.height, seconds);
    std::fflush(stdout);

    for (;;) {
        // The clock is redrawn between messages; the pattern waits for them.
        if (g_clock &&
            MsgWaitForMultipleObjects(0, nullptr, FALSE, kClockRedrawMs, QS_ALLINPUT) == WAIT_TIMEOUT) {
            HDC dc = GetDC(hwnd);
            DrawBuffered(dc);
            ReleaseDC(hwnd, dc);
            continue;
        }
        MSG msg;
        const BOOL got =
            g_clock ? PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE) : GetMessageW(&msg, nullptr, 0, 0);
        if (g_clock && !got)
            continue;
        if (msg.message == WM_QUIT || got < 0)
            break;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
