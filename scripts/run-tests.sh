#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test:
#  1. the full build (warnings as errors) and all CTest tests, the Qt ones off screen;
#  2. the install checks on that build: a scratch install, the validators of the desktop
#     files, the installed program, the Debian package (scripts/check-install.sh);
#  3. a short, bounded run of every libFuzzer target;
#  4. the unit tests again under AddressSanitizer and UndefinedBehaviorSanitizer (last, so
#     the run ends with CTest's summary).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
"$here/scripts/deps.sh"
export QT_QPA_PLATFORM=offscreen

echo "== build and test"
cmake -S "$here" -B "$here/build/ci" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSOLMAR_WERROR=ON >/dev/null
cmake --build "$here/build/ci" -j "$jobs"
ctest --test-dir "$here/build/ci" --output-on-failure -j "$jobs" --timeout 300

echo "== install and package"
timeout 300 "$here/scripts/check-install.sh" "$here/build/ci"

if [ -f "$here/fuzz/CMakeLists.txt" ]; then
  echo "== fuzz (bounded)"
  cmake -S "$here" -B "$here/build/fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
    -DSOLMAR_BUILD_FUZZ=ON -DSOLMAR_BUILD_GUI=OFF -DSOLMAR_BUILD_TESTS=OFF >/dev/null
  cmake --build "$here/build/fuzz" -j "$jobs"
  for target in "$here"/build/fuzz/fuzz/fuzz_*; do
    [ -x "$target" ] || continue
    echo "-- $(basename "$target")"
    "$target" -max_total_time="${SOLMAR_FUZZ_SECONDS:-20}" -rss_limit_mb=2048 -print_final_stats=0 2>&1 | tail -n 2
  done
fi

echo "== sanitizers"
cmake -S "$here" -B "$here/build/asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSOLMAR_WERROR=ON \
  -DSOLMAR_SANITIZE=ON -DSOLMAR_BUILD_GUI=OFF >/dev/null
cmake --build "$here/build/asan" -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir "$here/build/asan" --output-on-failure -j "$jobs" --timeout 600
