#include "media/win/TileWorkerPriority.h"

#include <windows.h>

#include <thread>
#include <utility>

#include "core/Log.h"

WorkerThread::Launcher TileWorkerPriorityLauncher() {
    return [](std::function<void()> work) {
        return std::thread([work = std::move(work)] {
            if (!SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL))
                Log::Write("[QUALITY][POOL] worker priority not raised error=%lu", GetLastError());
            work();
        });
    };
}
