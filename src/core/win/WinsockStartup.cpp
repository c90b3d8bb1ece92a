#include "core/win/WinsockStartup.h"

#include <winsock2.h>

#include <mutex>

#include "core/Log.h"

bool StartWinsockOnce(const char* logTag) {
    static std::mutex mutex;
    static bool started = false;
    std::lock_guard<std::mutex> lock(mutex);
    if (started)
        return true;
    WSADATA data;
    const int rc = ::WSAStartup(MAKEWORD(2, 2), &data);
    if (rc != 0) {
        Log::Write("%s WSAStartup failed rc=%d", logTag, rc);
        return false;
    }
    started = true;
    return true;
}
