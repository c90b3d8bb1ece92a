#include "transfer/DetachedWorker.h"

#include <exception>
#include <system_error>
#include <thread>
#include <utility>

#include "core/Log.h"
#include "core/ThreadHelpers.h"

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
