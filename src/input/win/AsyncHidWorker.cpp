#include "input/win/AsyncHidWorker.h"

#include <windows.h>

#include <chrono>

#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/StateManager.h"
#include "input/win/HidCableAccess.h"
#include "input/win/InputRouterState.h"

namespace {

class SteadyHidWorkerClock final : public IHidWorkerClock {
public:
    uint32_t TickMs() override { return ::GetTickCount(); }
    uint64_t MicrosNow() override {
        using namespace std::chrono;
        return static_cast<uint64_t>(
            duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count());
    }
    void SleepMs(uint32_t ms) override { ::Sleep(ms); }
};

void ReportOpenResult(bool available, const char* reason) {
    RouterState().hidAvailable.store(available ? 1 : -1);
    RuntimeStateManager().SetHidPresent(available, reason);
}

} // namespace

AsyncHidWorker& AsyncHidWorker::Instance() {
    static AsyncHidWorker* worker = new AsyncHidWorker();
    return *worker;
}

AsyncHidWorker::AsyncHidWorker()
    : m_cable(MakeWorkerHidCableFromAccess()), m_clock(std::make_unique<SteadyHidWorkerClock>()),
      m_core(*m_cable, *m_clock, &ReportOpenResult) {}

void AsyncHidWorker::Start() {
    std::lock_guard<std::mutex> lock(m_startMutex);
    if (m_started)
        return;
    std::string error;
    m_started = m_thread.Start(
        "AsyncHidWorker", [this](const StopSignal&) { m_core.Run(); }, &error);
    if (!m_started)
        Log::Write("[HIDASYNC][WORKER][ERROR] start failed: %s", error.c_str());
}

bool AsyncHidWorker::Enqueue(const HidQueueItem& item) {
    Start();
    return m_core.Enqueue(item);
}

void AsyncHidWorker::Cancel(const char* reason) {
    m_core.Cancel(reason);
}

bool AsyncHidWorkerOpen(AsyncHidWorker& worker) {
    return worker.m_core.Open();
}

void AsyncHidWorkerCancel(const char* reason) {
    AsyncHidWorker::Instance().Cancel(reason);
}
