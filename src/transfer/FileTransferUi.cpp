#include "transfer/FileTransferUi.h"

#include <algorithm>

#include "core/Log.h"
#include "core/Utf.h"
#include "transfer/FileTransferText.h"

namespace {

// The tray's NIIF_INFO and NIIF_WARNING.
constexpr uint32_t kBalloonInfo = 1;
constexpr uint32_t kBalloonWarning = 2;
constexpr uint32_t kCompleteBalloonMs = 8000;
constexpr uint32_t kFailBalloonMs = 12000;
constexpr uint32_t kCompleteNoticeRepeatMs = 30000;
constexpr uint32_t kFinishedKeptMs = 5000;
constexpr uint32_t kPublishIntervalMs = 120;
constexpr uint32_t kSpeedWindowMs = 500;

unsigned long long ULL(uint64_t v) {
    return static_cast<unsigned long long>(v);
}

std::u16string Limited(std::u16string_view text) {
    return std::u16string(HeadUtf16(text, kTransferTextMaxUnits));
}

} // namespace

const char* FileTransferPhaseName(FileTransferPhase phase) {
    switch (phase) {
    case FileTransferPhase::Idle:
        return "Idle";
    case FileTransferPhase::Sending:
        return "Sending";
    case FileTransferPhase::Receiving:
        return "Receiving";
    case FileTransferPhase::Complete:
        return "Complete";
    case FileTransferPhase::Error:
        return "Error";
    case FileTransferPhase::Canceled:
        return "Canceled";
    }
    return "?";
}

FileTransferSnapshot FileTransferUi::SnapshotLocked() const {
    FileTransferSnapshot s;
    s.phase = m_model.phase;
    s.transferId = m_model.transferId;
    s.doneBytes = m_model.doneBytes;
    s.totalBytes = m_model.totalBytes;
    s.currentDoneBytes = m_model.currentDoneBytes;
    s.currentTotalBytes = m_model.currentTotalBytes;
    s.itemIndex = m_model.itemIndex;
    s.itemCount = m_model.itemCount;
    s.speed = m_model.speed;
    s.cancelRequested = m_model.cancelRequested;
    s.name = m_model.name;
    s.message = m_model.message;
    return s;
}

FileTransferUi::Publication FileTransferUi::PublicationLocked() const {
    return {true, FormatTransferStatusLine(SnapshotLocked()), m_model.transferId};
}

bool FileTransferUi::IgnoreForeignReportLocked(uint64_t transferId, const char* operation) {
    if (!IsMoving(m_model.phase) || m_model.transferId == transferId)
        return false;
    if (m_lastIgnoredId != transferId) {
        m_lastIgnoredId = transferId;
        Log::Write("FileTransferUi report ignored op=%s id=%llu activeId=%llu", operation, ULL(transferId),
                   ULL(m_model.transferId));
    }
    return true;
}

void FileTransferUi::Publish(const Publication& publication) {
    if (!publication.publish)
        return;
    if (!publication.statusLine.empty() && m_host.IsController())
        m_host.ShowStatusLine(publication.statusLine);
    m_host.PublishTransferEvent(publication.transferId);
}

void FileTransferUi::Start(FileTransferPhase phase, uint64_t transferId, std::u16string_view name,
                           uint64_t totalBytes) {
    const uint32_t now = m_host.NowMs();
    Publication pub;
    bool duplicate = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        Model& m = m_model;
        duplicate = m.transferId == transferId && IsMoving(m.phase);
        if (duplicate) {
            m.phase = phase;
            if (totalBytes != 0)
                m.totalBytes = totalBytes;
            if (!name.empty() && m.name.empty())
                m.name = Limited(name);
        } else {
            m = Model{};
            m_lastIgnoredId.reset();
            m.phase = phase;
            m.transferId = transferId;
            m.totalBytes = totalBytes;
            m.name = Limited(name);
            m.speedBaseTick = now;
            m.speedBaseSet = true;
        }
        m.lastUpdateTick = now;
        pub = PublicationLocked();
    }
    Publish(pub);
    if (duplicate)
        Log::Write("FileTransferUi start ignored duplicate id=%llu phase=%s total=%llu", ULL(transferId),
                   FileTransferPhaseName(phase), ULL(totalBytes));
    else
        Log::Write("[TRANSFER][START] id=%llu phase=%s total=%llu name=%s", ULL(transferId),
                   FileTransferPhaseName(phase), ULL(totalBytes), Utf16ToUtf8(name).c_str());
}

void FileTransferUi::UpdateProgress(uint64_t transferId, std::u16string_view name, uint64_t doneBytes,
                                    uint64_t totalBytes, uint64_t currentDoneBytes,
                                    uint64_t currentTotalBytes) {
    const uint32_t now = m_host.NowMs();
    Publication pub;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (IgnoreForeignReportLocked(transferId, "progress"))
            return;
        Model& m = m_model;
        bool started = false;
        if (m.phase == FileTransferPhase::Idle || m.transferId != transferId) {
            // A receiver may report before anyone called Start: its first report starts it.
            m = Model{};
            m_lastIgnoredId.reset();
            m.phase = FileTransferPhase::Receiving;
            m.transferId = transferId;
            m.speedBaseTick = now;
            m.speedBaseSet = true;
            started = true;
        }
        if (m.phase == FileTransferPhase::Error || m.phase == FileTransferPhase::Canceled) {
            pub = {true, std::string(), transferId};
        } else {
            m.doneBytes = doneBytes;
            m.totalBytes = totalBytes;
            m.currentDoneBytes = currentDoneBytes;
            m.currentTotalBytes = currentTotalBytes;
            if (!name.empty())
                m.name = Limited(name);
            if (!m.speedBaseSet) {
                m.speed = 0;
                m.speedBaseBytes = doneBytes;
                m.speedBaseTick = now;
                m.speedBaseSet = true;
            } else if (uint32_t elapsed = now - m.speedBaseTick; elapsed >= kSpeedWindowMs) {
                uint64_t moved = doneBytes > m.speedBaseBytes ? doneBytes - m.speedBaseBytes : 0;
                m.speed = static_cast<double>(moved) * 1000.0 / elapsed;
                m.speedBaseBytes = doneBytes;
                m.speedBaseTick = now;
            }
            bool last = totalBytes != 0 && doneBytes >= totalBytes;
            if (started || last || now - m.lastUpdateTick >= kPublishIntervalMs) {
                m.lastUpdateTick = now;
                pub = PublicationLocked();
            }
        }
    }
    Publish(pub);
}

void FileTransferUi::SetItemProgress(uint64_t transferId, uint32_t itemIndex, uint32_t itemCount) {
    Publication pub;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (IgnoreForeignReportLocked(transferId, "item"))
            return;
        Model& m = m_model;
        if (m.phase == FileTransferPhase::Idle || m.transferId != transferId)
            return;
        if (itemCount != 0)
            m.itemCount = itemCount;
        if (itemIndex != 0)
            m.itemIndex = m.itemCount != 0 ? std::min(itemIndex, m.itemCount) : itemIndex;
        pub = PublicationLocked();
    }
    Publish(pub);
}

void FileTransferUi::Complete(uint64_t transferId, std::u16string_view text) {
    const uint32_t now = m_host.NowMs();
    const bool english = m_host.IsUiEnglish();
    Publication pub;
    std::u16string message;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (IgnoreForeignReportLocked(transferId, "complete"))
            return;
        Model& m = m_model;
        if (m.transferId == transferId && m.phase == FileTransferPhase::Complete && m.completeNotified) {
            Log::Write("FileTransferUi complete duplicate suppressed id=%llu", ULL(transferId));
            return;
        }
        // Figures of an earlier, finished transfer do not belong to this one.
        if (m.transferId != transferId)
            m = Model{};
        m.phase = FileTransferPhase::Complete;
        m.transferId = transferId;
        if (m.totalBytes != 0)
            m.doneBytes = m.totalBytes;
        if (m.currentTotalBytes != 0)
            m.currentDoneBytes = m.currentTotalBytes;
        m.message = Limited(TransferCompletionText(text, english));
        m.completeNotified = true;
        m.lastUpdateTick = now;
        message = m.message;
        pub = PublicationLocked();
    }
    Publish(pub);
    Log::Write("[TRANSFER][COMPLETE] id=%llu text=%s", ULL(transferId), Utf16ToUtf8(message).c_str());
    NotifyCompletion(transferId, message, now);
    ClearCompleted(transferId);
}

void FileTransferUi::NotifyCompletion(uint64_t transferId, const std::u16string& message, uint32_t now) {
    const bool controller = m_host.IsController();
    if (!controller) {
        Log::Write("FileTransferUi complete notification suppressed id=%llu showSide=%d text=%s",
                   ULL(transferId), 0, Utf16ToUtf8(message).c_str());
        return;
    }
    uint32_t age = 0;
    bool repeat = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        age = now - m_noticeTick;
        repeat = m_noticeId == transferId && age < kCompleteNoticeRepeatMs;
        if (!repeat) {
            m_noticeId = transferId;
            m_noticeTick = now;
        }
    }
    if (repeat) {
        Log::Write("FileTransferUi complete notify duplicate transfer suppressed id=%llu age=%lu",
                   ULL(transferId), static_cast<unsigned long>(age));
        return;
    }
    const bool english = m_host.IsUiEnglish();
    m_host.Notify(english ? u"Download complete" : u"下载完成", ShortenBalloonBody(message), kBalloonInfo,
                  kCompleteBalloonMs);
}

void FileTransferUi::ClearCompleted(uint64_t transferId) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_model.transferId != transferId || m_model.phase != FileTransferPhase::Complete)
            return;
        m_model = Model{};
    }
    // The balloon carries the result; the window leaves at once.
    Publish({true, std::string(), 0});
    Log::Write("[TRANSFER][UI][CLEAR] completed transfer cleared id=%llu reason=complete-terminal",
               ULL(transferId));
}

void FileTransferUi::Fail(uint64_t transferId, std::u16string_view text) {
    const uint32_t now = m_host.NowMs();
    const bool english = m_host.IsUiEnglish();
    Publication pub;
    std::u16string message;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (IgnoreForeignReportLocked(transferId, "fail"))
            return;
        Model& m = m_model;
        if (m.transferId != transferId)
            m = Model{};
        m.phase = FileTransferPhase::Error;
        m.transferId = transferId;
        m.message = Limited(TransferFailureText(text.empty() ? u"error" : text, english));
        m.lastUpdateTick = now;
        message = m.message;
        pub = PublicationLocked();
    }
    Publish(pub);
    Log::Write("[TRANSFER][FAIL] id=%llu text=%s", ULL(transferId), Utf16ToUtf8(message).c_str());
    if (m_host.IsController())
        m_host.Notify(u"传输失败", ShortenBalloonBody(message), kBalloonWarning, kFailBalloonMs);
    else
        Log::Write("FileTransferUi error notification suppressed on non-controller side");
}

void FileTransferUi::Cancel(uint64_t transferId, std::u16string_view text) {
    const uint32_t now = m_host.NowMs();
    const bool english = m_host.IsUiEnglish();
    Publication pub;
    std::u16string message;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (IgnoreForeignReportLocked(transferId, "cancel"))
            return;
        Model& m = m_model;
        if (m.transferId != transferId)
            m = Model{};
        m.phase = FileTransferPhase::Canceled;
        m.transferId = transferId;
        m.message =
            Limited(TransferFailureText(text.empty() ? TransferCanceledByUserText(english) : text, english));
        m.cancelRequested = true;
        m.lastUpdateTick = now;
        message = m.message;
        pub = PublicationLocked();
    }
    Publish(pub);
    Log::Write("[TRANSFER][CANCEL] id=%llu text=%s", ULL(transferId), Utf16ToUtf8(message).c_str());
}

void FileTransferUi::Clear() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_model = Model{};
    }
    Publish({true, std::string(), 0});
}

bool FileTransferUi::Snapshot(FileTransferSnapshot& out) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    out = SnapshotLocked();
    return out.phase != FileTransferPhase::Idle;
}

std::string FileTransferUi::Tick() {
    const uint32_t now = m_host.NowMs();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const Model& m = m_model;
        if (m.phase == FileTransferPhase::Idle)
            return {};
        if (IsMoving(m.phase) || now - m.lastUpdateTick <= kFinishedKeptMs)
            return FormatTransferStatusLine(SnapshotLocked());
        m_model = Model{};
    }
    Publish({true, std::string(), 0});
    return {};
}

std::string FileTransferUi::FormatStatusLine() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return FormatTransferStatusLine(SnapshotLocked());
}

bool FileTransferUi::PressCancelButton() {
    const uint32_t now = m_host.NowMs();
    Publication pub;
    uint64_t id = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        Model& m = m_model;
        if (IsMoving(m.phase)) {
            m.cancelRequested = true;
            m.message = u"Cancel requested";
            m.lastUpdateTick = now;
            id = m.transferId;
            pub = PublicationLocked();
        }
    }
    if (!pub.publish) {
        Clear();
        return false;
    }
    Publish(pub);
    Log::Write("[TRANSFER][UI] cancel requested id=%llu", ULL(id));
    return true;
}

bool FileTransferUi::IsCancelRequested(uint64_t transferId) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_model.transferId == transferId && IsMoving(m_model.phase) && m_model.cancelRequested;
}

bool FileTransferUi::ShouldStop(uint64_t transferId) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    const Model& m = m_model;
    if (m.transferId != transferId)
        return false;
    return (IsMoving(m.phase) && m.cancelRequested) || m.phase == FileTransferPhase::Error ||
           m.phase == FileTransferPhase::Canceled;
}
