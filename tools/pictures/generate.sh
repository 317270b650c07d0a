#!/bin/sh
# Regenerates every picture in resources/pictures/ from scratch:
#
#     tools/pictures/generate.sh
#
# (run from anywhere; development time only, never part of the build).
# Needs Debian's python3 with Pillow (python3-pil) and rsvg-convert
# (librsvg2-bin); the flag SVGs are kept in third_party/flag-icons/flags/.
# Outputs are byte-for-byte reproducible.  See tools/pictures/README.md.
set -eu
export PYTHONDONTWRITEBYTECODE=1
cd "$(dirname "$0")"

# Debian's python3, which has Pillow, whatever python3 comes first on the PATH
/usr/bin/python3 generate.py
/usr/bin/python3 check.py
