#pragma once

#include "transfer/ManifestBuild.h"

// The manifest walk's view of the local file system: GetFileAttributesExW and FindFirstFileW.
class Win32ManifestFileSystem final : public IManifestFileSystem {
public:
    bool Stat(const std::u16string& path, ManifestPathFacts& facts, uint32_t& error) override;
    bool List(const std::u16string& directory, std::vector<ManifestDirItem>& items, uint32_t& error) override;
};
