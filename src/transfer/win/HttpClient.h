#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "transfer/HttpDownload.h"
#include "transfer/ManifestItem.h"

// The client side of the HTTP pull. Every call runs on the receive worker, connects only to the allowed host
// (the clipboard channel's peer, whatever host a URL names) and gives up when the peer goes silent.
namespace HttpClient {

struct Options {
    std::string allowedHost; // dotted IPv4 of the peer; a URL naming another host is refused
    uint32_t connectTimeoutMs = 5000;
    uint32_t recvTimeoutMs = 15000; // also the send time-out
};

// ProgressFn: (bytes written so far for this file, expected bytes of this file) -> false stops the download
// (declared with the body reader in transfer/HttpDownload.h).

// The manifest text (Content-Length required, bounded). error: a short reason when false.
bool GetText(const std::string& url, const Options& options, std::string& body, std::string& error);
// One manifest item into root: directories are created, files streamed to "<final>.tsly_part" and then moved
// into place (conflictRename: a new name instead of replacing). error: a short reason when false.
bool DownloadItem(const std::string& manifestUrl, const ManifestItem& item, const std::wstring& root,
                  bool conflictRename, const ProgressFn& progress, const Options& options,
                  std::string& error);

} // namespace HttpClient
