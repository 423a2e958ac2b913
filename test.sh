#!/usr/bin/env bash
# The project's test command: installs what is missing, builds the native and Windows trees, and runs
# every unit, end-to-end and Wine test. Exits non-zero on any failure. A second run is incremental.
#   ./test.sh            everything
#   ./test.sh --native   only the native tree (fast loop while working on the portable core)
set -uo pipefail
root=$(cd "$(dirname "$0")" && pwd)
cd "$root"
native_only=0
[ "${1:-}" = "--native" ] && native_only=1

jobs=$(nproc 2>/dev/null || echo 2)
step() { printf '\n=== %s\n' "$*"; }

step "dependencies"
./tools/install-deps.sh || exit 1
# A Japanese locale that install-deps has just generated stays unknown to this shell (its C library
# looked for the locale archive once, when bash started): the script goes on in a fresh one.
if [ -z "${QUORVEL_FRESH_SHELL:-}" ] && [ -n "$( (export LC_ALL=ja_JP.UTF-8) 2>&1)" ]; then
  QUORVEL_FRESH_SHELL=1 exec "$root/test.sh" "$@"
fi

configure() {  # configure DIR [cmake args...]: once per tree; later runs only build
  local dir=$1; shift
  [ -f "$dir/build.ninja" ] && return 0
  cmake -S "$root" -B "$dir" -G Ninja "$@" >"$dir.configure.log" 2>&1 || { mkdir -p "$dir"; cat "$dir.configure.log"; return 1; }
}

mkdir -p build
step "native build (AddressSanitizer + UBSan)"
configure build/native -DCMAKE_BUILD_TYPE=Debug -DQUORVEL_SANITIZE=ON || exit 1
ninja -C build/native -j"$jobs" || exit 1

step "native tests"
(cd build/native && ctest -j"$jobs" --output-on-failure --timeout 300) | tee build/native-ctest.log | tail -n 15
native_rc=${PIPESTATUS[0]}
summary() { grep -Eo '[0-9]+ tests failed out of [0-9]+' "$1" | tail -n 1; }

step "fuzzers (short run; tools/fuzz.sh SECONDS for a long one)"
tools/fuzz.sh 10
fuzz_rc=$?

if [ "$native_only" = 1 ]; then
  echo "native: $(summary build/native-ctest.log)"
  [ "$native_rc" = 0 ] && [ "$fuzz_rc" = 0 ]
  exit
fi

step "Windows build (i686, the shipped programs)"
configure build/win32 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw32.cmake" -DQUORVEL_BENCH=OFF || exit 1
ninja -C build/win32 -j"$jobs" || exit 1
file build/win32/bin/Quorvel.exe build/win32/bin/Launcher.exe

source tools/wine-env.sh win32
if quorvel_can_run_32bit; then
  wintree=build/win32
else
  # This kernel cannot execute 32-bit code: the same sources built for x86_64 run under wine64.
  echo "note: this machine cannot run 32-bit code; Wine tests use the x86_64 build of the same sources"
  wintree=build/win64
  step "Windows build (x86_64, for Wine tests on this machine)"
  configure build/win64 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw64.cmake" -DQUORVEL_BENCH=OFF || exit 1
  ninja -C build/win64 -j"$jobs" || exit 1
  source tools/wine-env.sh win64
fi
quorvel_wine_prefix || exit 1

step "Wine tests ($wintree) under Xvfb"
xvfb_pid=""
# A wineserver left from an earlier run would keep its desktop on a display that is gone.
wineserver -k >/dev/null 2>&1
cleanup() {
  wineserver -k >/dev/null 2>&1
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
}
trap cleanup EXIT
for n in $(seq 40 99); do
  [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
  Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >build/xvfb.log 2>&1 &
  xvfb_pid=$!
  export DISPLAY=:$n
  break
done
for _ in $(seq 1 100); do [ -e "/tmp/.X11-unix/X${DISPLAY#:}" ] && break; sleep 0.1; done
wineserver -p >/dev/null 2>&1 </dev/null

(cd "$wintree" && ctest -j2 --output-on-failure --timeout 600) | tee build/wine-ctest.log | tail -n 25
wine_rc=${PIPESTATUS[0]}
echo "screenshots: $root/$wintree/bin/screenshots"
echo "installer and portable zip: $root/build/win32/dist"

step "summary"
total_passed=0; total_failed=0
for log in build/native-ctest.log build/wine-ctest.log; do
  line=$(summary "$log")
  failed=$(echo "$line" | awk '{print $1}'); all=$(echo "$line" | awk '{print $NF}')
  total_failed=$((total_failed + ${failed:-0})); total_passed=$((total_passed + ${all:-0} - ${failed:-0}))
done
echo "$total_passed passed, $total_failed failed"
[ "$fuzz_rc" = 0 ] || echo "fuzzers: FAILED"
[ "$native_rc" = 0 ] && [ "$wine_rc" = 0 ] && [ "$fuzz_rc" = 0 ] && [ "$total_failed" = 0 ]
