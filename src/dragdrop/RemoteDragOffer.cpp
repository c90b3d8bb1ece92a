#include "dragdrop/RemoteDragOffer.h"

#include <atomic>

namespace {
IRemoteDragOffer g_none;
std::atomic<IRemoteDragOffer*> g_offer{nullptr};
} // namespace

void SetRemoteDragOffer(IRemoteDragOffer* offer) {
    g_offer.store(offer);
}

IRemoteDragOffer& RemoteDragOffer() {
    IRemoteDragOffer* offer = g_offer.load();
    return offer != nullptr ? *offer : g_none;
}
