#!/usr/bin/env bash
# The project's test command: installs what is missing, builds the native and Windows trees, and runs
# every unit, end-to-end and Wine test. Exits non-zero on any failure. A second run is incremental.
#   ./test.sh            everything
#   ./test.sh --native   only the native tree (fast loop while working on the portable core)
#   ./test.sh --shipped  only the shipped i686 build's pass (its unit tests, a measurement and the
#                        installer), natively or emulated; the native tree is built for recsim
set -uo pipefail
root=$(cd "$(dirname "$0")" && pwd)
cd "$root"
mode=all
case "${1:-}" in
  --native) mode=native ;;
  --shipped) mode=shipped ;;
esac

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

summary() { grep -Eo '[0-9]+ tests failed out of [0-9]+' "$1" | tail -n 1; }
logs=()
native_rc=0 fuzz_rc=0 wine_rc=0 emu_rc=0
if [ "$mode" != shipped ]; then
  step "native tests"
  (cd build/native && ctest -j"$jobs" --output-on-failure --timeout 300) | tee build/native-ctest.log | tail -n 15
  native_rc=${PIPESTATUS[0]}
  logs+=(build/native-ctest.log)

  step "fuzzers (short run; tools/fuzz.sh SECONDS for a long one)"
  tools/fuzz.sh 10
  fuzz_rc=$?
fi

if [ "$mode" = native ]; then
  echo "native: $(summary build/native-ctest.log)"
  [ "$native_rc" = 0 ] && [ "$fuzz_rc" = 0 ]
  exit
fi

configure build/win32 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw32.cmake" -DQUORVEL_BENCH=OFF || exit 1
win32_build=""
build_win32() {
  step "Windows build (i686, the shipped programs)"
  ninja -C build/win32 -j"$jobs" || exit 1
  file build/win32/bin/Quorvel.exe build/win32/bin/Launcher.exe
}
# The i686 tree built in the background of the Wine tests: waits for it; false when it failed.
win32_built() {
  [ -n "$win32_build" ] || return 0
  wait "$win32_build"
  local rc=$?
  win32_build=""
  if [ "$rc" != 0 ]; then
    tail -n 40 build/win32-build.log
    echo "Windows build (i686): FAILED (build/win32-build.log)"
    return 1
  fi
  echo "Windows build (i686, the shipped programs): done in the background of the Wine tests"
  file build/win32/bin/Quorvel.exe build/win32/bin/Launcher.exe
}

# The shipped i686 programs run natively where the kernel executes 32-bit code. Elsewhere every test
# runs on the x86_64 build of the same sources under wine64, and then the shipped build's own pass
# (its unit tests, a measurement and the installer) runs under emulation where it can.
source tools/wine-env.sh win32
if quorvel_can_run_32bit; then
  build_win32
  wintree=build/win32
  i686_pass=native
else
  if i686_why=$(tools/emu32.sh check); then i686_pass=emulated; else i686_pass=none; fi
  echo "note: this machine cannot run 32-bit code; Wine tests use the x86_64 build of the same sources"
  if [ "$i686_pass" = emulated ]; then
    echo "note: the shipped i686 build runs afterwards under emulation (qemu-i386, tools/emu32.sh)"
  else
    echo "note: the shipped i686 build is NOT run on this machine: $i686_why"
  fi
  wintree=build/win64
  if [ "$mode" = all ]; then
    step "Windows build (x86_64, for Wine tests on this machine)"
    configure build/win64 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw64.cmake" -DQUORVEL_BENCH=OFF || exit 1
    ninja -C build/win64 -j"$jobs" || exit 1
    # The i686 tree is needed only after the Wine tests, which mostly wait on streams in real time
    # and leave a core idle: it builds meanwhile, at the lowest priority so it never takes the
    # cores from a test.
    echo "note: the i686 tree builds in the background of the Wine tests (build/win32-build.log)"
    nice -n 19 ninja -C build/win32 -j"$jobs" >build/win32-build.log 2>&1 &
    win32_build=$!
  else
    build_win32
  fi
fi

xvfb_pid=""
kill_servers() {
  for p in build/wineprefix-win32 build/wineprefix-win64; do WINEPREFIX=$root/$p wineserver -k >/dev/null 2>&1; done
}
# A wineserver left from an earlier run would keep its desktop on a display that is gone.
kill_servers
cleanup() {
  [ -n "$win32_build" ] && kill "$win32_build" 2>/dev/null
  kill_servers
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

if [ "$mode" = all ]; then
  step "Wine tests ($wintree) under Xvfb"
  source tools/wine-env.sh "${wintree#build/}"
  quorvel_wine_prefix || exit 1
  wineserver -p >/dev/null 2>&1 </dev/null
  # The x86_64 twin leaves out the shipped build's short checks: its own suite has the long ones.
  exclude=()
  [ "$wintree" = build/win64 ] && exclude=(-LE shipped)
  (cd "$wintree" && ctest -j2 --output-on-failure --timeout 600 "${exclude[@]}") | tee build/wine-ctest.log | tail -n 25
  wine_rc=${PIPESTATUS[0]}
  logs+=(build/wine-ctest.log)
  echo "screenshots: $root/$wintree/bin/screenshots"
  wineserver -k >/dev/null 2>&1
fi

win32_built || exit 1
[ "$mode" = all ] && echo "installer and portable zip: $root/build/win32/dist"

if [ "$mode" = shipped ] && [ "$i686_pass" = native ]; then
  step "shipped i686 build (build/win32)"
  source tools/wine-env.sh win32
  quorvel_wine_prefix || exit 1
  wineserver -p >/dev/null 2>&1 </dev/null
  (cd build/win32 && ctest -j2 -L 'unit|shipped' --output-on-failure --timeout 600) | tee build/wine-ctest.log | tail -n 25
  wine_rc=${PIPESTATUS[0]}
  logs+=(build/wine-ctest.log)
fi
if [ "$i686_pass" = emulated ]; then
  # After the x86_64 tests, so that the two prefixes' desktops never share the screen and the
  # emulator never takes the cores from a timed end-to-end test.
  step "shipped i686 build (build/win32) under emulation"
  emu_start=$SECONDS
  source tools/wine-env.sh win32
  # The FFT accuracy sweeps sum long doubles, and emulated x87 arithmetic makes them some fifty
  # times slower: QUORVEL_FFT_SHORT keeps one length of each algorithm path. Unit tests two at a
  # time; the end-to-end checks after them, alone on the cores.
  tools/emu32.sh run bash -c 'source tools/wine-env.sh win32 && quorvel_wine_prefix' || exit 1
  wineserver -p >/dev/null 2>&1 </dev/null
  (cd build/win32 && QUORVEL_FFT_SHORT=1 "$root/tools/emu32.sh" run ctest -j2 -L unit --output-on-failure --timeout 900) \
    | tee build/wine32-unit-ctest.log | tail -n 20
  emu_rc=${PIPESTATUS[0]}
  (cd build/win32 && "$root/tools/emu32.sh" run ctest -L shipped --output-on-failure --timeout 900) \
    | tee build/wine32-e2e-ctest.log | tail -n 8
  [ "${PIPESTATUS[0]}" = 0 ] || emu_rc=1
  logs+=(build/wine32-unit-ctest.log build/wine32-e2e-ctest.log)
  emu_seconds=$((SECONDS - emu_start))
  wineserver -k >/dev/null 2>&1
fi

step "summary"
total_passed=0; total_failed=0
for log in "${logs[@]}"; do
  line=$(summary "$log")
  failed=$(echo "$line" | awk '{print $1}'); all=$(echo "$line" | awk '{print $NF}')
  total_failed=$((total_failed + ${failed:-0})); total_passed=$((total_passed + ${all:-0} - ${failed:-0}))
done
case $i686_pass in
  native)   echo "shipped i686 build (build/win32): its Wine tests ran on it natively" ;;
  emulated) echo "shipped i686 build (build/win32): its unit tests, the measurement check and the installer ran under emulation ($emu_seconds s)" ;;
  none)     echo "shipped i686 build (build/win32): NOT RUN: $i686_why" ;;
esac
echo "$total_passed passed, $total_failed failed"
[ "$fuzz_rc" = 0 ] || echo "fuzzers: FAILED"
[ "$native_rc" = 0 ] && [ "$wine_rc" = 0 ] && [ "$emu_rc" = 0 ] && [ "$fuzz_rc" = 0 ] && [ "$total_failed" = 0 ]
