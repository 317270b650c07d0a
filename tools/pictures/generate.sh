#!/bin/sh
# Regenerates every picture in resources/pictures/ from scratch:
#
#     tools/pictures/generate.sh
#
# (run from anywhere; development time only, never part of the build).
# Needs python3 (standard library only) and rsvg-convert (librsvg2-bin); the
# flag SVGs are kept in third_party/flag-icons/flags/.  Outputs are
# byte-for-byte reproducible.  See tools/pictures/README.md.
set -eu
export PYTHONDONTWRITEBYTECODE=1
cd "$(dirname "$0")"

python3 generate.py
python3 check.py
