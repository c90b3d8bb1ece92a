#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "transfer/ManifestItem.h"

// Reads the manifest JSON of an offer. True when at least one item was read and none had to be skipped:
// skipped counts the items that were dropped as unusable (the transfer must not report them done).
bool ParseManifest(std::string_view json, std::vector<ManifestItem>& items, size_t& skipped);
