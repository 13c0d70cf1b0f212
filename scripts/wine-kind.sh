# Sourced by the Wine scripts. WINE_WINDOWS says which Windows a build tree's
# Wine stands for: win32 (the default), a 32-bit Windows, or win64, a 64-bit
# one on which the 32-bit programs run under WoW64 ("Program Files (x86)",
# syswow64, the registry's 32-bit view). Each kind has its own Wine prefix
# and virtual display in the build tree; this sets their names and the
# environment every Wine command of ours runs with (never ~/.wine).
case "${WINE_WINDOWS:-win32}" in
  win32) kind_suffix= ;;
  win64) kind_suffix=64 ;;
  *) echo "WINE_WINDOWS is win32 or win64, not '$WINE_WINDOWS'" >&2; exit 2 ;;
esac
export WINEARCH=${WINE_WINDOWS:-win32}
export WINEPREFIX="$build/wineprefix$kind_suffix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
xvfb_pid="$build/xvfb$kind_suffix.pid"
xvfb_display="$build/xvfb$kind_suffix.display"
