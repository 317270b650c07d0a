#!/usr/bin/env bash
# Takes the README's screenshots: the window in English, Japanese and Arabic, and the tray menu open; with
# CORVAN_STOCK_WINDOWS set, in the prefix modelled on a stock Windows, the window in Japanese and Thai.
# Runs inside the test sandbox (private display, prefix and network), with xdotool for the clicks:
#   apt-get install xdotool; scripts/sandbox tools/screenshots/take.sh
#   CORVAN_STOCK_WINDOWS=1 scripts/sandbox tools/screenshots/take.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
exe="${CORVAN_WINE_BIN:?run through scripts/sandbox}/corvan.exe"  # the build this host runs
docs="$root/docs"
window=257x426+251+63  # the main window on the virtual desktop, frame included

shot_in() {  # shot_in NAME [KEY]: under an English system language, the language list picked by its first letter
    LC_ALL=en_US.UTF-8 wine "$exe" &
    sleep 4
    if [[ -n ${2:-} ]]; then
        xdotool mousemove 300 95 click 1  # a prompt: the window takes the keyboard, the list keeps the focus
        xdotool key "$2"
        sleep 1
    fi
    import -window root -crop "$window" +repage "$docs/screenshot-$1.png"
    wine cmd /c taskkill /im corvan.exe >/dev/null 2>&1 || true
    wait || true
}

if [[ -n ${CORVAN_STOCK_WINDOWS:-} ]]; then
    shot_in stock-windows-japanese J
    shot_in stock-windows-thai T
    exit 0
fi

shot_in english
shot_in japanese J
shot_in arabic A

# Minimise into the notification area, then press the right button on the icon.
wine "$exe" &
sleep 4
xdotool mousemove 461 75 click 1  # the caption's minimise button
sleep 1
xdotool mousemove 1013 758 mousedown 3  # the icon, at the right end of the taskbar
sleep 1
xdotool mousemove 990 660  # onto the menu, away from the icon's tooltip
sleep 1
import -window root -crop 300x200+724+568 +repage "$docs/screenshot-tray-menu.png"
xdotool key Escape mouseup 3
wine cmd /c taskkill /im corvan.exe >/dev/null 2>&1 || true
wait || true
