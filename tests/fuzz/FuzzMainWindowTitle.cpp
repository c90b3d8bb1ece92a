// Peer versions come from the peer's control messages. Checks: the title always starts with the product
// word and version and the arrow, the peer part never holds '_' or a space that came from the version, and
// is never empty.
#include <cstdint>
#include <string>

#include "FuzzChecks.h"
#include "ui/MainWindowTitle.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    bool english = data[0] & 1;
    bool hasPeer = data[0] & 2;
    std::string version(reinterpret_cast<const char*>(data + 1), size - 1);
    std::string title = FormatMainWindowTitle(hasPeer ? "10.0.0.2" : "", version, english);
    const std::string head = std::string(kTitleProductWord) + "  " + kTitleVersion + " <--> ";
    FuzzCheck(title.compare(0, head.size(), head) == 0, "title head");
    std::string part = title.substr(head.size());
    FuzzCheck(!part.empty(), "empty peer part");
    std::string shown = TitlePeerVersion(version);
    FuzzCheck(shown.find_first_of("_ ") == std::string::npos, "separator kept");
    FuzzCheck(shown.size() <= version.size() && version.find(shown) != std::string::npos, "not a piece");
    return 0;
}
