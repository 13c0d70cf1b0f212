#!/usr/bin/env bash
# sizes.sh [BUILD_DIR]   (default: build/win32)
# Prints the sizes of the built programs, the payload that Install.exe
# carries, and Install.exe's own overhead (its size minus the payload bytes),
# and the DLLs each program imports.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build/win32}
payload=0
while read -r name; do
  file="$top/app/docs/$name"
  [ -f "$file" ] || file="$build/payload/$name"
  payload=$((payload + $(stat -c %s "$file")))
done < <(sed -n 's/^PAYLOAD_FILE([0-9]*, "\([^"]*\)").*/\1/p' "$top/common/product/Payload.inc")
install=$(stat -c %s "$build/Install.exe")
echo "Install.exe           $install bytes"
echo "  payload (26 files)  $payload bytes"
echo "  own overhead        $((install - payload)) bytes"
echo "_purgel.exe           $(stat -c %s "$build/payload/_purgel.exe") bytes"
echo "Pellino.exe           $(stat -c %s "$build/payload/Pellino.exe") bytes"
for exe in "$build/Install.exe" "$build/payload/_purgel.exe" "$build/payload/Pellino.exe"; do
  echo "$(basename "$exe") imports: $(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/.*DLL Name: //p' | tr '\n' ' ')"
done
