#include "transfer/HttpDownload.h"

#include <algorithm>
#include <vector>

#include "core/Log.h"
#include "core/Utf.h"

namespace HttpClient {

namespace {

constexpr uint64_t kProgressLogStep = 0x1000000; // one log line per 16 MiB

using ull = unsigned long long;

class FileBody {
public:
    FileBody(IResponseStream& stream, IDownloadFile& file, const FileDownloadRequest& request,
             const ProgressFn& progress, std::string& error)
        : m_stream(stream), m_file(file), m_request(request), m_progress(progress), m_error(error) {}

    bool Run(const HeaderReader& reader);
    uint64_t Written() const { return m_written; }

private:
    bool Fail(const char* reason) {
        m_file.CloseTemp();
        m_file.RemoveTemp();
        m_error = reason;
        return false;
    }
    bool BeyondGoal(uint64_t size) {
        Log::Write("[HTTP][CLIENT][ERR] body longer than expected written=%llu more=%llu goal=%llu url=%s",
                   static_cast<ull>(m_written), static_cast<ull>(size), static_cast<ull>(m_goal),
                   m_request.url.c_str());
        return Fail("size mismatch");
    }
    // Writes one block and reports it; false when the download must stop (the temp file is gone then).
    bool Store(const char* data, size_t size, bool initial);
    bool ReceiveBody(bool lengthKnown);
    bool Finish();

    IResponseStream& m_stream;
    IDownloadFile& m_file;
    const FileDownloadRequest& m_request;
    const ProgressFn& m_progress;
    std::string& m_error;
    uint64_t m_goal = 0;
    uint64_t m_written = 0;
    uint64_t m_lastProgressLog = 0;
};

bool FileBody::Store(const char* data, size_t size, bool initial) {
    if (size > m_goal - m_written)
        return BeyondGoal(size);
    if (!m_file.Write(data, size)) {
        if (initial)
            Log::Write("[HTTP][CLIENT][ERR] write initial remain failed bytes=%llu path=%s",
                       static_cast<ull>(size), m_request.tempPath.c_str());
        else
            Log::Write("[HTTP][CLIENT][ERR] write failed written=%llu n=%d path=%s",
                       static_cast<ull>(m_written), static_cast<int>(size), m_request.tempPath.c_str());
        return Fail("write failed");
    }
    m_written += size;
    if (m_progress && !m_progress(m_written, m_goal)) {
        Log::Write("[HTTP][CLIENT][CANCEL] progress callback requested cancel written=%llu/%llu path=%s",
                   static_cast<ull>(m_written), static_cast<ull>(m_goal), m_request.finalPath.c_str());
        return Fail("canceled");
    }
    if (m_written - m_lastProgressLog >= kProgressLogStep) {
        m_lastProgressLog = m_written;
        Log::Write("[HTTP][CLIENT] download progress written=%llu/%llu path=%s", static_cast<ull>(m_written),
                   static_cast<ull>(m_goal), m_request.finalPath.c_str());
    }
    return true;
}

bool FileBody::ReceiveBody(bool lengthKnown) {
    std::vector<char> block(kReceiveBlockBytes);
    for (;;) {
        if (lengthKnown && m_written >= m_goal)
            return true;
        // With a length, never ask for more than is due. Without one, one byte past the goal is asked for
        // too: it shows a body longer than the manifest said.
        uint64_t due = m_goal - m_written + (lengthKnown ? 0 : 1);
        size_t want = static_cast<size_t>(std::min<uint64_t>(block.size(), due));
        int n = m_stream.Receive(block.data(), want);
        if (n == 0 && !lengthKnown)
            return true; // the peer closed: the normal end of a body without a length
        if (n < 1) {
            Log::Write(
                "[HTTP][CLIENT][ERR] recv file interrupted written=%llu/%llu expectedSize=%llu n=%d wsa=%d "
                "url=%s",
                static_cast<ull>(m_written), static_cast<ull>(m_goal), static_cast<ull>(m_request.expected),
                n, m_stream.LastError(), m_request.url.c_str());
            return Fail("recv file interrupted");
        }
        if (!Store(block.data(), static_cast<size_t>(n), false))
            return false;
    }
}

bool FileBody::Finish() {
    m_file.CloseTemp();
    if (m_written != m_goal) {
        Log::Write("[HTTP][FAIL] download size mismatch bytes=%llu expected=%llu contentLength=%llu temp=%s "
                   "final=%s",
                   static_cast<ull>(m_written), static_cast<ull>(m_request.expected),
                   static_cast<ull>(m_goal), m_request.tempPath.c_str(), m_request.finalPath.c_str());
        int ec = m_file.RemoveTemp();
        Log::Write("[HTTP][CLIENT][ERR] remove partial temp path=%s ec=%d", m_request.tempPath.c_str(), ec);
        m_error = "size mismatch";
        return false;
    }
    Log::Write("[HTTP][DONE] bytes=%llu expected=%llu contentLength=%llu temp=%s final=%s",
               static_cast<ull>(m_written), static_cast<ull>(m_request.expected), static_cast<ull>(m_goal),
               m_request.tempPath.c_str(), m_request.finalPath.c_str());
    int ec = 0;
    if (!m_file.MoveIntoPlace(ec)) {
        Log::Write("[HTTP][CLIENT][ERR] rename temp failed temp=%s final=%s ec=%d",
                   m_request.tempPath.c_str(), m_request.finalPath.c_str(), ec);
        m_file.RemoveTemp();
        m_error = "rename temp failed";
        return false;
    }
    return true;
}

bool FileBody::Run(const HeaderReader& reader) {
    std::string_view header = reader.Header();
    if (!IsStatusOk(header)) {
        std::string shown(CutUtf8(header, 160));
        Log::Write("[HTTP][CLIENT][ERR] non-200 file url=%s header=%s", m_request.url.c_str(), shown.c_str());
        m_error = StatusError(header);
        return false;
    }
    std::optional<uint64_t> length = ContentLength(header);
    std::string_view remain = reader.Remainder();
    Log::Write("[HTTP][SIZE] contentLength=%llu expected=%llu remain=%llu",
               static_cast<ull>(length.value_or(0)), static_cast<ull>(m_request.expected),
               static_cast<ull>(remain.size()));
    if (length && m_request.expected != 0 && *length != m_request.expected) {
        Log::Write("[HTTP][CLIENT][ERR] header size mismatch contentLength=%llu expected=%llu url=%s",
                   static_cast<ull>(*length), static_cast<ull>(m_request.expected), m_request.url.c_str());
        m_error = "size mismatch";
        return false;
    }
    if (!m_file.OpenTemp()) {
        Log::Write("[HTTP][CLIENT][ERR] open temp output failed path=%s", m_request.tempPath.c_str());
        m_error = "open temp failed";
        return false;
    }
    m_goal = length.value_or(m_request.expected);
    if (!remain.empty() && !Store(remain.data(), remain.size(), true))
        return false;
    if (m_goal == 0 && m_written == 0)
        Log::Write("[HTTP][ZERO] empty file completed without recv url=%s", m_request.url.c_str());
    else if (!ReceiveBody(length.has_value()))
        return false;
    return Finish();
}

} // namespace

bool ReceiveFile(IResponseStream& stream, IDownloadFile& file, const FileDownloadRequest& request,
                 const ProgressFn& progress, uint64_t& written, std::string& error) {
    written = 0;
    HeaderReader reader;
    if (!ReceiveHeader(stream, reader, error))
        return false;
    FileBody body(stream, file, request, progress, error);
    bool ok = body.Run(reader);
    written = body.Written();
    return ok;
}

} // namespace HttpClient
