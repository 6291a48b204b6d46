#!/usr/bin/env bash
# Installs the Debian packages the build needs, asking the package registry only for what is
# missing: with everything installed it touches no network.
#   install-deps.sh                       the packages the build cannot do without
#   install-deps.sh PKG...                those packages, required
#   install-deps.sh --optional WHY PKG... packages the program can do without; WHY says what
#                                         it lacks then (one line, and the script goes on)
# It says what it tries before any wait. An unreachable registry is found within a few
# seconds. An optional group that could not be had is remembered in the build folder
# (build/deps-missing.txt) and not tried again at every start: only when the registry
# answers, or when asked with SIFMORA_RETRY_DEPS=1.
set -euo pipefail
optional=""
if [ "${1:-}" = "--optional" ]; then
  optional=$2
  shift 2
fi
pkgs=("$@")
[ ${#pkgs[@]} -gt 0 ] || pkgs=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools libgl-dev libgtest-dev libgmock-dev libbenchmark-dev)

# One query for the whole group: a start with everything installed stays quick.
status=$'\n'$(dpkg-query -W -f='${Package} ${Status}\n' "${pkgs[@]}" 2>/dev/null || true)$'\n'
missing=()
for p in "${pkgs[@]}"; do
  [[ $status == *$'\n'"$p install ok installed"$'\n'* ]] || missing+=("$p")
done

state_dir="$(cd "$(dirname "$0")/.." && pwd)/build"
remembered="$state_dir/deps-missing.txt"
# The answer of the registry's probe, kept for a minute so the groups of one start wait once.
unreachable_mark="$state_dir/deps-registry-unreachable"
group="${pkgs[*]}"
forget_group() {
  [ -f "$remembered" ] || return 0
  grep -vxF -- "$group" "$remembered" >"$remembered.tmp" || true
  mv -f "$remembered.tmp" "$remembered"
}

if [ ${#missing[@]} -eq 0 ]; then
  [ -z "$optional" ] || forget_group
  exit 0
fi

give_up() {
  if [ -n "$optional" ]; then
    mkdir -p "$state_dir"
    grep -qxF -- "$group" "$remembered" 2>/dev/null || echo "$group" >>"$remembered"
    echo "未安装可选软件包 ${missing[*]}（$1）：$optional。"
    exit 0
  fi
  echo "缺少必需的软件包 ${missing[*]}（$1），无法继续；请联网后重试或手工安装。" >&2
  exit 1
}

# The registry's host and port: the proxy apt uses, else the first source's address.
registry_address() {
  local url
  url=$(apt-config shell P Acquire::http::Proxy 2>/dev/null | sed -n "s/^P='\(.*\)'$/\1/p")
  [ -n "$url" ] || url=${http_proxy:-}
  if [ -z "$url" ]; then
    url=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources 2>/dev/null |
      grep -oE '^[[:space:]]*(deb|URIs:)[[:space:]]+(\[[^]]*\][[:space:]]+)?[a-z+]+://[^[:space:]]+' |
      grep -oE '[a-z+]+://[^[:space:]]+' | head -n 1 || true)
  fi
  [ -n "$url" ] || return 1
  local scheme=${url%%://*} rest=${url#*://}
  case $scheme in http | https) ;; *) return 1 ;; esac
  rest=${rest%%/*}
  rest=${rest##*@}
  local host=${rest%%:*} port=80
  [ "$scheme" = "https" ] && port=443
  [ "$rest" != "$host" ] && port=${rest##*:}
  echo "$host $port"
}

# True when the registry answers a connection within 2 s (a local file: source always does).
registry_answers() {
  if [ -f "$unreachable_mark" ] && [ -n "$(find "$unreachable_mark" -mmin -1 2>/dev/null)" ]; then
    return 1
  fi
  local address
  address=$(registry_address) || return 0
  if timeout 2 bash -c "exec 3<>/dev/tcp/${address% *}/${address#* }" 2>/dev/null; then
    rm -f "$unreachable_mark"
    return 0
  fi
  mkdir -p "$state_dir"
  touch "$unreachable_mark"
  return 1
}

if [ -n "$optional" ] && [ "${SIFMORA_RETRY_DEPS:-0}" != "1" ] && grep -qxF -- "$group" "$remembered" 2>/dev/null; then
  # Could not be had before: only a registry that answers now is worth a try.
  registry_answers || give_up "上次未能安装，软件源仍连不上；联网后会自动再试，或用 SIFMORA_RETRY_DEPS=1 立即再试"
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null 2>&1 || give_up "没有 root 权限也没有 sudo"
  SUDO="sudo"
fi
command -v apt-get >/dev/null 2>&1 || give_up "这台机器没有 apt-get"
echo "正在从软件源安装 ${missing[*]}……"
registry_answers || give_up "软件源 2 秒内没有应答，可能没有联网"
export DEBIAN_FRONTEND=noninteractive
# A registry that stops answering midway fails the step after seconds, not minutes.
apt_opts=(-o Acquire::http::Timeout=10 -o Acquire::https::Timeout=10 -o Acquire::Retries=0)
log=$(mktemp)
trap 'rm -f "$log"' EXIT
# The package lists may already know the packages: try without refreshing them first.
if $SUDO apt-get "${apt_opts[@]}" install -y -qq "${missing[@]}" >"$log" 2>&1; then
  [ -z "$optional" ] || forget_group
  exit 0
fi
if $SUDO apt-get "${apt_opts[@]}" update -qq >>"$log" 2>&1 &&
  $SUDO apt-get "${apt_opts[@]}" install -y -qq "${missing[@]}" >>"$log" 2>&1; then
  [ -z "$optional" ] || forget_group
  exit 0
fi
give_up "软件源中没有或安装失败"
