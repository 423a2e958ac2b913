#!/usr/bin/env bash
# The shipped build's own check, short enough for the i686 programs under emulation: Quorvel
# measures the simulated recorder for 21 s with the manual and the trigger recording on, stops and
# closes. The manual recording holds exactly the samples sent, split into parts; the trigger
# recording holds the burst with its before and after time; the INI is written on the way out.
# Usage: shipped_test.sh WINDOWS_BIN_DIR NATIVE_BIN_DIR
source "$(dirname "$0")/../lib.sh" "$1"
need_recsim "$2"
check="python3 $(dirname "$0")/wavecheck.py"
kanzan="0.0123,0.0456,0.0789"
maxnum=1500
work="$E2E_TMP/work"
data="$work/data"
trap 'let_com1_show; cleanup_recsim; e2e_cleanup' EXIT

logged() { ui list "$hwnd" 1052 | grep -qx -- "$1"; }

keep_com1_hidden
mkdir -p "$data"
"$recsim" --paused --idle-tm 1.5 --bit 16 --rate 100 --lowpass 20 --axis x:amp=800,freq=2 --axis y:noise=400 \
  --axis z:noise=50 --link "$WINEPREFIX/dosdevices/com3" --keep-link --control "$E2E_TMP/ctl" \
  --log "$E2E_TMP/rs.log" >"$E2E_TMP/rs.out" 2>&1 &
rs_pid=$!
wait_for 10 has_line "$E2E_TMP/rs.log" ' EV LINK' || fail "simulator did not link COM3"
{ printf '[TRIG]\nTRIG_MODE=0\nBEFOR_TIME=1.0\nAFTER_TIME=1.0\nVAL_X=100\nVAL_Y=100\nVAL_Z=100\n'
  printf '[SPEC]\nCOM=COM3\nSAVE_DIRECTORY=%s\nLOG_LIST=1\nBIT=16\nKANZAN=%s\nSAVEDATA_MAXNUM=%s\n' \
    "$(winpath "$data")" "$kanzan" "$maxnum"; } | to_cp932 >"$work/Quorvel.ini"
start_quorvel "$work" || e2e_finish

ui click "$hwnd" 1038
wait_equal 30 1 ui enabled "$hwnd" 1004 || fail "record button not enabled after the start: $WAIT_VALUE"
sync_link
ui click "$hwnd" 1100
wait_equal 10 1 ui enabled "$hwnd" 1101 || fail "trigger recording did not turn on"
ui click "$hwnd" 1004
wait_text "$hwnd" 1004 "記録停止" 10 || fail "manual recording did not start"
first=$(sent)
# 21 s at 100 samples/s; a burst on Y from the sixth second sets off a trigger recording.
echo "burst y 4000 40 500" >"$E2E_TMP/ctl"
stream 2100
sync_link
ui click "$hwnd" 1004
wait_text "$hwnd" 1004 "記録" 10 || fail "manual recording did not end"
wait_for 30 logged TRIG-END || fail "no TRIG-END in the event log"
ui click "$hwnd" 1038
wait_text "$hwnd" 1053 "待機中" 20 || fail "measurement did not stop"
screenshot "$E2E_SHOTS/shipped-stopped.png"
close_quorvel

mkdir -p "$work/manual"
mv "$data"/*.csv "$work/manual/"
if out=$($check manual "$E2E_TMP/rs.log" "$work/manual" "$kanzan" "$maxnum" "$first" 2100); then
  pass "manual recording: $out"
else
  fail "manual recording: $out"
fi
if out=$($check trigger "$E2E_TMP/rs.log" "$data/Trig.dt" "$kanzan" "$maxnum" 100,100,100 100 100); then
  pass "trigger recording: $out"
else
  fail "trigger recording: $out"
fi
ini=$(iconv -f CP932 -t UTF-8 "$work/Quorvel.ini" | tr -d '\r')
grep -q '^MAIN_WNDPLACEMENT=' <<<"$ini" && grep -qxF "KANZAN=$kanzan" <<<"$ini" \
  && pass "INI written with the window placement, settings kept" || fail "INI after the close: $(tr '\n' ' ' <<<"$ini")"
e2e_finish
