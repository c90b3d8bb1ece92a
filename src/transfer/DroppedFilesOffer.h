#pragma once

#include <string>
#include <vector>

class PendingOfferQueue;

// The clipboard channel side of a file drop: whether the channel runs and is connected, the hand-over of
// the paths (ClipboardService::SendDroppedFiles) and the state manager's file-transfer busy flag.
class IDroppedFilesChannel {
public:
    virtual ~IDroppedFilesChannel() = default;
    virtual bool IsClipboardRunning() = 0;
    virtual bool IsClipboardConnected() = 0;
    virtual bool SendDroppedFiles(const std::vector<std::u16string>& paths) = 0;
    virtual void SetFileTransferBusy(bool busy) = 0;
};

// Offers paths that the user dropped for the peer, once the caller has checked that they may go (not
// empty, clipboard sharing on, remote control active): logs the offer, marks the transfer busy and hands
// the paths to the channel when it runs and is connected; a refusal, or a channel that is down, queues
// them on `pending` and clears the busy flag again.
void OfferDroppedFiles(const std::vector<std::u16string>& paths, IDroppedFilesChannel& channel,
                       PendingOfferQueue& pending);
