#!/usr/bin/env bash
# release.sh: builds Install.exe for distribution and writes it with a
# SHA256SUMS file to dist/ (DIST=dir puts them elsewhere). The build has a
# tree of its own, ${BUILD_ROOT:-build}/release, with the settings of
# build.sh's win32 tree; the normal build and its tests are not touched.
#
# Signing happens only when a certificate is given:
#   SIGN_PKCS12=file.p12               certificate and key in one PKCS#12 file, or
#   SIGN_CERT=cert.pem SIGN_KEY=key.pem   certificate (with its chain) and key as PEM
#   SIGN_PASSWORD=...                  password of the PKCS#12 file or of the key, if any
#   SIGN_TIMESTAMP_URL=url             RFC 3161 timestamp server (optional)
#   SOURCE_DATE_EPOCH=seconds          signing time (default: the last commit's time)
# Pellino.exe and _purgel.exe are signed first and embedded signed, then
# Install.exe is signed: every program a user ends up with carries the
# signature. Signing adds the signature and the PE checksum, nothing else;
# without a timestamp server the signed files are byte-reproducible too.
# Without a certificate the unsigned build is written, byte-identical to the
# Install.exe of build.sh for the same commit.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
root=${BUILD_ROOT:-$top/build}
tree=$root/release
dist=${DIST:-$top/dist}
jobs=${JOBS:-2}

signer=()
if [ -n "${SIGN_PKCS12:-}" ] && [ -n "${SIGN_CERT:-}${SIGN_KEY:-}" ]; then
  echo "release: FAILED: give SIGN_PKCS12, or SIGN_CERT and SIGN_KEY, not both"; exit 2
elif [ -n "${SIGN_PKCS12:-}" ]; then
  signer=(-pkcs12 "$SIGN_PKCS12")
elif [ -n "${SIGN_CERT:-}${SIGN_KEY:-}" ]; then
  if [ -z "${SIGN_CERT:-}" ] || [ -z "${SIGN_KEY:-}" ]; then
    echo "release: FAILED: SIGN_CERT and SIGN_KEY go together"; exit 2
  fi
  signer=(-certs "$SIGN_CERT" -key "$SIGN_KEY")
fi
for file in "${SIGN_PKCS12:-}" "${SIGN_CERT:-}" "${SIGN_KEY:-}"; do
  if [ -n "$file" ] && [ ! -r "$file" ]; then
    echo "release: FAILED: cannot read $file"; exit 2
  fi
done
signing_time=${SOURCE_DATE_EPOCH:-$(git -C "$top" log -1 --format=%ct 2>/dev/null || date +%s)}

# sign_file IN OUT: writes OUT, the signed copy of IN. The password goes
# through a pipe, not the command line. A timestamp server sets the time
# itself; otherwise the fixed signing time makes the signature reproducible.
sign_file() {
  local args=("${signer[@]}" -h sha256 -n "Veltrano 1.0")
  if [ -n "${SIGN_TIMESTAMP_URL:-}" ]; then
    args+=(-ts "$SIGN_TIMESTAMP_URL")
  else
    args+=(-time "$signing_time")
  fi
  rm -f "$2"
  if [ -n "${SIGN_PASSWORD:-}" ]; then
    osslsigncode sign "${args[@]}" -readpass <(printf '%s' "$SIGN_PASSWORD") \
        -in "$1" -out "$2" >/dev/null
  else
    osslsigncode sign "${args[@]}" -in "$1" -out "$2" >/dev/null
  fi
  chmod +x "$2"   # a program, like the unsigned one
}

"$top/scripts/prereqs.sh"
echo "release: commit $(git -C "$top" describe --always --dirty 2>/dev/null || echo unknown)"
payload=$tree/payload
[ ${#signer[@]} -eq 0 ] || payload=$tree/signed
echo "release: configuring $tree (Install.exe takes its programs from $payload)"
cmake -S "$top" -B "$tree" -DCMAKE_BUILD_TYPE=MinSizeRel \
      -DCMAKE_TOOLCHAIN_FILE="$top/cmake/i686-w64-mingw32.cmake" \
      -DVELTRANO_PAYLOAD_DIR="$payload" >/dev/null
echo "release: building Pellino.exe and _purgel.exe"
cmake --build "$tree" -j "$jobs" --target Pellino _purgel
if [ ${#signer[@]} -gt 0 ]; then
  mkdir -p "$tree/signed"
  for program in Pellino.exe _purgel.exe; do
    sign_file "$tree/payload/$program" "$tree/signed/$program"
    echo "release: signed $program"
  done
fi
echo "release: building Install.exe"
cmake --build "$tree" -j "$jobs" --target Install

mkdir -p "$dist"
rm -f "$dist/Install.exe" "$dist/SHA256SUMS"
if [ ${#signer[@]} -gt 0 ]; then
  sign_file "$tree/Install.exe" "$dist/Install.exe.part"
  echo "release: signed Install.exe"
else
  cp "$tree/Install.exe" "$dist/Install.exe.part"
fi
mv "$dist/Install.exe.part" "$dist/Install.exe"
(cd "$dist" && sha256sum Install.exe > SHA256SUMS)
echo "release: $dist/Install.exe, $(stat -c %s "$dist/Install.exe") bytes, sha256 $(cut -d' ' -f1 "$dist/SHA256SUMS")"
if [ ${#signer[@]} -gt 0 ]; then
  echo "release: done: SIGNED Install.exe with signed Pellino.exe and _purgel.exe inside, and SHA256SUMS in $dist"
else
  echo "release: done: UNSIGNED Install.exe (no certificate given: set SIGN_PKCS12, or SIGN_CERT and SIGN_KEY) and SHA256SUMS in $dist"
fi
