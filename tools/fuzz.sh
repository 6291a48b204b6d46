#!/usr/bin/env bash
# Builds the libFuzzer targets with clang under ASan/UBSan in build-fuzz (one file at a time, so
# that a file compiles only with what it includes itself), with the two programs for the same
# reason, checks every test and benchmark file the same way (tools/compile-alone.py; a clang
# warning fails the build and the check as a GCC one fails test.sh), runs the
# script engine's tests there (its stack checks must hold with instrumented frames too), then
# runs every target on its seeds and for SECONDS more (default 45), all at once.
# Fails on any crash, sanitizer report, leak or hang; the input that did it is kept in
# build-fuzz/crashes.   usage: tools/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-${SIFMORA_FUZZ_SECONDS:-45}}
targets=(script_fuzz drawfile_fuzz drawlist_fuzz schemelist_fuzz versionlog_fuzz)
launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# -O1 and line tables only: the build is most of the cost, and a report still names every line.
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=None -DCMAKE_UNITY_BUILD=OFF -DSIFMORA_FUZZ=ON \
  -DCMAKE_CXX_COMPILER=clang++ "${launcher[@]}" \
  -DCMAKE_CXX_FLAGS="-O1 -gline-tables-only -fno-omit-frame-pointer -fsanitize=address,undefined -fno-sanitize-recover=undefined -fsanitize=fuzzer-no-link" \
  >/dev/null
log=$(mktemp)
work=$(mktemp -d)
trap 'rm -rf "$log" "$work"' EXIT
if ! cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]}" script_tests Sifmora update >"$log" 2>&1; then
  grep -E -A5 "error:|FAILED" "$log" | head -n 60 >&2
  echo "模糊测试目标没有构建成功（clang，逐个文件编译），见上。" >&2
  exit 1
fi
# clang raises warnings of its own beside GCC's: the build stays free of them too.
if grep -q "warning:" "$log"; then
  grep -E -A5 "warning:" "$log" | head -n 60 >&2
  echo "clang 构建出现编译警告（见上），请先消除。" >&2
  exit 1
fi
# The programs' files were just compiled one at a time; the tests and benchmarks are checked the
# same way for what they include, for their syntax alone (no code made: a fraction of a build).
python3 tools/compile-alone.py build-fuzz tests bench

mkdir -p "$work/seeds/script"
./tests/script/fuzz/make_seeds.sh "$(pwd)/../shared/vbscript" "$work/seeds/script" >/dev/null 2>&1 ||
  cp tests/script/fuzz/seeds/* "$work/seeds/script/"  # without the shared corpus: the project's own seeds
./tests/history/fuzz/make_seeds.sh "$work/seeds" "$(pwd)/../shared/data" >/dev/null
crashes=build-fuzz/crashes
mkdir -p "$crashes"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export QT_QPA_PLATFORM=offscreen
if ! build-fuzz/bin/script_tests --gtest_brief=1 >"$log" 2>&1; then
  grep -E "ERROR|SUMMARY|runtime error|Failure|FAILED" "$log" | head -n 30 >&2
  echo "脚本引擎的测试在 ASan/UBSan 下没有通过（见上）。" >&2
  exit 1
fi
echo "  script_tests：在 ASan/UBSan 下通过"
pids=()
for t in "${targets[@]}"; do
  name=${t%_fuzz}
  mkdir -p "$work/corpus/$name"
  # Each input gets 60 s before it counts as a hang: far above any input's need, even on a busy
  # machine; the run's own time is the budget, not a measure.
  build-fuzz/bin/"$t" -max_total_time="$seconds" -timeout=60 -rss_limit_mb=4096 -print_final_stats=1 \
    -artifact_prefix="$crashes/$name-" "$work/corpus/$name" "$work/seeds/$name" >"$work/$name.log" 2>&1 &
  pids+=($!)
done
failed=0
for i in "${!targets[@]}"; do
  if ! wait "${pids[$i]}"; then
    name=${targets[$i]%_fuzz}
    failed=1
    echo "—— ${targets[$i]} ——" >&2
    grep -E "ERROR|SUMMARY|runtime error|Test unit written|==[0-9]+==" "$work/$name.log" | head -n 20 >&2 || true
    tail -n 30 "$work/$name.log" >&2
  fi
done
if [ "$failed" -ne 0 ]; then
  echo "模糊测试发现了崩溃或内存错误，触发它的输入保存在 $crashes 中（见上）。" >&2
  exit 1
fi
for t in "${targets[@]}"; do
  name=${t%_fuzz}
  runs=$(grep -m1 -o "number_of_executed_units: [0-9]*" "$work/$name.log" | grep -o "[0-9]*$" || echo "?")
  echo "  $t：执行 $runs 个输入"
done
echo "模糊测试：${#targets[@]} 个目标各运行 ${seconds} 秒，没有发现问题。"
