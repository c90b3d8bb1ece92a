#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "ui/TrayMenuModel.h"
#include "ui/TrayPopupLayout.h"

// The tray menu's picture as a list of drawing steps, so that what it shows is decided here and the Win32
// side only carries the steps out with GDI. Colours are 0xRRGGBB.

enum class TrayDrawKind {
    RoundRect, // rect, ellipse (0: square corners), fill, border (penWidth 0: none)
    Line,      // points[0] to points[1], penWidth, colour
    CheckMark, // polyline points[0..2], penWidth, colour
    Text,      // text in rect: the menu font, transparent, left-aligned, centred on one line, ellipsis
    Triangle,  // filled polygon points[0..2], colour
};

struct TrayDrawCommand {
    TrayDrawKind kind = TrayDrawKind::RoundRect;
    TrayRect rect;
    int32_t ellipse = 0;
    uint32_t fill = 0;
    uint32_t colour = 0; // border, line, mark, text or triangle
    int32_t penWidth = 0;
    std::array<TrayPoint, 3> points{};
    std::u16string text;
};

inline constexpr uint32_t kTrayBackground = 0xFAFAFA; // RGB(250,250,250)
inline constexpr uint32_t kTrayHover = 0xE8F0FE;      // RGB(232,240,254)
inline constexpr uint32_t kTraySeparator = 0xE2E2E2;  // RGB(226,226,226)
inline constexpr uint32_t kTrayBorder = 0xD2D2D2;     // RGB(210,210,210)

// The whole custom popup: the rounded background with its border, then every entry.
std::vector<TrayDrawCommand> BuildTrayPopupPaint(const std::vector<TrayMenuItem>& items,
                                                 const TrayPopupLayout& layout, int32_t hoveredIndex,
                                                 uint32_t dpi);

// One entry of the native fallback menu in its item rectangle: the background, then the entry as the popup
// draws it, with a square-cornered selection.
std::vector<TrayDrawCommand> BuildNativeTrayItemPaint(const TrayMenuItem& item, const TrayRect& rect,
                                                      bool selected, uint32_t dpi);

// The native menu's item sizes: separators 210 x 9, text entries max(text + 82, 210) x 32, scaled.
struct TraySize {
    int32_t width = 0;
    int32_t height = 0;
};
TraySize MeasureNativeTrayItem(const TrayMenuItem& item, int32_t textWidth, uint32_t dpi);
