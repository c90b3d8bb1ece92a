#include "transfer/ManifestReader.h"

#include <cstdint>
#include <string>

#include "core/Log.h"
#include "core/Utf.h"
#include "transfer/JsonValue.h"

namespace {

// Where the item object opening at text[open] ends (its closing brace), npos when it does not. Braces and
// brackets inside string values are names, not structure.
size_t ItemEnd(std::string_view text, size_t open) {
    int depth = 0;
    for (size_t i = open; i < text.size(); ++i) {
        char c = text[i];
        if (c == '"') {
            i = JsonStringEnd(text, i);
            if (i == std::string_view::npos)
                return i;
        } else if (c == '{') {
            ++depth;
        } else if (c == '}' && --depth == 0) {
            return i;
        }
    }
    return std::string_view::npos;
}

bool ReadItem(std::string_view object, ManifestItem& item) {
    item.id = JsonGetNumber(object, "id");
    item.path = JsonGetString(object, "path");
    item.fullPath = JsonGetString(object, "fullPath");
    item.size = JsonGetNumber(object, "size");
    item.dir = JsonGetNumber(object, "dir") != 0;
    item.url = JsonGetString(object, "url");
    return !item.path.empty() && (item.dir || !item.url.empty());
}

void LogSkipped(std::string_view object) {
    std::string shown(CutUtf8(object, 160));
    Log::Write("[HTTP][CLIENT][WARN] skip bad manifest item obj=%s", shown.c_str());
}

} // namespace

bool ParseManifest(std::string_view json, std::vector<ManifestItem>& items, size_t& skipped) {
    items.clear();
    skipped = 0;
    size_t at = JsonFindValue(json, "items");
    if (json.size() < 9 || at == std::string_view::npos || at >= json.size() || json[at] != '[') {
        std::string head(CutUtf8(json, 120));
        Log::Write("[HTTP][CLIENT][ERR] manifest missing items jsonBytes=%llu head=%s",
                   static_cast<unsigned long long>(json.size()), head.c_str());
        return false;
    }
    for (size_t i = at + 1; i < json.size(); ++i) {
        char c = json[i];
        if (c == ']')
            break;
        if (c == '"') { // a stray string between items: step over it whole
            i = JsonStringEnd(json, i);
            if (i == std::string_view::npos)
                break;
            continue;
        }
        if (c != '{')
            continue;
        size_t end = ItemEnd(json, i);
        if (end == std::string_view::npos) {
            // A cut-off item is an unusable one: the transfer must not go on as if it were complete.
            LogSkipped(json.substr(i));
            ++skipped;
            break;
        }
        std::string_view object = json.substr(i, end - i + 1);
        ManifestItem item;
        if (ReadItem(object, item)) {
            items.push_back(std::move(item));
        } else {
            LogSkipped(object);
            ++skipped;
        }
        i = end;
    }
    Log::Write("[HTTP][CLIENT] manifest parsed items=%u", static_cast<unsigned>(items.size()));
    return !items.empty() && skipped == 0;
}
