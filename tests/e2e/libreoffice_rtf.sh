#!/bin/sh
# The RTF of real articles read back by LibreOffice Writer: its text must be exactly what
# `solmar --dump` writes, paragraph by paragraph, every letter, digit and space intact.
# (LibreOffice's text export writes each space of a run of two or more as U+2006 and a
# space; that is undone before comparing.)
# Usage: libreoffice_rtf.sh SOLMAR WORK_DIR ARTICLE...
set -eu
solmar=$1
work=$2
shift 2
command -v soffice >/dev/null || { echo "soffice is missing: install libreoffice-writer-nogui (scripts/deps.sh)" >&2; exit 1; }
rm -rf "$work"
mkdir -p "$work/out"
files=
for n in "$@"; do
  QT_QPA_PLATFORM=none "$solmar" --rtf "$n" >"$work/a$n.rtf"
  QT_QPA_PLATFORM=none "$solmar" --dump "$n" >"$work/a$n.txt"
  files="$files $work/a$n.rtf"
done
# A private profile, so a user's LibreOffice (or another run) is neither used nor changed.
# shellcheck disable=SC2086
HOME="$work" soffice -env:UserInstallation="file://$work/profile" --headless \
  --convert-to 'txt:Text (encoded):UTF8' --outdir "$work/out" $files >"$work/soffice.log" 2>&1
python3 - "$work" "$@" <<'PY'
import sys
work, articles = sys.argv[1], sys.argv[2:]
failed = False
for n in articles:
    dump = open(f"{work}/a{n}.txt", encoding="utf-8").read()
    try:
        read = open(f"{work}/out/a{n}.txt", encoding="utf-8-sig").read()
    except OSError:
        print(f"article {n}: LibreOffice wrote nothing", file=sys.stderr)
        failed = True
        continue
    read = read.replace("\u2006 ", " ")
    want = [line for line in dump.replace("\r\n", "\n").split("\n") if line]
    got = [line for line in read.replace("\r\n", "\n").split("\n") if line]
    if want != got:
        failed = True
        for i, (a, b) in enumerate(zip(want, got)):
            if a != b:
                print(f"article {n}, paragraph {i + 1}:\n  --dump      {a!r}\n  LibreOffice {b!r}", file=sys.stderr)
                break
        else:
            print(f"article {n}: {len(want)} paragraphs in --dump, {len(got)} read back", file=sys.stderr)
print("LibreOffice read back articles " + " ".join(articles) + (": differences" if failed else " as --dump"))
sys.exit(1 if failed else 0)
PY
