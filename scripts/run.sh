#!/usr/bin/env bash
# run.sh: builds Install.exe and starts it under Wine.
# With a display ($DISPLAY set) the setup wizard opens there for you to use.
# Without one, it runs on a virtual display (Xvfb) where the robot walks
# through every page, takes a screenshot of each into build/screenshots/,
# makes a default installation and prints a short summary of it, then shows
# the welcome and options pages once more at 144 DPI.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
root=${BUILD_ROOT:-$top/build}
build=$root/win32
"$top/scripts/prereqs.sh"
BUILD_ROOT=$root "$top/scripts/build.sh" win32
"$top/scripts/wine-prefix.sh" "$build"
. "$top/scripts/wine-kind.sh"

if [ -n "${DISPLAY:-}" ]; then
  echo "run: starting Install.exe on display $DISPLAY"
  wine "$build/Install.exe"
  echo "run: Install.exe has ended"
  exit 0
fi

shots=$root/screenshots
mkdir -p "$shots"
rm -f "$shots"/*.png
# A virtual display that this command starts is stopped again at its end.
if [ ! -f "$xvfb_pid" ] || ! kill -0 "$(cat "$xvfb_pid")" 2>/dev/null; then
  "$top/scripts/xvfb.sh" "$build" start
  # Wine's processes (the started application among them) end first, so
  # that none of them is left talking to a display that has gone.
  trap '"$top/scripts/wine-prefix.sh" "$build" stop >/dev/null; "$top/scripts/xvfb.sh" "$build" stop >/dev/null' EXIT
fi
display=$(cat "$xvfb_display")
# Without a window manager Wine must size and frame the windows itself.
"$top/scripts/wine.sh" "$build" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
echo "run: no display; walking through Install.exe on the virtual display $display"
export SETUP_TOUR_SHOTS="Z:${shots//\//\\}"
status=0
# The default installation with every page, then the first pages at 144 DPI.
for tour in default_installation_tour high_dpi_tour; do
  "$top/scripts/wine.sh" "$build" "$build/tests/e2e/setup_tour.exe" "$tour" |
    while IFS= read -r line; do
      line=${line%$'\r'}
      case "$line" in
        SHOT\ *)
          name=${line#SHOT }
          import -window root -display "$display" "png:$shots/$name.png.part"
          mv "$shots/$name.png.part" "$shots/$name.png"
          echo "run: screenshot $shots/$name.png"
          ;;
        *) echo "$line" ;;
      esac
    done || status=$?
  [ "${PIPESTATUS[0]:-0}" = 0 ] || status=1
done
echo "run: $(ls "$shots"/*.png 2>/dev/null | wc -l) screenshots in $shots"
exit $status
