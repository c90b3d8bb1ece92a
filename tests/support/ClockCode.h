#pragma once

#include <array>
#include <cstdint>
#include <optional>

// A 32-bit value (the low bits of a wall-clock time in milliseconds) drawn as two rows of large black and
// white cells, so that it survives scaling, JPEG tiles and H.264 and can be read back from a screenshot of
// another display. Row 0: white, black, the 32 bits from the highest, white, black. Row 1: the same cells
// inverted. The guards give the reader its black and white levels; the inverted row catches a cell read
// wrongly and a picture caught between two values.
namespace clockcode {

inline constexpr int kRows = 2;
inline constexpr int kColumns = 36;
inline constexpr int kBits = 32;
inline constexpr int kFirstBitColumn = 2;
// Below this distance between the guards' white and black levels the area holds no code.
inline constexpr int kMinContrast = 64;

// Whether the cell at (row, column) is white for the value.
inline bool CellWhite(uint32_t value, int row, int column) {
    bool white;
    if (column < kFirstBitColumn)
        white = column == 0;
    else if (column >= kFirstBitColumn + kBits)
        white = column == kFirstBitColumn + kBits;
    else
        white = ((value >> (kBits - 1 - (column - kFirstBitColumn))) & 1u) != 0;
    return row == 0 ? white : !white;
}

// The cells' mean luminance (0..255), row by row.
using Cells = std::array<std::array<int, kColumns>, kRows>;

// The value the cells show, or nothing when they show no well-formed code.
inline std::optional<uint32_t> Decode(const Cells& cells) {
    const int guardWhite[] = {cells[0][0], cells[0][kColumns - 2], cells[1][1], cells[1][kColumns - 1]};
    const int guardBlack[] = {cells[0][1], cells[0][kColumns - 1], cells[1][0], cells[1][kColumns - 2]};
    int darkestWhite = 255;
    int brightestBlack = 0;
    for (int i = 0; i < 4; ++i) {
        darkestWhite = guardWhite[i] < darkestWhite ? guardWhite[i] : darkestWhite;
        brightestBlack = guardBlack[i] > brightestBlack ? guardBlack[i] : brightestBlack;
    }
    if (darkestWhite - brightestBlack < kMinContrast)
        return std::nullopt;
    const int threshold = (darkestWhite + brightestBlack) / 2;
    uint32_t value = 0;
    for (int bit = 0; bit < kBits; ++bit) {
        const int column = kFirstBitColumn + bit;
        const bool top = cells[0][column] > threshold;
        const bool bottom = cells[1][column] > threshold;
        if (top == bottom)
            return std::nullopt;
        value = (value << 1) | (top ? 1u : 0u);
    }
    return value;
}

} // namespace clockcode
