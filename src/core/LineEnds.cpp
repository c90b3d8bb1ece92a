#include "core/LineEnds.h"

std::string_view TrimTrailingLineEnds(std::string_view text) {
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n'))
        text.remove_suffix(1);
    return text;
}
