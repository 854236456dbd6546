#!/bin/sh
# The include-loop check: the sources have no loop, and the check does find the loops it
# exists for (a header pair that includes each other, a longer ring through three units,
# a header included beside its file) while leaving a mere chain alone.
#   include_loops_test.sh CHECK_SCRIPT SRC_DIR WORK_DIR
set -u
check=$1 src=$2 work=$3
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

python3 "$check" "$src" >"$work.out" 2>&1 || { cat "$work.out"; fail "the sources have an include loop"; }

rm -rf "$work" && mkdir -p "$work/a" "$work/b" "$work/c"
unit() {  # unit FOLDER/NAME INCLUDES...: NAME.h and NAME.cpp, the .cpp including the rest
  path=$1 && shift
  echo '#pragma once' >"$work/$path.h"
  printf '#include "%s.h"\n' "$path" >"$work/$path.cpp"
  for inc in "$@"; do printf '#include "%s"\n' "$inc" >>"$work/$path.cpp"; done
}
# A chain: a/top -> b/mid -> c/low. No loop.
unit a/top b/mid.h
unit b/mid c/low.h
unit c/low
python3 "$check" "$work" >"$work.out" 2>&1 || { cat "$work.out"; fail "a chain of includes is taken for a loop"; }

# A ring through three units: c/low now includes a/top.
unit c/low a/top.h
python3 "$check" "$work" >"$work.out" 2>&1 && fail "a ring of three units is not found"
grep -q "a/top <-> b/mid <-> c/low" "$work.out" || { cat "$work.out"; fail "the ring is not named with its three units"; }
grep -q "c/low.cpp includes a/top.h" "$work.out" || fail "the include that closes the ring is not named"

# Two units whose headers include each other, one of them beside its file ("pair.h").
unit c/low
printf '#pragma once\n#include "b/pair.h"\n' >"$work/b/mid.h"
printf '#pragma once\n#include "mid.h"\n' >"$work/b/pair.h"
python3 "$check" "$work" >"$work.out" 2>&1 && fail "two headers that include each other are not found"
grep -q "b/mid <-> b/pair" "$work.out" || { cat "$work.out"; fail "the pair is not named"; }

[ "$failures" -eq 0 ] && echo "include loops: all checks held"
exit "$failures"
