#include "link/win/DevicePresenceMonitor.h"

#include <windows.h>
#include <dbt.h>

#include <exception>
#include <optional>
#include <utility>

#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/ThreadHelpers.h"
#include "core/win/Handles.h"
#include "link/DevicePresencePolicy.h"

// One monitor run, shared by the monitor (until Stop) and its thread (until it leaves).
struct DevicePresenceMonitor::Run {
    UniqueHandle stopEvent;                 // manual reset; closed with the last owner
    std::atomic<bool> deviceChanged{false}; // set by the notification window
};

namespace {

constexpr char kThreadName[] = "DevicePresenceMonitor";
constexpr wchar_t kNotifyClass[] = L"Tessaly_DevicePresence_Notify";

LRESULT CALLBACK NotifyWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    if (message == WM_DEVICECHANGE) {
        auto* run = reinterpret_cast<DevicePresenceMonitor::Run*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (run != nullptr && (wParam == DBT_DEVICEARRIVAL || wParam == DBT_DEVICEREMOVECOMPLETE ||
                               wParam == DBT_DEVNODES_CHANGED || wParam == DBT_CONFIGCHANGED))
            run->deviceChanged.store(true);
        return TRUE;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// The hidden top-level window (broadcast WM_DEVICECHANGE reaches top-level windows only).
class NotifyWindow {
public:
    explicit NotifyWindow(DevicePresenceMonitor::Run* run) {
        HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = NotifyWndProc;
        wc.hInstance = instance;
        wc.lpszClassName = kNotifyClass;
        if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
            m_error = GetLastError();
            return;
        }
        m_hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, kNotifyClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                 instance, run);
        if (m_hwnd == nullptr)
            m_error = GetLastError();
    }
    NotifyWindow(const NotifyWindow&) = delete;
    NotifyWindow& operator=(const NotifyWindow&) = delete;
    ~NotifyWindow() {
        if (m_hwnd != nullptr)
            DestroyWindow(m_hwnd);
    }
    HWND Get() const { return m_hwnd; }
    DWORD Error() const { return m_error; }

private:
    HWND m_hwnd = nullptr;
    DWORD m_error = 0;
};

class DeviceNotification {
public:
    explicit DeviceNotification(HWND hwnd) {
        DEV_BROADCAST_DEVICEINTERFACE_W filter = {};
        filter.dbcc_size = sizeof filter;
        filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
        m_handle = RegisterDeviceNotificationW(
            hwnd, &filter, DEVICE_NOTIFY_WINDOW_HANDLE | DEVICE_NOTIFY_ALL_INTERFACE_CLASSES);
        if (m_handle == nullptr)
            m_error = GetLastError();
    }
    DeviceNotification(const DeviceNotification&) = delete;
    DeviceNotification& operator=(const DeviceNotification&) = delete;
    ~DeviceNotification() {
        if (m_handle != nullptr)
            UnregisterDeviceNotification(m_handle);
    }
    bool Active() const { return m_handle != nullptr; }
    DWORD Error() const { return m_error; }

private:
    HDEVNOTIFY m_handle = nullptr;
    DWORD m_error = 0;
};

void PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Waits for the stop event, pumping the window's messages, and scans when a change was flagged or the
// poll interval has passed.
void WatchUntilStopped(DevicePresence& presence, DevicePresenceMonitor::Run& run, bool notifications) {
    HANDLE stop = run.stopEvent.Get();
    for (;;) {
        bool changed = run.deviceChanged.exchange(false);
        uint32_t interval =
            DevicePresencePollIntervalMs(presence.IsPresent(), RuntimeGetProgramState(), notifications);
        DWORD waitMs = DevicePresenceWaitMs(changed, presence.HasScanned(), Log::TickCount(),
                                            presence.LastScanTick(), interval);
        DWORD result = MsgWaitForMultipleObjects(1, &stop, FALSE, waitMs, QS_ALLINPUT);
        if (result == WAIT_OBJECT_0)
            return;
        if (result == WAIT_FAILED) {
            Log::Write("DevicePresence: monitor wait failed gle=%lu",
                       static_cast<unsigned long>(GetLastError()));
            return;
        }
        PumpMessages();
        changed = run.deviceChanged.exchange(false) || changed;
        interval =
            DevicePresencePollIntervalMs(presence.IsPresent(), RuntimeGetProgramState(), notifications);
        if (const char* reason = DevicePresenceScanReason(changed, presence.HasScanned(), Log::TickCount(),
                                                          presence.LastScanTick(), interval))
            presence.Refresh(reason);
    }
}

void MonitorLoop(DevicePresence& presence, DevicePresenceMonitor::Run& run) {
    {
        NotifyWindow window(&run);
        // Declared after the window: unregistered before the window is destroyed.
        std::optional<DeviceNotification> notification;
        if (window.Get() == nullptr) {
            Log::Write("DevicePresence: notification window create failed gle=%lu",
                       static_cast<unsigned long>(window.Error()));
        } else {
            notification.emplace(window.Get());
            if (notification->Active()) {
                Log::Write("DevicePresence: event-driven USB notification active; healthy fallback=%lu ms",
                           static_cast<unsigned long>(kPresencePollNotifiedMs));
            } else {
                Log::Write("DevicePresence: RegisterDeviceNotification failed gle=%lu; fallback poll=%lu ms",
                           static_cast<unsigned long>(notification->Error()),
                           static_cast<unsigned long>(kPresencePollUnnotifiedMs));
            }
        }
        bool notifications = notification && notification->Active();
        Log::Write("DevicePresence: monitor thread start mode=%s",
                   notifications ? "event+fallback" : "adaptive-poll");
        WatchUntilStopped(presence, run, notifications);
    }
    Log::Write("DevicePresence: monitor thread exit");
}

void MonitorThread(DevicePresence* presence, std::shared_ptr<DevicePresenceMonitor::Run> run) {
    Log::Write("[THREAD][START] name=%s tid=%lu", kThreadName, Tid());
    try {
        MonitorLoop(*presence, *run);
    } catch (const std::exception& e) {
        Log::Write("[THREAD][EXCEPTION] name=%s tid=%lu what=%s", kThreadName, Tid(), e.what());
    } catch (...) {
        Log::Write("[THREAD][EXCEPTION] name=%s tid=%lu unknown", kThreadName, Tid());
    }
    LogThreadStop(kThreadName);
}

} // namespace

DevicePresenceMonitor::DevicePresenceMonitor(DevicePresence& presence) : m_presence(presence) {}

bool DevicePresenceMonitor::Start() {
    bool expected = false;
    if (!m_running.compare_exchange_strong(expected, true))
        return true;
    if (!m_presence.HasPublished())
        m_presence.Refresh("start");

    auto run = std::make_shared<Run>();
    run->stopEvent.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!run->stopEvent) {
        Log::Write("DevicePresence: CreateEvent failed gle=%lu", static_cast<unsigned long>(GetLastError()));
        m_running.store(false);
        return false;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_running.load())
        return false; // a Stop came in meanwhile
    DetachWorkerThread(m_thread, "DevicePresence::Start stale");
    try {
        m_thread = std::thread(MonitorThread, &m_presence, run);
    } catch (const std::exception& e) {
        Log::Write("DevicePresence: monitor thread create failed: %s", e.what());
        m_running.store(false);
        return false;
    }
    m_run = std::move(run);
    return true;
}

void DevicePresenceMonitor::Stop() {
    bool expected = true;
    if (!m_running.compare_exchange_strong(expected, false))
        return;
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_run)
        SetEvent(m_run->stopEvent.Get());
    DetachWorkerThread(m_thread, "DevicePresence::Stop");
    // The thread holds its own reference: the event is closed when it has left, not here.
    m_run.reset();
}
