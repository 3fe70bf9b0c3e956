#!/usr/bin/env bash
# Installs the Debian packages that are missing for: run | test | bench.
set -euo pipefail
what=${1:-run}
pkgs=(cmake g++ make pkg-config qt6-base-dev qt6-multimedia-dev libsqlite3-dev libsodium-dev
      libgl-dev fonts-dejavu-core)
case "$what" in
  run) ;;
  test) pkgs+=(clang libclang-rt-14-dev) ;;
  bench) pkgs+=(libbenchmark-dev libreoffice-writer-nogui) ;;
  *) echo "usage: $0 run|test|bench" >&2; exit 2 ;;
esac
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
