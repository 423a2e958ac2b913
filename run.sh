#!/usr/bin/env bash
# The main job: builds what is missing and starts the Launcher with a sample menu.
# Without $DISPLAY it runs under its own Xvfb, takes a screenshot, closes the Launcher and prints
# the screenshot's path. With a display it leaves the Launcher open for the operator.
set -uo pipefail
root=$(cd "$(dirname "$0")" && pwd)
cd "$root"

if [ "${1:-}" = "--help" ] || [ "${1:-}" = "-h" ]; then
  sed -n '2,4p' "$0" | sed 's/^# \{0,1\}//'
  exit 0
fi

./tools/install-deps.sh || exit 1
source tools/wine-env.sh win32
if quorvel_can_run_32bit; then arch=win32; toolchain=cmake/toolchain-mingw32.cmake
else arch=win64; toolchain=cmake/toolchain-mingw64.cmake; fi
tree=build/$arch
[ -f "$tree/build.ninja" ] || cmake -S . -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/$toolchain" -DQUORVEL_BENCH=OFF >/dev/null || exit 1
ninja -C "$tree" Launcher Quorvel uiauto >/dev/null 2>&1 || { ninja -C "$tree" Launcher Quorvel uiauto; exit 1; }
source tools/wine-env.sh $arch
quorvel_wine_prefix || exit 1

demo=$root/build/demo-launcher
mkdir -p "$demo"
cp "$tree/bin/Launcher.exe" "$tree/bin/Quorvel.exe" "$demo/"
sed 's/$/\r/' launcher/Launcher.sample.ini | iconv -f UTF-8 -t CP932 >"$demo/Launcher.ini"
/usr/bin/convert -size 480x320 gradient:'#1d3557-#a8dadc' BMP3:"$demo/back.bmp"

xvfb=""
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 20 39); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
    Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >"$demo/xvfb.log" 2>&1 &
    xvfb=$!; export DISPLAY=:$n; break
  done
  for _ in $(seq 1 100); do [ -e "/tmp/.X11-unix/X${DISPLAY#:}" ] && break; sleep 0.1; done
  trap '[ -n "$xvfb" ] && kill $xvfb 2>/dev/null; wineserver -k >/dev/null 2>&1' EXIT
fi

if [ -z "$xvfb" ]; then
  echo "Launcher: $demo/Launcher.exe (menu in $demo/Launcher.ini)"
  exec "$QUORVEL_WINE" "$demo/Launcher.exe" >"$demo/wine.log" 2>&1
fi

"$QUORVEL_WINE" "$demo/Launcher.exe" >"$demo/wine.log" 2>&1 </dev/null &
pid=$!
"$QUORVEL_WINE" "$tree/bin/uiauto.exe" find --class LAUNCHER --timeout 20000 >"$demo/hwnd.txt" 2>/dev/null </dev/null
hwnd=$(tr -d '\r' <"$demo/hwnd.txt")
[ -n "$hwnd" ] || { echo "the Launcher window did not appear (see $demo/wine.log)"; exit 1; }
/usr/bin/import -display "$DISPLAY" -window root "$demo/launcher.png"
"$QUORVEL_WINE" "$tree/bin/uiauto.exe" click "$hwnd" 1003 >/dev/null 2>&1 </dev/null
wait $pid
rc=$?
echo "screenshot: $demo/launcher.png"
echo "launcher exit code: $rc"
exit $rc
