#include "transfer/ReceiveWorker.h"

#include <exception>

#include "core/Log.h"
#include "core/Utf.h"
#include "transfer/ByteSizeText.h"
#include "transfer/ProgressThrottle.h"
#include "transfer/SafeRelativePath.h"

namespace {

constexpr char16_t kDefaultItemName[] = u"HTTP file download";
constexpr char kCancelReason[] = "transfer cancelled";

uint64_t AddCapped(uint64_t a, uint64_t b) {
    return a > UINT64_MAX - b ? UINT64_MAX : a + b;
}

const char* ConflictWord(bool rename) {
    return rename ? "rename" : "overwrite";
}

// The file name the progress window shows for an item.
std::u16string ItemName(const ManifestItem& item) {
    std::string_view path = item.path;
    const size_t cut = path.find_last_of("\\/");
    if (cut != std::string_view::npos)
        path.remove_prefix(cut + 1);
    return path.empty() ? std::u16string(kDefaultItemName) : Utf8ToUtf16(path);
}

class WorkerRun {
public:
    WorkerRun(const HttpBeginInfo& info, uint64_t correlationId, ReceiveAdmission& admission,
              IReceivePorts& ports)
        : m_info(info), m_correlationId(correlationId), m_admission(admission), m_ports(ports) {}

    ReceiveOutcome Run() {
        const uint64_t id = m_info.transferId;
        Log::Write("FileHttpReceiveManager worker begin id=%llu url=%s conflict=%s",
                   static_cast<unsigned long long>(id), m_info.manifestUrl.c_str(),
                   ConflictWord(m_info.conflictRename));
        Log::Write("[HTTP][CLIENT] conflict mode=%s", ConflictWord(m_info.conflictRename));
        ReceiveOutcome outcome = ReceiveOutcome::Failed;
        try {
            m_ports.SetDownloading(true);
            outcome = Transfer();
        } catch (const std::exception& e) {
            Log::Write("[HTTP][FAIL] FileHttpReceiveManager worker exception id=%llu what=%s",
                       static_cast<unsigned long long>(id), e.what());
            m_error = "receiver worker exception";
        } catch (...) {
            Log::Write("[HTTP][FAIL] FileHttpReceiveManager worker exception id=%llu unknown",
                       static_cast<unsigned long long>(id));
            m_error = "receiver worker exception";
        }
        try {
            Report(outcome);
        } catch (...) {
            Log::Write("[HTTP][FAIL] FileHttpReceiveManager end report exception id=%llu",
                       static_cast<unsigned long long>(id));
        }
        try {
            m_ports.SetDownloading(false);
        } catch (...) {
            Log::Write("[HTTP][FAIL] FileHttpReceiveManager download flag exception id=%llu",
                       static_cast<unsigned long long>(id));
        }
        m_admission.Release(id);
        return outcome;
    }

private:
    ReceiveOutcome Fail(std::string error, const std::string& detail = {}) {
        m_error = std::move(error);
        if (!detail.empty())
            m_error += " | " + detail;
        return ReceiveOutcome::Failed;
    }

    // The manager was stopped, another transfer took over, or the model was ended (user, peer, lost link).
    bool StopRequested() {
        return !m_admission.IsCurrent(m_info.transferId) || m_ports.UiShouldStop(m_info.transferId);
    }

    ReceiveOutcome Transfer() {
        const uint64_t id = m_info.transferId;
        Log::Write("[HTTP][CLIENT] manifest begin url=%s", m_info.manifestUrl.c_str());
        std::string body, detail;
        const bool fetched = m_ports.GetManifest(m_info.manifestUrl, body, detail);
        Log::Write("[HTTP][CLIENT] manifest %s bytes=%llu", fetched ? "ok" : "failed",
                   static_cast<unsigned long long>(body.size()));
        if (!fetched)
            return Fail("download manifest failed", detail);

        // An item the reader had to drop would otherwise be reported done without ever arriving.
        size_t skipped = 0;
        if (!m_ports.ParseManifest(body, m_items, skipped) || m_items.empty() || skipped != 0) {
            Log::Write("[HTTP][CLIENT][ERR] manifest unusable id=%llu items=%zu skipped=%zu",
                       static_cast<unsigned long long>(id), m_items.size(), skipped);
            return Fail("parse manifest failed");
        }
        // Every name is checked before the first byte is written, so a hostile manifest leaves nothing
        // behind.
        for (const ManifestItem& item : m_items) {
            if (!IsSafeRelativePath(Utf8ToUtf16(item.path))) {
                Log::Write("[HTTP][CLIENT][ERR] unsafe manifest path id=%llu path=%s",
                           static_cast<unsigned long long>(id), item.path.c_str());
                return Fail("unsafe manifest path: " + item.path);
            }
        }

        m_root = m_ports.ResolveTargetRoot(m_info.targetPath);
        const std::string rootUtf8 = Utf16ToUtf8(m_root);
        m_ports.SetDownloadFolder(rootUtf8);
        m_need = m_info.totalBytes;
        if (m_need == 0)
            for (const ManifestItem& item : m_items)
                m_need = AddCapped(m_need, item.size);

        uint64_t freeBytes = 0;
        uint32_t systemError = 0;
        if (!m_ports.QueryFreeBytes(m_root, freeBytes, systemError)) {
            m_ports.UiFail(id, u"无法检查目标磁盘空间");
            Log::Write("[HTTP][DISK][ERR] id=%llu target=%s need=%llu query failed gle=%lu",
                       static_cast<unsigned long long>(id), rootUtf8.c_str(),
                       static_cast<unsigned long long>(m_need), static_cast<unsigned long>(systemError));
            return Fail("disk free space query failed");
        }
        if (freeBytes < m_need) {
            m_ports.UiFail(id, Utf8ToUtf16("空间不足 Need:" + FormatByteSize(m_need) +
                                           " Free:" + FormatByteSize(freeBytes)));
            Log::Write("[HTTP][DISK][LOW] id=%llu target=%s need=%llu free=%llu",
                       static_cast<unsigned long long>(id), rootUtf8.c_str(),
                       static_cast<unsigned long long>(m_need), static_cast<unsigned long long>(freeBytes));
            return Fail("disk space not enough");
        }
        Log::Write("[HTTP][DISK][OK] id=%llu target=%s need=%llu free=%llu",
                   static_cast<unsigned long long>(id), rootUtf8.c_str(),
                   static_cast<unsigned long long>(m_need), static_cast<unsigned long long>(freeBytes));
        m_ports.UiStart(id, kDefaultItemName, m_need);
        m_ports.UiItems(id, 1, Count());

        uint64_t doneBefore = 0;
        for (size_t index = 0; index < m_items.size(); ++index) {
            const ManifestItem& item = m_items[index];
            if (StopRequested())
                return ReceiveOutcome::Canceled;
            m_throttle.Reset();
            if (!OnProgress(index, doneBefore, 0, 0))
                return ReceiveOutcome::Canceled;
            std::string error;
            const bool ok = m_ports.DownloadItem(
                m_info.manifestUrl, item, m_root, m_info.conflictRename,
                [&](uint64_t written, uint64_t expected) {
                    return OnProgress(index, doneBefore, written, expected);
                },
                error);
            if (!ok) {
                if (StopRequested())
                    return ReceiveOutcome::Canceled;
                return Fail("download file failed: " + item.path, error);
            }
            doneBefore = AddCapped(doneBefore, item.size);
            const uint64_t done = Capped(doneBefore);
            m_ports.UiProgress(id, ItemName(item), done, m_need, item.size, item.size);
            m_ports.UiItems(id, static_cast<uint32_t>(index + 1), Count());
            m_ports.PublishProgress({id, done, m_need, static_cast<uint32_t>(index + 1), Count(), item.size,
                                     item.size, item.path},
                                    m_correlationId);
        }
        return ReceiveOutcome::Done;
    }

    // The HTTP client's progress for item index: the model sees every call, the sender one per 250 ms.
    bool OnProgress(size_t index, uint64_t doneBefore, uint64_t written, uint64_t expected) {
        const uint64_t id = m_info.transferId;
        if (StopRequested())
            return false;
        const ManifestItem& item = m_items[index];
        const uint64_t itemTotal = expected != 0 ? expected : item.size;
        if (itemTotal != 0 && written > itemTotal)
            written = itemTotal;
        const uint64_t overall = Capped(AddCapped(doneBefore, written));
        const auto position = static_cast<uint32_t>(index + 1);
        m_ports.UiProgress(id, ItemName(item), overall, m_need, written, itemTotal);
        m_ports.UiItems(id, position, Count());
        if (m_throttle.ShouldPublish(m_ports.TickMs(), written, itemTotal))
            m_ports.PublishProgress({id, overall, m_need, position, Count(), written, itemTotal, item.path},
                                    m_correlationId);
        return true;
    }

    void Report(ReceiveOutcome outcome) {
        const uint64_t id = m_info.transferId;
        const auto logId = static_cast<unsigned long long>(id);
        switch (outcome) {
        case ReceiveOutcome::Done: {
            const std::string rootUtf8 = Utf16ToUtf8(m_root);
            m_ports.PublishDone(
                {id, 0, m_root.empty() ? "http file transfer done" : "downloadDir=" + rootUtf8},
                m_correlationId);
            m_ports.UiComplete(id,
                               m_root.empty() ? std::u16string(u"文件传输完成") : u"文件已下载到：" + m_root);
            Log::Write("[HTTP][DONE] id=%llu bytes=%llu saveDir=%s", logId,
                       static_cast<unsigned long long>(m_need), rootUtf8.c_str());
            return;
        }
        case ReceiveOutcome::Canceled:
            m_ports.PublishCancel(id, kCancelReason, m_correlationId);
            m_ports.UiCancel(id, m_ports.UiEnglish() ? u"Transfer canceled by user." : u"文件传输已取消。");
            Log::Write("[HTTP][CANCEL] FileHttpReceiveManager worker canceled id=%llu reason=%s", logId,
                       kCancelReason);
            return;
        case ReceiveOutcome::Failed:
            m_ports.PublishError({id, 500, m_error.empty() ? "http file transfer failed" : m_error},
                                 m_correlationId);
            m_ports.UiFail(id,
                           m_error.empty() ? std::u16string(u"HTTP download failed") : Utf8ToUtf16(m_error));
            Log::Write("[HTTP][FAIL] FileHttpReceiveManager worker failed id=%llu err=%s", logId,
                       m_error.c_str());
            return;
        }
    }

    uint64_t Capped(uint64_t bytes) const { return m_need != 0 && bytes > m_need ? m_need : bytes; }
    uint32_t Count() const { return static_cast<uint32_t>(m_items.size()); }

    const HttpBeginInfo& m_info;
    const uint64_t m_correlationId;
    ReceiveAdmission& m_admission;
    IReceivePorts& m_ports;
    std::vector<ManifestItem> m_items;
    std::u16string m_root;
    uint64_t m_need = 0;
    std::string m_error;
    ProgressThrottle m_throttle;
};

} // namespace

bool ReceiveAdmission::TryAcquire(uint64_t transferId, uint64_t& active) {
    active = 0;
    return m_activeId.compare_exchange_strong(active, transferId);
}

void ReceiveAdmission::Release(uint64_t transferId) {
    uint64_t expected = transferId;
    m_activeId.compare_exchange_strong(expected, 0);
}

BeginResult AdmitBegin(std::string_view payload, BeginOrigin origin, bool localConflictRename,
                       uint64_t correlationId, ReceiveAdmission& admission, IReceivePorts& ports,
                       HttpBeginInfo& info) {
    if (!admission.IsRunning())
        return BeginResult::NotRunning;
    if (!ParseBeginPayload(payload, info)) {
        Log::Write("FileHttpReceiveManager invalid file.http.begin payload");
        return BeginResult::Invalid;
    }
    if (origin == BeginOrigin::Peer) {
        if (!info.targetPath.empty() || info.conflictRename != localConflictRename)
            Log::Write("[HTTP][CLIENT] peer begin settings ignored id=%llu targetPath=%s conflict=%s",
                       static_cast<unsigned long long>(info.transferId), info.targetPath.c_str(),
                       ConflictWord(info.conflictRename));
        info.targetPath.clear();
        info.conflictRename = localConflictRename;
    }
    uint64_t active = 0;
    if (!admission.TryAcquire(info.transferId, active)) {
        ports.PublishError({info.transferId, 409, "receiver busy"}, correlationId);
        Log::Write("FileHttpReceiveManager busy active=%llu reject=%llu",
                   static_cast<unsigned long long>(active), static_cast<unsigned long long>(info.transferId));
        return BeginResult::Busy;
    }
    return BeginResult::Started;
}

ReceiveOutcome RunReceiveWorker(const HttpBeginInfo& info, uint64_t correlationId,
                                ReceiveAdmission& admission, IReceivePorts& ports) {
    return WorkerRun(info, correlationId, admission, ports).Run();
}

BeginResult StartReceive(std::string_view payload, BeginOrigin origin, bool localConflictRename,
                         uint64_t correlationId, ReceiveAdmission& admission,
                         std::shared_ptr<IReceivePorts> ports, const StartReceiveWorker& start) {
    HttpBeginInfo info;
    const BeginResult admitted =
        AdmitBegin(payload, origin, localConflictRename, correlationId, admission, *ports, info);
    if (admitted != BeginResult::Started)
        return admitted;
    std::string error;
    if (start([info, correlationId, &admission,
               ports] { RunReceiveWorker(info, correlationId, admission, *ports); },
              error))
        return BeginResult::Started;
    admission.Release(info.transferId);
    Log::Write("[HTTP][FAIL] FileHttpReceiveManager worker start failed id=%llu err=%s",
               static_cast<unsigned long long>(info.transferId), error.c_str());
    ports->PublishError({info.transferId, 500, "receiver worker start failed"}, correlationId);
    return BeginResult::NoWorker;
}
