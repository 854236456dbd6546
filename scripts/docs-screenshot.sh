#!/usr/bin/env bash
# Makes the README's screenshots: the reader started under Xvfb with the settings they were
# taken with (Frank Ruehl CLM, font size 19, the window restored to 600 x 760 at the
# screen's top left, first page), its window grabbed from the screen. Needs, besides the
# build: xvfb, x11-apps (xwd) and netpbm.
# Usage: scripts/docs-screenshot.sh SOLMAR SCALE OUT.png [SCHEME]   e.g. SCALE 1 or 2,
# SCHEME light or dark (the ColorScheme setting; without it the desktop's, light on Xvfb)
set -euo pipefail
solmar=$1 scale=$2 out=$3 scheme=${4:-}
if [ -z "${DISPLAY:-}" ]; then
  # Room for a 600 x 760 window at any scale up to 2.5.
  exec xvfb-run -a -s "-screen 0 1400x2100x24" "$0" "$@"
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/config/Orvanel" && mkdir -m 700 "$scratch/runtime"
printf '[General]\nFontName=sz:Frank Ruehl CLM\nFontSize=dword:%08x\nWindowGeometry="sz:0,0,600,760,0"\n' 19 \
  >"$scratch/config/Orvanel/Solmar.conf"
if [ -n "$scheme" ]; then printf 'ColorScheme=sz:%s\n' "$scheme" >>"$scratch/config/Orvanel/Solmar.conf"; fi
export XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch/runtime" QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR="$scale"
"$solmar" &
reader=$!
sleep 3
# Without a window manager the window sits at the screen's top left, frameless.
size=$(awk -v s="$scale" 'BEGIN { printf "%d %d", 600 * s + 0.5, 760 * s + 0.5 }')
xwd -root -silent | xwdtopnm 2>/dev/null | pnmcut -left 0 -top 0 -width "${size% *}" -height "${size#* }" | pnmtopng >"$out"
"$solmar" --quit || kill "$reader"
wait "$reader" || true
