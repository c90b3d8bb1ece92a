// The receiver's reading of a "file.http.begin" payload from the peer, and the edit a local drop makes to it:
// - any bytes parse without harm, and a payload that passes names a transfer and a manifest;
// - the drop's edit never changes whether a payload is accepted, and the folder and conflict rule read back
//   are exactly the drop's, whatever lines the sender wrote.
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzChecks.h"
#include "transfer/HttpBeginInfo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    const bool rename = (data[0] & 1) != 0;
    const size_t folderBytes = data[1] % 64;
    const std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);
    const std::string_view folder = rest.substr(0, folderBytes);
    const std::string_view payload = rest.substr(folder.size());

    HttpBeginInfo info;
    const bool valid = ParseBeginPayload(payload, info);
    if (valid)
        FuzzCheck(info.transferId != 0 && !info.manifestUrl.empty(), "accepted without id or manifest");

    HttpBeginInfo local;
    const bool localValid = ParseBeginPayload(LocalBeginPayload(payload, folder, rename), local);
    FuzzCheck(localValid == valid, "the drop's edit changed whether the payload is accepted");
    if (localValid) {
        FuzzCheck(local.targetPath == folder, "folder is not the drop's");
        FuzzCheck(local.conflictRename == rename, "conflict rule is not this PC's");
        FuzzCheck(local.transferId == info.transferId && local.manifestUrl == info.manifestUrl,
                  "the edit changed another field");
    }
    return 0;
}
