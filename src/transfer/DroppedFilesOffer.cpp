#include "transfer/DroppedFilesOffer.h"

#include "core/Log.h"
#include "transfer/PendingOfferQueue.h"

void OfferDroppedFiles(const std::vector<std::u16string>& paths, IDroppedFilesChannel& channel,
                       PendingOfferQueue& pending) {
    const unsigned count = static_cast<unsigned>(paths.size());
    const bool running = channel.IsClipboardRunning();
    const bool connected = running && channel.IsClipboardConnected();
    Log::Write("[TRANSFER][OFFER] dropped-files count=%u clipRunning=%d clipConnected=%d", count,
               running ? 1 : 0, connected ? 1 : 0);
    channel.SetFileTransferBusy(true);
    if (connected) {
        if (channel.SendDroppedFiles(paths)) {
            Log::Write("[TRANSFER][OFFER][QUEUED] dropped-files count=%u", count);
            return;
        }
        pending.Append(paths, "clipboard-service-rejected");
        channel.SetFileTransferBusy(false);
        Log::Write("[TRANSFER][OFFER][PENDING] clipboard service rejected; queued count=%u", count);
        return;
    }
    pending.Append(paths, running ? "clipboard-not-connected" : "clipboard-not-running");
    channel.SetFileTransferBusy(false);
    Log::Write("[TRANSFER][OFFER][PENDING] dropped-files count=%u clipRunning=%d clipConnected=%d", count,
               running ? 1 : 0, connected ? 1 : 0);
}
