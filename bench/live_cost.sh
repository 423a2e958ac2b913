#!/usr/bin/env bash
# CPU cost of live display: Quorvel under Wine receives the simulated recorder at 100 records/s for
# SECONDS (default 60) in each of five set-ups, and the CPU time of the Quorvel process and of its
# wineserver over that span is printed as a share of one core:
#   receive only (spectra off, main window minimised: no graph is painted), display time 5 s and 50 s, each with
#   spectra on and off; and everything on as a new user runs it for a day: both monitors (display
#   10 s), the manual recording (parts of 30,000 lines), the trigger recording with a burst every
#   minute and the trigger history window open.
# Usage: bench/live_cost.sh [SECONDS [BIN_DIR]]   (after ./test.sh has built build/win64 and
# build/native). BIN_DIR measures another build's Quorvel.exe (with uiauto.exe beside it) in the
# receive-only set-up alone, e.g. a build from before the graphs for the baseline. With
# LIVE_COST_ONLY set, only the set-ups whose label contains it run.
# Runs under its own Xvfb unless $DISPLAY is set. Results depend on the machine's load: run it on a
# quiet machine, and compare rows of one run rather than runs of different days.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
span=${1:-60}
bin="$root/build/win64/bin"
[ -f "$root/build/win32/bin/Quorvel.exe" ] && source "$root/tools/wine-env.sh" win32 && quorvel_can_run_32bit \
  && bin="$root/build/win32/bin"
only_receive=0
if [ -n "${2:-}" ]; then bin=$(cd "$2" && pwd); only_receive=1; fi
source "$root/tests/e2e/lib.sh" "$bin"
recsim="$root/build/native/bin/recsim"
[ -x "$recsim" ] || { echo "missing $recsim: run ./test.sh first"; exit 1; }
trap 'cleanup_recsim; e2e_cleanup' EXIT
prop="Quorvel.exe 2A217156-E4D9-4f05-B856-5ED6F5C867BE"
hz=$(getconf CLK_TCK)

mkdir -p "$E2E_TMP/no-com1"
ln -sfn "$E2E_TMP/no-com1" "$WINEPREFIX/dosdevices/com1"
"$recsim" --bit 16 --rate 100 --axis x:amp=800,freq=2 --axis y:amp=400,freq=5 --axis z:amp=200,freq=12.5 \
  --link "$WINEPREFIX/dosdevices/com3" --keep-link --control "$E2E_TMP/ctl" --log /dev/null \
  >"$E2E_TMP/rs.out" 2>&1 &
rs_pid=$!

# CPU ticks (user + system) of a process.
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat" 2>/dev/null || echo 0; }
# Our wineserver: the one whose working folder is the server folder of this prefix.
wineserver_pid() {
  local dir p
  dir=$(printf 'server-%s-%x' "$(stat -c %D "$WINEPREFIX")" "$(stat -c %i "$WINEPREFIX")")
  for p in $(pgrep wineserver); do
    [ "$(basename "$(readlink "/proc/$p/cwd")")" = "$dir" ] && { echo "$p"; return; }
  done
}
# The process running Quorvel.exe among the descendants of a pid.
quorvel_pid() {
  local p
  for p in $1 $(pgrep -P "$1") $(for c in $(pgrep -P "$1"); do pgrep -P "$c"; done); do
    tr '\0' ' ' <"/proc/$p/cmdline" 2>/dev/null | grep -q 'Quorvel.exe' && { echo "$p"; return; }
  done
}

work="$E2E_TMP/work"
mkdir -p "$work/data"
measure() {  # measure LABEL TIME_SEL FLG MINIMISED [everything]
  [[ "$1" == *"${LIVE_COST_ONLY:-}"* ]] || return 0
  local all=${5:-}
  rm -rf "$work/data" && mkdir -p "$work/data"
  { printf '[WNDPLACEMENT]\nMAIN_WNDPLACEMENT=1,0,0,1270,820,0,0,0,0\n[SPEC]\nCOM=COM3\nSAVE_DIRECTORY=%s\nBIT=16\n[SCALE]\nTIME=5.0,8.0,10.0,50.0\nTIME_SEL=%s\n[PSD]\nFLG=%s\n' \
      "$(winpath "$work/data")" "$2" "$3"
    # Trigger levels above the sines (100, 50, 25 gal), below the bursts (500 gal).
    [ -n "$all" ] && printf '[TRIG]\nTRIG_MODE=1\nBEFOR_TIME=1.0\nAFTER_TIME=1.0\nVAL_X=300\nVAL_Y=300\nVAL_Z=300\n'
  } | to_cp932 >"$work/Quorvel.ini"
  start_win -C "$work" "$E2E_BUILD/Quorvel.exe"
  local launcher=$E2E_LAST_PID
  hwnd=$(ui find --prop "$prop" --timeout 30000) || { echo "Quorvel did not start"; return; }
  local q ws
  q=$(quorvel_pid "$launcher"); ws=$(wineserver_pid)
  ui click "$hwnd" 1038
  wait_text "$hwnd" 1053 "受信中" 15 >/dev/null || echo "(not receiving)"
  [ "$4" = 1 ] && ui post "$hwnd" 0x0112 0xF020  # SC_MINIMIZE
  if [ -n "$all" ]; then
    ui click "$hwnd" 1004          # the manual recording
    ui post "$hwnd" 0x0112 0x30    # the trigger history window
  fi
  sleep 5  # settle: the first sweep fills, the spectra start
  local q0 w0 q1 w1 t
  q0=$(ticks "$q"); w0=$(ticks "$ws")
  if [ -n "$all" ]; then
    for ((t = 0; t < span; t += 60)); do
      echo "burst y 4000 50" >"$E2E_TMP/ctl"
      sleep $((span - t < 60 ? span - t : 60))
    done
  else
    sleep "$span"
  fi
  q1=$(ticks "$q"); w1=$(ticks "$ws")
  [ -n "$all" ] && echo "  (files written: $(find "$work/data" -name '*.csv' | wc -l); trigger files: $(find "$work/data" -path '*Trig.dt*' -name '*.csv' | wc -l))"
  [ "$4" = 1 ] && ui post "$hwnd" 0x0112 0xF120  # SC_RESTORE
  ui click "$hwnd" 1038
  wait_text "$hwnd" 1053 "待機中" 15 >/dev/null
  ui close "$hwnd"
  wait_pid "$launcher" 30
  awk -v l="$1" -v q=$((q1 - q0)) -v w=$((w1 - w0)) -v hz="$hz" -v s="$span" \
    'BEGIN { printf "%-36s %9.1f %% %11.1f %%\n", l, 100 * q / hz / s, 100 * w / hz / s }'
}

printf '%-36s %11s %13s\n' "set-up (${span} s at 100 records/s)" "Quorvel" "wineserver"
measure "receive only (minimised, spectra off)" 2 0 1
[ "$only_receive" = 1 ] && exit 0
measure "display 5 s, spectra off" 0 0 0
measure "display 5 s, spectra on" 0 1 0
measure "display 50 s, spectra off" 3 0 0
measure "display 50 s, spectra on" 3 1 0
measure "everything on (display 10 s)" 2 1 0 all
