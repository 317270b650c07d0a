#!/usr/bin/env python3
"""Checks the files in resources/pictures/ independently of the generator:
header fields, sizes, and the transparent-colour rules.  generate.sh runs it
after generating; it can also be run alone:  python3 tools/pictures/check.py
"""

import os
import struct
import sys

ROOT = os.path.normpath(os.path.join(os.path.dirname(
    os.path.abspath(__file__)), "..", ".."))
PICTURES = os.path.join(ROOT, "resources", "pictures")
FULL_SQUARE = {2, 6, 39}
EMBLEMS = {0, 21}
BLACK = (0, 0, 0)

errors = []


def fail(msg):
    errors.append(msg)


def read(name):
    with open(os.path.join(PICTURES, name), "rb") as f:
        return f.read()


def parse_bmp(data, name):
    """Returns (width, height, bpp, rows top-first of (r, g, b), pad bytes)."""
    magic, size, r1, r2, offset = struct.unpack("<2sIHHI", data[:14])
    (hsize, width, height, planes, bpp, comp, size_image, _, _, used,
     important) = struct.unpack("<IiiHHIIiiII", data[14:54])
    stride = ((width * bpp + 31) // 32) * 4
    for cond, what in [
            (magic == b"BM", "magic"), (size == len(data), "bfSize"),
            (r1 == 0 and r2 == 0, "reserved"), (offset == 54, "bfOffBits"),
            (hsize == 40, "biSize"), (height > 0, "bottom-up"),
            (planes == 1, "biPlanes"), (comp == 0, "BI_RGB"),
            (size_image == stride * height, "biSizeImage"),
            (used == 0 and important == 0, "biClrUsed/biClrImportant"),
            (len(data) == 54 + stride * height, "file length")]:
        if not cond:
            fail("%s: bad %s" % (name, what))
    rows, extra = [], []
    step = bpp // 8
    for y in range(height):
        line = data[54 + (height - 1 - y) * stride:][:stride]
        rows.append([(line[x * step + 2], line[x * step + 1], line[x * step])
                     for x in range(width)])
        if bpp == 32:
            extra.extend(line[x * 4 + 3] for x in range(width))
        extra.extend(line[width * step:])
    return width, height, bpp, rows, extra


def enclosed_black(cell):
    """Black pixels not connected (4-way, through black) to the border."""
    h, w = len(cell), len(cell[0])
    seen = set()
    todo = [(x, y) for y in range(h) for x in range(w)
            if (x in (0, w - 1) or y in (0, h - 1)) and cell[y][x] == BLACK]
    while todo:
        x, y = todo.pop()
        if (x, y) in seen:
            continue
        seen.add((x, y))
        for nx, ny in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)):
            if 0 <= nx < w and 0 <= ny < h and cell[ny][nx] == BLACK:
                todo.append((nx, ny))
    return [(x, y) for y in range(h) for x in range(w)
            if cell[y][x] == BLACK and (x, y) not in seen]


def check_flags():
    w, h, bpp, rows, extra = parse_bmp(read("flags.bmp"), "flags.bmp")
    if (w, h, bpp) != (640, 16, 32):
        fail("flags.bmp: %dx%d %d bpp, want 640x16 32 bpp" % (w, h, bpp))
        return
    if any(extra):
        fail("flags.bmp: fourth byte or padding not 0")
    for i in range(40):
        cell = [row[16 * i:16 * i + 16] for row in rows]
        corner = cell[15][0]
        if i in FULL_SQUARE:
            if corner == BLACK:
                fail("flags.bmp %d: bottom-left pixel black" % i)
            same = sum(c == corner for row in cell for c in row)
            if same != 1:
                fail("flags.bmp %d: bottom-left colour used by %d pixels"
                     % (i, same))
            if any(c == BLACK for row in cell for c in row):
                fail("flags.bmp %d: black pixel" % i)
            continue
        if corner != BLACK:
            fail("flags.bmp %d: bottom-left pixel not black" % i)
        if i in EMBLEMS:
            if enclosed_black(cell):
                fail("flags.bmp %d: black pixels inside the shape" % i)
            if sum(c != BLACK for row in cell for c in row) < 60:
                fail("flags.bmp %d: shape too small" % i)
            continue
        for y in range(16):
            blacks = sum(c == BLACK for c in cell[y])
            if y in (0, 1, 2, 13, 14, 15) and blacks != 16:
                fail("flags.bmp %d: row %d not black" % (i, y))
            if 3 <= y <= 12 and blacks:
                fail("flags.bmp %d: black pixel in flag row %d" % (i, y))
    if [row[80:96] for row in rows] != [row[512:528] for row in rows]:
        fail("flags.bmp: pictures 5 and 32 differ")


def check_globe():
    w, h, bpp, rows, extra = parse_bmp(read("globe.bmp"), "globe.bmp")
    if (w, h, bpp) != (27, 31, 24):
        fail("globe.bmp: %dx%d %d bpp, want 27x31 24 bpp" % (w, h, bpp))
        return
    if any(extra):
        fail("globe.bmp: row padding not 0")
    if rows[30][0] != BLACK:
        fail("globe.bmp: bottom-left pixel not black")
    if any(row[x] != BLACK for row in rows for x in (25, 26)):
        fail("globe.bmp: picture outside columns 0-24")
    if enclosed_black(rows):
        fail("globe.bmp: black pixels inside the globe or stand")
    if sum(c != BLACK for row in rows for c in row) < 300:
        fail("globe.bmp: picture too small")


def check_ico(name, want):
    """want: list of (size, bpp) in file order."""
    data = read(name)
    reserved, kind, count = struct.unpack("<HHH", data[:6])
    if reserved != 0 or kind != 1 or count != len(want):
        fail("%s: bad ICONDIR (%d, %d, %d)" % (name, reserved, kind, count))
        return
    end = 6 + 16 * count
    for n in range(count):
        (bw, bh, colours, res, planes, bpp, nbytes,
         offset) = struct.unpack("<BBBBHHII", data[6 + 16 * n:22 + 16 * n])
        size, want_bpp = want[n]
        if (bw, bh, bpp) != (size % 256, size % 256, want_bpp):
            fail("%s #%d: %dx%d %d bpp, want %d %d bpp"
                 % (name, n, bw, bh, bpp, size, want_bpp))
        if colours != (16 if bpp == 4 else 0) or res != 0 or planes != 1:
            fail("%s #%d: bad colour count/reserved/planes" % (name, n))
        if offset != end:
            fail("%s #%d: offset %d, want %d" % (name, n, offset, end))
        img = data[offset:offset + nbytes]
        (hsize, width, height, iplanes, ibpp, comp, size_image, _, _, used,
         _) = struct.unpack("<IiiHHIIiiII", img[:40])
        pal = (1 << bpp) * 4 if bpp <= 8 and used == 0 else used * 4
        xor = ((size * bpp + 31) // 32) * 4 * size
        mask = ((size + 31) // 32) * 4 * size
        if (hsize, width, height, iplanes, ibpp, comp) != \
                (40, size, 2 * size, 1, bpp, 0):
            fail("%s #%d: bad BITMAPINFOHEADER" % (name, n))
        if size_image != xor + mask:
            fail("%s #%d: biSizeImage %d, want %d"
                 % (name, n, size_image, xor + mask))
        if nbytes != 40 + pal + xor + mask:
            fail("%s #%d: bytes in resource %d, want %d"
                 % (name, n, nbytes, 40 + pal + xor + mask))
        if bpp == 32:
            alphas = img[40 + 3:40 + xor:4]
            if not any(0 < a < 255 for a in alphas) or 0 not in alphas:
                fail("%s #%d: alpha has no soft edges or no transparency"
                     % (name, n))
        end = offset + nbytes
    if end != len(data):
        fail("%s: %d bytes after the last image" % (name, len(data) - end))


def main():
    check_flags()
    check_globe()
    check_ico("corvan.ico", [(32, 32)])
    check_ico("help.ico", [(48, 4), (32, 4), (16, 4), (48, 8), (32, 8),
                           (16, 8), (64, 32), (48, 32), (32, 32), (16, 32)])
    for e in errors:
        print("check: " + e, file=sys.stderr)
    if errors:
        sys.exit(1)
    print("check: resources/pictures/ OK")


if __name__ == "__main__":
    main()
