#include "input/HidWorkerCore.h"

#include <chrono>

#include "core/Log.h"
#include "core/LogThrottle.h"
#include "input/InputMessages.h"

namespace {

// Every modifier key up, Windows keys first, generic keys after their left and right forms.
constexpr uint32_t kReleaseOrder[] = {91, 92, 164, 165, 18, 162, 163, 17, 160, 161, 16};

bool Succeeded(int result) {
    return result >= 1;
}

} // namespace

HidWorkerCore::HidWorkerCore(IHidCable& cable, IHidWorkerClock& clock, OpenResult onOpenResult)
    : m_cable(cable), m_clock(clock), m_onOpenResult(std::move(onOpenResult)),
      m_lastHeartbeat(clock.TickMs()) {}

bool HidWorkerCore::Enqueue(const HidQueueItem& item) {
    bool queued = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        queued = m_queue.Push(item, m_counts);
    }
    if (queued)
        m_wake.notify_one();
    return queued;
}

size_t HidWorkerCore::Cancel(const char* reason) {
    size_t removed = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        removed = m_queue.Clear();
    }
    if (removed != 0)
        Log::Write("[HIDASYNC][CANCEL] reason=%s removed=%zu", reason != nullptr ? reason : "", removed);
    return removed;
}

bool HidWorkerCore::Open() {
    if (m_cable.IsOpen())
        return true;
    const uint32_t now = m_clock.TickMs();
    if (m_hasOpenAttempt && now - m_lastOpenAttempt < kOpenRetryMs)
        return false;
    m_hasOpenAttempt = true;
    m_lastOpenAttempt = now;
    HidWorkerCounters counts;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        ++m_counts.openAttempts;
    }
    const int result = m_cable.Open();
    if (result > 0 && m_cable.IsOpen()) {
        // Opening resets the cable's keyboard: nothing is held there any more.
        ForgetSentModifiers();
        if (m_onOpenResult)
            m_onOpenResult(true, "AsyncHidWorkerOpen");
        Log::Write("[HIDASYNC][OPEN] ret=%d", result);
        return true;
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        ++m_counts.openFailures;
        counts = m_counts;
    }
    if (m_onOpenResult)
        m_onOpenResult(false, "AsyncHidWorkerOpenFailed");
    if (Log::IsDebugCategoryEnabled("hid") || LogThrottle::Allow("hid.async.open.fail", kOpenFailLogMs)) {
        const unsigned long long attempts = counts.openAttempts, failures = counts.openFailures;
        if (result == -1)
            Log::Write("[HIDASYNC][OPEN][UNAVAILABLE] ret=%d attempts=%llu failures=%llu", result, attempts,
                       failures);
        else
            Log::Write("[HIDASYNC][OPEN][FAIL] ret=%d attempts=%llu failures=%llu", result, attempts,
                       failures);
    }
    return false;
}

bool HidWorkerCore::RunOne(uint32_t waitMs) {
    HidQueueItem item;
    size_t depth = 0;
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        auto ready = [this] { return m_queue.Depth() != 0; };
        if (waitMs == kWaitForever)
            m_wake.wait(lock, ready);
        else if (!m_wake.wait_for(lock, std::chrono::milliseconds(waitMs), ready))
            return false;
        m_queue.Pop(item);
        depth = m_queue.Depth();
    }

    const uint64_t start = m_clock.MicrosNow();
    const int result = Open() ? Perform(item) : -1;
    const uint64_t end = m_clock.MicrosNow();
    const uint64_t cost = end >= start ? end - start : 0;

    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (Succeeded(result))
            ++m_counts.sent;
        else
            ++m_counts.failed;
        if (cost > m_counts.maxUs)
            m_counts.maxUs = cost;
        if (cost >= kSlowUs)
            ++m_counts.slow;
    }
    if (cost >= kSlowUs && Log::IsDebugCategoryEnabled("hid"))
        Log::Write("[HIDASYNC][SLOW] type=%d msg=0x%04X cost_us=%llu ret=%d depth=%zu",
                   static_cast<int>(item.type), item.msg, static_cast<unsigned long long>(cost), result,
                   depth);
    Heartbeat(depth);
    return true;
}

void HidWorkerCore::Run() {
    Log::Write("[HIDASYNC][WORKER] start tid=%lu", static_cast<unsigned long>(Log::CurrentThreadId()));
    for (;;)
        RunOne(kWaitForever);
}

HidWorkerCounters HidWorkerCore::Counters() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_counts;
}

size_t HidWorkerCore::Depth() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_queue.Depth();
}

int HidWorkerCore::Perform(const HidQueueItem& item) {
    switch (static_cast<HidItemType>(item.type)) {
    case HidItemType::Mouse:
        return m_cable.SetMouseMsg(item.msg, item.x, item.y);
    case HidItemType::Wheel:
        return m_cable.SetMouseWheelMsg(0, item.x, item.y, item.delta);
    case HidItemType::Key:
        return SendKey(item.vk, item.msg);
    case HidItemType::NumLockTap: {
        const int down = SendKey(InputVk::kNumLock, InputMessage::kKeyDown);
        m_clock.SleepMs(kNumLockTapMs);
        const int up = SendKey(InputVk::kNumLock, InputMessage::kKeyUp);
        return up == -1 ? -1 : down;
    }
    case HidItemType::SetModifiers:
        return ApplyModifierMask(item.modifiers);
    case HidItemType::ReleaseModifiers:
        return ReleaseAllModifiers();
    }
    return 1;
}

// One key frame. The record of the modifiers sent follows the cable's modifier slots: a generic modifier
// key sets or clears its flag, and a write that had to reopen the device (which resets the cable's keyboard)
// clears them all.
int HidWorkerCore::SendKey(uint32_t vk, uint32_t msg) {
    const bool wasOpen = m_cable.IsOpen();
    const int result = m_cable.SetKBMsg(vk, msg);
    if (!wasOpen && m_cable.IsOpen()) {
        ForgetSentModifiers();
        return result;
    }
    const bool down = IsKeyDownMessage(msg);
    if (!down && !IsKeyUpMessage(msg))
        return result;
    switch (vk) {
    case InputVk::kShift:
        m_sent.shift = down;
        break;
    case InputVk::kCtrl:
        m_sent.ctrl = down;
        break;
    case InputVk::kAlt:
        m_sent.alt = down;
        break;
    case InputVk::kLeftWin:
        m_sent.win = down;
        break;
    default:
        break;
    }
    return result;
}

int HidWorkerCore::ApplyModifierMask(uint32_t mask) {
    struct Modifier {
        uint32_t bit;
        uint32_t vk;
        bool SentModifiers::*sent;
    };
    static constexpr Modifier kModifiers[] = {
        {HidModifierMask::kShift, InputVk::kShift, &SentModifiers::shift},
        {HidModifierMask::kCtrl, InputVk::kCtrl, &SentModifiers::ctrl},
        {HidModifierMask::kAlt, InputVk::kAlt, &SentModifiers::alt},
        {HidModifierMask::kWin, InputVk::kLeftWin, &SentModifiers::win}};
    int result = 1;
    for (const Modifier& modifier : kModifiers) {
        const bool want = (mask & modifier.bit) != 0;
        if (m_sent.*modifier.sent == want)
            continue;
        const int sent = SendKey(modifier.vk, want ? InputMessage::kKeyDown : InputMessage::kKeyUp);
        if (!Succeeded(sent) && Succeeded(result))
            result = sent;
    }
    return result;
}

int HidWorkerCore::ReleaseAllModifiers() {
    int result = 1;
    for (uint32_t vk : kReleaseOrder) {
        const int sent = SendKey(vk, InputMessage::kKeyUp);
        if (!Succeeded(sent) && Succeeded(result))
            result = sent;
    }
    ForgetSentModifiers();
    return result;
}

void HidWorkerCore::Heartbeat(size_t depth) {
    const uint32_t now = m_clock.TickMs();
    if (now - m_lastHeartbeat < kHeartbeatMs)
        return;
    m_lastHeartbeat = now;
    HidWorkerCounters c;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        c = m_counts;
        m_counts.maxUs = 0;
    }
    using ull = unsigned long long;
    Log::Write("[HIDASYNC][HEARTBEAT] depth=%zu openAttempts=%llu openFailures=%llu enqueued=%llu sent=%llu "
               "failed=%llu coalesced=%llu dropped=%llu slow=%llu max_us=%llu",
               depth, ull(c.openAttempts), ull(c.openFailures), ull(c.enqueued), ull(c.sent), ull(c.failed),
               ull(c.coalesced), ull(c.dropped), ull(c.slow), ull(c.maxUs));
}
