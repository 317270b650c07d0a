#!/bin/sh
# Regenerates every picture in resources/pictures/ from scratch:
#
#     tools/pictures/generate.sh
#
# (run from anywhere; development time only, never part of the build).
# Needs python3 (standard library only), rsvg-convert (librsvg2-bin), and
# node/npm to install the pinned flag-icons package from package-lock.json
# into tools/pictures/node_modules (ignored by git).  Outputs are
# byte-for-byte reproducible.  See tools/pictures/README.md.
set -eu
export PYTHONDONTWRITEBYTECODE=1
cd "$(dirname "$0")"

want=$(node -p 'require("./package-lock.json").packages["node_modules/flag-icons"].version')
have=$(node -p 'try { require("./node_modules/flag-icons/package.json").version } catch (e) { "" }')
if [ "$want" != "$have" ]; then
    npm ci --no-audit --no-fund
fi

python3 generate.py
python3 check.py
