#!/usr/bin/env python3
"""Writes the update window's animated progress strip, resources/Strip.gif.

A GIF89a of 454 x 23 with a 256-entry global colour table (background index 255), the loop extension
(count 0) before frame 0, and 84 frames, each with a graphic control extension (disposal 1, delay 0,
transparent index 255) and LZW data of minimum code size 8. Frames 10 and 57 are 453 wide, frame 32 is
404 wide and frame 53 is 437 wide at left 17; every other frame covers the whole picture.

The picture is a light panel with a sunken track along its top, where a group of blue blocks sweeps
from left to right; the window shows only the top-left 348 x 16 pixels, so the track lies there and the
sweep crosses just those columns. Frame 0 paints everything; each later frame paints what changed and
leaves the rest transparent.

Usage: make_strip.py OUTPUT. Python's standard library only; the output is the same on every run.
"""
import struct
import sys

WIDTH, HEIGHT, FRAMES = 454, 23, 84
VISIBLE_WIDTH = 348  # the columns that the window shows
TRANSPARENT = 255
# Frames that cover less than the whole picture: index -> (left, width).
NARROW = {10: (0, 453), 32: (0, 404), 53: (17, 437), 57: (0, 453)}

# Colour table slots.
PANEL, TRACK, TRACK_EDGE, SHINE = 0, 1, 2, 3
BLOCK_BASE, BLOCK_SHADES = 16, 6  # six block shades, each a column of three rows of light
TRACK_TOP, TRACK_BOTTOM = 2, 13  # rows of the track, inside the visible 16
BLOCK_WIDTH, BLOCK_GAP, BLOCKS = 10, 3, 6


def color_table():
    table = [(0, 0, 0)] * 256
    table[PANEL] = (0xEC, 0xF0, 0xF6)
    table[TRACK] = (0xD3, 0xDD, 0xEA)
    table[TRACK_EDGE] = (0x9E, 0xB2, 0xCC)
    table[SHINE] = (0xF8, 0xFA, 0xFD)
    for shade in range(BLOCK_SHADES):
        for light in range(3):
            base = (0x1E + shade * 14, 0x5A + shade * 16, 0xB4 + shade * 9)
            table[BLOCK_BASE + shade * 3 + light] = tuple(min(255, c + light * 22) for c in base)
    table[TRANSPARENT] = table[PANEL]
    return table


def background():
    rows = []
    for y in range(HEIGHT):
        if y in (TRACK_TOP, TRACK_BOTTOM):
            rows.append([TRACK_EDGE] * WIDTH)
        elif TRACK_TOP < y < TRACK_BOTTOM:
            rows.append([TRACK_EDGE] + [TRACK] * (WIDTH - 2) + [TRACK_EDGE])
        elif y == TRACK_BOTTOM + 1:
            rows.append([SHINE] * WIDTH)
        else:
            rows.append([PANEL] * WIDTH)
    return rows


def scene(frame):
    """The whole picture as frame `frame` of the sweep should show it."""
    rows = background()
    group = BLOCKS * (BLOCK_WIDTH + BLOCK_GAP)
    start = -group + frame * (VISIBLE_WIDTH + group) // FRAMES
    for block in range(BLOCKS):
        left = start + block * (BLOCK_WIDTH + BLOCK_GAP)
        shade = block * (BLOCK_SHADES - 1) // (BLOCKS - 1)
        for y in range(TRACK_TOP + 2, TRACK_BOTTOM - 1):
            light = 2 if y == TRACK_TOP + 2 else 1 if y < TRACK_TOP + 5 else 0
            for x in range(max(left, 1), min(left + BLOCK_WIDTH, WIDTH - 1)):
                rows[y][x] = BLOCK_BASE + shade * 3 + light
    return rows


class CodeWriter:
    """Variable-width codes packed least significant bit first."""

    def __init__(self):
        self.out, self.bits, self.count = bytearray(), 0, 0

    def put(self, code, width):
        self.bits |= code << self.count
        self.count += width
        while self.count >= 8:
            self.out.append(self.bits & 0xFF)
            self.bits >>= 8
            self.count -= 8

    def finish(self):
        if self.count:
            self.out.append(self.bits & 0xFF)
        return bytes(self.out)


def lzw_encode(indices, min_code_size=8):
    """GIF LZW: a clear code first, a clear code whenever the table fills, the end code last."""
    clear = 1 << min_code_size
    writer = CodeWriter()
    state = {}

    def reset():
        writer.put(clear, state.get('width', min_code_size + 1))
        state.update(table={}, next=clear + 2, width=min_code_size + 1, first=True)

    def emit(code):
        writer.put(code, state['width'])
        # The decoder widens its codes when an entry it adds reaches the limit; it adds none for the
        # first code after a clear.
        if not state['first'] and state['next'] >= (1 << state['width']) and state['width'] < 12:
            state['width'] += 1
        state['first'] = False

    reset()
    prefix = indices[0]
    for value in indices[1:]:
        key = (prefix, value)
        if key in state['table']:
            prefix = state['table'][key]
            continue
        emit(prefix)
        if state['next'] < 4096:
            state['table'][key] = state['next']
            state['next'] += 1
        else:
            reset()
        prefix = value
    emit(prefix)
    writer.put(clear + 1, state['width'])
    return writer.finish()


def sub_blocks(data):
    out = bytearray()
    for at in range(0, len(data), 255):
        chunk = data[at:at + 255]
        out += bytes([len(chunk)]) + chunk
    return bytes(out + b'\0')


def frame_block(canvas, target, left, width):
    """Paints the changed pixels of the rectangle onto the canvas; returns the frame's blocks."""
    pixels = []
    for y in range(HEIGHT):
        for x in range(left, left + width):
            changed = canvas is None or canvas[y][x] != target[y][x]
            pixels.append(target[y][x] if changed else TRANSPARENT)
    control = b'\x21\xF9\x04' + bytes([1 << 2 | 1]) + struct.pack('<H', 0) + bytes([TRANSPARENT, 0])
    descriptor = b'\x2C' + struct.pack('<HHHH', left, 0, width, HEIGHT) + b'\0'
    return control + descriptor + bytes([8]) + sub_blocks(lzw_encode(pixels))


def strip():
    table = color_table()
    out = bytearray(b'GIF89a' + struct.pack('<HH', WIDTH, HEIGHT) + bytes([0xF7, TRANSPARENT, 0]))
    for rgb in table:
        out += bytes(rgb)
    out += b'\x21\xFF\x0BNETSCAPE2.0\x03\x01' + struct.pack('<H', 0) + b'\0'
    canvas = None
    for index in range(FRAMES):
        left, width = NARROW.get(index, (0, WIDTH))
        target = scene(index)
        out += frame_block(canvas, target, left, width)
        canvas = canvas or [row[:] for row in target]
        for y in range(HEIGHT):
            canvas[y][left:left + width] = target[y][left:left + width]
    return bytes(out + b'\x3B')


if __name__ == '__main__':
    with open(sys.argv[1], 'wb') as output:
        output.write(strip())
