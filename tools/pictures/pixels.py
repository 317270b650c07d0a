"""Small image toolkit for the picture generator (Python standard library only).

- read_png():   decodes the 8-bit PNG files that rsvg-convert writes
- render_svg(): runs rsvg-convert and returns the RGBA pixels
- downsample(): box filter in linear light with premultiplied alpha
- bmp_bytes() / ico_bytes(): exact BMP and ICO writers (struct)
- median_cut(), nearest(): palette helpers for the 4 and 8 bit icon images

An image in this module is (width, height, pixels) where pixels is a flat list
of (r, g, b, a) tuples, row 0 at the top, r/g/b 0..255 sRGB, a 0..255.
"""

import os
import struct
import subprocess
import zlib

# --------------------------------------------------------------------- PNG in


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    if pb <= pc:
        return b
    return c


def read_png(path):
    """Decode a non-interlaced 8-bit grey/RGB/grey-alpha/RGBA PNG."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("%s: not a PNG file" % path)
    pos, idat, ihdr = 8, [], None
    while pos < len(data):
        length, ctype = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if ctype == b"IHDR":
            ihdr = struct.unpack(">IIBBBBB", body)
        elif ctype == b"IDAT":
            idat.append(body)
        elif ctype == b"IEND":
            break
    width, height, depth, colour, _, _, interlace = ihdr
    channels = {0: 1, 2: 3, 4: 2, 6: 4}.get(colour)
    if depth != 8 or channels is None or interlace:
        raise ValueError("%s: unsupported PNG (depth %d, colour type %d, "
                         "interlace %d)" % (path, depth, colour, interlace))
    raw = zlib.decompress(b"".join(idat))
    stride = width * channels
    bpp = channels
    prev = bytearray(stride)
    rows = []
    pos = 0
    for _ in range(height):
        ftype = raw[pos]
        line = bytearray(raw[pos + 1:pos + 1 + stride])
        pos += 1 + stride
        if ftype == 1:
            for i in range(bpp, stride):
                line[i] = (line[i] + line[i - bpp]) & 255
        elif ftype == 2:
            for i in range(stride):
                line[i] = (line[i] + prev[i]) & 255
        elif ftype == 3:
            for i in range(stride):
                left = line[i - bpp] if i >= bpp else 0
                line[i] = (line[i] + ((left + prev[i]) >> 1)) & 255
        elif ftype == 4:
            for i in range(stride):
                if i >= bpp:
                    line[i] = (line[i] + _paeth(line[i - bpp], prev[i],
                                                prev[i - bpp])) & 255
                else:
                    line[i] = (line[i] + prev[i]) & 255
        elif ftype != 0:
            raise ValueError("%s: bad PNG filter %d" % (path, ftype))
        rows.append(bytes(line))
        prev = line
    pixels = []
    for line in rows:
        if channels == 4:
            it = iter(line)
            pixels.extend(zip(it, it, it, it))
        elif channels == 3:
            it = iter(line)
            pixels.extend((r, g, b, 255) for r, g, b in zip(it, it, it))
        elif channels == 2:
            it = iter(line)
            pixels.extend((v, v, v, a) for v, a in zip(it, it))
        else:
            pixels.extend((v, v, v, 255) for v in line)
    return width, height, pixels


def render_svg(svg_path, width, height, tmpdir):
    """Render an SVG stretched to exactly width x height pixels."""
    out = os.path.join(tmpdir, "render.png")
    subprocess.run(["rsvg-convert", "--width", str(width),
                    "--height", str(height), "--format", "png",
                    "--output", out, svg_path], check=True)
    img = read_png(out)
    os.remove(out)
    if img[0] != width or img[1] != height:
        raise RuntimeError("rsvg-convert gave %dx%d for %s, wanted %dx%d"
                           % (img[0], img[1], svg_path, width, height))
    return img


# ------------------------------------------------------------ box filtering

_TO_LINEAR = [((v / 255.0) / 12.92) if v <= 10 else
              (((v / 255.0) + 0.055) / 1.055) ** 2.4 for v in range(256)]


def to_srgb8(lin):
    """Linear light 0..1 -> sRGB 0..255 (rounded, clamped)."""
    if lin <= 0.0:
        return 0
    if lin >= 1.0:
        return 255
    if lin <= 0.0031308:
        s = lin * 12.92
    else:
        s = 1.055 * lin ** (1 / 2.4) - 0.055
    return int(s * 255.0 + 0.5)


def downsample(img, factor):
    """Box filter by an integer factor: average premultiplied colour in
    linear light.  Returns (w, h, pixels) with pixels as
    (r, g, b, alpha) where r/g/b are straight sRGB 0..255 ints and alpha is a
    float 0..1 (the exact coverage, so callers can threshold or round it)."""
    width, height, px = img
    if width % factor or height % factor:
        raise ValueError("image %dx%d not divisible by %d"
                         % (width, height, factor))
    ow, oh = width // factor, height // factor
    lin = _TO_LINEAR
    out = []
    area = float(factor * factor)
    for oy in range(oh):
        for ox in range(ow):
            sr = sg = sb = sa = 0.0
            for y in range(oy * factor, oy * factor + factor):
                base = y * width + ox * factor
                for r, g, b, a in px[base:base + factor]:
                    if a:
                        sa += a
                        sr += lin[r] * a
                        sg += lin[g] * a
                        sb += lin[b] * a
            if sa:
                out.append((to_srgb8(sr / sa), to_srgb8(sg / sa),
                            to_srgb8(sb / sa), sa / (255.0 * area)))
            else:
                out.append((0, 0, 0, 0.0))
    return ow, oh, out


def _warp_map(size, factor, units, knots):
    """Source index for every destination index along one axis.
    knots: [(source position in SVG units, destination pixel), ...]."""
    pts = [(0.0, 0.0)] + [(s * size / float(units), d * factor)
                          for s, d in sorted(knots, key=lambda k: k[1])] + \
        [(float(size), float(size))]
    out = []
    seg = 0
    for x in range(size):
        c = x + 0.5
        while pts[seg + 1][1] < c:
            seg += 1
        (s0, d0), (s1, d1) = pts[seg], pts[seg + 1]
        s = s0 + (c - d0) * (s1 - s0) / (d1 - d0)
        out.append(min(size - 1, max(0, int(s))))
    return out


def warp(img, factor, units, xknots, yknots):
    """Pixel-grid hinting: a piecewise linear stretch of a large rendering so
    that chosen edges of the SVG (given in SVG units, units = (w, h) of the
    viewBox) land exactly on pixel edges of the final, factor times smaller
    picture.  Sampling is nearest-neighbour on the large rendering."""
    width, height, px = img
    cols = _warp_map(width, factor, units[0], xknots)
    rows = _warp_map(height, factor, units[1], yknots)
    out = []
    for y in rows:
        line = px[y * width:(y + 1) * width]
        out.extend(line[x] for x in cols)
    return width, height, out


def pad_edges(img, left, right):
    """Widen an image by repeating its first/last column."""
    width, height, px = img
    out = []
    for y in range(height):
        row = px[y * width:(y + 1) * width]
        out.extend([row[0]] * left + row + [row[-1]] * right)
    return width + left + right, height, out


# ------------------------------------------------------------- BMP and ICO

def _info_header(width, height, bpp, size_image, colours_used=0):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bpp, 0,
                       size_image, 0, 0, colours_used, 0)


def _stride(width, bpp):
    return ((width * bpp + 31) // 32) * 4


def bmp_bytes(width, height, rgb_rows, bpp):
    """BMP file, bottom-up, BI_RGB, 24 or 32 bits per pixel.
    rgb_rows: list (top row first) of lists of (r, g, b).  In 32 bpp files
    the fourth byte of every pixel is 0 (no alpha)."""
    if bpp not in (24, 32):
        raise ValueError("bpp must be 24 or 32")
    stride = _stride(width, bpp)
    body = bytearray()
    for row in reversed(rgb_rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r)) if bpp == 24 else bytes((b, g, r, 0))
        line += bytes(stride - len(line))
        body += line
    assert len(body) == stride * height
    offset = 14 + 40
    header = struct.pack("<2sIHHI", b"BM", offset + len(body), 0, 0, offset)
    return header + _info_header(width, height, bpp, len(body)) + bytes(body)


def _and_mask(width, height, transparent_rows):
    """1 bit per pixel, bottom-up, rows padded to 32 bits; 1 = transparent."""
    stride = _stride(width, 1)
    out = bytearray()
    for row in reversed(transparent_rows):
        line = bytearray(stride)
        for x, t in enumerate(row):
            if t:
                line[x >> 3] |= 0x80 >> (x & 7)
        out += line
    return bytes(out)


def ico_image_32(size, rgba_rows):
    """32 bpp icon image (BGRA, straight alpha) with AND mask.
    rgba_rows: top row first, each a list of (r, g, b, a) ints."""
    xor = bytearray()
    for row in reversed(rgba_rows):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    mask = _and_mask(size, size, [[a < 128 for (_, _, _, a) in row]
                                  for row in rgba_rows])
    header = _info_header(size, size * 2, 32, len(xor) + len(mask))
    return 32, 0, header + bytes(xor) + mask


def ico_image_indexed(size, bpp, palette, index_rows, transparent_rows):
    """4 or 8 bpp icon image: palette of (r, g, b) (padded to 2**bpp entries),
    index rows and transparency rows top row first."""
    entries = 1 << bpp
    if len(palette) > entries:
        raise ValueError("palette too large")
    pal = bytearray()
    for r, g, b in list(palette) + [(0, 0, 0)] * (entries - len(palette)):
        pal += bytes((b, g, r, 0))
    stride = _stride(size, bpp)
    xor = bytearray()
    for row in reversed(index_rows):
        line = bytearray(stride)
        for x, idx in enumerate(row):
            if bpp == 8:
                line[x] = idx
            else:
                line[x >> 1] |= (idx << 4) if not x & 1 else idx
        xor += line
    mask = _and_mask(size, size, transparent_rows)
    header = _info_header(size, size * 2, bpp, len(xor) + len(mask))
    colour_count = entries if entries < 256 else 0
    return bpp, colour_count, header + bytes(pal) + bytes(xor) + mask


def ico_bytes(images):
    """images: list of (size, (bpp, colour_count, data)) in file order."""
    count = len(images)
    offset = 6 + 16 * count
    directory = struct.pack("<HHH", 0, 1, count)
    blobs = b""
    for size, (bpp, colour_count, data) in images:
        dim = size if size < 256 else 0
        directory += struct.pack("<BBBBHHII", dim, dim, colour_count, 0, 1,
                                 bpp, len(data), offset + len(blobs))
        blobs += data
    return directory + blobs


# ----------------------------------------------------------------- palettes

VGA16 = [(0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00),
         (0x80, 0x80, 0x00), (0x00, 0x00, 0x80), (0x80, 0x00, 0x80),
         (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0), (0x80, 0x80, 0x80),
         (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
         (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF),
         (0xFF, 0xFF, 0xFF)]


def colour_distance(c1, c2):
    """Weighted squared RGB distance ("redmean" approximation)."""
    rmean = (c1[0] + c2[0]) / 2.0
    dr, dg, db = c1[0] - c2[0], c1[1] - c2[1], c1[2] - c2[2]
    return ((512 + rmean) * dr * dr / 256.0 + 4 * dg * dg
            + (767 - rmean) * db * db / 256.0)


def nearest(colour, palette):
    best, best_d = 0, None
    for i, p in enumerate(palette):
        d = colour_distance(colour, p)
        if best_d is None or d < best_d:
            best, best_d = i, d
    return best


def median_cut(colours, count):
    """Deterministic median cut: colours is a list of (r, g, b) (with
    repetitions, which weight the boxes); returns at most count colours."""
    unique = sorted(set(colours))
    if len(unique) <= count:
        return unique
    boxes = [sorted(colours)]
    while len(boxes) < count:
        # split the box with the widest channel range (ties: larger box)
        best, best_key = None, None
        for i, box in enumerate(boxes):
            if len(set(box)) < 2:
                continue
            ranges = [max(c[k] for c in box) - min(c[k] for c in box)
                      for k in range(3)]
            key = (max(ranges), len(box), -i)
            if best_key is None or key > best_key:
                best, best_key = i, key
        if best is None:
            break
        box = boxes.pop(best)
        ranges = [max(c[k] for c in box) - min(c[k] for c in box)
                  for k in range(3)]
        ch = ranges.index(max(ranges))
        box.sort(key=lambda c: (c[ch], c))
        mid = len(box) // 2
        # do not split between equal values of the channel
        while mid < len(box) and box[mid][ch] == box[mid - 1][ch]:
            mid += 1
        if mid == len(box):
            mid = len(box) // 2
            while mid > 1 and box[mid][ch] == box[mid - 1][ch]:
                mid -= 1
        boxes[best:best] = [box[:mid], box[mid:]]
    palette = []
    for box in boxes:
        n = len(box)
        palette.append(tuple(int(sum(c[k] for c in box) / n + 0.5)
                             for k in range(3)))
    return sorted(set(palette))
