"""Compares what the controller PC shows of the controlled PC's desktop with that desktop, around the
MovingPattern test window (tests/tools/MovingPattern.cpp): its client area is a 6 x 4 grid of distinct colour
blocks over the top four fifths and, below, a dark track in which a white square moves.

The picture is the desktop scaled to another size (the controller's RemoteView area), so every region of
the screen is mapped by the ratio of the two sizes. Blocks are compared by the mean colour of their inner
half, which is insensitive to scaling, JPEG and H.264 edges and a picture taken a moment apart from the
screenshot.
"""
from __future__ import annotations

from dataclasses import dataclass
from typing import Callable

from PIL import Image, ImageStat

COLUMNS = 6
ROWS = 4
MARKER_MIN_BRIGHTNESS = 200
# A view whose mean brightness is below this shows nothing of the peer's desktop (a black RemoteView).
VIEW_MIN_MEAN = 12
BLOCK_MIN_CHANNEL = 35  # a block darker than this in every channel means the window is not on the screen


@dataclass(frozen=True)
class Rect:
    x: int
    y: int
    width: int
    height: int

    @property
    def track_top(self) -> int:
        """Offset of the marker track inside the window, as MovingPattern computes it."""
        return self.height * 4 // 5


def block_boxes(r: Rect) -> list[tuple[int, int, int, int]]:
    """Screen boxes (left, top, right, bottom) of the inner half of every block, row by row."""
    boxes = []
    grid_height = r.track_top
    for row in range(ROWS):
        for column in range(COLUMNS):
            left, right = column * r.width // COLUMNS, (column + 1) * r.width // COLUMNS
            top, bottom = row * grid_height // ROWS, (row + 1) * grid_height // ROWS
            qx, qy = (right - left) // 4, (bottom - top) // 4
            boxes.append((r.x + left + qx, r.y + top + qy, r.x + right - qx, r.y + bottom - qy))
    return boxes


def _mean(image: Image.Image, box: tuple[int, int, int, int]) -> tuple[float, float, float]:
    return tuple(ImageStat.Stat(image.crop(box).convert("RGB")).mean[:3])


def _scaled(box: tuple[int, int, int, int], sx: float, sy: float) -> tuple[int, int, int, int]:
    left, top, right, bottom = box
    return (round(left * sx), round(top * sy), max(round(right * sx), round(left * sx) + 1),
            max(round(bottom * sy), round(top * sy) + 1))


Colour = tuple[float, float, float]


def bt601_limited_read_as_bt709_full(rgb: Colour) -> Colour:
    """How a colour shows when a decoder hands out its picture as BT.601 limited-range YUV (Y 16..235, chroma
    16..240) and a BT.709 full-range renderer draws it: what Wine's H.264 decoder does to a full-range
    BT.709 stream."""
    r, g, b = rgb
    y = 0.299 * r + 0.587 * g + 0.114 * b
    u, v = (b - y) * 0.564 * 224 / 255, (r - y) * 0.713 * 224 / 255
    y = 16 + y * 219 / 255
    clamp = lambda c: min(255.0, max(0.0, c))  # noqa: E731
    return (clamp(y + 1.5748 * v), clamp(y - 0.18732427 * u - 0.46812427 * v), clamp(y + 1.8556 * u))


def compare_blocks(screen: Image.Image, frame: Image.Image, desktop: tuple[int, int], window: Rect,
                   tolerance: float, shown_as: Callable[[Colour], Colour] | None = None) -> list[str]:
    """Findings where the frame's blocks differ from the screenshot's by more than the tolerance (mean per
    channel), or where the screenshot does not show the test window at all. shown_as, when given, maps a
    screenshot colour to the colour the frame is expected to show for it."""
    if frame.size[0] < 2 or frame.size[1] < 2:
        return [f"frame is {frame.size[0]}x{frame.size[1]}"]
    sx, sy = frame.size[0] / desktop[0], frame.size[1] / desktop[1]
    findings = []
    screen_means = []
    for index, box in enumerate(block_boxes(window)):
        expected = _mean(screen, box)
        screen_means.append(tuple(round(c) for c in expected))
        if shown_as is not None:
            expected = shown_as(expected)
        got = _mean(frame, _scaled(box, sx, sy))
        diff = max(abs(a - b) for a, b in zip(expected, got))
        if diff > tolerance:
            findings.append(f"block {index // COLUMNS},{index % COLUMNS}: screen "
                            f"{tuple(round(c) for c in expected)}, frame {tuple(round(c) for c in got)} "
                            f"(differs by {diff:.0f}, tolerance {tolerance})")
    if any(max(m) < BLOCK_MIN_CHANNEL for m in screen_means) or len(set(screen_means)) < len(screen_means) // 2:
        findings.insert(0, f"the screenshot does not show the test pattern at {window} (block colours {screen_means})")
    return findings


def marker_x(frame: Image.Image, desktop: tuple[int, int], window: Rect) -> float | None:
    """Screen x of the centre of the white marker in the frame's track row, or None when there is none."""
    sx, sy = frame.size[0] / desktop[0], frame.size[1] / desktop[1]
    row = round((window.y + (window.track_top + window.height) / 2) * sy)
    left, right = round(window.x * sx), round((window.x + window.width) * sx)
    if not 0 <= row < frame.size[1]:
        return None
    strip = frame.convert("L").crop((left, row, right, row + 1))
    bright = [x for x, value in enumerate(strip.getdata()) if value >= MARKER_MIN_BRIGHTNESS]
    if not bright:
        return None
    return (left + (bright[0] + bright[-1]) / 2) / sx


def view_picture(controller_shot: Image.Image, view: Rect) -> Image.Image:
    """The RemoteView area of a screenshot of the controller's display."""
    return controller_shot.convert("RGB").crop((view.x, view.y, view.x + view.width, view.y + view.height))


def view_black(controller_shot: Image.Image, view: Rect) -> bool:
    return ImageStat.Stat(view_picture(controller_shot, view).convert("L")).mean[0] < VIEW_MIN_MEAN


def view_findings(controlled_shot: Image.Image, controller_shot: Image.Image, view: Rect, window: Rect,
                  tolerance: float, shown_as: Callable[[Colour], Colour] | None = None) -> list[str]:
    """Findings where the controller's RemoteView area (view, in its screen's coordinates) does not show the
    controlled PC's screenshot scaled to the view's size: black, or blocks of the test window off by more than
    the tolerance."""
    shot = controller_shot.convert("RGB")
    if view.width < 2 or view.height < 2 or view.x < 0 or view.y < 0 or view.x + view.width > shot.size[0] \
            or view.y + view.height > shot.size[1]:
        return [f"RemoteView {view} does not lie within the {shot.size[0]}x{shot.size[1]} screenshot"]
    picture = view_picture(shot, view)
    if view_black(shot, view):
        brightness = ImageStat.Stat(picture.convert("L")).mean[0]
        return [f"RemoteView {view} is black (mean brightness {brightness:.1f})"]
    screen = controlled_shot.convert("RGB")
    return compare_blocks(screen, picture, screen.size, window, tolerance, shown_as)
