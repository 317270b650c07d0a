#!/usr/bin/env bash
# The benchmark: start-up of corvan.exe against a bare one-window program built with the same compiler
# and flags, their private memory, corvan.exe's size, and one editor action against the stand-in
# client's own start. Run it through `scripts/corvan bench`, which gives it a private display and prefix
# with a running wineserver, so that Wine's own start-up is not what is measured.
set -euo pipefail
bin="$(cd "$(dirname "$0")/.." && pwd)/build/windows/bin"
runs=${CORVAN_BENCH_RUNS:-15}

cd "$bin"
# The stand-in client where the program starts it, and its key.
programs=$(wine cmd /c echo "%ProgramFiles(x86)%" 2>/dev/null | tr -d '\r')
[[ $programs == *ProgramFiles* || -z $programs ]] && programs='C:\Program Files'
folder=$(winepath -u "$programs\\MSN Messenger" 2>/dev/null)
mkdir -p "$folder"
cp msnmsgr.exe "$folder/"
wine reg add 'HKCU\Software\Microsoft\MSNMessenger' /f >/dev/null 2>&1
export CORVAN_STANDIN_LOG='C:\bench-standin.log'
export WINEDEBUG=-all

# Results go through files: a restarted client would hold a pipe open.
out=$(mktemp -d)
wine probe.exe startup corvan.exe TForm1 "$runs" > "$out/corvan"
wine probe.exe startup bare_window.exe BareWindow "$runs" > "$out/bare"
wine probe.exe action corvan.exe "$runs" > "$out/action"
wine cmd /c taskkill /f /im msnmsgr.exe >/dev/null 2>&1 || true
read -r corvan_ms corvan_bytes < <(tr -d '\r' < "$out/corvan")
read -r bare_ms bare_bytes < <(tr -d '\r' < "$out/bare")
read -r action_ms standin_ms stop_ms < <(tr -d '\r' < "$out/action")
rm -rf "$out"

size=$(stat -c %s corvan.exe)
awk -v c="$corvan_ms" -v b="$bare_ms" -v cb="$corvan_bytes" -v bb="$bare_bytes" -v s="$size" \
    -v a="$action_ms" -v sa="$standin_ms" -v st="$stop_ms" -v n="$runs" 'BEGIN {
    printf "median of %d runs, wineserver kept running\n", n
    printf "start-up to visible window: corvan.exe %.1f ms, bare window %.1f ms, ratio %.2f\n", c, b, c / b
    printf "private memory after start: corvan.exe %.0f KiB, bare window %.0f KiB, ratio %.2f\n", cb / 1024, bb / 1024, cb / bb
    printf "corvan.exe size: %d bytes (%.0f KiB)\n", s, s / 1024
    printf "factory button to restarted client: %.1f ms, stand-in bare start %.1f ms, ratio %.2f\n", a, sa, a / sa
    printf "  (a stopped stand-in takes %.1f ms to end; the action waits for that before starting the client)\n", st
}'
