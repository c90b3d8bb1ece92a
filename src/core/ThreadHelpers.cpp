#include "core/ThreadHelpers.h"

#include <exception>
#include <system_error>
#include <utility>

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

bool StartDetachedWorker(const char* name, std::function<void()> body, std::string* error) {
    std::thread thread;
    try {
        thread = std::thread([name, body = std::move(body)] {
            Log::Write("[THREAD][START] name=%s tid=%lu", name, Tid());
            try {
                body();
            } catch (const std::exception& e) {
                Log::Write("[THREAD][EXCEPTION] name=%s tid=%lu what=%s", name, Tid(), e.what());
            } catch (...) {
                Log::Write("[THREAD][EXCEPTION] name=%s tid=%lu unknown", name, Tid());
            }
            LogThreadStop(name);
        });
    } catch (const std::system_error& e) {
        if (error != nullptr)
            *error = e.what();
        return false;
    }
    DetachWorkerThread(thread, name);
    return true;
}
