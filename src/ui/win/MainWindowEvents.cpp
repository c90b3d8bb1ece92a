#include <windows.h>

#include <deque>
#include <mutex>

#include "core/EventBus.h"
#include "core/RuntimeState.h"
#include "core/Utf.h"
#include "core/win/TextConvert.h"
#include "ui/NotificationText.h"
#include "ui/win/MainWindow.h"
#include "ui/win/MainWindowParts.h"
#include "ui/win/MainWindowState.h"

// The bus calls its handlers on the publishing thread and cannot unsubscribe them, so the handlers touch no
// window: they queue what the UI thread needs (copied, under a mutex) and post a message, and do nothing
// once the window is being destroyed or gone.

namespace {

constexpr size_t kMaxQueuedBalloons = 16;

std::mutex g_mutex;
std::deque<BalloonRequest> g_balloons; // under g_mutex; the oldest dropped beyond kMaxQueuedBalloons
bool g_repaintStateView = false;       // under g_mutex

void PostToWindow(UINT message) {
    MainWindowUi& ui = MainUi();
    HWND window = ui.window.load();
    if (window == nullptr || ui.destroying.load() || !::IsWindow(window))
        return;
    ::PostMessageW(window, message, 0, 0);
}

void QueueStateViewRepaint() {
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        g_repaintStateView = true;
    }
    PostToWindow(WM_APP_UI_EVENTS);
}

void OnStatusText(const TslyEvent& event) {
    if (event.text.empty())
        return;
    RuntimeSetStatusMessage(event.text.c_str());
    QueueStateViewRepaint();
}

void OnNotification(const TslyEvent& event) {
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        g_balloons.push_back(BalloonFromNotification(event.text, event.value1, event.value2));
        while (g_balloons.size() > kMaxQueuedBalloons)
            g_balloons.pop_front();
    }
    PostToWindow(WM_APP_UI_EVENTS);
}

} // namespace

void MainWindowSubscribeEvents() {
    uint64_t* ids = MainUi().eventSubscriptions;
    EventBus& bus = EventBus::Instance();
    if (ids[0] == 0)
        ids[0] = bus.Subscribe(kEventFileTransferUpdate,
                               [](const TslyEvent&) { PostToWindow(WM_APP_TRANSFER_EVENT); });
    if (ids[1] == 0)
        ids[1] = bus.Subscribe(kEventStatusText, OnStatusText);
    if (ids[2] == 0)
        ids[2] = bus.Subscribe(kEventChannelStateChanged, [](const TslyEvent&) { QueueStateViewRepaint(); });
    if (ids[3] == 0)
        ids[3] = bus.Subscribe(kEventNotification, OnNotification);
}

void MainWindowOnUiEvents(HWND window) {
    std::deque<BalloonRequest> balloons;
    bool repaint = false;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        balloons.swap(g_balloons);
        repaint = std::exchange(g_repaintStateView, false);
    }
    for (const BalloonRequest& b : balloons) {
        const std::u16string text = Utf8ToUtf16(b.body);
        MainWindowParts().ShowTrayBalloon(window, AsWide(HeadUtf16(text, 255)), b.infoFlags, b.timeoutMs);
    }
    if (repaint)
        RepaintStateView();
}
