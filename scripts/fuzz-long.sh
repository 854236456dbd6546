#!/usr/bin/env bash
# Long fuzz runs: every libFuzzer target for SECONDS (default 600) from the kept corpus in
# fuzz/corpus/<target> (and any extra seed folders given), with its dictionary where one
# exists; then the kept corpus is replaced by the minimised union (-merge=1).
#
# usage: scripts/fuzz-long.sh BUILD_DIR [SECONDS] [SEED_ROOT]
#   BUILD_DIR  a build configured with -DSOLMAR_BUILD_FUZZ=ON (see fuzz/CMakeLists.txt)
#   SEED_ROOT  a folder with one sub-folder per target (fuzz/make_seeds.py writes one)
# Crash reproducers land in BUILD_DIR/fuzz-long/<target>/ and stop the script.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
seconds=${2:-600}
seeds=${3:-}
for binary in "$build"/fuzz/fuzz_*; do
  [ -x "$binary" ] || continue
  target=$(basename "$binary")
  name=${target#fuzz_}
  kept="$here/fuzz/corpus/$target"
  work="$build/fuzz-long/$target"
  rm -rf "$work" && mkdir -p "$work/grown" "$kept"
  dict=()
  [ -f "$here/fuzz/dict/$name.dict" ] && dict=(-dict="$here/fuzz/dict/$name.dict")
  extra=()
  [ -n "$seeds" ] && [ -d "$seeds/$target" ] && extra=("$seeds/$target")
  echo "== $target: ${seconds} s"
  (cd "$work" && "$binary" "${dict[@]}" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$work/" grown "$kept" "${extra[@]}" >"$work/log" 2>&1) || {
    echo "finding in $target:"; tail -n 40 "$work/log"; exit 1; }
  grep -E '^#[0-9]+[[:space:]]+(INITED|DONE)|stat::number_of_executed_units|stat::peak_rss_mb' "$work/log" || true
  mkdir "$work/merged"
  "$binary" -merge=1 "$work/merged" "$kept" "$work/grown" "${extra[@]}" >"$work/merge.log" 2>&1
  rm -rf "$kept" && mv "$work/merged" "$kept"
  echo "kept: $(ls "$kept" | wc -l) inputs, $(du -sk "$kept" | cut -f1) KiB"
done
