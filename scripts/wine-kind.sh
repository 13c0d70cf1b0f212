# Sourced by the Wine scripts. WINE_WINDOWS says which Windows a build tree's
# Wine stands for: win32 (the default), a 32-bit Windows, or win64, a 64-bit
# one on which the 32-bit programs run under WoW64 ("Program Files (x86)",
# syswow64, the registry's 32-bit view). Each kind has its own Wine prefix
# and virtual display in the build tree; this sets their names and the
# environment every Wine command of ours runs with (never ~/.wine).
# x64 is a 64-bit Windows for the x64 test build (build.sh x64), whose
# programs Wine runs with its 64-bit loader alone: the one kind a machine
# without 32-bit support can run. $wine is the loader each kind starts with.
wine=wine
case "${WINE_WINDOWS:-win32}" in
  win32) kind_suffix= ; WINEARCH=win32 ;;
  win64) kind_suffix=64 ; WINEARCH=win64 ;;
  x64) kind_suffix=64 ; WINEARCH=win64 ; wine=/usr/lib/wine/wine64
       export WINELOADER=$wine ;;
  *) echo "WINE_WINDOWS is win32, win64 or x64, not '$WINE_WINDOWS'" >&2; exit 2 ;;
esac
export WINEARCH
export WINEPREFIX="$build/wineprefix$kind_suffix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
xvfb_pid="$build/xvfb$kind_suffix.pid"
xvfb_display="$build/xvfb$kind_suffix.display"
