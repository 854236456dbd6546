#!/bin/sh
# Copy and Append in the real program on a real X server: Ctrl+C and Ctrl+E are typed into
# the reader under Xvfb, and another X client (xclip) reads the clipboard. The RTF must be
# exactly what `solmar --rtf 1` writes and the text exactly what `solmar --dump 1` writes;
# after Append, the clipboard holds both copies joined into one document and one text.
# Usage: clipboard_x11.sh SOLMAR WORK_DIR
set -eu
solmar=$1
work=$2
rm -rf "$work"
mkdir -p "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
# A stored font, so that no font chooser comes up at the first start to take the keys.
mkdir -p "$work/config/Orvanel"
printf '[General]\nFontName=DejaVu Sans\n' >"$work/config/Orvanel/Solmar.conf"
unset QT_QPA_PLATFORM

# Articles outside 1..286 are refused with status 2 and a message, before any output.
for bad in "--dump 0" "--rtf 287" "--dump x" "--rtf"; do
  status=0
  # shellcheck disable=SC2086
  QT_QPA_PLATFORM=none "$solmar" $bad >"$work/out" 2>"$work/err" || status=$?
  { [ $status -eq 2 ] && [ ! -s "$work/out" ] && [ -s "$work/err" ]; } ||
    { echo "solmar $bad: status $status, expected 2 with a message and no output" >&2; exit 1; }
done

QT_QPA_PLATFORM=none "$solmar" --rtf 1 >"$work/expected.rtf"
QT_QPA_PLATFORM=none "$solmar" --dump 1 >"$work/expected.txt"

. "$(dirname "$0")/xvfb.sh"
start_xvfb "$work"
start_reader
wait_for_window focused
sleep 0.5

fail=0
xdotool key --clearmodifiers ctrl+c
for target in text/rtf text/richtext application/rtf; do
  read_clipboard "$target" "$work/copy.rtf" || { echo "nothing under $target after Ctrl+C" >&2; fail=1; continue; }
  cmp -s "$work/copy.rtf" "$work/expected.rtf" || { echo "$target after Ctrl+C differs from solmar --rtf 1" >&2; fail=1; }
done
read_clipboard UTF8_STRING "$work/copy.txt" || { echo "no text after Ctrl+C" >&2; fail=1; }
cmp -s "$work/copy.txt" "$work/expected.txt" || { echo "the text after Ctrl+C differs from solmar --dump 1" >&2; fail=1; }

# Append the same article: one document, the separator between the two bodies; the text twice.
: >"$work/copy.rtf"
xdotool key --clearmodifiers ctrl+e
sleep 0.5
read_clipboard text/rtf "$work/append.rtf" || { echo "nothing under text/rtf after Ctrl+E" >&2; fail=1; }
read_clipboard UTF8_STRING "$work/append.txt" || { echo "no text after Ctrl+E" >&2; fail=1; }
python3 - "$work" <<'PY' || fail=1
import sys
work = sys.argv[1]
rtf = open(f"{work}/expected.rtf", "rb").read()
text = open(f"{work}/expected.txt", "rb").read()
header_end = rtf.index(b"\\uc0\r\n") + len(b"\\uc0\r\n")
body = rtf[header_end:-len(b"}\r\n")]
separator = b"\\pard\\plain\\rtlpar\\uc0\\qc\\cf2\\fs72\\b*  *  *  *  *\\b0\\par\\par\\qr\\fs20\\cf0\r\n"
# The earlier document loses its closing "}" CR LF; the separator and the new body follow.
want = rtf[:-len(b"}\r\n")] + separator + body + b"}\r\n"
ok = True
if open(f"{work}/append.rtf", "rb").read() != want:
    print("the RTF after Ctrl+E is not both copies in one document", file=sys.stderr)
    ok = False
if open(f"{work}/append.txt", "rb").read() != text + text:
    print("the text after Ctrl+E is not the text twice", file=sys.stderr)
    ok = False
sys.exit(0 if ok else 1)
PY
[ $fail -eq 0 ] && echo "clipboard: Copy and Append read back by xclip as --rtf and --dump"
exit $fail
