# Wine on this host, for scripts/corvan and scripts/sandbox (sourced by both): which Windows build it
# runs, its loader, and the cached prefixes that every prefix of the project is copied from.
#
# Where the host executes 32-bit x86 code, Wine runs the shipped i686 build and the x86_64 build alike;
# where it does not, only the x86_64 build, in a prefix of 64-bit Wine alone. CORVAN_HOST_RUNS_I386=0
# takes the 64-bit-only path on any host (1 takes the other one).

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cache="$root/build/cache"
mkdir -p "$cache"
export WINEDEBUG=-all
# Wine turns file names into the locale's character set: without a UTF-8 locale (a fresh machine has no
# LANG) a name such as "café.exe" cannot be made in the prefix.
[[ $(locale charmap 2>/dev/null) == UTF-8 ]] || export LC_ALL=C.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml="

say() { printf '\033[1m== %s\033[0m\n' "$*"; }

# Whether this host executes 32-bit x86 code, found out by trying it: a 91-byte i386 Linux program that only
# exits with status 0 (an ELF header, one loadable segment, and xor ebx,ebx; xor eax,eax; inc eax; int 0x80).
# A kernel without IA-32 emulation refuses it with "Exec format error". It is written into the project's own
# folder, since /tmp may forbid execution.
host_runs_i386() {
    case ${CORVAN_HOST_RUNS_I386:-} in 0) return 1 ;; 1) return 0 ;; esac
    local probe="$cache/i386-probe.$$" status=0
    {
        printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08'
        printf '\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00'
        printf '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5b\x00\x00\x00\x5b\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00'
        printf '\x31\xdb\x31\xc0\x40\xcd\x80'
    } > "$probe"
    chmod +x "$probe"
    "$probe" 2>/dev/null || status=$?
    rm -f "$probe"
    return $status
}
if host_runs_i386; then runs_i386=1; else runs_i386=0; fi

# The Windows build that Wine runs here (the tests' build folder holds its corvan.exe and the stand-ins),
# and the template its prefixes are copied from.
if [[ $runs_i386 == 1 ]]; then
    wine_build=i686
    prefix_template="$cache/prefix-template"
else
    wine_build=x86_64
    prefix_template="$cache/prefix-template-64"
fi
export CORVAN_WINE_BIN="$root/build/tests-$wine_build/bin"

# One line on what this host runs, and so which Windows test passes run on which build.
describe_host() {
    if [[ $runs_i386 == 1 ]]; then
        echo "This host runs 32-bit x86 code: the Windows tests run on the i686 build (Windows 10, XP and stock-Windows passes), and their Windows 10 pass once more on the x86_64 build."
    elif [[ ${CORVAN_HOST_RUNS_I386:-} == 0 ]]; then
        echo "CORVAN_HOST_RUNS_I386=0: every Windows test pass runs on the x86_64 build in a 64-bit prefix; left out: the passes on the i686 build, by request."
    else
        echo "This host runs no 32-bit x86 code: every Windows test pass runs on the x86_64 build in a 64-bit prefix; left out: the passes on the i686 build, which 32-bit Wine cannot start here."
    fi
}

# Debian's `wine` takes the 32-bit loader whenever one is installed, even where it cannot start. On the
# 64-bit-only path a `wine` of the project's own, first on the PATH, is the 64-bit loader.
use_wine() {
    [[ $runs_i386 == 0 ]] || return 0
    local loader shims="$cache/wine64-only" name
    for loader in /usr/lib/wine/wine64 "$(command -v wine64 || true)"; do
        [[ -x $loader ]] && break
    done
    [[ -x $loader ]] || { echo "No 64-bit Wine loader (/usr/lib/wine/wine64): run 'scripts/corvan setup'." >&2; exit 1; }
    mkdir -p "$shims"
    for name in wine wine-stable; do
        printf '#!/bin/sh\nexec %s "$@"\n' "$loader" > "$shims/$name.new"
        chmod +x "$shims/$name.new"
        mv "$shims/$name.new" "$shims/$name"
    done
    [[ :$PATH: == *":$shims:"* ]] || export PATH="$shims:$PATH"
    export WINELOADER=$loader
}

wine_pid=""
stop_all() {
    [[ -n ${WINEPREFIX:-} && -d ${WINEPREFIX:-/nonexistent} ]] && wineserver -k >/dev/null 2>&1 || true
    [[ -n $wine_pid ]] && kill "$wine_pid" 2>/dev/null || true
    return 0
}

# The prefix every other one is copied from: booted once, with Wine's own fonts where Wine looks for them
# and the window's face (tools/fonts) beside them. The stamp covers everything that goes into it.
template_prefix() {
    local template=$prefix_template
    local stamp
    stamp="$(wine --version) $(cat "$root/scripts/prefix.reg" "$root/tools/fonts/make_window_font.py" <(declare -f template_prefix) | sha1sum | cut -c1-12)"
    if [[ -f $template/.corvan-stamp && $(cat "$template/.corvan-stamp") == "$stamp" ]]; then
        echo "$template"
        return
    fi
    say "creating the template Wine prefix (once)" >&2
    rm -rf "$template" "$template.new"
    mkdir -p "$template.new"
    (
        export WINEPREFIX="$template.new"
        wineboot -i >/dev/null 2>&1
        cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
        # Debian's python3, which has fontTools, whatever python3 comes first on the PATH.
        /usr/bin/python3 "$root/tools/fonts/make_window_font.py" "$WINEPREFIX/drive_c/windows/Fonts" >&2
        wine regedit /S "$(winepath -w "$root/scripts/prefix.reg" 2>/dev/null)" >/dev/null 2>&1
        # 64-bit Wine alone cannot run the 32-bit half of its set-up, which gives 32-bit programs their
        # folders: set them as 64-bit Windows has them, where the client's path is looked up.
        if [[ $runs_i386 == 0 ]]; then
            wine reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion' /v ProgramFilesDir /d 'C:\Program Files (x86)' /reg:32 /f >/dev/null 2>&1
            wine reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion' /v CommonFilesDir /d 'C:\Program Files (x86)\Common Files' /reg:32 /f >/dev/null 2>&1
        fi
        wineserver -w
    )
    echo "$stamp" > "$template.new/.corvan-stamp"
    mv "$template.new" "$template"
    echo "$template"
}

# The prefix modelled on a stock Windows, made from the template: nothing stands in for "Arial Unicode MS",
# and a Tahoma made from Debian's fonts, linked as Windows links it (scripts/stock-windows.reg).
stock_windows_template() {
    local template stock="$prefix_template-stock-windows" stamp
    template=$(template_prefix)
    stamp="$(cat "$template/.corvan-stamp") $(cat "$root/scripts/stock-windows.reg" <(declare -f stock_windows_template) | sha1sum | cut -c1-12)"
    if [[ -f $stock/.corvan-stamp && $(cat "$stock/.corvan-stamp") == "$stamp" ]]; then
        echo "$stock"
        return
    fi
    say "creating the prefix modelled on a stock Windows (once)" >&2
    rm -rf "$stock" "$stock.new"
    cp -a "$template" "$stock.new"
    (
        export WINEPREFIX="$stock.new"
        rm -f "$WINEPREFIX"/drive_c/windows/Fonts/{corvan-sans,tahoma}*.ttf
        /usr/bin/python3 "$root/tools/fonts/make_window_font.py" "$WINEPREFIX/drive_c/windows/Fonts" Tahoma >&2
        wine regedit /S "$(winepath -w "$root/scripts/stock-windows.reg" 2>/dev/null)" >/dev/null 2>&1
        wineserver -w
    )
    echo "$stamp" > "$stock.new/.corvan-stamp"
    mv "$stock.new" "$stock"
    echo "$stock"
}

# fresh_prefix DIR: a copy of the template at DIR; with CORVAN_STOCK_WINDOWS set, of the one modelled on a
# stock Windows.
fresh_prefix() {
    local template
    if [[ -n ${CORVAN_STOCK_WINDOWS:-} ]]; then template=$(stock_windows_template); else template=$(template_prefix); fi
    rm -rf "$1"
    cp -a "$template" "$1"
}

# A private X display for this shell and what it starts, until it exits: the first free display number.
start_private_display() {
    local number=99
    while [[ -e /tmp/.X$number-lock || -e /tmp/.X11-unix/X$number ]]; do number=$((number + 1)); done
    Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$number"
    local tries
    for tries in $(seq 100); do
        [[ -e /tmp/.X11-unix/X$number ]] && return 0
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.1
    done
    echo "Xvfb did not start on display $DISPLAY" >&2
    exit 1
}
