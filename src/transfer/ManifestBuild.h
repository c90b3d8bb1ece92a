#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "transfer/ManifestEntry.h"

// Turns the paths of an offer into manifest entries: a file is one entry, a directory one entry followed by
// everything below it (empty directories included). The file system is asked through an interface so that
// the walk's rules are the same on every platform the tests run on.

// A walk past this many entries is refused: an offer that large would not fit a manifest the peer reads.
constexpr size_t kManifestMaxEntries = 100000;

struct ManifestPathFacts {
    uint32_t attributes = 0; // as the file system reports them; logged only
    bool isDir = false;
    bool isReparsePoint = false; // a junction or symbolic link
    uint64_t size = 0;
};

struct ManifestDirItem {
    std::u16string name; // one component
    bool isDir = false;
    bool isReparsePoint = false;
    uint64_t size = 0;
};

class IManifestFileSystem {
public:
    virtual ~IManifestFileSystem() = default;
    // Facts of an offered path; false with the system's error code when it cannot be read.
    virtual bool Stat(const std::u16string& path, ManifestPathFacts& facts, uint32_t& error) = 0;
    // What a directory holds, in the platform's order; false with the error code when it cannot be listed.
    virtual bool List(const std::u16string& directory, std::vector<ManifestDirItem>& items,
                      uint32_t& error) = 0;
};

// Fills entries (ids from 1) for the paths in order. A path that cannot be read is skipped with a log line; a
// directory below an offered one that is a reparse point is listed as an empty directory and not entered, so
// the walk never leaves the offered tree or loops. False when no entry results or the walk passes
// kManifestMaxEntries (entries then empty).
bool BuildManifestEntries(const std::vector<std::u16string>& paths, IManifestFileSystem& fileSystem,
                          std::vector<ManifestEntry>& entries);

// The sum of the file sizes (directories count 0).
uint64_t ManifestTotalBytes(const std::vector<ManifestEntry>& entries);

// The offered item's own name: the text after the last "\" or "/", trailing separators ignored.
std::u16string LastPathComponent(std::u16string_view path);

// "[HTTP][SERVER] manifest rebuilt entries=%u totalBytes=%llu" and one line for each of the first 16 entries.
void LogManifestEntries(const std::vector<ManifestEntry>& entries);
