#!/usr/bin/env bash
# Installs what is missing, builds and starts Sifmora.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh
# CJK fonts in which "■" and the ideographic space take two columns, so the tables line up.
./tools/install-deps.sh fonts-noto-cjk
# The workbench's 计算器 button starts the desktop's calculator; a small one when there is none.
command -v gnome-calculator kcalc galculator qalculate-gtk mate-calc xcalc >/dev/null 2>&1 ||
  ./tools/install-deps.sh galculator
# Unity batches cut the build time to a fraction: most of it is spent parsing Qt headers.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE=16 >/dev/null
cmake --build build -j"$(nproc)"
if [ -x build/bin/Sifmora ]; then
  exec build/bin/Sifmora "$@"
else
  echo "Built. The main program build/bin/Sifmora is not part of this build yet."
fi
