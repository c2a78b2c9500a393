#!/usr/bin/env bash
# Installs the Debian packages Trevik's build and tests need, only those that
# are missing. Safe to run again. Needs root (or sudo) when something is missing.
set -euo pipefail

packages=(
    cmake ninja-build g++ clang clang-format libclang-rt-dev
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    wine wine64 xvfb xauth x11-utils imagemagick fonts-noto-cjk fonts-ipafont-gothic locales
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
