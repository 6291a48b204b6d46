#!/usr/bin/env bash
# Makes the home folder's scheme lists (home/3d/3d.xml, p3.xml, T_3d.xml, T_p3.xml) from the
# calculator's own batch verification on the shipped draw files (data/HAO.TXT, data/HAOP3.TXT).
#
# For each lottery and each side and rank (左0..左9, 右0..右9) one batch verification runs every
# built-in scheme condition with the cycle counts FIRST_CYCLE..LAST_CYCLE (step CYCLE_STEP) and
# PERIODS verification periods. From the report lines of all batches of a lottery:
#   - per side and rank, only lines whose rank named a digit in at least 90% of the verified
#     periods take part; the line with the fewest errors wins, ties going to fewer NULL, then to
#     the earlier built-in scheme (方案01 first), then to the smaller cycle count;
#   - the winners, left 0..9 then right 0..9, make 3d.xml / p3.xml (at most 20 records);
#   - the runners-up make the test lists T_3d.xml / T_p3.xml, which the smart system loads
#     through its test channel instead.
# The batches run side by side (JOBS at a time); the result does not depend on their order.
#
# Usage: tools/make-scheme-lists.sh [build folder]   (default: build; the tool is built there)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build}
FIRST_CYCLE=${FIRST_CYCLE:-10}
LAST_CYCLE=${LAST_CYCLE:-50}
CYCLE_STEP=${CYCLE_STEP:-10}
PERIODS=${PERIODS:-100}
JOBS=${JOBS:-$(( $(nproc) < 8 ? $(nproc) : 8 ))}

if [ ! -f "$BUILD/build.ninja" ] && [ ! -f "$BUILD/Makefile" ]; then
  cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$BUILD" --target schemelists -j"$JOBS" >/dev/null
TOOL="$BUILD/tools/schemelists/schemelists"

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

jobs_list() {
  for lottery in 3d p3; do
    for side in 左 右; do
      for rank in 0 1 2 3 4 5 6 7 8 9; do
        echo "$lottery $side$rank"
      done
    done
  done
}

start=$(date +%s)
export TOOL WORK FIRST_CYCLE LAST_CYCLE CYCLE_STEP PERIODS
jobs_list | xargs -P "$JOBS" -L 1 bash -c '
  lottery=$0 siderank=$1
  draws=data/HAO.TXT; [ "$lottery" = p3 ] && draws=data/HAOP3.TXT
  "$TOOL" batch "$lottery" "$draws" "$siderank" "$FIRST_CYCLE" "$LAST_CYCLE" "$CYCLE_STEP" "$PERIODS" \
    > "$WORK/$lottery-$siderank.txt"'
mkdir -p home/3d
"$TOOL" select home/3d/3d.xml home/3d/T_3d.xml "$WORK"/3d-*.txt
"$TOOL" select home/3d/p3.xml home/3d/T_p3.xml "$WORK"/p3-*.txt
echo "方案列表已生成，用时 $(( $(date +%s) - start )) 秒"
