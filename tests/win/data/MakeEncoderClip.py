#!/usr/bin/env python3
"""Writes the raw NV12 frames of an H.264 test clip: usage MakeEncoderClip.py OUT WIDTH HEIGHT FRAMES.
Each frame shows a known picture: the left half light (luma 200), the right half dark (40), neutral
chroma, and a bright 16x16 square (230) whose left edge is at 8 + 4 * frame, rows 40 to 55."""
import sys

out_path, width, height, frames = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])


def frame(index):
    luma = bytearray()
    for y in range(height):
        for x in range(width):
            value = 200 if x < width // 2 else 40
            if 8 + 4 * index <= x < 24 + 4 * index and 40 <= y < 56:
                value = 230
            luma.append(value)
    return bytes(luma) + bytes([128]) * (width * height // 2)


with open(out_path, "wb") as out:
    for i in range(frames):
        out.write(frame(i))
