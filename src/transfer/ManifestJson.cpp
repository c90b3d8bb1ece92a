#include "transfer/ManifestJson.h"

#include <cstdio>

#include "core/Utf.h"
#include "transfer/PercentCoding.h"

std::string JsonEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '\b':
            out += "\\b";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\r':
            out += "\\r";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                out += escaped;
            } else {
                out += c;
            }
            break;
        }
    }
    return out;
}

std::string ManifestFileUrl(uint64_t offerId, std::string_view absolutePathUtf8) {
    return "/file?id=" + std::to_string(offerId) + "&path=" + PercentEncode(absolutePathUtf8);
}

std::string ManifestAddress(std::string_view host, uint16_t port, uint64_t offerId) {
    std::string out = "http://";
    out.append(host);
    out += ':';
    out += std::to_string(port);
    out += "/manifest?id=";
    out += std::to_string(offerId);
    return out;
}

std::string WriteManifestJson(const std::vector<ManifestEntry>& entries, uint64_t offerId) {
    std::string out = "{\"version\":2,\"mode\":\"path\",\"items\":[";
    bool first = true;
    for (const ManifestEntry& entry : entries) {
        if (!first)
            out += ',';
        first = false;
        const std::string absolute = Utf16ToUtf8(entry.absolutePath);
        out += "{\"path\":\"";
        out += JsonEscape(entry.relativePath);
        out += "\",\"fullPath\":\"";
        out += JsonEscape(absolute);
        out += "\",\"size\":";
        out += std::to_string(entry.size);
        out += ",\"dir\":";
        out += entry.isDir ? '1' : '0';
        if (!entry.isDir) {
            out += ",\"url\":\"";
            out += JsonEscape(ManifestFileUrl(offerId, absolute));
            out += '"';
        }
        out += '}';
    }
    out += "]}";
    return out;
}
