#include "transfer/ManifestOffers.h"

#include "core/Log.h"
#include "core/Utf.h"
#include "transfer/ManifestBuild.h"
#include "transfer/ManifestJson.h"

std::shared_ptr<const ManifestOffer> MakeManifestOffer(uint64_t id, std::vector<ManifestEntry> entries) {
    auto offer = std::make_shared<ManifestOffer>();
    offer->id = id;
    offer->json = WriteManifestJson(entries, id);
    if (offer->json.size() > kManifestMaxBytes) {
        Log::Write("[HTTP][SERVER][ERR] manifest too large bytes=%llu limit=%llu entries=%u",
                   static_cast<unsigned long long>(offer->json.size()),
                   static_cast<unsigned long long>(kManifestMaxBytes), static_cast<unsigned>(entries.size()));
        return nullptr;
    }
    offer->totalBytes = ManifestTotalBytes(entries);
    offer->entries = std::move(entries);
    return offer;
}

void ManifestOfferStore::Add(std::shared_ptr<const ManifestOffer> offer) {
    if (!offer)
        return;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_offers.push_back(std::move(offer));
    while (m_offers.size() > kKeptOffers)
        m_offers.pop_front();
}

std::shared_ptr<const ManifestOffer> ManifestOfferStore::Find(uint64_t offerId) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const auto& offer : m_offers) {
        if (offer->id == offerId)
            return offer;
    }
    return nullptr;
}

std::shared_ptr<const ManifestOffer> ManifestOfferStore::Newest() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_offers.empty() ? nullptr : m_offers.back();
}

std::u16string NormalizeRequestPath(std::u16string_view path) {
    std::u16string out(path);
    for (char16_t& c : out) {
        if (c == u'/')
            c = u'\\';
    }
    while (!out.empty() &&
           (out.back() == u' ' || out.back() == u'\t' || out.back() == u'\r' || out.back() == u'\n'))
        out.pop_back();
    return out;
}

const ManifestEntry* FindOfferedFile(const std::vector<ManifestEntry>& entries,
                                     std::u16string_view requested) {
    const std::u16string wanted = NormalizeRequestPath(requested);
    if (wanted.empty())
        return nullptr;
    for (const ManifestEntry& entry : entries) {
        if (!entry.isDir && EqualsIgnoringCase(NormalizeRequestPath(entry.absolutePath), wanted))
            return &entry;
    }
    return nullptr;
}
