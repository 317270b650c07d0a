#!/usr/bin/env bash
# scripts/corvan setup against a stand-in apt: each row is a mirror's state, what setup must print and how
# it must end. The stand-ins record every apt-get call.
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
bin=$(mktemp -d)
trap 'rm -rf "$bin"' EXIT

# dpkg knows no package yet; the machine is amd64 with i386 added.
printf '#!/bin/sh\nexit 1\n' > "$bin/dpkg-query"
printf '#!/bin/sh\ncase "$1" in --print-foreign-architectures) echo i386 ;; --print-architecture) echo amd64 ;; esac\n' > "$bin/dpkg"
printf '#!/bin/sh\necho 0\n' > "$bin/id"
# apt-get: MIRROR=in-step|out-of-step; SOLVABLE=always|pinned|never: when the install finds a solution.
cat > "$bin/apt-get" <<'APT'
#!/usr/bin/env bash
echo "apt-get $*" >> "$CALLS"
if [[ $* == *update* ]]; then
    [[ $MIRROR == in-step ]] && exit 0
    echo "E: Failed to fetch http://deb.example/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?"
    echo "   Hashes of expected file:"
    echo "E: Some index files failed to download. They have been ignored, or old ones used instead."
    exit 100
fi
preferences=$(printf '%s\n' "$@" | sed -n 's/^Dir::Etc::Preferences=//p')
pinned=0
[[ -n $preferences ]] && grep -qx 'Pin: release n=bookworm-security' "$preferences" && pinned=1
case $SOLVABLE in always) exit 0 ;; pinned) [[ $pinned == 1 ]] && exit 0 ;; esac
echo "E: Unable to correct problems, you have held broken packages."
exit 100
APT
chmod +x "$bin"/*

failures=0
# mirror, solvable: expected exit status, a line setup must print, the number of real (not simulated) installs
rows=(
    "in-step     always  0 ''                                                             1"
    "out-of-step always  0 ''                                                             1"
    "out-of-step pinned  0 'index of bookworm-security is out of step'                    1"
    "out-of-step never   1 'setup failed: apt-get install, even without the out-of-step'   1"
    "in-step     never   1 'setup failed: apt-get install'                                1"
)
for row in "${rows[@]}"; do
    eval "set -- $row"
    calls=$(mktemp)
    output=$(PATH="$bin:$PATH" CALLS=$calls MIRROR=$1 SOLVABLE=$2 "$root/scripts/corvan" setup 2>&1)
    status=$?
    installs=$(grep -c ' install ' "$calls" | tr -d ' ')
    simulated=$(grep -c -- '--simulate' "$calls" | tr -d ' ')
    real=$((installs - simulated))
    problems=""
    [[ $status == "$3" ]] || problems+=" exit status $status, not $3;"
    [[ -z $4 || $output == *"$4"* ]] || problems+=" no line '$4';"
    [[ $real == "$5" ]] || problems+=" $real installs, not $5;"
    # A pin is set only where the plain install found no solution and an index was out of step.
    if [[ $1/$2 == out-of-step/pinned || $1/$2 == out-of-step/never ]]; then
        grep -q 'Dir::Etc::Preferences' "$calls" || problems+=" no pin;"
    else
        ! grep -q 'Dir::Etc::Preferences' "$calls" || problems+=" a pin where none was needed;"
    fi
    if [[ -n $problems ]]; then
        echo "FAILED mirror $1, install solvable $2:$problems"
        echo "$output" | sed 's/^/    /'
        failures=$((failures + 1))
    else
        echo "ok     mirror $1, install solvable $2"
    fi
    rm -f "$calls"
done
exit $((failures > 0))
