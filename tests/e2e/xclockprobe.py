#!/usr/bin/env python3
"""Reads the clock code (tests/support/ClockCode.h) out of one X window at a high rate and prints, for each
new value, how old it was when read: "LATENCY <ms>" lines and a closing "PROBE ..." line, as LatencyProbe.exe
does for a Windows screen. For the picture that Wine draws into an off-screen X window (Direct3D in a child
window), which no screen grab of the display shows.
Usage: xclockprobe.py DISPLAY WINDOW X Y WIDTH HEIGHT SECONDS (WINDOW as 0x..., the code's rectangle in it)
"""
from __future__ import annotations

import ctypes
import sys
import time

ROWS, COLUMNS, BITS, FIRST_BIT_COLUMN, MIN_CONTRAST = 2, 36, 32, 2, 64
# Milliseconds from 1601-01-01 (FILETIME's epoch, which the code carries) to the Unix epoch.
FILETIME_UNIX_OFFSET_MS = 11644473600000
Z_PIXMAP, ALL_PLANES = 2, 0xFFFFFFFF


class XImage(ctypes.Structure):
    # The leading fields of Xlib's XImage, as far as they are read here.
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_ubyte)), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int)]


def decode(cells: list[list[float]]) -> int | None:
    """The value two rows of cell luminances show, or None (ClockCode's Decode)."""
    white = [cells[0][0], cells[0][COLUMNS - 2], cells[1][1], cells[1][COLUMNS - 1]]
    black = [cells[0][1], cells[0][COLUMNS - 1], cells[1][0], cells[1][COLUMNS - 2]]
    if min(white) - max(black) < MIN_CONTRAST:
        return None
    threshold = (min(white) + max(black)) / 2
    value = 0
    for bit in range(BITS):
        top = cells[0][FIRST_BIT_COLUMN + bit] > threshold
        if top == (cells[1][FIRST_BIT_COLUMN + bit] > threshold):
            return None
        value = (value << 1) | int(top)
    return value


def clock_ms() -> int:
    return (int(time.time() * 1000) + FILETIME_UNIX_OFFSET_MS) & 0xFFFFFFFF


class Grabber:
    def __init__(self, display: str, window: int):
        self.x = ctypes.cdll.LoadLibrary("libX11.so.6")
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x.XGetImage.restype = ctypes.POINTER(XImage)
        self.x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                     ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        self.x.XFree.argtypes = [ctypes.c_void_p]
        self.display = self.x.XOpenDisplay(display.encode())
        if not self.display:
            raise SystemExit(f"cannot open display {display}")
        self.window = window

    def row(self, x: int, y: int, width: int) -> list[float] | None:
        """Luminance of one row of pixels of the window."""
        image = self.x.XGetImage(self.display, self.window, x, y, width, 1, ALL_PLANES, Z_PIXMAP)
        if not image:
            return None
        try:
            im = image.contents
            if im.bits_per_pixel != 32:
                return None
            raw = ctypes.string_at(im.data, width * 4)
            return [0.0722 * raw[i] + 0.7152 * raw[i + 1] + 0.2126 * raw[i + 2] for i in range(0, width * 4, 4)]
        finally:
            self.x.XFree(ctypes.cast(image.contents.data, ctypes.c_void_p))
            self.x.XFree(ctypes.cast(image, ctypes.c_void_p))

    def cells(self, x: int, y: int, width: int, height: int) -> list[list[float]] | None:
        """Mean luminance of the middle half of each cell, along each row's middle line."""
        out = []
        for r in range(ROWS):
            line = self.row(x, y + (2 * r + 1) * height // (2 * ROWS), width)
            if line is None:
                return None
            row = []
            for c in range(COLUMNS):
                left, right = c * width // COLUMNS, (c + 1) * width // COLUMNS
                quarter = (right - left) // 4
                part = line[left + quarter:max(right - quarter, left + quarter + 1)]
                row.append(sum(part) / len(part))
            out.append(row)
        return out


def main(argv: list[str]) -> int:
    if len(argv) != 7:
        print(__doc__, file=sys.stderr)
        return 2
    display, window = argv[0], int(argv[1], 16)
    x, y, width, height, seconds = (int(v) for v in argv[2:])
    grabber = Grabber(display, window)
    last, grabs, grab_time, end = None, 0, 0.0, time.monotonic() + seconds
    while time.monotonic() < end:
        before = clock_ms()
        started = time.perf_counter()
        cells = grabber.cells(x, y, width, height)
        spent = time.perf_counter() - started
        grabs += 1
        grab_time += spent
        value = decode(cells) if cells else None
        if value is not None and value != last:
            last = value
            # Timed at the middle of the grab.
            read_at = (before + round(spent * 500)) & 0xFFFFFFFF
            age = (read_at - value) & 0xFFFFFFFF
            print(f"LATENCY {age if age < 0x80000000 else age - 0x100000000}", flush=True)
    print(f"PROBE grabs={grabs} meanGrabMs={1000 * grab_time / max(grabs, 1):.2f}", flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
