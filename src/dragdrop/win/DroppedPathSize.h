#pragma once

#include <cstdint>
#include <string>

// The size of a dropped or offered path: a file's size, or the sum over a folder's files, walked
// recursively. Junctions and other reparse points are counted as found but never entered (they may point
// back up the tree or off the machine), and the walk stops 64 folders deep. Sets folder when the path is a
// folder; 0 when its attributes cannot be read. Slow on big trees: never call it on the input thread.
uint64_t SumDroppedPaths(const std::wstring& path, bool& folder);
