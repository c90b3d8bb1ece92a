#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The one process-wide model of the file transfer the user sees: which transfer runs, its phase, how far it
// is and the text to show when it ends. The transfer code reports into it from any thread; every change is
// published (status line and a type-2 event) after the model's mutex is released.
//
// A transfer owns the model while it moves (Sending or Receiving): reports for any other id are ignored
// until it has ended, so a late or unrelated report cannot replace it.

enum class FileTransferPhase : uint32_t { Idle = 0, Sending = 1, Receiving = 2, Complete = 3, Error = 4, Canceled = 5 };

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

class FileTransferUi {
public:
    // The process-wide model.
    static FileTransferUi& Instance();

    void Start(FileTransferPhase phase, uint64_t transferId, std::u16string_view name, uint64_t totalBytes);
    void UpdateProgress(uint64_t transferId, std::u16string_view name, uint64_t doneBytes, uint64_t totalBytes,
                        uint64_t currentDoneBytes, uint64_t currentTotalBytes);
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

    // The progress window's Cancel/Close button: while a transfer moves, requests its cancel and returns true;
    // otherwise clears the model and returns false.
    bool PressCancelButton();
    // The user asked to cancel transferId, and it still moves.
    bool IsCancelRequested(uint64_t transferId) const;
    // The transfer code should stop transferId: its cancel was requested, or it was already failed or
    // cancelled (for example by a lost connection).
    bool ShouldStop(uint64_t transferId) const;
};
