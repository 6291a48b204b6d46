#!/usr/bin/env bash
# Installs the Debian packages the build needs, asking the package registry only for what is
# missing: with everything installed it touches no network.
#   install-deps.sh                       the packages the build cannot do without
#   install-deps.sh PKG...                those packages, required
#   install-deps.sh --optional WHY PKG... packages the program can do without; WHY says what
#                                         it lacks then (one line, and the script goes on)
set -euo pipefail
optional=""
if [ "${1:-}" = "--optional" ]; then
  optional=$2
  shift 2
fi
pkgs=("$@")
[ ${#pkgs[@]} -gt 0 ] || pkgs=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools libgl-dev libgtest-dev libgmock-dev libbenchmark-dev)

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
missing=()
for p in "${pkgs[@]}"; do
  installed "$p" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

give_up() {
  if [ -n "$optional" ]; then
    echo "未安装可选软件包 ${missing[*]}（$1）：$optional。"
    exit 0
  fi
  echo "缺少必需的软件包 ${missing[*]}（$1），无法继续；请联网后重试或手工安装。" >&2
  exit 1
}

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null 2>&1 || give_up "没有 root 权限也没有 sudo"
  SUDO="sudo"
fi
command -v apt-get >/dev/null 2>&1 || give_up "这台机器没有 apt-get"
export DEBIAN_FRONTEND=noninteractive
log=$(mktemp)
trap 'rm -f "$log"' EXIT
# The package lists may already know the packages: try without refreshing them first.
if $SUDO apt-get install -y -qq "${missing[@]}" >"$log" 2>&1; then exit 0; fi
if $SUDO apt-get update -qq >>"$log" 2>&1 && $SUDO apt-get install -y -qq "${missing[@]}" >>"$log" 2>&1; then
  exit 0
fi
give_up "离线或软件源中没有"
