#!/usr/bin/env bash
# Installs what is missing, builds the reader and starts it.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/deps.sh"
cmake -S "$here" -B "$here/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSOLMAR_BUILD_TESTS=OFF >/dev/null
cmake --build "$here/build/release" --target solmar
exec "$here/build/release/src/app/solmar" "$@"
