#!/usr/bin/env bash
# The main job: a measurement demo. Builds what is missing, starts the simulated recorder on COM1 of
# the project's private Wine prefix, prepares a demo folder (INI and data folder) and starts Quorvel
# there. Without $DISPLAY it runs under its own Xvfb: it starts a measurement, takes a screenshot,
# stops, closes Quorvel and prints where the screenshot and the INI are. With a display it leaves
# Quorvel open for the operator (the recorder keeps streaming until Quorvel is closed).
#
# Options:
#   --seconds N    how long the headless demo measures (default 5)
#   --launcher     start the Launcher with a sample menu instead
#   --help         this text
set -uo pipefail
root=$(cd "$(dirname "$0")" && pwd)
cd "$root"
args=("$@")

seconds=5
mode=quorvel
while [ $# -gt 0 ]; do
  case "$1" in
    --seconds) seconds=${2:?}; shift 2 ;;
    --launcher) mode=launcher; shift ;;
    -h|--help) sed -n '2,/^[^#]/{/^#/s/^# \{0,1\}//p}' "$0"; exit 0 ;;
    *) echo "unknown option $1 (see --help)"; exit 2 ;;
  esac
done

./tools/install-deps.sh || exit 1
# A Japanese locale that install-deps has just generated stays unknown to this shell (its C library
# looked for the locale archive once, when bash started): the script goes on in a fresh one.
if [ -z "${QUORVEL_FRESH_SHELL:-}" ] && [ -n "$( (export LC_ALL=ja_JP.UTF-8) 2>&1)" ]; then
  QUORVEL_FRESH_SHELL=1 exec "$root/run.sh" "${args[@]}"
fi
source tools/wine-env.sh win32
if quorvel_can_run_32bit; then arch=win32; toolchain=cmake/toolchain-mingw32.cmake
else arch=win64; toolchain=cmake/toolchain-mingw64.cmake; fi
tree=build/$arch
[ -f "$tree/build.ninja" ] || cmake -S . -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/$toolchain" -DQUORVEL_BENCH=OFF >/dev/null || exit 1
ninja -C "$tree" Launcher Quorvel uiauto >/dev/null 2>&1 || { ninja -C "$tree" Launcher Quorvel uiauto; exit 1; }
[ -f build/native/build.ninja ] || cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null || exit 1
ninja -C build/native recsim >/dev/null 2>&1 || { ninja -C build/native recsim; exit 1; }
source tools/wine-env.sh $arch
quorvel_wine_prefix || exit 1

demo=$root/build/demo
mkdir -p "$demo/data"
xvfb=""
rs_pid=""
cleanup() {
  [ -n "$rs_pid" ] && kill "$rs_pid" 2>/dev/null
  rm -f "$WINEPREFIX/dosdevices/com1"
  [ -n "$xvfb" ] && { wineserver -k >/dev/null 2>&1; kill "$xvfb" 2>/dev/null; }
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
  wineserver -k >/dev/null 2>&1  # its desktop would be on a display that is gone
  for n in $(seq 20 39); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
    Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >"$demo/xvfb.log" 2>&1 &
    xvfb=$!; export DISPLAY=:$n; break
  done
  for _ in $(seq 1 100); do [ -e "/tmp/.X11-unix/X${DISPLAY#:}" ] && break; sleep 0.1; done
fi
wineserver -p >/dev/null 2>&1 </dev/null
ui() { "$QUORVEL_WINE" "$tree/bin/uiauto.exe" "$@" >"$demo/ui.out" 2>/dev/null </dev/null; local rc=$?; tr -d '\r' <"$demo/ui.out"; return $rc; }

if [ "$mode" = launcher ]; then
  cp "$tree/bin/Launcher.exe" "$tree/bin/Quorvel.exe" "$demo/"
  sed 's/$/\r/' launcher/Launcher.sample.ini | iconv -f UTF-8 -t CP932 >"$demo/Launcher.ini"
  /usr/bin/convert -size 480x320 gradient:'#1d3557-#a8dadc' BMP3:"$demo/back.bmp"
  if [ -z "$xvfb" ]; then exec "$QUORVEL_WINE" "$demo/Launcher.exe" >"$demo/wine.log" 2>&1; fi
  "$QUORVEL_WINE" "$demo/Launcher.exe" >"$demo/wine.log" 2>&1 </dev/null &
  pid=$!
  hwnd=$(ui find --class LAUNCHER --timeout 20000) || { echo "the Launcher did not appear ($demo/wine.log)"; exit 1; }
  /usr/bin/import -display "$DISPLAY" -window root "$demo/launcher.png"
  ui click "$hwnd" 1003 >/dev/null
  wait $pid
  echo "screenshot: $demo/launcher.png"
  exit 0
fi

# The simulated recorder on COM1: 16-bit records at 100 per second, a time report every second.
build/native/bin/recsim --bit 16 --rate 100 --lowpass 20 --tm-every 1 --axis x:amp=800,freq=2 \
  --axis y:amp=400,freq=5,noise=20 --axis z:burst=1200,burstperiod=3000,burstms=400,noise=30 \
  --link "$WINEPREFIX/dosdevices/com1" --keep-link --log "$demo/recsim.log" >"$demo/recsim.out" 2>&1 &
rs_pid=$!
for _ in $(seq 1 100); do grep -q ' EV LINK' "$demo/recsim.log" 2>/dev/null && break; sleep 0.1; done

printf '[SPEC]\nCOM=COM1\nSAVE_DIRECTORY=Z:%s\nLOG_LIST=1\nBIT=16\n' "$(echo "$demo/data" | tr '/' '\\')" |
  sed 's/$/\r/' >"$demo/Quorvel.ini.new"
[ -f "$demo/Quorvel.ini" ] || mv "$demo/Quorvel.ini.new" "$demo/Quorvel.ini"
rm -f "$demo/Quorvel.ini.new"
cp "$tree/bin/Quorvel.exe" "$demo/"

if [ -z "$xvfb" ]; then
  echo "Quorvel: $demo (INI $demo/Quorvel.ini, recorder on COM1; close Quorvel to end the demo)"
  (cd "$demo" && "$QUORVEL_WINE" Quorvel.exe >"$demo/wine.log" 2>&1)
  exit 0
fi

(cd "$demo" && exec "$QUORVEL_WINE" Quorvel.exe >"$demo/wine.log" 2>&1 </dev/null) &
pid=$!
hwnd=$(ui find --prop "Quorvel.exe 2A217156-E4D9-4f05-B856-5ED6F5C867BE" --timeout 30000) ||
  { echo "Quorvel did not appear ($demo/wine.log)"; exit 1; }
ui click "$hwnd" 1038 >/dev/null
for _ in $(seq 1 100); do [ "$(ui text "$hwnd" 1053)" = "受信中" ] && break; sleep 0.1; done
echo "status: $(ui text "$hwnd" 1053), low-pass: $(ui text "$hwnd" 1098) Hz"
sleep "$seconds"
/usr/bin/import -display "$DISPLAY" -window root "$demo/quorvel.png"
ui click "$hwnd" 1038 >/dev/null
for _ in $(seq 1 100); do [ "$(ui text "$hwnd" 1053)" = "待機中" ] && break; sleep 0.1; done
ui list "$hwnd" 1052 >"$demo/log.txt"
ui close "$hwnd" >/dev/null
wait $pid
echo "screenshot: $demo/quorvel.png"
echo "INI: $demo/Quorvel.ini"
echo "event log: $demo/log.txt ($(grep -c . "$demo/log.txt") rows)"
