#include "transfer/DroppedFilesChannel.h"

#include <atomic>

#include "core/Log.h"
#include "core/StateManager.h"

namespace {

class NotRunningChannel final : public IDroppedFilesChannel {
public:
    bool IsClipboardRunning() override { return false; }
    bool IsClipboardConnected() override { return false; }
    bool SendDroppedFiles(const std::vector<std::u16string>&) override { return false; }
    void SetFileTransferBusy(bool busy) override { StateManager::Instance().SetFileTransferBusy(busy); }
};

NotRunningChannel g_notRunning;
std::atomic<IDroppedFilesChannel*> g_channel{nullptr};

} // namespace

void SetDroppedFilesChannel(IDroppedFilesChannel* channel) {
    g_channel.store(channel);
}

IDroppedFilesChannel& DroppedFilesChannel() {
    IDroppedFilesChannel* channel = g_channel.load();
    return channel != nullptr ? *channel : g_notRunning;
}

bool DroppedFilesMayBeOffered(size_t count, bool clipboardEnabled, bool remoteControlActive) {
    if (count == 0) {
        Log::Write("[TRANSFER][OFFER][FAIL] empty path list");
        return false;
    }
    if (!clipboardEnabled) {
        Log::Write("[TRANSFER][OFFER][FAIL] file control channel disabled");
        return false;
    }
    if (!remoteControlActive) {
        Log::Write("[TRANSFER][OFFER][FAIL] remote input/control path not ready count=%u",
                   static_cast<unsigned>(count));
        return false;
    }
    return true;
}
