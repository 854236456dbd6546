#!/usr/bin/env bash
# Checks the reader as it installs, from a build folder that is already built:
#  - `cmake --install` into a scratch prefix: the .desktop entry and the AppStream metadata
#    pass their validators, every icon size is there at its size, the manual page
#    formats without warnings, and the installed solmar runs --version and --screenshot;
#  - `cpack -G DEB`: the package's control fields, its files, lintian without errors, and
#    the program unpacked from it runs.
# Usage: scripts/check-install.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:?usage: check-install.sh BUILD_DIR}" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}
app_id=org.orvanel.Solmar
export QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch/runtime"
mkdir -m 700 -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"

echo "-- install into a scratch prefix"
prefix="$scratch/prefix/usr"
cmake --install "$build" --prefix "$prefix" >/dev/null
share="$prefix/share"
desktop-file-validate "$share/applications/$app_id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net --strict "$share/metainfo/$app_id.metainfo.xml" || fail "appstreamcli validate"

# PNG width and height are the big-endian words at bytes 16 and 20.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8}'; }
for size in 16 32 48 64 128 256; do
  icon="$share/icons/hicolor/${size}x${size}/apps/$app_id.png"
  [ "$(png_size "$icon" 2>/dev/null)" = "${size}x${size}" ] || fail "icon $icon is not ${size}x${size}"
done
[ -s "$share/icons/hicolor/scalable/apps/$app_id.svg" ] || fail "no scalable icon"

manual="$share/man/man1/solmar.1.gz"
warnings=$(MANWIDTH=80 man --warnings -E UTF-8 -l "$manual" 2>&1 >/dev/null) || fail "man cannot format $manual"
[ -z "$warnings" ] || fail "the manual page formats with warnings: $warnings"

version=$("$prefix/bin/solmar" --version) || fail "installed solmar --version"
[ "$version" = "Solmar 1.84a" ] || fail "installed solmar --version says \"$version\""
"$prefix/bin/solmar" --screenshot "$scratch/shot.png" --size 320x480 || fail "installed solmar --screenshot"
[ "$(png_size "$scratch/shot.png" 2>/dev/null)" = "320x480" ] || fail "the installed program's screenshot is not 320x480"

echo "-- Debian package"
rm -f "$build"/solmar_*.deb
(cd "$build" && cpack -G DEB >/dev/null) || fail "cpack -G DEB"
deb=$(ls "$build"/solmar_*.deb 2>/dev/null | head -n 1)
if [ -n "$deb" ]; then
  field() { dpkg-deb -f "$deb" "$1"; }
  [ "$(field Package)" = solmar ] || fail "Package is \"$(field Package)\""
  [[ "$(field Version)" =~ ^1\.84a-[0-9]+$ ]] || fail "Version is \"$(field Version)\""
  [ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture is \"$(field Architecture)\""
  [ -n "$(field Maintainer)" ] && [ -n "$(field Description)" ] && [ -n "$(field Section)" ] ||
    fail "Maintainer, Description or Section missing"
  depends=$(field Depends)
  for need in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libstdc++6 qt6-qpa-plugins culmus; do
    [[ ", $depends," == *", $need"[\ ,]* ]] || fail "Depends lacks $need: $depends"
  done
  dpkg-deb -f "$deb"
  files=$(dpkg-deb -c "$deb" | awk '{print $6}')
  for path in usr/bin/solmar "usr/share/applications/$app_id.desktop" "usr/share/metainfo/$app_id.metainfo.xml" \
    "usr/share/icons/hicolor/48x48/apps/$app_id.png" "usr/share/icons/hicolor/scalable/apps/$app_id.svg" \
    usr/share/man/man1/solmar.1.gz usr/share/doc/solmar/copyright usr/share/doc/solmar/changelog.Debian.gz; do
    grep -qx "\./$path" <<<"$files" || fail "the package lacks /$path"
  done
  lintian --fail-on error --suppress-tags initial-upload-closes-no-bugs "$deb" 2>/dev/null || fail "lintian reports errors"
  dpkg-deb -x "$deb" "$scratch/unpacked"
  [ "$("$scratch/unpacked/usr/bin/solmar" --version)" = "Solmar 1.84a" ] || fail "the packed solmar does not run"
else
  fail "no package was made"
fi

if ((failures)); then
  echo "install checks: $failures failed" >&2
  exit 1
fi
echo "install checks: all held"
