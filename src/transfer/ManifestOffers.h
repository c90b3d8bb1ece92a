#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "transfer/ManifestEntry.h"

// The offers the HTTP server answers for. Each offer keeps its own manifest, so a later copy cannot change
// the files of a transfer that is still being pulled; only the newest offers are kept.

struct ManifestOffer {
    uint64_t id = 0; // the transfer id
    std::vector<ManifestEntry> entries;
    std::string json; // the manifest text served for this offer
    uint64_t totalBytes = 0;
};

// The offer with its manifest text; null (logged) when the text would pass kManifestMaxBytes, which the
// receiver refuses.
std::shared_ptr<const ManifestOffer> MakeManifestOffer(uint64_t id, std::vector<ManifestEntry> entries);

class ManifestOfferStore {
public:
    static constexpr size_t kKeptOffers = 16;

    // Adds the offer as the newest; the oldest beyond kKeptOffers is dropped (its requests then answer 404).
    void Add(std::shared_ptr<const ManifestOffer> offer);
    // The offer with this id, or null when it is not (or no longer) kept.
    std::shared_ptr<const ManifestOffer> Find(uint64_t offerId) const;
    // The newest offer, or null before the first; requests that name no offer are answered from it.
    std::shared_ptr<const ManifestOffer> Newest() const;

private:
    mutable std::mutex m_mutex;
    std::deque<std::shared_ptr<const ManifestOffer>> m_offers; // oldest first, under m_mutex
};

// A path as file requests compare it: "/" turned into "\" and trailing spaces, tabs, carriage returns and
// line feeds cut.
std::u16string NormalizeRequestPath(std::u16string_view path);
// The first file entry whose absolute path equals the requested one after normalising both, without regard to
// case; null when none does. Directory entries are never served, and nothing outside the entries can be.
const ManifestEntry* FindOfferedFile(const std::vector<ManifestEntry>& entries,
                                     std::u16string_view requested);
