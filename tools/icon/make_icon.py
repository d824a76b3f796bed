#!/usr/bin/env python3
"""Draws the installer's icon and writes it as a Windows .ico file.

The picture: a rounded square in deep teal with a white ring and a red
recording dot in the middle, a screen recorder's "record" sign. Every size
is drawn directly (no scaling) with 4x4 supersampling for smooth edges, and
stored as a 32-bit PNG entry, which Windows Vista and later read; the 16,
32 and 48 pixel sizes are also stored as classic 32-bit bitmaps so that XP
shows them.

    python3 make_icon.py OUT.ico
"""
import math
import struct
import sys
import zlib

SIZES_PNG = [256, 64]
SIZES_BMP = [48, 32, 16]


def coverage(inside, x, y, n=4):
    hits = 0
    for sy in range(n):
        for sx in range(n):
            if inside(x + (sx + 0.5) / n, y + (sy + 0.5) / n):
                hits += 1
    return hits / (n * n)


def draw(size):
    s = float(size)
    radius = s * 0.22
    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            def in_square(px, py):
                cx = min(max(px, radius), s - radius)
                cy = min(max(py, radius), s - radius)
                return (px - cx) ** 2 + (py - cy) ** 2 <= radius ** 2

            def dist(px, py):
                return math.hypot(px - s / 2, py - s / 2)

            a_sq = coverage(in_square, x, y)
            a_ring = coverage(lambda px, py: s * 0.29 <= dist(px, py) <= s * 0.37, x, y)
            a_dot = coverage(lambda px, py: dist(px, py) <= s * 0.20, x, y)
            # Background: vertical teal gradient.
            t = y / max(size - 1, 1)
            r, g, b = 18 + 10 * t, 110 - 30 * t, 130 - 25 * t
            r = r * (1 - a_ring) + 255 * a_ring
            g = g * (1 - a_ring) + 255 * a_ring
            b = b * (1 - a_ring) + 255 * a_ring
            r = r * (1 - a_dot) + 232 * a_dot
            g = g * (1 - a_dot) + 58 * a_dot
            b = b * (1 - a_dot) + 64 * a_dot
            row.append((int(r + 0.5), int(g + 0.5), int(b + 0.5), int(255 * a_sq + 0.5)))
        pixels.append(row)
    return pixels


def png(pixels):
    size = len(pixels)
    raw = b"".join(b"\x00" + bytes(c for px in row for c in px) for row in pixels)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def bmp(pixels):
    size = len(pixels)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b"".join(bytes((b, g, r, a)) for row in reversed(pixels) for (r, g, b, a) in row)
    mask_row = ((size + 31) // 32) * 4
    and_mask = bytes(mask_row * size)  # alpha decides; the mask stays clear
    return header + xor + and_mask


def main():
    entries = [(n, png(draw(n))) for n in SIZES_PNG] + [(n, bmp(draw(n))) for n in SIZES_BMP]
    out = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    directory = b""
    for n, data in entries:
        directory += struct.pack("<BBBBHHII", n % 256, n % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(sys.argv[1], "wb") as f:
        f.write(out + directory + b"".join(d for _, d in entries))


if __name__ == "__main__":
    main()
