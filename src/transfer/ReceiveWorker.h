#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "transfer/FileTransferCommands.h"
#include "transfer/HttpBeginInfo.h"
#include "transfer/ManifestItem.h"

// The receiving side of a file transfer as a sequence of decisions over the system's parts: fetch and check
// the manifest, choose the folder, check the free space, download item by item while reporting progress,
// and end as done, cancelled or failed. FileHttpReceiveManager (win/) runs it on its worker thread.

// What the worker needs from the system. Called on the worker thread (the progress functions from inside
// DownloadItem).
class IReceivePorts {
public:
    // (bytes written of this item, expected bytes of this item) -> false stops the download.
    using Progress = std::function<bool(uint64_t written, uint64_t expected)>;

    virtual ~IReceivePorts() = default;

    // --- The HTTP client and the disk. error receives the client's own short reason.
    virtual bool GetManifest(const std::string& url, std::string& body, std::string& error) = 0;
    virtual bool ParseManifest(std::string_view json, std::vector<ManifestItem>& items, size_t& skipped) = 0;
    // Chooses the folder (TargetRoot.h) and creates it.
    virtual std::u16string ResolveTargetRoot(const std::string& targetPathUtf8) = 0;
    // Bytes free for this user under root; false with the system's error code when it cannot be asked.
    virtual bool QueryFreeBytes(const std::u16string& root, uint64_t& freeBytes, uint32_t& systemError) = 0;
    virtual bool DownloadItem(const std::string& manifestUrl, const ManifestItem& item,
                              const std::u16string& root, bool conflictRename, const Progress& progress,
                              std::string& error) = 0;

    // --- The transfer model the user sees (FileTransferUi).
    virtual void UiStart(uint64_t transferId, std::u16string_view name, uint64_t totalBytes) = 0;
    virtual void UiProgress(uint64_t transferId, std::u16string_view name, uint64_t doneBytes,
                            uint64_t totalBytes, uint64_t currentDoneBytes, uint64_t currentTotalBytes) = 0;
    virtual void UiItems(uint64_t transferId, uint32_t itemIndex, uint32_t itemCount) = 0;
    virtual void UiComplete(uint64_t transferId, std::u16string_view text) = 0;
    virtual void UiFail(uint64_t transferId, std::u16string_view text) = 0;
    virtual void UiCancel(uint64_t transferId, std::u16string_view text) = 0;
    // The model ended or wants to end the transfer (the user's cancel, the peer's cancel, a lost connection).
    virtual bool UiShouldStop(uint64_t transferId) = 0;
    virtual bool UiEnglish() = 0;

    // --- The reports to the sender (file.* commands), each with the begin's correlation id.
    virtual void PublishProgress(const FileProgressReport& report, uint64_t correlationId) = 0;
    virtual void PublishDone(const FileResultReport& report, uint64_t correlationId) = 0;
    virtual void PublishError(const FileResultReport& report, uint64_t correlationId) = 0;
    virtual void PublishCancel(uint64_t transferId, std::string_view reason, uint64_t correlationId) = 0;

    // --- The runtime state: the download flag and count, the last download folder; the tick count.
    virtual void SetDownloading(bool active) = 0;
    virtual void SetDownloadFolder(const std::string& folderUtf8) = 0;
    virtual uint32_t TickMs() = 0;
};

// One transfer at a time. The active id goes from 0 to a transfer's id when its begin is accepted and back
// to 0 when its worker ends, or at Stop; a worker that outlived a Stop finds its id gone and ends as
// cancelled. Atomics: read by the worker and its progress callback without a lock.
class ReceiveAdmission {
public:
    void SetRunning(bool running) { m_running.store(running); }
    bool IsRunning() const { return m_running.load(); }
    // Takes the slot for transferId; false with the id that holds it when another transfer is active.
    bool TryAcquire(uint64_t transferId, uint64_t& active);
    // Gives the slot back only if transferId still holds it: a newer transfer keeps its own.
    void Release(uint64_t transferId);
    void Clear() { m_activeId.store(0); }
    uint64_t ActiveId() const { return m_activeId.load(); }
    // The manager runs and transferId is its active transfer.
    bool IsCurrent(uint64_t transferId) const { return m_running.load() && m_activeId.load() == transferId; }

private:
    std::atomic<bool> m_running{false};
    std::atomic<uint64_t> m_activeId{0};
};

enum class BeginOrigin { Peer, Local };

// How a begin ended: a worker started (for AdmitBegin: admitted, the caller starts it), or why not. Busy is
// the one refusal a caller may retry later.
enum class BeginResult { Started, NotRunning, Invalid, Busy, NoWorker };

// Reads a begin payload and takes the slot for it. Not running: ignored. Invalid: logged. Busy: answered
// with a 409 "receiver busy" error report. A begin from the peer chooses neither the folder nor the
// conflict rule (a peer must not write where it likes): both come from this PC (localConflictRename); a
// local begin's payload already carries them (LocalBeginPayload). Started when the caller is to run the
// worker with info.
BeginResult AdmitBegin(std::string_view payload, BeginOrigin origin, bool localConflictRename,
                       uint64_t correlationId, ReceiveAdmission& admission, IReceivePorts& ports,
                       HttpBeginInfo& info);

enum class ReceiveOutcome { Done, Canceled, Failed };

// The worker body: runs the admitted transfer to its end, reports the end to the sender and the model, and
// gives the slot back. Never throws.
ReceiveOutcome RunReceiveWorker(const HttpBeginInfo& info, uint64_t correlationId,
                                ReceiveAdmission& admission, IReceivePorts& ports);

// Starts body on a thread of its own that nobody joins; false, with the reason in error, when none can be
// made.
using StartReceiveWorker = std::function<bool(std::function<void()> body, std::string& error)>;

// Admits a begin (AdmitBegin) and runs its worker through start. When no thread can be made, the slot is
// given back, or every later begin would be answered "receiver busy", and the sender gets a 500 error.
BeginResult StartReceive(std::string_view payload, BeginOrigin origin, bool localConflictRename,
                         uint64_t correlationId, ReceiveAdmission& admission,
                         std::shared_ptr<IReceivePorts> ports, const StartReceiveWorker& start);
