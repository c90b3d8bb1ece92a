#pragma once

#include <cstdint>
#include <string>

// One entry of a parsed manifest.
struct ManifestItem {
    uint64_t id = 0;
    std::string path;     // UTF-8, relative to the target root
    std::string fullPath; // UTF-8, the sender's absolute path
    uint64_t size = 0;
    bool dir = false;
    std::string url; // usually "/file?..." relative to the manifest's server
};
