#!/usr/bin/env python3
"""Generate Corvan's pictures in resources/pictures/.

Run it through the one command (it also runs check.py):

    tools/pictures/generate.sh

Outputs (byte-for-byte reproducible):
  flags.bmp   16 x 16 for each item of the language list (640 x 16 for 40),
              32 bpp BI_RGB, in the order of src/i18n/languages.inc
  corvan.ico  one 32 x 32 32-bit image with alpha (window / main icon)
  help.ico    48/32/16 at 4 bpp and 8 bpp, 64/48/32/16 at 32 bpp
  globe.bmp   27 x 31, 24 bpp, a globe on a stand on pure black

Needs: python3 with Pillow (Debian: python3-pil), rsvg-convert, and the
flag-icons SVGs kept in third_party/flag-icons/flags/.  Which flag goes where,
and how each is drawn: strip.py.
"""

import io
import os
import re
import shutil
import sys
import tempfile

from PIL import Image, ImageChops

import pixels as px
import strip

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
OUT_DIR = os.path.join(ROOT, "resources", "pictures")
SVG_DIR = os.path.join(HERE, "svg")
FLAG_DIR = os.path.join(ROOT, "third_party", "flag-icons", "flags")

BLACK = (0, 0, 0)
NEAR_BLACK = (0x10, 0x10, 0x10)

FLAG_OVERSAMPLE = 24       # 16 x 10 flags are rendered at 384 x 240
EMBLEM_OVERSAMPLE = 16
GLOBE_OVERSAMPLE = 16
ICON_OVERSAMPLE = 8

HELP_FLAT_BLUE = "#1f6fdc"
VGA16 = [(0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00),
         (0x80, 0x80, 0x00), (0x00, 0x00, 0x80), (0x80, 0x00, 0x80),
         (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0), (0x80, 0x80, 0x80),
         (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
         (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF),
         (0xFF, 0xFF, 0xFF)]
HELP_VGA_COLOURS = [(0x00, 0x00, 0x80), (0x00, 0x00, 0xFF),
                    (0xFF, 0xFF, 0xFF)]        # navy, blue, white


def lift_black(img):
    """No pixel inside a picture may be pure black (the transparent colour):
    anything darker than the near-black of the flags becomes near-black."""
    r, g, b = img.split()
    darkest = ImageChops.lighter(ImageChops.lighter(r, g), b)
    img.paste(NEAR_BLACK, mask=darkest.point(
        lambda v: 255 if v < NEAR_BLACK[0] else 0, "1"))
    return img


def opaque(img):
    """RGB picture from a downsampled, fully opaque image."""
    return lift_black(img.convert("RGB"))


def hard_edged(img, ground=BLACK):
    """RGB picture of a shape on a colour-keyed ground: pixels covered at
    least half by the shape take its (un-premultiplied) colour, the rest are
    ground.  No blend with the ground, so no dark fringe on screen."""
    out = Image.new("RGB", img.size, ground)
    out.paste(lift_black(img.convert("RGB")), mask=img.getchannel("A").point(
        lambda a: 255 if a >= 128 else 0, "1"))
    return out


def bmp_bytes(img):
    """BMP file of an RGB (24 bpp) or RGBA (32 bpp) image, no resolution."""
    out = io.BytesIO()
    img.save(out, "BMP", dpi=(0, 0))
    return out.getvalue()


def flag_svg(kind, code):
    sub = "1x1" if kind == "1x1" else "4x3"
    path = os.path.join(FLAG_DIR, sub, code + ".svg")
    if not os.path.isfile(path):
        sys.exit("missing %s: copy it from the flag-icons package" % path)
    return path


def pad_edges(img, left, right):
    """Widen an image by repeating its first/last column."""
    w, h = img.size
    out = Image.new(img.mode, (w + left + right, h))
    out.paste(img, (left, 0))
    edge = Image.Resampling.NEAREST
    out.paste(img.crop((0, 0, 1, h)).resize((left, h), edge), (0, 0))
    out.paste(img.crop((w - 1, 0, w, h)).resize((right, h), edge),
              (left + w, 0))
    return out


def make_flag_cell(kind, name, hints, tmp):
    """Returns a 16 x 16 RGB image."""
    f = FLAG_OVERSAMPLE
    if kind == "emblem":
        img = px.render_svg(os.path.join(SVG_DIR, name + ".svg"),
                            16 * EMBLEM_OVERSAMPLE, 16 * EMBLEM_OVERSAMPLE,
                            tmp)
        cell = hard_edged(px.downsample(img, EMBLEM_OVERSAMPLE))
        if cell.getpixel((0, 15)) != BLACK:
            raise RuntimeError("emblem %s touches the bottom-left pixel"
                               % name)
        return cell
    if kind in ("1x1", "own-square"):
        path = (flag_svg(kind, name) if kind == "1x1"
                else os.path.join(SVG_DIR, name + ".svg"))
        img = px.render_svg(path, 16 * f, 16 * f, tmp)
        if hints:
            img = px.warp(img, f, (512, 512), hints.get("x", []),
                          hints.get("y", []))
        return unique_corner(opaque(px.downsample(img, f)))
    if kind == "own":
        img = px.render_svg(os.path.join(SVG_DIR, name + ".svg"),
                            16 * f, 10 * f, tmp)
    elif kind == "4x3":
        img = px.render_svg(flag_svg(kind, name), 16 * f, 10 * f, tmp)
        if hints:
            img = px.warp(img, f, (640, 480), hints.get("x", []),
                          hints.get("y", []))
    elif kind == "4x3fit":
        width = 10 * f * 4 // 3
        img = px.render_svg(flag_svg(kind, name), width, 10 * f, tmp)
        side = (16 * f - width) // 2
        img = pad_edges(img, side, 16 * f - width - side)
    else:
        raise ValueError(kind)
    cell = Image.new("RGB", (16, 16), BLACK)
    cell.paste(opaque(px.downsample(img, f)), (0, 3))
    return cell


def unique_corner(cell):
    """For the pictures that fill the whole square, the bottom-left pixel
    sets the transparent colour: make it a colour that no other pixel of the
    picture has, so that only that one corner pixel is left out."""
    colours = list(cell.getdata())
    corner = colours.pop(15 * 16)
    others = set(colours)
    step = 0
    candidate = corner
    while candidate in others or candidate == BLACK:
        step += 1
        r, g, b = corner
        candidate = (r, g, (b + step) if b + step <= 255 else (b - step))
    cell.putpixel((0, 15), candidate)
    return cell


def make_flags(tmp):
    pictures = strip.pictures()
    flags = Image.new("RGB", (16 * len(pictures), 16))
    for i, (key, kind, hints) in enumerate(pictures):
        flags.paste(make_flag_cell(kind, key, hints, tmp), (16 * i, 0))
    flags.putalpha(0)  # 32 bpp with the fourth byte 0
    return bmp_bytes(flags)


def make_globe(tmp):
    f = GLOBE_OVERSAMPLE
    img = px.render_svg(os.path.join(SVG_DIR, "globe.svg"), 27 * f, 31 * f,
                        tmp)
    globe = hard_edged(px.downsample(img, f))
    if globe.crop((25, 0, 27, 31)).getbbox():
        raise RuntimeError("globe reaches past column 24")
    return bmp_bytes(globe)


def icon_rgba(svg, size, tmp):
    """size x size RGBA image with straight alpha.
    svg: a file name in svg/ or a full path."""
    f = ICON_OVERSAMPLE
    img = px.render_svg(os.path.join(SVG_DIR, svg), size * f, size * f, tmp)
    return px.downsample(img, f)


def help_variant_svg(tmp, flat):
    """help.svg without the gloss (for 16 x 16, where it only blurs the
    question mark), and with flat=True also with one solid blue for the
    16-colour images (see the comment in the SVG)."""
    with open(os.path.join(SVG_DIR, "help.svg"), encoding="utf-8") as f:
        text = f.read()
    flat, n = re.subn(r'<[a-z]+ class="truecolour-only"[^>]*/>', "", text)
    if not n or "url(#body)" not in flat:
        raise RuntimeError("help.svg lacks the marks for the flat variant")
    if flat:
        flat = flat.replace("url(#body)", HELP_FLAT_BLUE)
    path = os.path.join(tmp, "help-%s.svg" % ("flat" if flat else "plain"))
    with open(path, "w", encoding="utf-8") as f:
        f.write(flat)
    return path


def transparent_mask(img):
    """Pixels under half opacity are transparent (set in the AND mask)."""
    return img.getchannel("A").point(lambda a: 255 if a < 128 else 0, "1")


def flat_palette(colours):
    return [v for c in colours for v in c]


def vga_image(img):
    """4-bit P image: the picture mapped onto navy, blue and white only
    (nearest colour over all 16 turns shaded blue into teal and grey),
    indices into the standard VGA palette; transparent pixels get black
    (index 0), as what the AND mask leaves is XORed with their colour."""
    three = Image.new("P", (1, 1))
    three.putpalette(flat_palette(HELP_VGA_COLOURS))
    sub = img.convert("RGB").quantize(palette=three,
                                      dither=Image.Dither.NONE)
    usable = [VGA16.index(c) for c in HELP_VGA_COLOURS]
    out = sub.point(lambda i: usable[i] if i < len(usable) else 0)
    out.putpalette(flat_palette(VGA16))
    out.paste(0, mask=transparent_mask(img))
    return out


def median_cut_image(img):
    """8-bit P image with a palette made by median cut over the opaque
    pixels: black at index 0 for the transparent pixels, then at most 255
    colours, sorted."""
    solid = [p[:3] for p in img.getdata() if p[3] >= 128]
    row = Image.new("RGB", (len(solid), 1))
    row.putdata(solid)
    # quantize() maps each pixel to its nearest colour here; mapping onto a
    # given palette afterwards would go through Pillow's coarse colour cache
    cut = row.quantize(255, method=Image.Quantize.MEDIANCUT,
                       dither=Image.Dither.NONE)
    flat = cut.getpalette()
    colours = [tuple(flat[i:i + 3]) for i in range(0, len(flat), 3)]
    palette = [BLACK] + sorted(set(colours) - {BLACK})
    index = {c: i for i, c in enumerate(palette)}
    mapped = iter(cut.getdata())
    out = Image.new("P", img.size)
    out.putdata([index[colours[next(mapped)]] if p[3] >= 128 else 0
                 for p in img.getdata()])
    out.putpalette(flat_palette(palette))
    return out


def make_help(tmp):
    renders = {s: icon_rgba("help.svg", s, tmp) for s in (64, 48, 32)}
    renders[16] = icon_rgba(help_variant_svg(tmp, flat=False), 16, tmp)
    flat_svg = help_variant_svg(tmp, flat=True)
    images = []
    for size in (48, 32, 16):
        flat = icon_rgba(flat_svg, size, tmp)
        images.append((size, px.ico_image(vga_image(flat), 4,
                                          transparent_mask(flat))))
    for size in (48, 32, 16):
        images.append((size, px.ico_image(median_cut_image(renders[size]), 8,
                                          transparent_mask(renders[size]))))
    for size in (64, 48, 32, 16):
        images.append((size, px.ico_image(renders[size], 32,
                                          transparent_mask(renders[size]))))
    return px.ico_bytes(images)


def make_corvan(tmp):
    icon = icon_rgba("corvan.svg", 32, tmp)
    return px.ico_bytes([(32, px.ico_image(icon, 32, transparent_mask(icon)))])


def main():
    os.makedirs(OUT_DIR, exist_ok=True)
    tmp = tempfile.mkdtemp(prefix="corvan-pictures-")
    try:
        outputs = [
            ("flags.bmp", make_flags),
            ("corvan.ico", make_corvan),
            ("help.ico", make_help),
            ("globe.bmp", make_globe),
        ]
        for name, make in outputs:
            data = make(tmp)
            path = os.path.join(OUT_DIR, name)
            with open(path, "wb") as f:
                f.write(data)
            print("wrote %s (%d bytes)" % (os.path.relpath(path, ROOT),
                                            len(data)))
    finally:
        shutil.rmtree(tmp, ignore_errors=True)


if __name__ == "__main__":
    main()
