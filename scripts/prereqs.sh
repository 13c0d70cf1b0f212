#!/usr/bin/env bash
# Installs what the build and the tests need, and nothing that is already there.
# A package mirror that is out of step with itself (a list being synced while
# apt reads it) must not stop a new machine: the lists are fetched a few times,
# the install is retried with every package from the release suite, and each
# fallback says in one line what happened. A package that cannot be had at all
# still ends the script with a non-zero status.
set -euo pipefail

packages=(cmake make clang googletest
          g++-mingw-w64-i686 binutils-mingw-w64-i686 g++-mingw-w64-x86-64
          wine wine32:i386 wine64 xvfb xauth imagemagick
          osslsigncode openssl python3-pefile locales)

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
export DEBIAN_FRONTEND=noninteractive
log=$(mktemp)
trap 'rm -f "$log"' EXIT
echo "prereqs: installing ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi

tries=${PREREQS_UPDATE_TRIES:-3}
updated=0
for i in $(seq "$tries"); do
  if $sudo apt-get update -qq >"$log" 2>&1; then updated=1; break; fi
  if [ "$i" -lt "$tries" ]; then sleep "${PREREQS_UPDATE_PAUSE:-10}"; fi
done
if [ $updated -eq 0 ]; then
  why=$(grep -m1 -E '^(E|W):' "$log" || tail -n 1 "$log")
  echo "prereqs: apt-get update failed $tries times (${why}); going on with the package lists it has"
fi

install() { $sudo apt-get install -y -qq "$@" >"$log" 2>&1; }
if ! install "${missing[@]}"; then
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  why=$(grep -m1 -E '^E:' "$log" || tail -n 1 "$log")
  if [ -z "$codename" ]; then
    echo "prereqs: could not install ${missing[*]} (${why}), and /etc/os-release names no release to fall back on" >&2
    exit 1
  fi
  echo "prereqs: install failed (${why}); trying once more with every package from the release suite $codename, where the amd64 and i386 versions agree"
  if ! install -t "$codename" "${missing[@]}"; then
    echo "prereqs: could not install ${missing[*]}; apt-get said:" >&2
    grep -E '^(E|W):|^ ' "$log" | tail -n 15 >&2 || tail -n 15 "$log" >&2
    exit 1
  fi
fi
echo "prereqs: done"
