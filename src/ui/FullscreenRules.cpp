#include "ui/FullscreenRules.h"

#include <algorithm>
#include <cstdio>

WindowStyles FullscreenStyles(const WindowStyles& saved) {
    WindowStyles s;
    s.style = (saved.style &
               ~(kStyleCaption | kStyleSysMenu | kStyleThickFrame | kStyleMinimizeBox | kStyleMaximizeBox)) |
              kStylePopup;
    s.exStyle = saved.exStyle & ~(kExStyleWindowEdge | kExStyleClientEdge);
    return s;
}

bool FullscreenHintCountdown::Tick() {
    if (m_seconds >= 2) {
        --m_seconds;
        return true;
    }
    m_seconds = 0;
    return false;
}

WindowRect FullscreenHintRect(const WindowRect& main, uint32_t dpi) {
    const int32_t d = static_cast<int32_t>(dpi);
    const int32_t width = MulDivRounded(560, d, 96);
    const int32_t height = MulDivRounded(48, d, 96);
    const int32_t top = main.top + MulDivRounded(28, d, 96);
    const int32_t centre = main.left + (main.right - main.left) / 2;
    const int32_t left = std::max(centre - width / 2, main.left);
    return WindowRect{left, top, left + width, top + height};
}

std::string FullscreenHintBaseText(bool english) {
    return english ? "Press Ctrl+Alt+F11 to exit full screen" : "按 Ctrl+Alt+F11 退出全屏";
}

std::string FullscreenHintCountdownText(bool english, int32_t seconds) {
    char text[128];
    std::snprintf(text, sizeof text,
                  english ? "Press Ctrl+Alt+F11 to exit full screen (hint hides in %ds)"
                          : "按 Ctrl+Alt+F11 可退出全屏（提示 %d 秒后隐藏）",
                  static_cast<int>(seconds));
    return text;
}
