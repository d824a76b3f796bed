#!/usr/bin/env python3
"""Converts an X window dump (as written by `xwd -root`) of a TrueColor
screen to an RGB PNG. Standard library only (zlib for the image data).

Usage: xwd_to_png.py INPUT.xwd OUTPUT.png
"""
import struct
import sys
import zlib

HEADER_FIELDS = (
    "header_size file_version pixmap_format pixmap_depth pixmap_width pixmap_height "
    "xoffset byte_order bitmap_unit bitmap_bit_order bitmap_pad bits_per_pixel "
    "bytes_per_line visual_class red_mask green_mask blue_mask bits_per_rgb "
    "colormap_entries ncolors window_width window_height window_x window_y "
    "window_bdrwidth").split()
XWD_COLOR_SIZE = 12
Z_PIXMAP = 2


def read_header(data):
    if len(data) < 100:
        raise ValueError("too short for an XWD header")
    values = struct.unpack(">25I", data[:100])
    header = dict(zip(HEADER_FIELDS, values))
    if header["file_version"] != 7:
        raise ValueError("not an XWD version 7 file (%d)" % header["file_version"])
    if header["pixmap_format"] != Z_PIXMAP or header["bits_per_pixel"] not in (24, 32):
        raise ValueError("only 24/32-bit ZPixmap dumps are supported")
    return header


def channel(value, mask):
    if mask == 0:
        return 0
    shift = (mask & -mask).bit_length() - 1
    top = mask >> shift
    return ((value & mask) >> shift) * 255 // top


def convert(data):
    h = read_header(data)
    start = h["header_size"] + h["ncolors"] * XWD_COLOR_SIZE
    width, height = h["pixmap_width"], h["pixmap_height"]
    stride, step = h["bytes_per_line"], h["bits_per_pixel"] // 8
    if start + stride * height > len(data):
        raise ValueError("pixel data truncated")
    order = "little" if h["byte_order"] == 0 else "big"
    masks = (h["red_mask"], h["green_mask"], h["blue_mask"])
    rows = bytearray()
    for y in range(height):
        row = data[start + y * stride:start + y * stride + width * step]
        rows.append(0)  # filter: none
        for x in range(0, width * step, step):
            v = int.from_bytes(row[x:x + step], order)
            rows.extend(channel(v, m) for m in masks)
    return width, height, bytes(rows)


def png(width, height, raw):
    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))
    ihdr = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) +
            chunk(b"IDAT", zlib.compress(raw, 6)) + chunk(b"IEND", b""))


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 1
    with open(argv[1], "rb") as f:
        data = f.read()
    try:
        width, height, raw = convert(data)
    except ValueError as e:
        sys.stderr.write("xwd_to_png: %s: %s\n" % (argv[1], e))
        return 2
    with open(argv[2], "wb") as f:
        f.write(png(width, height, raw))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
