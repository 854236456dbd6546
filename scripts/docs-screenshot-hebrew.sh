#!/usr/bin/env bash
# Makes the README's picture of the Hebrew interface: the reader started under Xvfb with the
# settings of docs/screenshot.png and the language stored as Hebrew, its first menu opened
# with the mouse, the screen grabbed. Needs, besides the build: xvfb, xdotool, imagemagick.
# Usage: scripts/docs-screenshot-hebrew.sh SOLMAR OUT.png
set -euo pipefail
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1400x1000x24" "$0" "$@"
fi
solmar=$1 out=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/config/Orvanel" && mkdir -m 700 "$scratch/runtime"
printf '[General]\nFontName=sz:Frank Ruehl CLM\nFontSize=dword:%08x\nWindowGeometry="sz:0,0,600,760,0"\nLanguage=sz:he\n' 19 \
  >"$scratch/config/Orvanel/Solmar.conf"
export XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch/runtime" QT_QPA_PLATFORM=xcb
"$solmar" &
reader=$!
sleep 3
# The first menu of the bar, at the window's right.
xdotool mousemove 580 10 click 1
sleep 1
xdotool mousemove 470 150
sleep 0.5
import -window root -crop 600x760+0+0 +repage "$out"
xdotool key Escape
"$solmar" --quit || kill "$reader"
wait "$reader" || true
