#!/usr/bin/env python3
"""Draws the program's two 16-colour icons: resources/Tavimbo.ico (32 x 32, the executable's
main icon) and resources/Window.ico (16 x 16, the window's own icon).

The picture: a yellow folder with a blue arrow going into it, the "send to" of the program.
Run it again after changing the drawing; the .ico files are committed.
"""
import struct
from pathlib import Path

# The standard 16-colour palette, as (blue, green, red) triples.
PALETTE = [
    (0, 0, 0), (0, 0, 128), (0, 128, 0), (0, 128, 128), (128, 0, 0), (128, 0, 128),
    (128, 128, 0), (192, 192, 192), (128, 128, 128), (0, 0, 255), (0, 255, 0),
    (0, 255, 255), (255, 0, 0), (255, 0, 255), (255, 255, 0), (255, 255, 255),
]
TRANSPARENT, BLACK, DARK_YELLOW, YELLOW, BLUE, DARK_BLUE, WHITE = None, 0, 3, 11, 12, 4, 15


def draw(size):
    s = size / 32.0
    pixels = [[TRANSPARENT] * size for _ in range(size)]

    def fill(x0, y0, x1, y1, colour):
        for y in range(int(y0 * s), int(y1 * s)):
            for x in range(int(x0 * s), int(x1 * s)):
                pixels[y][x] = colour

    # Folder: tab, back, front, each with a dark outline.
    fill(2, 7, 13, 11, DARK_YELLOW)
    fill(3, 8, 12, 11, YELLOW)
    fill(2, 10, 30, 29, DARK_YELLOW)
    fill(3, 11, 29, 28, YELLOW)
    fill(3, 11, 29, 12, WHITE)
    # Arrow: a shaft and a head pointing right, into the folder.
    fill(5, 17, 17, 22, DARK_BLUE)
    fill(6, 18, 17, 21, BLUE)
    for i in range(8):
        top, bottom = 12 + i, 27 - i
        fill(17 + i, top, 18 + i, bottom, DARK_BLUE)
        if bottom - top > 2:
            fill(17 + i, top + 1, 18 + i, bottom - 1, BLUE)
    return pixels


def icon(size):
    pixels = draw(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for b, g, r in PALETTE)
    xor_rows, and_rows = [], []
    for row in reversed(pixels):  # bottom-up
        nibbles = [0 if p is None else p for p in row]
        data = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2))
        xor_rows.append(data + b'\0' * (-len(data) % 4))
        bits = 0
        mask = bytearray()
        for i, p in enumerate(row):
            bits = (bits << 1) | (1 if p is None else 0)
            if i % 8 == 7:
                mask.append(bits)
                bits = 0
        and_rows.append(bytes(mask) + b'\0' * (-len(mask) % 4))
    image = header + palette + b''.join(xor_rows) + b''.join(and_rows)
    directory = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


resources = Path(__file__).resolve().parent.parent / 'resources'
(resources / 'Tavimbo.ico').write_bytes(icon(32))
(resources / 'Window.ico').write_bytes(icon(16))
