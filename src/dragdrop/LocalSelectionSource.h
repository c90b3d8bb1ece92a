#pragma once

#include <functional>
#include <string>
#include <vector>

#include "dragdrop/LocalSelectionCache.h"

// Where the local drag monitor reads the shell selection under a point: the shell's automation objects in
// the program (slow, so never on the UI thread), a fake in the tests. Called on the fill's own thread.
class ILocalSelectionSource {
public:
    virtual ~ILocalSelectionSource() = default;
    // The selected paths of the Explorer window or desktop under the point; empty when none. false when
    // the source could not be asked at all (error set).
    virtual bool SelectionAt(ScreenPoint point, std::vector<std::u16string>& paths, std::string& error) = 0;
};

struct SelectionFillResult {
    SelectionStore store = SelectionStore::Miss;
    size_t count = 0;
    std::u16string first;
    bool asked = true; // false: the source failed (error set)
    std::string error;
};

// Reads the selection for a fill begun on cache and stores it there; now is read once the source answered.
SelectionFillResult RunSelectionFill(LocalSelectionCache& cache, const LocalSelectionCache::Fill& fill,
                                     ILocalSelectionSource& source, const std::function<uint32_t()>& now);
