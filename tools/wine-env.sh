# Sourced by the scripts that run Wine: the project's private prefix and a Japanese locale.
# Usage: source tools/wine-env.sh [win32|win64]
# win32 runs the i686 programs with the 32-bit Wine loader; win64 runs x86_64 builds of the same
# sources with wine64, for machines whose kernel cannot execute 32-bit code.
_quorvel_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export QUORVEL_WINE_ARCH=${1:-${QUORVEL_WINE_ARCH:-win64}}
export WINEPREFIX=${QUORVEL_WINEPREFIX:-$_quorvel_root/build/wineprefix-$QUORVEL_WINE_ARCH}
export WINEARCH=$QUORVEL_WINE_ARCH
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=ja_JP.UTF-8
export LC_ALL=ja_JP.UTF-8
if [ "$QUORVEL_WINE_ARCH" = win32 ]; then
  QUORVEL_WINE=/usr/lib/wine/wine
else
  QUORVEL_WINE=/usr/lib/wine/wine64
fi
export QUORVEL_WINE

# True when this machine can execute 32-bit x86 code (some kernels have it switched off).
# QUORVEL_32BIT=off behaves as a machine without it (the path CI machines take).
quorvel_can_run_32bit() {
  [ "${QUORVEL_32BIT:-}" != off ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}

# Creates the prefix once and makes every window open inside a virtual desktop, which draws
# frames and title bars even without a window manager.
quorvel_wine_prefix() {
  [ -f "$WINEPREFIX/.quorvel-ready" ] && return 0
  mkdir -p "$WINEPREFIX"
  local log="$WINEPREFIX.log"
  echo "wine-env: creating Wine prefix $WINEPREFIX"
  "$QUORVEL_WINE" wineboot -i >"$log" 2>&1 </dev/null || { cat "$log"; return 1; }
  "$QUORVEL_WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >>"$log" 2>&1 </dev/null
  "$QUORVEL_WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x960 /f >>"$log" 2>&1 </dev/null
  wineserver -w
  # Caption buttons are drawn with Marlett; not every Wine build registers it in a new prefix.
  [ -f /usr/share/wine/fonts/marlett.ttf ] && cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  touch "$WINEPREFIX/.quorvel-ready"
}
