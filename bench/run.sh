#!/usr/bin/env bash
# The benchmark: start-up of corvan.exe against a bare one-window program built with the same compiler
# and flags, with the breakdown of corvan.exe's start-up phase by phase; their private memory;
# corvan.exe's size; and one editor action against the stand-in client's own start. Run it through
# `scripts/corvan bench`, which gives it a private display and prefix with a running wineserver, so that
# Wine's own start-up is not what is measured.
set -euo pipefail
bin="${1:?the folder of the programs to measure}"
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
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
# The shipped programs give the totals and the memory; their builds with phase marks, started in the
# same rounds, give the breakdown: its times, and in runs of their own its memory.
wine probe.exe startup "$runs" corvan.exe TForm1 bare_window.exe BareWindow \
    corvan_phases.exe TForm1 bare_window_phases.exe BareWindow \
    memory corvan_phases.exe TForm1 memory bare_window_phases.exe BareWindow > "$out/startup"
wine probe.exe action corvan.exe "$runs" > "$out/action"
load_after=$(cut -d' ' -f1-3 /proc/loadavg)
wine cmd /c taskkill /f /im msnmsgr.exe >/dev/null 2>&1 || true
read -r action_ms standin_ms stop_ms < <(tr -d '\r' < "$out/action")

size=$(stat -c %s corvan.exe)
tr -d '\r' < "$out/startup" | awk -F'\t' -v s="$size" -v n="$runs" -v cpus="$(nproc)" \
    -v before="$load_before" -v after="$load_after" \
    -v a="$action_ms" -v sa="$standin_ms" -v st="$stop_ms" '
$1 == "total" { ms[$2] = $3; bytes[$2] = $4 }
$1 == "phase" { count[$2]++; name[$2, count[$2]] = $6; phase[$2, $6] = $3; end[$2, $6] = $4; added[$2, $6] = $5 }
END {
    printf "median of %d runs, the programs started in turn, wineserver kept running\n", n
    printf "load average %s before, %s after, on %d cores\n", before, after, cpus
    c = ms["corvan.exe"]; b = ms["bare_window.exe"]
    printf "start-up to visible window: corvan.exe %.1f ms, bare window %.1f ms, ratio %.2f\n", c, b, c / b
    cb = bytes["corvan.exe"]; bb = bytes["bare_window.exe"]
    printf "private memory after start: corvan.exe %.0f KiB, bare window %.0f KiB, ratio %.2f\n", cb / 1024, bb / 1024, cb / bb
    printf "corvan.exe size: %d bytes (%.0f KiB)\n", s, s / 1024
    p = "corvan_phases.exe"; q = "bare_window_phases.exe"
    printf "start-up phases of corvan.exe, from its build with marks (median of each over the runs, in ms):\n"
    printf "  %-40s %7s %7s %7s   %7s %7s %7s\n", "phase", "corvan", "ends at", "KiB", "bare", "ends at", "KiB"
    sum = 0
    for (i = 1; i <= count[p]; i++) {
        k = name[p, i]
        bare = ((q, k) in phase) ? sprintf("%7.1f %7.1f %7.0f", phase[q, k], end[q, k], added["memory:" q, k] / 1024) : ""
        printf "  %-40s %7.1f %7.1f %7.0f   %s\n", k, phase[p, k], end[p, k], added["memory:" p, k] / 1024, bare
        sum += phase[p, k]
    }
    for (i = 1; i <= count[q]; i++) {
        k = name[q, i]
        if (!((p, k) in phase))
            printf "  %-40s %7s %7s %7s   %7.1f %7.1f %7.0f\n", "(bare only) " k, "", "", "", phase[q, k], end[q, k], added["memory:" q, k] / 1024
    }
    printf "  %-40s %7.1f\n", "sum of the phases", sum
    printf "  %-40s %7s %7.1f %7s   %7s %7.1f\n", "window seen visible (inside ShowWindow)", "", ms[p], "", "", ms[q]
    printf "  (KiB: the private memory each phase added, from runs of their own; the first row: all at WinMain)\n"
    printf "factory button to restarted client: %.1f ms, stand-in bare start %.1f ms, ratio %.2f\n", a, sa, a / sa
    printf "  (a stopped stand-in takes %.1f ms to end; the action waits for that before starting the client)\n", st
}'
rm -rf "$out"
