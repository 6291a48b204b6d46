#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test through ctest.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
# Unity batches cut the build time to a fraction: most of it is spent parsing Qt headers.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE=16 >/dev/null
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure -j"$(nproc)"
