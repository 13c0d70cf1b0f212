#!/usr/bin/env bash
# Installs what the build and the tests need, and nothing that is already there.
set -euo pipefail

packages=(cmake make clang googletest
          g++-mingw-w64-i686 binutils-mingw-w64-i686
          wine wine32:i386 xvfb xauth imagemagick python3-pefile)

missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  echo "prereqs: everything is installed"
  exit 0
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "prereqs: installing ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
echo "prereqs: done"
