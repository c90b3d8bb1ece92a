#pragma once

#include <string>

#include "transfer/FileTransferUi.h"

// What the transfer progress window shows for a snapshot: its title, four lines of figures, the closing
// message (empty while the transfer moves) and the bar and button states.
struct TransferProgressLines {
    std::u16string title;
    bool alert = false; // failed or canceled: title and message in the warning colour
    std::u16string total;
    std::u16string size;
    std::u16string current;
    std::u16string currentFile;
    std::u16string message;
};

// The "Current" line keeps the end of a long name, where its extension is.
inline constexpr size_t kCurrentNameMaxUnits = 44;

TransferProgressLines FormatTransferProgressLines(const FileTransferSnapshot& snapshot, bool english);
// The current file's percent, 0 without a size.
int TransferBarPosition(const FileTransferSnapshot& snapshot);
// "Cancel" while the transfer moves, else "Close".
std::u16string TransferButtonText(FileTransferPhase phase, bool english);
