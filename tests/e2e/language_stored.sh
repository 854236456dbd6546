#!/bin/sh
# The language chosen in the reader wins over the desktop's at the next start, and --lang
# over both: the real program under Xvfb, its window found by the name it carries in the
# language it speaks ("Solmar" or "סולמר").
# Usage: language_stored.sh SOLMAR (run under with_xvfb.sh, with xdotool)
set -eu
solmar=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch/runtime" QT_QPA_PLATFORM=xcb
mkdir -p "$XDG_CONFIG_HOME/Orvanel" && mkdir -m 700 "$XDG_RUNTIME_DIR"
status=0

# run STORED DESKTOP_LANGUAGE EXPECTED_TITLE [OPTIONS...]
run() {
  stored=$1 desktop=$2 expected=$3
  shift 3
  printf '[General]\nFontName=sz:DejaVu Sans\nLanguage=sz:%s\n' "$stored" >"$XDG_CONFIG_HOME/Orvanel/Solmar.conf"
  LANGUAGE=$desktop LC_ALL= LC_MESSAGES= LANG=C.UTF-8 "$solmar" "$@" &
  reader=$!
  xdotool search --sync --onlyvisible --name "^$expected\$" >/dev/null 2>&1 &
  finder=$!
  (sleep 15 && kill $finder 2>/dev/null) &
  timer=$!
  if wait $finder; then
    echo "ok: Language=$stored LANGUAGE=$desktop $*: $expected"
  else
    echo "FAILED: Language=$stored LANGUAGE=$desktop $*: no window named $expected" >&2
    status=1
  fi
  kill $timer 2>/dev/null || true
  "$solmar" --quit >/dev/null 2>&1 || kill $reader
  wait $reader || true
}

run he en "סולמר"
run en he "Solmar"
run "" he "סולמר"
run "" en "Solmar"
run he en "Solmar" --lang en
exit $status
