#!/usr/bin/env bash
# Installs what is missing, builds and starts Sifmora.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
if [ -x build/bin/Sifmora ]; then
  exec build/bin/Sifmora "$@"
else
  echo "Built. The main program build/bin/Sifmora is not part of this build yet."
fi
