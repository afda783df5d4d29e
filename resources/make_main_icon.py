#!/usr/bin/env python3
"""Writes the program's icon MAINICON (resources/MainIcon.ico): one 16 x 16 image at 8 bits per pixel, a
blue tile with a white upward arrow and transparent corners. Deterministic: the same bytes on every run.

Usage: make_main_icon.py [OUTPUT]
"""
import os
import struct
import sys

SIZE = 16
# Palette index of each picture character; the rest of the 256 entries are black.
# As (blue, green, red): black (only under the transparent corners), blue, white, dark blue.
PALETTE = [(0, 0, 0), (200, 90, 30), (255, 255, 255), (140, 55, 15)]
COLOURS = {".": 0, "b": 1, "w": 2, "d": 3}
PICTURE = [  # top row first; "." is transparent
    "..dddddddddddd..",
    ".dbbbbbbbbbbbbd.",
    "dbbbbbbwwbbbbbbd",
    "dbbbbbwwwwbbbbbd",
    "dbbbbwwwwwwbbbbd",
    "dbbbwwwwwwwwbbbd",
    "dbbwwwwwwwwwwbbd",
    "dbbbbbwwwwbbbbbd",
    "dbbbbbwwwwbbbbbd",
    "dbbbbbwwwwbbbbbd",
    "dbbbbbwwwwbbbbbd",
    "dbbbbbwwwwbbbbbd",
    "dbbbbbbbbbbbbbbd",
    "dbbwwwwwwwwwwbbd",
    ".dbbbbbbbbbbbbd.",
    "..dddddddddddd..",
]


def image():
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 8, 0, 0, 0, 0, 0, 0)
    palette = b"".join(bytes([b, g, r, 0]) for b, g, r in PALETTE) + bytes(4 * (256 - len(PALETTE)))
    rows = list(reversed(PICTURE))  # bottom-up
    pixels = b"".join(bytes(COLOURS[c] for c in row) for row in rows)
    mask = b"".join(struct.pack(">H", int("".join("1" if c == "." else "0" for c in row), 2)) + bytes(2)
                    for row in rows)  # 1 bit per pixel, rows padded to 4 bytes
    return header + palette + pixels + mask


def icon():
    data = image()
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 8, len(data), 6 + 16)
    return directory + entry + data


def main():
    output = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "MainIcon.ico")
    with open(output, "wb") as file:
        file.write(icon())


if __name__ == "__main__":
    main()
