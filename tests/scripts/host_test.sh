#!/usr/bin/env bash
# Which Windows builds scripts/corvan takes on this host: each row is a value of CORVAN_HOST_RUNS_I386 and
# whether the host then counts as one that runs 32-bit x86 code. Setup must install 32-bit Wine (and add
# the i386 architecture) exactly there, and `scripts/corvan host` must name the passes left out elsewhere.
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
bin=$(mktemp -d)
trap 'rm -rf "$bin"' EXIT

# dpkg knows no package and no foreign architecture yet; the stand-ins record every call.
printf '#!/bin/sh\nexit 1\n' > "$bin/dpkg-query"
printf '#!/bin/sh\necho "dpkg $*" >> "$CALLS"\n[ "$1" = --print-architecture ] && echo amd64\nexit 0\n' > "$bin/dpkg"
printf '#!/bin/sh\necho 0\n' > "$bin/id"
printf '#!/bin/sh\necho "apt-get $*" >> "$CALLS"\nexit 0\n' > "$bin/apt-get"
chmod +x "$bin"/*

# Without the variable the script tries an i386 program; the host's own i386 loader says what to expect.
if [[ -e /lib/ld-linux.so.2 ]]; then
    if /lib/ld-linux.so.2 --version >/dev/null 2>&1; then probed=1; else probed=0; fi
else
    probed=""
fi

failures=0
# CORVAN_HOST_RUNS_I386 ("-": unset), whether the host counts as running 32-bit code
rows=("0 0" "1 1" "- $probed")
for row in "${rows[@]}"; do
    read -r setting expected <<<"$row"
    if [[ -z $expected ]]; then
        echo "skip   unset: no /lib/ld-linux.so.2 here to tell whether this host runs i386 code"
        continue
    fi
    calls=$(mktemp)
    environment=(PATH="$bin:$PATH" CALLS="$calls")
    [[ $setting == - ]] || environment+=(CORVAN_HOST_RUNS_I386="$setting")
    env -u CORVAN_HOST_RUNS_I386 "${environment[@]}" "$root/scripts/corvan" setup >/dev/null 2>&1
    line=$(env -u CORVAN_HOST_RUNS_I386 "${environment[@]}" "$root/scripts/corvan" host 2>&1)
    problems=""
    installed_wine32=0
    grep -q '^apt-get install .* wine32:i386\( \|$\)' "$calls" && installed_wine32=1
    added_i386=0
    grep -qx 'dpkg --add-architecture i386' "$calls" && added_i386=1
    [[ $installed_wine32 == "$expected" ]] || problems+=" wine32:i386 installed: $installed_wine32;"
    [[ $added_i386 == "$expected" ]] || problems+=" i386 architecture added: $added_i386;"
    grep -q '^apt-get install .* g++-mingw-w64-x86-64-posix' "$calls" || problems+=" no x86_64 compiler;"
    if [[ $expected == 1 ]]; then
        [[ $line == *"on the i686 build"*"once more on the x86_64 build"* ]] || problems+=" says: $line;"
    else
        [[ $line == *"on the x86_64 build in a 64-bit prefix; left out: the passes on the i686 build"* ]] || problems+=" says: $line;"
    fi
    if [[ -n $problems ]]; then
        echo "FAILED CORVAN_HOST_RUNS_I386=$setting:$problems"
        failures=$((failures + 1))
    else
        echo "ok     CORVAN_HOST_RUNS_I386=$setting: runs i386 code: $expected"
    fi
    rm -f "$calls"
done
exit $((failures > 0))
