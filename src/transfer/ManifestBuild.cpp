#include "transfer/ManifestBuild.h"

#include "core/Log.h"
#include "core/Utf.h"

namespace {

constexpr size_t kLoggedEntries = 16;

unsigned long long U64(uint64_t value) {
    return static_cast<unsigned long long>(value);
}

bool IsSeparator(char16_t c) {
    return c == u'\\' || c == u'/';
}

// One directory being walked: its items and the next one to visit.
struct WalkFrame {
    std::u16string directory;
    std::string relative;
    std::vector<ManifestDirItem> items;
    size_t next = 0;
};

class ManifestWalk {
public:
    ManifestWalk(IManifestFileSystem& fileSystem, std::vector<ManifestEntry>& entries)
        : m_fileSystem(fileSystem), m_entries(entries) {}

    // False once the walk has passed the entry bound.
    bool AddPath(const std::u16string& path) {
        ManifestPathFacts facts;
        uint32_t error = 0;
        if (!m_fileSystem.Stat(path, facts, error)) {
            Log::Write("[HTTP][SERVER][WARN] manifest skip missing path=%s gle=%lu",
                       Utf16ToUtf8(path).c_str(), static_cast<unsigned long>(error));
            return true;
        }
        const std::string name = Utf16ToUtf8(LastPathComponent(path));
        if (!facts.isDir) {
            Log::Write("[HTTP][SERVER] manifest add file attrs=0x%08lx size=%llu path=%s",
                       static_cast<unsigned long>(facts.attributes), U64(facts.size),
                       Utf16ToUtf8(path).c_str());
            return Add(path, name, facts.size, false);
        }
        // An offered directory is entered even when it is itself a link: the user chose it. Only what lies
        // below it is held to the offered tree.
        if (!Add(path, name, 0, true))
            return false;
        return Walk(path, name);
    }

private:
    bool Add(const std::u16string& absolute, const std::string& relative, uint64_t size, bool isDir) {
        if (m_entries.size() >= kManifestMaxEntries) {
            Log::Write("[HTTP][SERVER][ERR] manifest walk stopped entries=%u limit=%u",
                       static_cast<unsigned>(m_entries.size()), static_cast<unsigned>(kManifestMaxEntries));
            return false;
        }
        ManifestEntry entry;
        entry.id = static_cast<uint32_t>(m_entries.size() + 1);
        entry.absolutePath = absolute;
        entry.relativePath = relative;
        entry.size = isDir ? 0 : size;
        entry.isDir = isDir;
        m_entries.push_back(std::move(entry));
        return true;
    }

    void List(WalkFrame& frame) {
        uint32_t error = 0;
        if (!m_fileSystem.List(frame.directory, frame.items, error)) {
            frame.items.clear();
            Log::Write("[HTTP][SERVER][WARN] manifest list failed gle=%lu path=%s",
                       static_cast<unsigned long>(error), Utf16ToUtf8(frame.directory).c_str());
        }
    }

    // Depth first in the platform's order, without recursion: a deep tree must not exhaust the stack.
    bool Walk(const std::u16string& root, const std::string& rootRelative) {
        std::vector<WalkFrame> stack(1);
        stack.back().directory = root;
        stack.back().relative = rootRelative;
        List(stack.back());
        while (!stack.empty()) {
            WalkFrame& frame = stack.back();
            if (frame.next >= frame.items.size()) {
                stack.pop_back();
                continue;
            }
            const ManifestDirItem item = frame.items[frame.next++];
            if (item.name.empty() || item.name == u"." || item.name == u"..")
                continue;
            std::u16string absolute = frame.directory;
            if (!absolute.empty() && !IsSeparator(absolute.back()))
                absolute += u'\\';
            absolute += item.name;
            const std::string relative = frame.relative + "/" + Utf16ToUtf8(item.name);
            if (!Add(absolute, relative, item.size, item.isDir))
                return false;
            if (!item.isDir)
                continue;
            if (item.isReparsePoint) {
                Log::Write("[HTTP][SERVER][WARN] manifest reparse point not entered rel=%s",
                           relative.c_str());
                continue;
            }
            WalkFrame child;
            child.directory = std::move(absolute);
            child.relative = relative;
            List(child);
            stack.push_back(std::move(child)); // frame is not used after this
        }
        return true;
    }

    IManifestFileSystem& m_fileSystem;
    std::vector<ManifestEntry>& m_entries;
};

} // namespace

bool BuildManifestEntries(const std::vector<std::u16string>& paths, IManifestFileSystem& fileSystem,
                          std::vector<ManifestEntry>& entries) {
    entries.clear();
    ManifestWalk walk(fileSystem, entries);
    for (const std::u16string& path : paths) {
        if (!walk.AddPath(path)) {
            entries.clear();
            return false;
        }
    }
    return !entries.empty();
}

uint64_t ManifestTotalBytes(const std::vector<ManifestEntry>& entries) {
    uint64_t total = 0;
    for (const ManifestEntry& entry : entries) {
        if (!entry.isDir)
            total += entry.size;
    }
    return total;
}

std::u16string LastPathComponent(std::u16string_view path) {
    while (!path.empty() && IsSeparator(path.back()))
        path.remove_suffix(1);
    size_t cut = path.find_last_of(u"\\/");
    return std::u16string(cut == std::u16string_view::npos ? path : path.substr(cut + 1));
}

void LogManifestEntries(const std::vector<ManifestEntry>& entries) {
    Log::Write("[HTTP][SERVER] manifest rebuilt entries=%u totalBytes=%llu",
               static_cast<unsigned>(entries.size()), U64(ManifestTotalBytes(entries)));
    for (size_t i = 0; i < entries.size() && i < kLoggedEntries; ++i) {
        const ManifestEntry& entry = entries[i];
        Log::Write("[HTTP][SERVER] manifest item[%u] id=%u size=%llu rel=%s abs=%s", static_cast<unsigned>(i),
                   entry.id, U64(entry.size), entry.relativePath.c_str(),
                   Utf16ToUtf8(entry.absolutePath).c_str());
    }
    if (entries.size() > kLoggedEntries)
        Log::Write("[HTTP][SERVER] manifest item log truncated total=%u",
                   static_cast<unsigned>(entries.size()));
}
