#include "dragdrop/ShellCandidates.h"

#include <algorithm>
#include <array>

#include "core/Utf.h"

namespace {

// True when a ranks before b by hit-root, then foreground (when it counts), then z-order.
bool RanksBefore(const ShellCandidate& a, const ShellCandidate& b, bool foregroundCounts) {
    if (a.hitRoot != b.hitRoot)
        return a.hitRoot;
    if (foregroundCounts && a.foreground != b.foreground)
        return a.foreground;
    return a.zRank < b.zRank;
}

std::optional<size_t> FirstBy(std::span<const ShellCandidate> candidates, bool foregroundCounts,
                              bool (*inList)(const ShellCandidate&)) {
    std::optional<size_t> best;
    for (size_t i = 0; i < candidates.size(); ++i) {
        if (!inList(candidates[i]))
            continue;
        if (!best || RanksBefore(candidates[i], candidates[*best], foregroundCounts))
            best = i;
    }
    return best;
}

bool AnyOf(std::u16string_view className, std::span<const std::u16string_view> names) {
    return std::find(names.begin(), names.end(), className) != names.end();
}

} // namespace

std::optional<size_t> PickHitRootThenRank(std::span<const ShellCandidate> candidates) {
    return FirstBy(candidates, false, [](const ShellCandidate&) { return true; });
}

std::optional<ExplorerTargetPick> PickExplorerTarget(std::span<const ShellCandidate> candidates) {
    struct List {
        ExplorerTargetList list;
        bool (*holds)(const ShellCandidate&);
    };
    const std::array<List, 3> lists = {{
        {ExplorerTargetList::UnderPoint, [](const ShellCandidate& c) { return c.pointInside; }},
        {ExplorerTargetList::Foreground, [](const ShellCandidate& c) { return c.foreground; }},
        {ExplorerTargetList::Visible, [](const ShellCandidate&) { return true; }},
    }};
    for (const List& list : lists) {
        if (std::optional<size_t> index = FirstBy(candidates, true, list.holds))
            return ExplorerTargetPick{*index, list.list};
    }
    return std::nullopt;
}

int32_t ZRankOf(std::span<const uintptr_t> topLevelOrder, uintptr_t root) {
    const auto found = std::find(topLevelOrder.begin(), topLevelOrder.end(), root);
    if (found == topLevelOrder.end() || found - topLevelOrder.begin() >= kZRankNotFound)
        return kZRankNotFound;
    return static_cast<int32_t>(found - topLevelOrder.begin());
}

bool IsDesktopClass(std::u16string_view className) {
    static constexpr std::u16string_view kNames[] = {u"WorkerW", u"Progman", u"SHELLDLL_DefView",
                                                     u"SysListView32"};
    return AnyOf(className, kNames);
}

bool IsShellRootClass(std::u16string_view className) {
    static constexpr std::u16string_view kNames[] = {u"CabinetWClass", u"ExploreWClass", u"Progman",
                                                     u"WorkerW"};
    return AnyOf(className, kNames);
}

bool IsTextEditorClass(std::u16string_view className) {
    static constexpr std::u16string_view kNames[] = {u"Edit", u"RichEdit", u"RichEdit20W", u"RichEdit20A",
                                                     u"RICHEDIT50W"};
    return std::any_of(std::begin(kNames), std::end(kNames),
                       [&](std::u16string_view name) { return EqualsIgnoringCase(className, name); });
}
