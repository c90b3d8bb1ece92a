#include "app/FileTransferLifecycleModule.h"

// The service is not built yet: nothing to start or stop.
bool FileTransferLifecycleModule::Start() {
    return true;
}

void FileTransferLifecycleModule::Stop() {}
