#include "app/FileTransferLifecycleModule.h"

void FileTransferLifecycleModule::BindService(StartFn start, StopFn stop) {
    s_start.store(start);
    s_stop.store(stop);
}

bool FileTransferLifecycleModule::Start() {
    StartFn start = s_start.load();
    return start == nullptr || start();
}

void FileTransferLifecycleModule::Stop() {
    if (StopFn stop = s_stop.load())
        stop();
}
