"""The language list's pictures in flags.bmp: which picture goes where, and
how each one is drawn.

The order comes from the program's table of languages, src/i18n/languages.inc:
every name in the list (and the prompt) gives its item, which is also its
picture's place in the strip, and the key of its picture, e.g.

    .names = {{"Brazilian", 3, "br"}, {"Portuguese", 28, "pt"}},

A key is the name of an SVG. How it is drawn is given below in RECIPES; a key
without a recipe is flag-icons' 4:3 flag of that name, stretched to 16 x 10.
"""

import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
LANGUAGES = os.path.join(ROOT, "src", "i18n", "languages.inc")

# How a picture of the language list is made:
#   ("4x3", hints)      flag-icons' 4:3 flag stretched to 16 x 10 (the default)
#   ("4x3fit", hints)   4:3 flag fitted to the height, its side edges extended
#                       (keeps round emblems round: Japan, Korea, Brazil)
#   ("1x1", hints)      flag-icons' square flag, filling the whole 16 x 16 cell
#   ("own", hints)      svg/KEY.svg, 16 x 10
#   ("own-square", hints)  svg/KEY.svg filling the whole 16 x 16 cell
#   ("emblem", None)    svg/KEY.svg, a 16 x 16 shape on pure black
# The hints are pixel-grid hints or None (see pixels.warp): stripe and cross
# edges, in the SVG's own units (flag-icons: 640 x 480 for 4x3, 512 x 512 for
# 1x1), and the pixel edge each one must land on, so that stripes and crosses
# come out crisp instead of blurred across two pixels.
H3 = {"y": [(160, 3), (320, 7)]}           # three horizontal bands: 3-4-3
V3 = {"x": [(213.3, 5), (426.7, 11)]}      # three vertical bands: 5-6-5
NORDIC_FIMBRIATED = {"x": [(180, 4), (210, 5), (270, 7), (300, 8)],
                     "y": [(180, 3), (210, 4), (270, 6), (300, 7)]}
RECIPES = {
    "star": ("emblem", None),                              # gold star
    "valencia": ("own-square", None),                      # Valencian Comm.
    "br": ("4x3fit", None),                                # Brazil
    "bg": ("4x3", H3),                                     # Bulgaria
    "hr": ("1x1", {"y": [(170.7, 5), (341.3, 11)]}),       # Croatia
    "dk": ("4x3", {"x": [(205.7, 5), (274.3, 7)],
                   "y": [(205.7, 4), (274.3, 6)]}),        # Denmark
    "de": ("4x3", H3),                                     # Germany
    "nl": ("4x3", H3),                                     # Netherlands
    "gb": ("4x3", {"x": [(241, 6), (273, 7), (369, 9), (401, 10)],
                   "y": [(160, 3), (193, 4), (289, 6), (320, 7)]}),
    #                                                        United Kingdom
    "esperanto": ("own", None),                            # Esperanto
    "es-pv": ("4x3", {"x": [(288.1, 7), (351.9, 9)],
                      "y": [(208.1, 4), (271.9, 6)]}),     # Basque Country
    "fi": ("4x3", {"x": [(175.5, 5), (306.4, 7)],
                   "y": [(174.5, 4), (305.5, 6)]}),        # Finland
    "fr": ("4x3", V3),                                     # France
    "gr": ("4x3", {"x": [(106.7, 2), (160, 3), (266.7, 5)],
                   "y": [(53.3 * k, k) for k in range(1, 9)]}),
    #                                                        Greece
    "hu": ("4x3", H3),                                     # Hungary
    "is": ("4x3", {"x": [(186.7, 4), (213.3, 5), (266.7, 7), (293.3, 8)],
                   "y": [(186.7, 3), (213.3, 4), (266.7, 6), (293.3, 7)]}),
    #                                                        Iceland
    "shamrock": ("emblem", None),                          # shamrock
    "it": ("4x3", V3),                                     # Italy
    "jp": ("4x3fit", None),                                # Japan
    "kr": ("4x3fit", None),                                # South Korea
    "no": ("4x3", NORDIC_FIMBRIATED),                      # Norway
    "pt": ("4x3", {"x": [(256, 6)]}),                      # Portugal
    "ro": ("4x3", V3),                                     # Romania
    "ru": ("4x3", H3),                                     # Russia
    "rs": ("4x3", H3),                                     # Serbia
    "si": ("4x3", H3),                                     # Slovenia
    "es": ("4x3", {"y": [(120, 2), (360, 8)]}),            # Spain
    "ar": ("4x3", H3),                                     # Argentina
    "se": ("4x3", {"x": [(176, 5), (272, 7)],
                   "y": [(192, 4), (288, 6)]}),            # Sweden
    "th": ("4x3", {"y": [(82.5, 2), (162.5, 3), (322.5, 7),
                         (400, 8)]}),                      # Thailand
    "gb-wls": ("1x1", None),                               # Wales
}

# A list name as languages.inc writes it: {"text", item, "picture key"}
LIST_NAME = re.compile(
    r'\{\s*"((?:[^"\\]|\\.)*)"\s*,\s*(\d+)\s*,\s*"([^"]+)"\s*\}')


def keys():
    """The picture keys of the list's items, item 0 (the prompt) first."""
    with open(LANGUAGES, encoding="utf-8") as f:
        text = re.sub(r"//[^\n]*", "", f.read())
    by_item = {}
    for name, item, key in LIST_NAME.findall(text):
        if int(item) in by_item:
            sys.exit("%s: item %s twice" % (LANGUAGES, item))
        by_item[int(item)] = key
    if sorted(by_item) != list(range(len(by_item))):
        sys.exit("%s: the items are not 0 to %d"
                 % (LANGUAGES, len(by_item) - 1))
    return [by_item[item] for item in range(len(by_item))]


def pictures():
    """(key, kind, hints) of each picture of the strip, in item order."""
    return [(key,) + RECIPES.get(key, ("4x3", None)) for key in keys()]
