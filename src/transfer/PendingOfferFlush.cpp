#include "transfer/PendingOfferFlush.h"

#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "core/Log.h"

PendingOfferFlush::PendingOfferFlush(PendingOfferQueue& queue, IDroppedFilesChannel& channel,
                                     StartWorker start, Sleep sleep)
    : m_queue(queue), m_channel(channel), m_start(std::move(start)), m_sleep(std::move(sleep)) {}

bool PendingOfferFlush::Connected() {
    return m_channel.IsClipboardRunning() && m_channel.IsClipboardConnected();
}

void PendingOfferFlush::OnConnected(const char* reason) {
    const bool running = m_channel.IsClipboardRunning();
    const bool connected = running && m_channel.IsClipboardConnected();
    Log::Write("[TRANSFER][PENDING][CONNECT] reason=%s clipRunning=%d clipConnected=%d", reason ? reason : "",
               running ? 1 : 0, connected ? 1 : 0);
    Wake();
}

void PendingOfferFlush::Wake() {
    if (m_queue.Depth() == 0 || !Connected())
        return;
    // Set before the attempt: a worker that is just ending sees it after clearing its flag.
    m_wakeAgain.store(true);
    bool expected = false;
    if (!m_running.compare_exchange_strong(expected, true))
        return;
    m_wakeAgain.store(false);
    if (!m_start([this] { Work(); })) {
        m_running.store(false);
        Log::Write("[TRANSFER][PENDING][FLUSH][FAIL] worker start failed depth=%u",
                   static_cast<unsigned>(m_queue.Depth()));
    }
}

void PendingOfferFlush::Work() {
    for (;;) {
        try {
            Pass();
        } catch (const std::exception& e) {
            Log::Write("[TRANSFER][PENDING][FLUSH][FAIL] exception what=%s", e.what());
        } catch (...) {
            Log::Write("[TRANSFER][PENDING][FLUSH][FAIL] exception unknown");
        }
        m_running.store(false);
        if (!m_wakeAgain.exchange(false) || m_queue.Depth() == 0 || !Connected())
            return;
        bool expected = false;
        if (!m_running.compare_exchange_strong(expected, true))
            return; // a newer worker has the queue
    }
}

bool PendingOfferFlush::Pass() {
    for (;;) {
        std::vector<std::u16string> paths;
        if (!m_queue.TakeOldest(paths))
            return true;
        const auto count = static_cast<unsigned>(paths.size());
        const bool connected = Connected();
        Log::Write("[TRANSFER][PENDING][FLUSH] count=%u clipConnected=%d", count, connected ? 1 : 0);
        if (!connected) {
            m_queue.Requeue(std::move(paths), "flush-lost-connection");
            return false;
        }
        m_channel.SetFileTransferBusy(true);
        const bool sent = m_channel.SendDroppedFiles(paths);
        Log::Write("[TRANSFER][PENDING][FLUSH][SEND] count=%u ok=%d", count, sent ? 1 : 0);
        if (!sent) {
            m_queue.Requeue(std::move(paths), "flush-send-failed");
            m_channel.SetFileTransferBusy(false);
            return false;
        }
        m_sleep(kPauseMs);
    }
}
