#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct FileTransferSnapshot;

// The texts the transfer model shows: what a finished transfer says, how a failure reason reads to the user,
// the one-line status and the size and speed figures. English or Chinese by the UI language.

// Names and messages are kept to this many UTF-16 units.
inline constexpr size_t kTransferTextMaxUnits = 260;
// The status line shows at most the last this-many bytes of a long name, after "...".
inline constexpr size_t kStatusNameMaxBytes = 48;
// A balloon body longer than kBalloonBodyMaxUnits shows "..." and its last kBalloonBodyTailUnits units.
inline constexpr size_t kBalloonBodyMaxUnits = 180;
inline constexpr size_t kBalloonBodyTailUnits = 140;

std::u16string TransferCompletionText(std::u16string_view text, bool english);
std::u16string TransferCanceledByUserText(bool english);
// Hides where the peer lives: every "http://" or "https://" URL (to the next space, quote or bracket) and
// every dotted IPv4 address is replaced by a neutral word.
std::u16string MaskNetworkDetails(std::u16string_view text, bool english);
// The user's message for a failure reason. A reason of the form "what | detail" is judged by its detail
// first, so a disk or permission error met during a download is not reported as a network failure.
std::u16string TransferFailureText(std::u16string_view reason, bool english);

std::u16string ShortenBalloonBody(std::u16string_view body);

// Percent of done in total (0 without a total), never above 100.
int TransferPercent(uint64_t done, uint64_t total);
// "%.2f GB", "%.2f MB", "%.0f KB" or "%llu B".
std::string FormatTransferSize(uint64_t bytes);
// "%.2f MB/s" from 1 MiB/s, else "%.0f KB/s".
std::string FormatTransferSpeed(double bytesPerSecond);
// The status line of a snapshot ("" when idle).
std::string FormatTransferStatusLine(const FileTransferSnapshot& snapshot);
