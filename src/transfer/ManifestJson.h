#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "transfer/ManifestEntry.h"

// The manifest of one offer: UTF-8 JSON without white space, served at "/manifest?id=<offer>":
//   {"version":2,"mode":"path","items":[{"path":"<rel>","fullPath":"<abs>","size":N,"dir":0,"url":"<url>"},...]}
// "path" is the relative path, "fullPath" the sender's absolute path in UTF-8, "dir" 1 for a directory (which
// has no "url"), and a file's "url" is "/file?id=<offer>&path=<percent-coded absolute path>". Naming the
// offer in every address keeps each transfer on its own files while later offers are made.

// Receivers refuse a larger manifest, so the sender refuses to offer one.
constexpr size_t kManifestMaxBytes = 16u * 1024u * 1024u;

// Backspace, tab, line feed, form feed, carriage return, '"' and '\' as their two-character escapes, any
// other byte below 0x20 as "\u00XX" (lower-case hex); every other byte, UTF-8 sequences included, as it is.
std::string JsonEscape(std::string_view text);

// "/file?id=<offer>&path=<percent-coded UTF-8 absolute path>".
std::string ManifestFileUrl(uint64_t offerId, std::string_view absolutePathUtf8);
// "http://<host>:<port>/manifest?id=<offer>".
std::string ManifestAddress(std::string_view host, uint16_t port, uint64_t offerId);

std::string WriteManifestJson(const std::vector<ManifestEntry>& entries, uint64_t offerId);
