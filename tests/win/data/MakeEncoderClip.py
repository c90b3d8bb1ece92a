#!/usr/bin/env python3
"""Writes the raw NV12 input of the encoder test clip: frames of a known picture (left half light, right
half dark, neutral chroma) with a bright square that moves a few pixels each frame."""
import sys

WIDTH, HEIGHT, FRAMES = 128, 96, 6


def frame(index):
    luma = bytearray()
    for y in range(HEIGHT):
        for x in range(WIDTH):
            value = 200 if x < WIDTH // 2 else 40
            if 8 + 4 * index <= x < 24 + 4 * index and 40 <= y < 56:
                value = 250
            luma.append(value)
    chroma = bytes([128]) * (WIDTH * HEIGHT // 2)
    return bytes(luma) + chroma


with open(sys.argv[1], "wb") as out:
    for i in range(FRAMES):
        out.write(frame(i))
