"""What the picture generator needs beyond Pillow.

- render_svg(): runs rsvg-convert and returns a Pillow RGBA image
- downsample(): box filter in linear light with premultiplied alpha (Pillow
  filters sRGB values as they are, which darkens edges between colours)
- warp(): pixel-grid hinting, moves chosen edges onto whole pixels
- ico_bytes(): ICO writer; Pillow's writes no 4-bit images, sorts the images
  by size and leaves out the AND mask of 32-bit ones
"""

import os
import struct
import subprocess

from PIL import Image


def render_svg(svg_path, width, height, tmpdir):
    """Render an SVG stretched to exactly width x height pixels."""
    out = os.path.join(tmpdir, "render.png")
    subprocess.run(["rsvg-convert", "--width", str(width),
                    "--height", str(height), "--format", "png",
                    "--output", out, svg_path], check=True)
    with Image.open(out) as png:
        img = png.convert("RGBA")
    os.remove(out)
    if img.size != (width, height):
        raise RuntimeError("rsvg-convert gave %dx%d for %s, wanted %dx%d"
                           % (img.width, img.height, svg_path, width, height))
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
    linear light.  Returns an RGBA image with straight alpha; pixels whose
    alpha rounds to 0 are (0, 0, 0, 0)."""
    width, height = img.size
    if width % factor or height % factor:
        raise ValueError("image %dx%d not divisible by %d"
                         % (width, height, factor))
    ow, oh = width // factor, height // factor
    px = list(img.getdata())
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
            alpha = int(sa / (255.0 * area) * 255 + 0.5) if sa else 0
            if alpha:
                out.append((to_srgb8(sr / sa), to_srgb8(sg / sa),
                            to_srgb8(sb / sa), alpha))
            else:
                out.append((0, 0, 0, 0))
    small = Image.new("RGBA", (ow, oh))
    small.putdata(out)
    return small


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
    width, height = img.size
    px = list(img.getdata())
    cols = _warp_map(width, factor, units[0], xknots)
    rows = _warp_map(height, factor, units[1], yknots)
    out = []
    for y in rows:
        line = px[y * width:(y + 1) * width]
        out.extend(line[x] for x in cols)
    warped = Image.new(img.mode, img.size)
    warped.putdata(out)
    return warped


# --------------------------------------------------------------------- ICO

def _stride(width, bpp):
    return ((width * bpp + 31) // 32) * 4


def ico_image(img, bpp, mask):
    """One image of an icon: img is RGBA for 32 bpp, or P for 4 and 8 bpp
    (its palette padded with black to 2**bpp entries); mask is the AND mask,
    mode "1", set where transparent."""
    size = img.width
    pal = b""
    if bpp == 32:
        xor = img.tobytes("raw", "BGRA", 0, -1)
    else:
        entries = 1 << bpp
        rgb = img.getpalette()[:3 * entries]
        rgb += [0] * (3 * entries - len(rgb))
        pal = b"".join(bytes((rgb[i + 2], rgb[i + 1], rgb[i], 0))
                       for i in range(0, len(rgb), 3))
        xor = img.tobytes("raw", ("P;4" if bpp == 4 else "P",
                                  _stride(size, bpp), -1))
    and_mask = mask.tobytes("raw", ("1", _stride(size, 1), -1))
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, bpp, 0,
                         len(xor) + len(and_mask), 0, 0, 0, 0)
    colour_count = 16 if bpp == 4 else 0
    return bpp, colour_count, header + pal + xor + and_mask


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
