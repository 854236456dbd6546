#!/bin/sh
# Start-up figures of the real program (not a test; run by hand):
#   time from process start to the first painted frame, median of RUNS starts, as the
#   program reports it with SOLMAR_REPORT_FIRST_PAINT=1 (clock: the process start time of
#   /proc/self/stat, 10 ms ticks, against CLOCK_BOOTTIME), and the peak resident memory of
#   one start that quits after a second (GNU time's "Maximum resident set size").
# Usage: measure_startup.sh SOLMAR [RUNS]     (QT_QPA_PLATFORM decides the platform;
#        for X11: xvfb-run -a measure_startup.sh SOLMAR, with QT_QPA_PLATFORM=xcb)
set -eu
solmar=$1
runs=${2:-21}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/run"
export XDG_CONFIG_HOME="$work/config" TMPDIR="$work/run" XDG_RUNTIME_DIR="$work/run"
: "${QT_QPA_PLATFORM:=offscreen}"
export QT_QPA_PLATFORM

i=0
while [ "$i" -lt "$runs" ]; do
  SOLMAR_REPORT_FIRST_PAINT=1 "$solmar" 2>"$work/err" &
  pid=$!
  n=0
  until grep -q "first frame painted" "$work/err" 2>/dev/null || [ "$n" -ge 200 ]; do sleep 0.02; n=$((n + 1)); done
  kill -TERM "$pid"
  wait "$pid" || true
  sed -n 's/.*painted \([0-9.]*\) ms.*/\1/p' "$work/err" >>"$work/ms"
  i=$((i + 1))
done
sort -n "$work/ms" | awk '{ a[NR] = $1 } END {
  printf "first frame: median %.1f ms, min %.1f ms, max %.1f ms over %d starts\n", a[int((NR + 1) / 2)], a[1], a[NR], NR }'

( sleep 1; "$solmar" --quit ) &
/usr/bin/time -f "peak resident memory: %M KiB" "$solmar" 2>&1 | grep "peak resident"
wait
