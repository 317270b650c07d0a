#!/usr/bin/env python3
"""Checks the files in resources/pictures/ independently of the generator
(only which picture goes where, and of which kind, comes from strip.py):
layout as Pillow reads it, sizes, and the transparent-colour rules.
generate.sh runs it after generating; it can also be run alone:
    /usr/bin/python3 tools/pictures/check.py
"""

import io
import os
import sys

from PIL import BmpImagePlugin, IcoImagePlugin, Image

import strip

ROOT = os.path.normpath(os.path.join(os.path.dirname(
    os.path.abspath(__file__)), "..", ".."))
PICTURES = os.path.join(ROOT, "resources", "pictures")
BLACK = (0, 0, 0)
# Pillow's raw modes for BI_RGB pixel rows, by bits per pixel
RAW_BITS = {"P;4": 4, "P": 8, "BGR": 24, "BGRX": 32}

errors = []


def fail(msg):
    errors.append(msg)


def read(name):
    with open(os.path.join(PICTURES, name), "rb") as f:
        return f.read()


def layout(img):
    """(bits per pixel, offset of the pixel rows, row stride, bottom-up) of
    an opened, not yet loaded BMP or DIB."""
    _, _, offset, (rawmode, stride, direction) = img.tile[0]
    return RAW_BITS.get(rawmode), offset, stride, direction == -1


def rows_of(img):
    w, h = img.size
    px = list(img.getdata())
    return [px[y * w:(y + 1) * w] for y in range(h)]


def parse_bmp(data, name):
    """Returns (width, height, bpp, rows top-first of (r, g, b), the fourth
    bytes and row padding)."""
    img = Image.open(io.BytesIO(data))
    bpp, offset, stride, bottom_up = layout(img)
    width, height = img.size
    for cond, what in [
            (img.format == "BMP", "format"), (offset == 54, "bfOffBits"),
            (bottom_up, "bottom-up"), (bpp in (24, 32), "bits per pixel"),
            (img.info.get("compression") == 0, "BI_RGB"),
            (len(data) == offset + stride * height, "file length")]:
        if not cond:
            fail("%s: bad %s" % (name, what))
    rows = rows_of(img.convert("RGB"))
    if bpp == 32:
        extra = Image.frombuffer("RGBA", img.size, data[offset:], "raw",
                                 "BGRA", 0, -1).getchannel("A").getdata()
    else:
        extra = b"".join(data[offset + y * stride + width * 3:
                              offset + (y + 1) * stride]
                         for y in range(height))
    return width, height, bpp, rows, list(extra)


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
    pictures = strip.pictures()
    w, h, bpp, rows, extra = parse_bmp(read("flags.bmp"), "flags.bmp")
    if (w, h, bpp) != (16 * len(pictures), 16, 32):
        fail("flags.bmp: %dx%d %d bpp, want %dx16 32 bpp"
             % (w, h, bpp, 16 * len(pictures)))
        return
    if any(extra):
        fail("flags.bmp: fourth byte or padding not 0")
    first_of_key = {}
    for i, (key, kind, _) in enumerate(pictures):
        cell = [row[16 * i:16 * i + 16] for row in rows]
        first = first_of_key.setdefault(key, i)
        if first != i and cell != [row[16 * first:16 * first + 16]
                                   for row in rows]:
            fail("flags.bmp: pictures %d and %d differ (both %s)"
                 % (first, i, key))
        corner = cell[15][0]
        if kind in ("1x1", "own-square"):  # the whole square
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
        if kind == "emblem":
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
    ico = IcoImagePlugin.IcoFile(io.BytesIO(data))
    if ico.nb_items != len(want):
        fail("%s: %d images, want %d" % (name, ico.nb_items, len(want)))
        return
    end = 6 + 16 * ico.nb_items
    # Pillow sorts its entries; the file order is the order of the offsets
    order = sorted(range(ico.nb_items), key=lambda i: ico.entry[i]["offset"])
    for n, i in enumerate(order):
        entry = ico.entry[i]
        size, want_bpp = want[n]
        bpp = entry["bpp"]
        if (entry["width"], entry["height"], bpp) != (size, size, want_bpp):
            fail("%s #%d: %dx%d %d bpp, want %d %d bpp" % (
                name, n, entry["width"], entry["height"], bpp, size,
                want_bpp))
        if (entry["nb_color"] != (16 if bpp == 4 else 0)
                or entry["reserved"] != 0 or entry["planes"] != 1):
            fail("%s #%d: bad colour count/reserved/planes" % (name, n))
        if entry["offset"] != end:
            fail("%s #%d: offset %d, want %d"
                 % (name, n, entry["offset"], end))
        blob = data[entry["offset"]:entry["offset"] + entry["size"]]
        dib = BmpImagePlugin.DibImageFile(io.BytesIO(blob))
        dib_bpp, offset, stride, bottom_up = layout(dib)
        mask = ((size + 31) // 32) * 4 * size
        pal = 4 << bpp if bpp <= 8 else 0
        if (dib.size != (size, 2 * size) or dib_bpp != bpp or not bottom_up
                or dib.info.get("compression") != 0 or offset != 40 + pal):
            fail("%s #%d: bad BITMAPINFOHEADER" % (name, n))
        if len(blob) != offset + stride * size + mask:
            fail("%s #%d: bytes in resource %d, want %d"
                 % (name, n, len(blob), offset + stride * size + mask))
        img = ico.frame(i)
        alphas = img.getchannel("A").getdata()
        if bpp == 32:
            if not any(0 < a < 255 for a in alphas) or 0 not in alphas:
                fail("%s #%d: alpha has no soft edges or no transparency"
                     % (name, n))
        elif any(p[3] == 0 and p[:3] != BLACK for p in img.getdata()):
            fail("%s #%d: transparent pixels not black" % (name, n))
        end = entry["offset"] + entry["size"]
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
