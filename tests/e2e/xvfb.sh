# Sourced by the end-to-end scripts that drive the reader on their own X server.
# start_xvfb WORK_DIR [SCREEN]: starts Xvfb (1024x768x24 unless SCREEN says otherwise) on the first free display (Xvfb picks it itself, so
# scripts running side by side never share one), waits until it answers a client, and
# exports DISPLAY. start_reader LOG: starts the reader there and sets $reader.
# wait_for_window: sets $window once the reader's window is mapped (and, with an argument,
# once it has the keyboard focus); fails with the reader's and the server's logs if not.
# read_clipboard TARGET FILE: what the clipboard's owner offers under TARGET, once there.
# The reader is ended before the server, so that it can save its settings.
xvfb=
reader=
xvfb_work=
cleanup() {
  if [ -n "$reader" ]; then
    kill "$reader" 2>/dev/null || true
    wait "$reader" 2>/dev/null || true
  fi
  if [ -n "$xvfb" ]; then
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
  fi
}
trap cleanup EXIT

xvfb_failed() {
  echo "$1" >&2
  if [ -n "$xvfb" ] && ! kill -0 "$xvfb" 2>/dev/null; then echo "(Xvfb has ended)" >&2; fi
  [ -f "$xvfb_work/reader.log" ] && sed 's/^/reader: /' "$xvfb_work/reader.log" >&2
  sed 's/^/Xvfb: /' "$xvfb_work/xvfb.log" >&2
  exit 1
}

start_xvfb() {
  xvfb_work=$1
  screen=${2:-1024x768x24}
  : >"$xvfb_work/display"
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$xvfb_work/display" >"$xvfb_work/xvfb.log" 2>&1 &
  xvfb=$!
  for _ in $(seq 100); do [ -s "$xvfb_work/display" ] && break; sleep 0.1; done
  [ -s "$xvfb_work/display" ] || xvfb_failed "Xvfb gave no display number"
  DISPLAY=":$(head -n 1 "$xvfb_work/display")"
  export DISPLAY
  for _ in $(seq 100); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  xvfb_failed "Xvfb on $DISPLAY does not answer"
}

start_reader() {
  QT_QPA_PLATFORM=xcb "$solmar" >"$xvfb_work/reader.log" 2>&1 &
  reader=$!
}

wait_for_window() {
  window=
  for _ in $(seq 150); do
    window=$(xdotool search --onlyvisible --name '^Solmar$' 2>/dev/null | head -n 1) || true
    if [ -n "$window" ]; then
      [ -z "${1:-}" ] && return 0
      xdotool windowfocus --sync "$window" 2>/dev/null && return 0
    fi
    kill -0 "$reader" 2>/dev/null || xvfb_failed "the reader ended before its window appeared"
    sleep 0.1
  done
  xvfb_failed "the reader's window did not appear"
}

read_clipboard() {
  for _ in $(seq 50); do
    xclip -o -selection clipboard -t "$1" >"$2" 2>/dev/null && [ -s "$2" ] && return 0
    sleep 0.1
  done
  return 1
}
