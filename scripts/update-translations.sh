#!/bin/sh
# Brings the translation files up to date with the texts in the sources, or checks them.
#
#   scripts/update-translations.sh          every text marked in src/ and resources/ gets
#                                           its entry in translations/*.ts (new ones
#                                           unfinished); texts no longer in the sources go
#   scripts/update-translations.sh --check  changes nothing: fails when a text has no
#                                           finished translation, or a file is not up to
#                                           date with the sources
#
# Texts are marked with SOLMAR_TEXT("Context", "English text") in the core (see
# src/platform/ui_text.h) and with QCoreApplication::translate or QT_TRANSLATE_NOOP in the
# Qt backend and the front end.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
lupdate=${LUPDATE:-}
if [ -z "$lupdate" ]; then
  for candidate in /usr/lib/qt6/bin/lupdate "$(command -v lupdate6 2>/dev/null || true)"; do
    if [ -n "$candidate" ] && [ -x "$candidate" ]; then lupdate=$candidate; break; fi
  done
fi
[ -n "$lupdate" ] || { echo "update-translations: lupdate (qt6-l10n-tools) is not installed" >&2; exit 2; }

run_lupdate() {  # run_lupdate FILE.ts
  (cd "$root" && "$lupdate" -silent -tr-function-alias QT_TRANSLATE_NOOP+=SOLMAR_TEXT -locations none \
     -no-obsolete -extensions cpp,h src resources -ts "$1")
}

if [ "${1:-}" != "--check" ]; then
  for ts in "$root"/translations/*.ts; do run_lupdate "$ts"; done
  exit 0
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for ts in "$root"/translations/*.ts; do
  name=$(basename "$ts")
  cp "$ts" "$work/$name"
  run_lupdate "$work/$name"
  unfinished=$(grep -c 'type="unfinished"' "$work/$name" || true)
  if [ "$unfinished" -gt 0 ]; then
    echo "$name: $unfinished texts without a finished translation:" >&2
    grep -B2 'type="unfinished"' "$work/$name" | grep '<source>' | sed 's/^ */  /' >&2
    status=1
  fi
  if ! cmp -s "$ts" "$work/$name"; then
    echo "$name: not up to date with the sources (run scripts/update-translations.sh):" >&2
    diff -u "$ts" "$work/$name" | head -40 >&2 || true
    status=1
  fi
done
exit $status
