#!/bin/sh
# Append onto what another program left on the clipboard, read back by LibreOffice Writer.
# LibreOffice writes an RTF document of two Hebrew lines (with \uc1 and a '?' fallback
# after every letter, as it does); xclip offers it on a real X server, alone (as RTF) and
# then as plain text alone; Ctrl+E is typed into the reader. Both times the clipboard's RTF,
# converted to text by LibreOffice, and its plain text must each hold the two earlier lines
# and then the whole article, exactly as `solmar --dump 1` writes it.
# Usage: append_libreoffice.sh SOLMAR WORK_DIR
set -eu
solmar=$1
work=$2
command -v soffice >/dev/null || { echo "soffice is missing: install libreoffice-writer-nogui (scripts/deps.sh)" >&2; exit 1; }
rm -rf "$work"
mkdir -p "$work/config/Orvanel" "$work/runtime" "$work/out"
chmod 700 "$work/runtime"
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
printf '[General]\nFontName=DejaVu Sans\n' >"$work/config/Orvanel/Solmar.conf"
unset QT_QPA_PLATFORM
# soffice runs with a private profile, so a user's LibreOffice is neither used nor changed.
office() {
  HOME="$work" soffice -env:UserInstallation="file://$work/profile" --headless "$@" >>"$work/soffice.log" 2>&1
}

QT_QPA_PLATFORM=none "$solmar" --dump 1 >"$work/article.txt"
printf '\327\251\327\234\327\225\327\235 \327\242\327\225\327\234\327\235\nabc 12\n' >"$work/earlier.txt"
office --infilter='Text (encoded):UTF8' --convert-to rtf --outdir "$work" "$work/earlier.txt"
grep -q "'3f" "$work/earlier.rtf" || { echo "LibreOffice wrote no RTF with fallbacks" >&2; exit 1; }

. "$(dirname "$0")/xvfb.sh"
start_xvfb "$work"
start_reader
wait_for_window
sleep 0.5

fail=0
# append NAME TARGET FILE: FILE offered by xclip under TARGET alone, then Ctrl+E.
append() {
  xclip -selection clipboard -t "$2" -i "$3"
  sleep 0.3
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  xdotool key --clearmodifiers ctrl+e
  sleep 0.5
  read_clipboard text/rtf "$work/$1.rtf" || { echo "$1: no RTF after Ctrl+E" >&2; fail=1; }
  read_clipboard UTF8_STRING "$work/$1.txt" || { echo "$1: no text after Ctrl+E" >&2; fail=1; }
}
append onto-rtf text/rtf "$work/earlier.rtf"
append onto-text UTF8_STRING "$work/earlier.txt"
office --convert-to 'txt:Text (encoded):UTF8' --outdir "$work/out" "$work/onto-rtf.rtf" "$work/onto-text.rtf"

python3 - "$work" <<'PY' || fail=1
import sys
work = sys.argv[1]
article = open(f"{work}/article.txt", encoding="utf-8", newline="").read()
earlier = ["\u05e9\u05dc\u05d5\u05dd \u05e2\u05d5\u05dc\u05dd", "abc 12"]
def lines(text):
    # LibreOffice's text export writes each space of a run of two or more as U+2006 and a space.
    return [l for l in text.replace("\u2006 ", " ").replace("\r\n", "\n").split("\n") if l]
want_rtf = earlier + ["*  *  *  *  *"] + lines(article)
ok = True
for name, earlier_text in (("onto-rtf", "\r\n".join(earlier) + "\r\n"), ("onto-text", "\n".join(earlier) + "\n")):
    try:
        got = lines(open(f"{work}/out/{name}.txt", encoding="utf-8-sig").read())
    except OSError:
        print(f"{name}: LibreOffice could not read the appended RTF", file=sys.stderr)
        ok = False
        continue
    if got != want_rtf:
        ok = False
        for i, (a, b) in enumerate(zip(want_rtf, got)):
            if a != b:
                print(f"{name}, RTF paragraph {i + 1}:\n  want        {a!r}\n  LibreOffice {b!r}", file=sys.stderr)
                break
        else:
            print(f"{name}: {len(want_rtf)} paragraphs wanted, {len(got)} read back", file=sys.stderr)
    text = open(f"{work}/{name}.txt", encoding="utf-8", newline="").read()
    if text != earlier_text + article:
        print(f"{name}: the text is not the earlier text and the article: {text[:80]!r}...", file=sys.stderr)
        ok = False
sys.exit(0 if ok else 1)
PY
[ $fail -eq 0 ] && echo "append: LibreOffice's RTF and plain text each kept in front of the article, in both formats"
exit $fail
