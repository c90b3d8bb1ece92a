#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

// Which shell window a point means, decided over facts the shell side gathers about each open Explorer
// window (see src/dragdrop/win/ShellSelection.cpp and the cursor-path monitor).

// The z-order rank of a window whose root is not among the top-level windows.
inline constexpr int32_t kZRankNotFound = 2147483647;

struct ShellCandidate {
    bool pointInside =
        false;               // the point lies in the window (or the window under it is the window or a child)
    bool hitRoot = false;    // its root window is the root window under the point
    bool foreground = false; // it is, or shares its root with, the foreground window
    int32_t zRank = kZRankNotFound; // index of its root window in the top-level order, 0 = topmost
};

// The candidate whose root is under the point, else the highest in z-order; on a tie the earlier one.
// Empty for no candidates.
std::optional<size_t> PickHitRootThenRank(std::span<const ShellCandidate> candidates);

// Where the target folder of a paste comes from, in the order the lists are tried.
enum class ExplorerTargetList { UnderPoint, Foreground, Visible };

struct ExplorerTargetPick {
    size_t index = 0;
    ExplorerTargetList list = ExplorerTargetList::UnderPoint;
};

// The Explorer windows under the point, else the foreground ones, else every visible one; within a list
// hit-root first, then foreground, then the lower rank, then the earlier one. Empty for no candidates.
std::optional<ExplorerTargetPick> PickExplorerTarget(std::span<const ShellCandidate> candidates);

// The index of root in the top-level order, kZRankNotFound when absent.
int32_t ZRankOf(std::span<const uintptr_t> topLevelOrder, uintptr_t root);

// Window classes, as GetClassNameW gives them.
// The desktop: "Progman", "WorkerW", its view "SHELLDLL_DefView" and list "SysListView32".
bool IsDesktopClass(std::u16string_view className);
// A window that can be the root of a shell view: the Explorer frames "CabinetWClass" and "ExploreWClass",
// or the desktop's "Progman" and "WorkerW".
bool IsShellRootClass(std::u16string_view className);
// The edit controls in which a drag selects text (compared case-insensitively).
bool IsTextEditorClass(std::u16string_view className);
