#!/usr/bin/env bash
# signed_release.sh SOURCE_DIR BUILD_DIR WORK_DIR
# Runs scripts/release.sh into WORK_DIR, first without a certificate, then
# with a throwaway code-signing certificate made here (as PKCS#12, then as
# PEM), and checks what it wrote against the win32 build tree BUILD_DIR.
set -euo pipefail
src=$1 build=$2 work=$3
unset SIGN_PKCS12 SIGN_CERT SIGN_KEY SIGN_PASSWORD SIGN_TIMESTAMP_URL   # no real certificate, no network
export BUILD_ROOT=$work DIST=$work/dist JOBS=1
dist=$work/dist tree=$work/release cert=$work/cert
checks=0 failed=0

check() {   # check DESCRIPTION COMMAND...
  checks=$((checks + 1))
  if "${@:2}" >/dev/null 2>&1; then echo "ok: $1"; else echo "FAILED: $1"; failed=$((failed + 1)); fi
}
fails() { ! "$@"; }
verifies() { osslsigncode verify -CAfile "$1" -in "$2"; }   # verifies CA_PEM FILE
# described FILE: the signature is SHA-256 with the product as description.
described() {
  local report
  report=$(osslsigncode verify -CAfile "$cert/signer.pem" -in "$1" 2>&1)
  grep -q "SHA256" <<<"$report" && grep -q "Veltrano 1.0" <<<"$report"
}
# signature_only SIGNED UNSIGNED: without its signature, SIGNED is UNSIGNED
# byte for byte, but for the PE checksum that signing fills in.
signature_only() {
  rm -f "$work/stripped.exe"
  osslsigncode remove-signature -in "$1" -out "$work/stripped.exe" || return 1
  [ "$(stat -c %s "$work/stripped.exe")" = "$(stat -c %s "$2")" ] || return 1
  local checksum=$(( $(od -An -tu4 -j60 -N4 "$2") + 24 + 64 + 1 ))   # 1-based, as cmp counts
  { cmp -l "$work/stripped.exe" "$2" || true; } |
    awk -v first=$checksum '$1 < first || $1 > first + 3 { other = 1 } END { exit other }'
}

rm -rf "$cert" "$dist"
mkdir -p "$cert"
for name in signer stranger; do
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Veltrano test $name" \
      -addext keyUsage=critical,digitalSignature -addext extendedKeyUsage=codeSigning \
      -keyout "$cert/$name.key" -out "$cert/$name.pem" 2>/dev/null
done
openssl pkcs12 -export -in "$cert/signer.pem" -inkey "$cert/signer.key" \
    -passout pass:throwaway -out "$cert/signer.p12"

echo "signed_release: unsigned release"
"$src/scripts/release.sh"
check "the unsigned Install.exe is the build tree's, byte for byte" \
    cmp "$dist/Install.exe" "$build/Install.exe"

echo "signed_release: release signed with a PKCS#12 file"
SIGN_PKCS12=$cert/signer.p12 SIGN_PASSWORD=throwaway "$src/scripts/release.sh"
cp "$dist/Install.exe" "$work/Install-p12.exe"
check "SHA256SUMS names Install.exe with its digest" \
    bash -c "cd '$dist' && sha256sum -c --strict SHA256SUMS"
/usr/bin/python3 "$src/tests/tools/peres.py" "$dist/Install.exe" INSTALL_FILE 1 "$work/carried-Pellino.exe"
/usr/bin/python3 "$src/tests/tools/peres.py" "$dist/Install.exe" INSTALL_FILE 3 "$work/carried-_purgel.exe"
for program in Pellino.exe _purgel.exe; do
  check "Install.exe carries the signed $program" cmp "$work/carried-$program" "$tree/signed/$program"
  check "signing changed nothing in $program but the signature" \
      signature_only "$tree/signed/$program" "$build/payload/$program"
done
check "signing changed nothing in Install.exe but the signature" \
    signature_only "$dist/Install.exe" "$tree/Install.exe"
for file in "$dist/Install.exe" "$work/carried-Pellino.exe" "$work/carried-_purgel.exe"; do
  name=$(basename "$file")
  check "$name verifies against the signing certificate" verifies "$cert/signer.pem" "$file"
  check "$name does not verify against another certificate" fails verifies "$cert/stranger.pem" "$file"
  check "$name is signed with SHA-256 and described as Veltrano 1.0" described "$file"
done

echo "signed_release: release signed with PEM certificate and key"
SIGN_CERT=$cert/signer.pem SIGN_KEY=$cert/signer.key "$src/scripts/release.sh"
check "PEM and PKCS#12 forms of one certificate sign byte-identically" \
    cmp "$dist/Install.exe" "$work/Install-p12.exe"

if [ $failed -eq 0 ]; then
  echo "signed_release: PASSED ($checks checks)"
else
  echo "signed_release: FAILED ($failed of $checks checks)"
  exit 1
fi
