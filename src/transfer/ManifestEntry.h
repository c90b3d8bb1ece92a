#pragma once

#include <cstdint>
#include <string>

// One offered file or directory as the sending side holds it.
struct ManifestEntry {
    uint32_t id = 0;             // 1 for the first entry of an offer, then +1 in manifest order
    std::u16string absolutePath; // the local file to serve; the key of file requests
    std::string relativePath;    // UTF-8 with "/" separators, starting with the offered item's name
    uint64_t size = 0;           // bytes when the offer was made; 0 for a directory
    bool isDir = false;
};
