#include "core/ThreadHelpers.h"

#include <exception>

#include "core/Log.h"

unsigned long Tid() {
    return static_cast<unsigned long>(Log::CurrentThreadId());
}

void LogThreadStop(const char* name) {
    Log::Write("[THREAD][STOP] name=%s tid=%lu", name ? name : "?", Tid());
}

void DetachWorkerThread(std::thread& thread, const char* ownerName) {
    const char* owner = ownerName ? ownerName : "thread";
    try {
        if (!thread.joinable())
            return;
        Log::Write("%s: detach worker thread", owner);
        thread.detach();
    } catch (const std::exception& e) {
        Log::Write("%s: detach exception: %s", owner, e.what());
    } catch (...) {
        Log::Write("%s: detach unknown exception", owner);
    }
}

std::optional<std::string> ThreadStartFailure(const std::function<void()>& start) {
    try {
        start();
        return std::nullopt;
    } catch (const std::exception& e) {
        return std::string(e.what());
    } catch (...) {
        return std::string("unknown exception");
    }
}
