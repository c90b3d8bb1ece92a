#include "transfer/ByteSizeText.h"

#include <cstdio>

std::string FormatByteSize(uint64_t bytes) {
    char text[96];
    const auto value = static_cast<double>(bytes);
    if (bytes < 1024ull)
        std::snprintf(text, sizeof text, "%llu bytes", static_cast<unsigned long long>(bytes));
    else if (bytes < 1048576ull)
        std::snprintf(text, sizeof text, "%.2f KB", value / 1024.0);
    else if (bytes < 1073741824ull)
        std::snprintf(text, sizeof text, "%.2f MB", value / 1048576.0);
    else
        std::snprintf(text, sizeof text, "%.2f GB", value / 1073741824.0);
    return text;
}
