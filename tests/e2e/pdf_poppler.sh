#!/bin/sh
# `solmar --pdf` read back with poppler: page 1 as a PDF whose text extracts (the verses'
# words, the commentary's), whose fonts are all embedded, on A4 or Letter; bad ranges and
# papers exit 2, an unwritable file exits 1, each with a message and without a file; no
# settings are written and no window is needed.
# Usage: pdf_poppler.sh SOLMAR WORK_DIR
set -eu
solmar=$1
work=$2
for tool in pdfinfo pdffonts pdftotext; do
  command -v $tool >/dev/null || { echo "$tool is missing: install poppler-utils (scripts/deps.sh)" >&2; exit 1; }
done
rm -rf "$work"
mkdir -p "$work/config"
export XDG_CONFIG_HOME="$work/config"
# No platform of this name exists: opening a window would fail the run.
export QT_QPA_PLATFORM=no-such-platform
fail() { echo "FAIL: $*" >&2; exit 1; }

"$solmar" --pdf "$work/page1.pdf" --pages 1 || fail "--pdf --pages 1 exited $?"
pdfinfo "$work/page1.pdf" >"$work/info.txt"
grep -Eq '^Page size: *595(\.[0-9]+)? x 84[12](\.[0-9]+)? pts \(A4\)' "$work/info.txt" || fail "page 1 is not A4: $(cat "$work/info.txt")"
sheets=$(sed -n 's/^Pages: *//p' "$work/info.txt")
[ "$sheets" -ge 2 ] || fail "page 1 with its commentary on $sheets sheets"

# Every font embedded (column "emb" of pdffonts), and at least one.
pdffonts "$work/page1.pdf" >"$work/fonts.txt"
fonts=$(tail -n +3 "$work/fonts.txt" | wc -l)
[ "$fonts" -ge 1 ] || fail "no fonts in the PDF"
tail -n +3 "$work/fonts.txt" | awk '{ if ($(NF-4) != "yes") { print "not embedded: " $0; bad = 1 } } END { exit bad }' ||
  fail "a font is not embedded: $(cat "$work/fonts.txt")"

# The text comes back as text: the first verse's words, the title range, the commentary's
# heading, and the sheet numbers. (Words are compared one by one: how a reader orders a
# right-to-left line's words is its own affair, and so are the direction marks poppler puts
# around digits and punctuation, which are taken out first.)
strip_marks() { perl -CSD -pe 's/[\x{200E}\x{200F}\x{202A}-\x{202E}]//g'; }
pdftotext -enc UTF-8 "$work/page1.pdf" - | strip_marks >"$work/page1.txt"
for word in בראשית ברא אלהים השמים הארץ והארץ תהו ובהו מרחפת ניתוח דקדוקי 'א:א' 'ב:טז'; do
  grep -q -- "$word" "$work/page1.txt" || fail "\"$word\" does not extract from the PDF"
done
pdftotext -enc UTF-8 -f 2 -l 2 "$work/page1.pdf" - | strip_marks | grep -qx '2' || fail "sheet 2 does not carry its number"

# Letter paper.
"$solmar" --pdf "$work/letter.pdf" --pages 143 --paper letter || fail "--paper letter exited $?"
pdfinfo "$work/letter.pdf" | grep -q '^Page size: *612 x 792 pts (letter)' || fail "--paper letter is not Letter"
pdftotext -enc UTF-8 "$work/letter.pdf" - | grep -q 'דברים' || fail "page 143 lacks its book's name"

# Bad values: exit 2 with a message, no file.
for args in "--pages 0-3" "--pages 5-3" "--pages abc" "--pages 1-144" "--pages 3-" "--paper a3"; do
  rm -f "$work/bad.pdf"
  # shellcheck disable=SC2086
  if "$solmar" --pdf "$work/bad.pdf" $args 2>"$work/err.txt"; then code=0; else code=$?; fi
  [ "$code" -eq 2 ] || fail "--pdf FILE $args exited $code, not 2"
  [ -s "$work/err.txt" ] || fail "--pdf FILE $args gave no message"
  [ ! -e "$work/bad.pdf" ] || fail "--pdf FILE $args left a file"
done
if "$solmar" --pages 1-3 2>"$work/err.txt"; then code=0; else code=$?; fi
[ "$code" -eq 2 ] && [ -s "$work/err.txt" ] || fail "--pages without --pdf exited $code"

# A file that cannot be written: exit 1 with a message.
if "$solmar" --pdf "$work/no-such-folder/x.pdf" --pages 1 2>"$work/err.txt"; then code=0; else code=$?; fi
[ "$code" -eq 1 ] || fail "an unwritable file exited $code, not 1"
grep -q 'cannot write' "$work/err.txt" || fail "an unwritable file gave no message: $(cat "$work/err.txt")"

[ -z "$(ls -A "$work/config")" ] || fail "--pdf wrote settings: $(ls -AR "$work/config")"
echo "ok: $sheets sheets for page 1, $fonts fonts, all embedded"
