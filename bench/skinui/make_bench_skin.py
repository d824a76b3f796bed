#!/usr/bin/env python3
"""Writes the benchmark skin folder: a 600 x 400 layout with about sixty
controls, the images it names, and photo-like noise PNGs (which do not
compress) so that the packed archive weighs about 250 KB, as the installer's
skin does. Standard library only. Usage: make_bench_skin.py OUT_FOLDER
"""
import os
import random
import struct
import sys
import zlib


def write_png(path, width, height, pixel):
    rows = bytearray()
    for y in range(height):
        rows.append(0)
        for x in range(width):
            rows.extend(pixel(x, y))
    def chunk(tag, data):
        return struct.pack(">I", len(data)) + tag + data + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF)
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b"")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(png)


def main(out):
    rnd = random.Random(147)
    img = os.path.join(out, "res")
    write_png(os.path.join(img, "bg.png"), 600, 400, lambda x, y: (230 + (x * 7 + y * 3) % 25, 240, 250, 255))
    for state, base in ((1, 60), (2, 90), (3, 30)):
        write_png(os.path.join(img, "btn%d.png" % state), 80, 28,
                  lambda x, y, b=base: (b, b + 60, 220, 255) if 0 < x < 79 and 0 < y < 27 else (20, 40, 90, 255))
    write_png(os.path.join(img, "cb1.png"), 16, 16, lambda x, y: (255, 255, 255, 255) if 0 < x < 15 and 0 < y < 15 else (120, 120, 120, 255))
    write_png(os.path.join(img, "cb2.png"), 16, 16, lambda x, y: (30, 120, 250, 255) if 3 < x < 12 and 3 < y < 12 else (120, 120, 120, 255))
    write_png(os.path.join(img, "prg1.png"), 40, 8, lambda x, y: (220, 226, 236, 255))
    write_png(os.path.join(img, "prg2.png"), 40, 8, lambda x, y: (20 + x * 5, 120, 250 - x * 4, 255))
    # Noise pictures: the weight of the real skin's photographs and logos.
    for i in range(5):
        write_png(os.path.join(img, "photo%d.png" % i), 126, 118,
                  lambda x, y: (rnd.randrange(256), rnd.randrange(256), rnd.randrange(256), 255))
    rows = []
    for r in range(10):
        cells = []
        for c in range(6):
            kind = (r * 6 + c) % 4
            name = "c%d_%d" % (r, c)
            if kind == 0:
                cells.append('<Button name="%s" width="90" text="按钮 %d" normalimage="res\\btn1.png" '
                             'hotimage="res\\btn2.png" pushedimage="res\\btn3.png" textcolor="#FFFFFFFF" />' % (name, c))
            elif kind == 1:
                cells.append('<Label name="%s" width="90" text="标签 %d,%d" textcolor="#FF303F56" />' % (name, r, c))
            elif kind == 2:
                cells.append('<CheckBox name="%s" width="90" text="选项" selected="%s" textpadding="20,0,0,0" '
                             'normalimage="file=\'res\\cb1.png\' dest=\'0,6,16,22\'" '
                             'selectedimage="file=\'res\\cb2.png\' dest=\'0,6,16,22\'" />' % (name, "true" if c % 2 else "false"))
            else:
                cells.append('<Progress name="%s" width="90" height="8" padding="0,10,0,10" value="%d" '
                             'bkimage="file=\'res\\prg1.png\' corner=\'2,2,2,2\'" '
                             'foreimage="file=\'res\\prg2.png\' corner=\'2,2,2,2\'" isstretchfore="false" />' % (name, 10 * r))
        rows.append('    <HorizontalLayout height="32" inset="12,2,12,2" childpadding="6">\n      '
                    + "\n      ".join(cells) + "\n    </HorizontalLayout>")
    layout = """<?xml version="1.0" encoding="UTF-8"?>
<Window size="600,400" caption="0,0,0,35" roundcorner="2,2" showshadow="true" shadowsize="6">
  <Font id="0" name="微软雅黑" size="14" default="true" />
  <Font id="1" name="微软雅黑" size="18" />
  <VerticalLayout name="winCtn" bkimage="res\\bg.png">
    <HorizontalLayout height="35">
      <Label text="Tarnvell" font="1" padding="10,0,0,0" width="200" textcolor="#FF303F56" />
      <Control />
      <Label width="60" bkimage="res\\photo0.png" />
    </HorizontalLayout>
%s
    <Control />
  </VerticalLayout>
</Window>
""" % "\n".join(rows)
    with open(os.path.join(out, "benchWnd.xml"), "w", encoding="utf-8") as f:
        f.write(layout)


if __name__ == "__main__":
    main(sys.argv[1])
