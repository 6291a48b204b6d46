#!/usr/bin/env bash
# Builds with one Chinese progress line instead of the compiler's lines; the whole output is
# kept in build/build.log and shown when the build fails.
#   build-progress.sh TARGET...   (no target: everything)
set -uo pipefail
cd "$(dirname "$0")/.."
log=build/build.log
targets=()
[ $# -eq 0 ] || targets=(--target "$@")
cmake --build build -j"$(nproc)" "${targets[@]}" >"$log" 2>&1 &
pid=$!
shown=""
while kill -0 "$pid" 2>/dev/null; do
  sleep 1
  step=$(grep -oE '^\[[0-9]+/[0-9]+\]' "$log" | tail -n 1 | tr -d '[]')
  [ -n "$step" ] || continue
  done_=${step%/*} total=${step#*/}
  line="正在编译：${done_}/${total} 步（$((100 * done_ / total))%），完整记录在 $log"
  if [ -t 1 ]; then
    printf '\r%s' "$line"
    shown=1
  elif [ "$line" != "$shown" ] && [ $((done_ % 20)) -eq 0 ]; then
    echo "$line"
    shown=$line
  fi
done
wait "$pid"
status=$?
[ -z "$shown" ] || [ ! -t 1 ] || printf '\r\033[K'
if [ $status -ne 0 ]; then
  cat "$log" >&2
  echo "编译失败（完整记录见上，也在 $log）。" >&2
  exit $status
fi
grep -qE '^\[[0-9]+/[0-9]+\] (Building|Linking)' "$log" && echo "编译完成（记录在 $log）。"
exit 0
