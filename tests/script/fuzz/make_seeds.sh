#!/usr/bin/env bash
# Builds the fuzzer's seed folder from the conformance corpus: usage make_seeds.sh <corpus> <out>
set -euo pipefail
src=${1:-$(dirname "$0")/../../../../shared/vbscript}
out=${2:-seeds}
mkdir -p "$out"
cp "$src"/programs/*.vbs "$src"/formulas/*.txt "$out"/
cp "$(dirname "$0")"/seeds/*.vbs "$out"/  # objects, With, code from text
n=0
while IFS=$'\t' read -r expr expected; do
  n=$((n + 1))
  printf 'Function Main()\n  Dim x\n  x = %s\n  Main = TypeName(x) & "|" & x\nEnd Function\n' "$expr" > "$out/expr_$n.vbs"
done < "$src/expressions.tsv"
n=0
while IFS=$'\t' read -r cond values expected; do
  n=$((n + 1))
  printf '%s' "$cond" > "$out/cond_$n.txt"
done < "$src/conditions.tsv"
echo "$(ls "$out" | wc -l) seeds in $out"
