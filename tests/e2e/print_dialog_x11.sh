#!/bin/sh
# Go › Print in a real X window: Ctrl+P opens the desktop's print dialog offering the
# current page; printing it to a file (Qt's "Print to File (PDF)", the choice where no
# printer is set up) writes that page with its commentary, read back by poppler. Then the
# whole book is chosen and its progress window cancelled: the file being written goes.
# Usage: print_dialog_x11.sh SOLMAR WORK_DIR   (starts its own Xvfb)
set -eu
solmar=$(readlink -f "$1")
work=$2
rm -rf "$work"
mkdir -p "$work/config/Orvanel"
# Page 3 (article 5) in Frank Ruehl CLM, so no font chooser comes up first.
printf '[General]\nFontName=sz:Frank Ruehl CLM\nFontSize=dword:00000013\nLesson=dword:00000005\n' \
  >"$work/config/Orvanel/Solmar.conf"
cat >"$work/drive.sh" <<'DRIVE'
#!/bin/sh
set -u
cd "$WORK"
"$SOLMAR" & pid=$!
# The first window whose name matches $1, waited for as long as a loaded machine takes
# (30 s); the run ends when none comes.
wait_for() {
  found=
  for _ in $(seq 150); do
    found=$(xdotool search --name "$1" 2>/dev/null | head -1) && [ -n "$found" ] && break
    sleep 0.2
  done
  [ -n "$found" ] || { echo "no window named $1" >&2; kill $pid; exit 1; }
  echo "$found"
}
window=$(wait_for '^Solmar$') || exit 1
sleep 1
xdotool windowfocus --sync "$window"
xdotool key ctrl+p
dialog=$(wait_for '^Print') || exit 1
sleep 1
xdotool windowfocus --sync "$dialog"
xdotool key Return
for _ in $(seq 100); do
  [ -s "$WORK/Solmar.pdf" ] && break
  sleep 0.2
done
sleep 1
mv "$WORK/Solmar.pdf" "$WORK/current.pdf"

# The whole book ("Print all" among the options), stopped from its progress window.
xdotool windowfocus --sync "$window"
xdotool key ctrl+p
dialog=$(wait_for '^Print') || exit 1
sleep 1
xdotool windowfocus --sync "$dialog"
xdotool key alt+o
sleep 1
xdotool mousemove --window "$dialog" 38 218 click 1
sleep 0.5
xdotool key Return
for _ in $(seq 300); do
  [ -s "$WORK/Solmar.pdf" ] && break
  sleep 0.1
done
[ -s "$WORK/Solmar.pdf" ] && echo "writing" >"$WORK/book-started"
sleep 1
xdotool key Escape
sleep 2
kill -0 $pid 2>/dev/null && echo "running" >"$WORK/still-running"
kill $pid
wait $pid 2>/dev/null
exit 0
DRIVE
WORK=$work SOLMAR=$solmar HOME=$work XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=xcb \
  sh "$(dirname "$0")/with_xvfb.sh" 1024x900x24 sh "$work/drive.sh"
[ -s "$work/current.pdf" ] || { echo "FAIL: the print dialog wrote no file" >&2; exit 1; }
text=$(pdftotext -enc UTF-8 "$work/current.pdf" - | perl -CSD -pe 's/[\x{200E}\x{200F}\x{202A}-\x{202E}]//g')
# Page 3 is Genesis 4:15 to 6:8 (its title range and a word of its first verse); page 1's
# first words must not be there.
echo "$text" | grep -q 'ד:טו' && echo "$text" | grep -q 'לקין' || { echo "FAIL: the current page is not in the file" >&2; exit 1; }
echo "$text" | grep -q 'ניתוח דקדוקי' || { echo "FAIL: the commentary is not in the file" >&2; exit 1; }
pdffonts "$work/current.pdf" | grep -q 'FrankRuehlCLM.* yes ' || { echo "FAIL: not in the reader's font, embedded" >&2; exit 1; }
if echo "$text" | grep -q 'בראשית ברא אלהים'; then echo "FAIL: page 1 was printed too" >&2; exit 1; fi
[ -e "$work/book-started" ] || { echo "FAIL: printing the whole book did not start" >&2; exit 1; }
[ -e "$work/still-running" ] || { echo "FAIL: the reader did not outlive the cancelled job" >&2; exit 1; }
[ ! -e "$work/Solmar.pdf" ] || { echo "FAIL: the cancelled job left its file ($(pdfinfo "$work/Solmar.pdf" 2>&1 | grep Pages))" >&2; exit 1; }
echo "ok: $(pdfinfo "$work/current.pdf" | sed -n 's/^Pages: *//p') sheets for the current page; the whole book cancelled"
