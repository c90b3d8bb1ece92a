#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "transfer/HttpReceive.h"

// One file body from the answer to a file request, streamed into a temporary file that becomes the final
// file only when exactly the expected bytes arrived. The file system side is behind IDownloadFile.
namespace HttpClient {

// (bytes written so far for this file, expected bytes of this file) -> false stops the download.
using ProgressFn = std::function<bool(uint64_t written, uint64_t expected)>;

// The temporary "<final>.tsly_part" file and the final move.
class IDownloadFile {
public:
    virtual ~IDownloadFile() = default;
    // Removes an old temporary file and creates an empty one.
    virtual bool OpenTemp() = 0;
    virtual bool Write(const char* data, size_t size) = 0;
    virtual void CloseTemp() = 0;
    // Deletes the temporary file: 0 when it is gone, else the error code.
    virtual int RemoveTemp() = 0;
    // Moves the closed temporary file onto the final path; error: the code when false.
    virtual bool MoveIntoPlace(int& error) = 0;
};

struct FileDownloadRequest {
    std::string url;
    std::string tempPath;  // UTF-8, for the log
    std::string finalPath; // UTF-8, for the log
    uint64_t expected = 0; // the manifest's size of the file
};

// Reads the header and the body from stream into file. The body must be exactly as long as its
// Content-Length (which, when the manifest names a size too, must equal it before any file is opened);
// without a Content-Length it runs until the peer closes and must be exactly the expected size, and
// never more is written. A false progress callback cancels (error "canceled"). On any failure after the
// temporary file was opened it is removed and the final path is left as it was. written: the bytes
// written to the temporary file.
bool ReceiveFile(IResponseStream& stream, IDownloadFile& file, const FileDownloadRequest& request,
                 const ProgressFn& progress, uint64_t& written, std::string& error);

} // namespace HttpClient
