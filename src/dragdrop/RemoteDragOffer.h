#pragma once

#include <string>
#include <string_view>

// What the windows need of the remote drag (dragging the peer's files out of RemoteView). The remote drag
// installs itself; until then the default starts no download, cancels nothing and ignores a received offer.
class IRemoteDragOffer {
public:
    virtual ~IRemoteDragOffer() = default;
    // Starts downloading the held offer into targetFolder (empty: the default folder); true when started.
    virtual bool TriggerDownload(const std::u16string& targetFolder) {
        (void)targetFolder;
        return false;
    }
    // Drops the held offer because the drag ended on this PC's own RemoteView or local files were dropped.
    virtual void CancelForLocalDrop(const char* reason) { (void)reason; }
    // Controller: the peer's offer text arrived over the clipboard channel (on the channel's thread).
    virtual void OnReceive(std::string_view payload) { (void)payload; }
    // Forgets the peer's selection that a drag would carry.
    virtual void ClearSelection(const char* tag, const char* reason) { (void)tag, (void)reason; }
};

// The object must live to the end of the process; null restores the default.
void SetRemoteDragOffer(IRemoteDragOffer* offer);
IRemoteDragOffer& RemoteDragOffer();
