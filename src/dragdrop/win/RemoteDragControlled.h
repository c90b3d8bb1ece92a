#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dragdrop/RemoteDragSelection.h"

// What the controlled side's publishing needs from the file transfer, which the drag area cannot reach
// (start-up installs it): prepare the HTTP transfer of the paths and send the offer to the controller.
class IRemoteDragOfferSender {
public:
    virtual ~IRemoteDragOfferSender() = default;
    // The outcome is only logged.
    virtual void SendOffer(const std::vector<std::wstring>& paths, uint64_t bytes, bool folder,
                           const std::string& detailUtf8) = 0;
};

namespace RemoteDragControlled {

// The object must live to the end of the process; until one is set, confirmed drags send nothing.
void SetOfferSender(IRemoteDragOfferSender* sender);
// The process-wide gesture watch over injected input, on the Win32 system.
RemoteDragSelection& Selection();

// Sizes the paths, records the runtime local-drag state and sends the offer when gestureId is still the
// pending gesture; the publishing worker's body, callable on its own.
void PublishPaths(const std::vector<std::wstring>& paths, uint64_t gestureId);

} // namespace RemoteDragControlled

// The remote drag's start selection for the clipboard's Ctrl+C fallback (see
// RemoteDragSelection::TakeStartCacheForClipboard).
namespace ClipboardFileStartCache {
bool Take(std::vector<std::wstring>& paths);
} // namespace ClipboardFileStartCache
