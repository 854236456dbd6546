#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test:
#  1. the full build (warnings as errors) and all CTest tests, the Qt ones off screen;
#  2. the install checks on that build: a scratch install, the validators of the desktop
#     files, the installed program, the Debian package (scripts/check-install.sh);
#  3. a short, bounded run of every libFuzzer target (undefined behaviour is a finding);
#  4. every test again, the Qt backend's and the end-to-end ones included, on a build with
#     AddressSanitizer and UndefinedBehaviorSanitizer (last, so the run ends with CTest's
#     summary).
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
  # Each target starts from the corpus kept in fuzz/corpus (grown by scripts/fuzz-long.sh);
  # what this short run finds new goes to a scratch folder, so the kept corpus stays as it is.
  for target in "$here"/build/fuzz/fuzz/fuzz_*; do
    [ -x "$target" ] || continue
    name=$(basename "$target")
    echo "-- $name"
    scratch=$(mktemp -d) && mkdir "$scratch/new"
    dict=()
    [ -f "$here/fuzz/dict/${name#fuzz_}.dict" ] && dict=(-dict="$here/fuzz/dict/${name#fuzz_}.dict")
    mkdir -p "$here/fuzz/corpus/$name"
    if ! (cd "$scratch" && UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 "$target" "${dict[@]}" -max_total_time="${SOLMAR_FUZZ_SECONDS:-20}" -rss_limit_mb=2048 \
        -print_final_stats=0 -artifact_prefix="$scratch/" "$scratch/new" "$here/fuzz/corpus/$name" >"$scratch/log" 2>&1); then
      tail -n 40 "$scratch/log"
      echo "finding kept in $scratch"
      exit 1
    fi
    tail -n 2 "$scratch/log"
    rm -rf "$scratch"
  done
fi

echo "== sanitizers"
# The whole program, the Qt backend and src/app included, so that the Qt tests (the hostile
# settings files among them) and the end-to-end tests run under the sanitizers too; the
# programs those tests start inherit the options. Leaks are reported except the few that
# Qt's and fontconfig's own caches keep until the process ends (scripts/lsan-qt.supp says
# which and why; nothing of ours is suppressed).
cmake -S "$here" -B "$here/build/asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSOLMAR_WERROR=ON \
  -DSOLMAR_SANITIZE=ON -DSOLMAR_BUILD_GUI=ON >/dev/null
cmake --build "$here/build/asan" -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:halt_on_error=1 LSAN_OPTIONS=suppressions="$here/scripts/lsan-qt.supp":print_suppressions=0 \
  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ctest --test-dir "$here/build/asan" --output-on-failure -j "$jobs" --timeout 600 \
  -E '^QtSettingsFileTest\.HugeValuesAreCutToTheirFields$'
# (Left out: a settings file of megabytes, which QSettings takes many minutes to write back
# under AddressSanitizer; the first test run above has it.)
