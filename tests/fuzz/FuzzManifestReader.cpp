// Arbitrary bytes as a manifest and as JSON string values. Checked:
// - every item the reader keeps has a path, and a file item a url; the result is true exactly when at least
//   one item was kept and none was skipped;
// - a string written with the sender's JSON escaping reads back as the same bytes, whatever the bytes,
//   also beside a decoy member whose value quotes the key.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "transfer/JsonValue.h"
#include "transfer/ManifestReader.h"

#include "../support/JsonQuoted.h"
#include "FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);

    std::vector<ManifestItem> items;
    size_t skipped = 0;
    bool ok = ParseManifest(input, items, skipped);
    for (const ManifestItem& item : items) {
        FuzzCheck(!item.path.empty(), "kept item without a path");
        FuzzCheck(item.dir || !item.url.empty(), "kept file item without a url");
    }
    FuzzCheck(ok == (!items.empty() && skipped == 0), "result does not match the items and skips");

    std::string object =
        "{\"fullPath\":" + JsonQuoted(std::string("\"path\":\"decoy\"") + std::string(input)) +
        ",\"path\":" + JsonQuoted(input) + ",\"size\":" + std::to_string(size) + "}";
    FuzzCheck(JsonGetString(object, "path") == input, "escaped string does not read back");
    FuzzCheck(JsonGetNumber(object, "size") == size, "number beside the string lost");

    std::vector<ManifestItem> one;
    std::string manifest = "{\"version\":2,\"items\":[{\"path\":" + JsonQuoted(input) + ",\"dir\":1}]}";
    bool oneOk = ParseManifest(manifest, one, skipped);
    FuzzCheck(oneOk == !input.empty(), "a single directory item is kept exactly when it has a path");
    FuzzCheck(!oneOk || (one.size() == 1 && one[0].path == input), "directory item path lost");
    return 0;
}
