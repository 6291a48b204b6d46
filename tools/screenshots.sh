#!/usr/bin/env bash
# Saves a PNG of every window and dialog (each opened by its own opener) and of each of their
# tabs, drawn with the fonts installed here, to check that no control is clipped, wrapped or
# overlapped. Usage: tools/screenshots.sh [output folder]   (default: build/screenshots)
# The draw history comes from ../shared/data when it is there, else from SIFMORA_DRAWS (a
# folder holding HAO.TXT and HAOP3.TXT). No network: the home server is the shipped home folder.
# With a window manager installed (openbox, icewm, fluxbox, matchbox, twm) the pictures include
# the title bars. SIFMORA_SCREENSHOT_FONT=<family> draws the windows in that font (for example the tests' font
# "WenQuanYi Micro Hei"), and the tables in its fixed-pitch face ("<family> Mono") where there is one.
set -euo pipefail
cd "$(dirname "$0")/.."
out="$(realpath -m "${1:-build/screenshots}")"
./tools/install-deps.sh xvfb xauth fonts-noto-cjk fonts-wqy-microhei
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE=16 \
  -DSIFMORA_SCREENSHOTS=ON >/dev/null
cmake --build build --target screenshots -j8

draws="${SIFMORA_DRAWS:-../shared/data}"
prog="$(mktemp -d)"
trap 'rm -rf "$prog"' EXIT
for f in HAO.TXT HAOP3.TXT; do
  if [ -f "$draws/$f" ]; then cp "$draws/$f" "$prog/"; else echo "no $draws/$f: the windows show an empty history"; fi
done
mkdir -p "$prog/HAO"  # the bet folder, so that the prize check opens
cp -r home "$prog/"   # the shipped pages: the help, the formula guide, the smart system's page
rm -rf "$out"
mkdir -p "$out"
# A small window manager, when one is installed, draws the title bars, so the pictures show the
# windows' titles; without one they show the windows' insides only.
wm=""
for w in openbox icewm fluxbox matchbox-window-manager twm; do
  if command -v "$w" >/dev/null 2>&1; then wm=$w; break; fi
done
[ -n "$wm" ] || echo "没有安装窗口管理器（例如 openbox）：图片中没有标题栏。"
env -u SIFMORA_HOME_URL XDG_CONFIG_HOME="$prog/config" SIFMORA_DIR="$prog" SIFMORA_RESULTS_URL=http://127.0.0.1:9 \
  SIFMORA_SCREENSHOT_WM="$wm" xvfb-run -a -s "-screen 0 1600x1200x24" bash -c '
    if [ -n "$SIFMORA_SCREENSHOT_WM" ]; then
      "$SIFMORA_SCREENSHOT_WM" >/dev/null 2>&1 &
      wm_pid=$!
      sleep 1
    fi
    build/bin/screenshots "$1"
    status=$?
    [ -z "${wm_pid:-}" ] || kill "$wm_pid" 2>/dev/null
    exit $status' screenshots "$out"
echo "$(ls "$out" | wc -l) pictures in $out"
