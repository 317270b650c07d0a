#!/usr/bin/python3
"""Makes the face that stands in for "Arial Unicode MS" in the project's Wine prefixes, and the one that
stands in for Windows' own Tahoma in the prefix modelled on a stock Windows.

The window draws every language in "Arial Unicode MS", which Debian does not have. Wine shapes Thai
and Arabic text with the selected face alone (no font linking for those scripts), so that face must
hold Latin, Greek, Cyrillic, Arabic and Thai itself; the CJK and Hangul glyphs come from
WenQuanYi Micro Hei through a FontLink entry (scripts/prefix.reg). No Debian sans-serif font holds
both Arabic and Thai, so this tool joins DejaVu Sans (Latin, Greek, Cyrillic, Arabic) and Loma
(Thai) into one family, "Corvan Sans", regular and bold. Windows' Tahoma holds the same scripts, so
the same join, named "Tahoma", stands in for it where Wine's own Tahoma (without Greek and Thai) would
not. The result stays in the build's Wine prefixes and is never committed.

    /usr/bin/python3 tools/fonts/make_window_font.py OUTPUT_FOLDER [FAMILY]

FAMILY is "Corvan Sans" unless given; the files are named after it (corvan-sans.ttf, corvan-sans-bold.ttf).

Needs Debian's python3-fonttools, fonts-dejavu-core and fonts-tlwg-loma-ttf.
"""

import os
import sys
import tempfile

from fontTools import subset
from fontTools.merge import Merger
from fontTools.ttLib import TTFont

DEFAULT_FAMILY = "Corvan Sans"
DEJAVU = "/usr/share/fonts/truetype/dejavu"
TLWG = "/usr/share/fonts/truetype/tlwg"
STYLES = [
    # (style, base font, Thai font, ending of the output file's name)
    ("Regular", f"{DEJAVU}/DejaVuSans.ttf", f"{TLWG}/Loma.ttf", ".ttf"),
    ("Bold", f"{DEJAVU}/DejaVuSans-Bold.ttf", f"{TLWG}/Loma-Bold.ttf", "-bold.ttf"),
]


def without_hinting(path, out):
    """Every glyph and layout feature of a font, without its hinting programs: the two fonts' programs
    cannot be joined, and FreeType draws unhinted outlines well."""
    options = subset.Options()
    options.hinting = False
    options.layout_features = ["*"]
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.notdef_outline = True
    options.glyph_names = True
    options.legacy_kern = False  # DejaVu's GPOS holds the same kerning
    options.drop_tables += ["MATH", "FFTM", "gasp"]
    font = subset.load_font(path, options)
    subsetter = subset.Subsetter(options)
    subsetter.populate(glyphs=font.getGlyphOrder(), unicodes=font.getBestCmap().keys())
    subsetter.subset(font)
    # The merger takes no required features: make each an ordinary feature of its language system.
    for tag in ("GSUB", "GPOS"):
        if tag not in font:
            continue
        for record in font[tag].table.ScriptList.ScriptRecord:
            systems = [record.Script.DefaultLangSys] + [r.LangSys for r in record.Script.LangSysRecord]
            for system in filter(None, systems):
                if system.ReqFeatureIndex != 0xFFFF:
                    if system.ReqFeatureIndex not in system.FeatureIndex:
                        system.FeatureIndex.append(system.ReqFeatureIndex)
                        system.FeatureCount = len(system.FeatureIndex)
                    system.ReqFeatureIndex = 0xFFFF
    subset.save_font(font, out, options)


def make(family, style, base, thai, out):
    with tempfile.TemporaryDirectory() as scratch:
        parts = [os.path.join(scratch, "base.ttf"), os.path.join(scratch, "thai.ttf")]
        without_hinting(base, parts[0])
        without_hinting(thai, parts[1])
        font = Merger().merge(parts)
    # Line height as DejaVu Sans has it, so that Latin text sits where it did before the join.
    original = TTFont(base)
    for table, fields in (("hhea", ("ascent", "descent", "lineGap")),
                          ("OS/2", ("usWinAscent", "usWinDescent", "sTypoAscender", "sTypoDescender", "sTypoLineGap"))):
        for field in fields:
            setattr(font[table], field, getattr(original[table], field))
    names = font["name"]
    names.names = [n for n in names.names if n.nameID not in (1, 2, 3, 4, 6, 16, 17)]
    full = family if style == "Regular" else f"{family} {style}"
    for name_id, text in ((1, family), (2, style), (3, f"{family} {style}"), (4, full),
                          (6, f"{family.replace(' ', '')}-{style}")):
        names.setName(text, name_id, 3, 1, 0x409)
        names.setName(text, name_id, 1, 0, 0)
    font.save(out)


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    family = sys.argv[2] if len(sys.argv) == 3 else DEFAULT_FAMILY
    for style, base, thai, ending in STYLES:
        make(family, style, base, thai, os.path.join(sys.argv[1], family.lower().replace(" ", "-") + ending))


if __name__ == "__main__":
    main()
