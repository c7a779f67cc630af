#!/usr/bin/env bash
# Installs everything the build, the tests and the sample run need on a fresh
# Debian machine. Runs as root (or through sudo); does nothing when all is there.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libgif-dev libstb-dev imagemagick python3 python3-pil
  g++-mingw-w64-i686 g++-mingw-w64-x86-64
  wine wine64 wine32:i386 xvfb xdotool x11-utils
)

missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
echo "Installing: ${missing[*]}"
$sudo dpkg --add-architecture i386
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
