#include "dragdrop/LocalSelectionSource.h"

SelectionFillResult RunSelectionFill(LocalSelectionCache& cache, const LocalSelectionCache::Fill& fill,
                                     ILocalSelectionSource& source, const std::function<uint32_t()>& now) {
    SelectionFillResult result;
    std::vector<std::u16string> paths;
    result.asked = source.SelectionAt(fill.start, paths, result.error);
    if (!result.asked)
        paths.clear();
    result.count = paths.size();
    if (!paths.empty())
        result.first = paths.front();
    result.store = cache.FinishFill(fill, std::move(paths), now());
    return result;
}
