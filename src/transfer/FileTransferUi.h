#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

// The one process-wide model of the file transfer the user sees: which transfer runs, its phase, how far it
// is and the text to show when it ends. The transfer code reports into it from any thread; every change is
// published (status line and a type-2 event) after the model's mutex is released.
//
// A transfer owns the model while it moves (Sending or Receiving): reports for any other id are ignored
// until it has ended, so a late or unrelated report cannot replace it.

enum class FileTransferPhase : uint32_t {
    Idle = 0,
    Sending = 1,
    Receiving = 2,
    Complete = 3,
    Error = 4,
    Canceled = 5
};
// "Idle", "Sending", "Receiving", "Complete", "Error" or "Canceled", as the log and the status line name it.
const char* FileTransferPhaseName(FileTransferPhase phase);

struct FileTransferSnapshot {
    FileTransferPhase phase = FileTransferPhase::Idle;
    uint64_t transferId = 0;
    uint64_t doneBytes = 0;
    uint64_t totalBytes = 0;
    uint64_t currentDoneBytes = 0;
    uint64_t currentTotalBytes = 0;
    uint32_t itemIndex = 0;
    uint32_t itemCount = 0;
    double speed = 0; // bytes per second
    bool cancelRequested = false;
    std::u16string name;    // at most 260 units
    std::u16string message; // at most 260 units
};

// What the model needs from the program around it. Called with no model lock held, from whichever thread
// reported into the model.
class IFileTransferUiHost {
public:
    virtual ~IFileTransferUiHost() = default;
    // A millisecond tick that wraps.
    virtual uint32_t NowMs() = 0;
    // This PC drives the peer: only the controller shows the status line, the notices and the window.
    virtual bool IsController() = 0;
    virtual bool IsUiEnglish() = 0;
    // The status line becomes the runtime status message, and StateView is repainted.
    virtual void ShowStatusLine(const std::string& line) = 0;
    // The type-2 event that makes the main window refresh the progress window (id 0: cleared).
    virtual void PublishTransferEvent(uint64_t transferId) = 0;
    // A tray balloon.
    virtual void Notify(std::u16string_view title, std::u16string_view body, uint32_t infoFlags,
                        uint32_t timeoutMs) = 0;
};

class FileTransferUi {
public:
    // The process-wide model, wired to the runtime state, the settings and the event bus.
    static FileTransferUi& Instance();

    explicit FileTransferUi(IFileTransferUiHost& host) : m_host(host) {}
    FileTransferUi(const FileTransferUi&) = delete;
    FileTransferUi& operator=(const FileTransferUi&) = delete;

    void Start(FileTransferPhase phase, uint64_t transferId, std::u16string_view name, uint64_t totalBytes);
    void UpdateProgress(uint64_t transferId, std::u16string_view name, uint64_t doneBytes,
                        uint64_t totalBytes, uint64_t currentDoneBytes, uint64_t currentTotalBytes);
    void SetItemProgress(uint64_t transferId, uint32_t itemIndex, uint32_t itemCount);
    void Complete(uint64_t transferId, std::u16string_view text);
    void Fail(uint64_t transferId, std::u16string_view text);
    void Cancel(uint64_t transferId, std::u16string_view text);
    void Clear();

    // True when the phase is not Idle.
    bool Snapshot(FileTransferSnapshot& out) const;
    // The status line; clears a finished transfer 5 s after its last change (then "").
    std::string Tick();
    std::string FormatStatusLine() const;

    // The progress window's Cancel/Close button: while a transfer moves, requests its cancel and returns
    // true; otherwise clears the model and returns false.
    bool PressCancelButton();
    // The user asked to cancel transferId, and it still moves.
    bool IsCancelRequested(uint64_t transferId) const;
    // The transfer code should stop transferId: its cancel was requested, or it was already failed or
    // cancelled (for example by a lost connection).
    bool ShouldStop(uint64_t transferId) const;

private:
    struct Model {
        FileTransferPhase phase = FileTransferPhase::Idle;
        uint64_t transferId = 0;
        uint64_t doneBytes = 0, totalBytes = 0;
        uint64_t currentDoneBytes = 0, currentTotalBytes = 0;
        uint32_t itemIndex = 0, itemCount = 0;
        uint64_t speedBaseBytes = 0;
        uint32_t speedBaseTick = 0;
        bool speedBaseSet = false;
        uint32_t lastUpdateTick = 0;
        double speed = 0;
        bool cancelRequested = false;
        bool completeNotified = false;
        std::u16string name;
        std::u16string message;
    };
    // What one change publishes once the mutex is released.
    struct Publication {
        bool publish = false;
        std::string statusLine;
        uint64_t transferId = 0;
    };

    static bool IsMoving(FileTransferPhase phase) {
        return phase == FileTransferPhase::Sending || phase == FileTransferPhase::Receiving;
    }
    FileTransferSnapshot SnapshotLocked() const;
    Publication PublicationLocked() const;
    // True (and logged once per id) when a report for transferId must be ignored because another moves.
    bool IgnoreForeignReportLocked(uint64_t transferId, const char* operation);
    void Publish(const Publication& publication);
    void NotifyCompletion(uint64_t transferId, const std::u16string& message, uint32_t now);
    void ClearCompleted(uint64_t transferId);

    IFileTransferUiHost& m_host;
    mutable std::mutex m_mutex;
    Model m_model;
    std::optional<uint64_t> m_lastIgnoredId; // the last foreign id logged for the transfer that moves
    // The last completion balloon, so a repeated completion within 30 s shows none.
    uint64_t m_noticeId = 0;
    uint32_t m_noticeTick = 0;
};
