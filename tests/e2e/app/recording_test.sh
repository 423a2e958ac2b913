#!/usr/bin/env bash
# Recordings end to end: Quorvel under Wine records the simulated recorder's stream, and every
# sample line is checked against the simulator's own log. A manual recording of 60 s at 100/s and
# one of 20 s at the line's limit, split into parts; a data disk that fills mid-recording; a
# trigger recording of two bursts on one axis; a stop that ends both recordings; the manual
# recording's first file loaded back for review. While the 60 s recording runs, the user-interface
# thread is held for 10 s (as a slow print holds it) without losing a record.
# Usage: recording_test.sh WINDOWS_BIN_DIR NATIVE_BIN_DIR
source "$(dirname "$0")/../lib.sh" "$1"
need_recsim "$2"
check="python3 $(dirname "$0")/wavecheck.py"
shots="$E2E_SHOTS"
kanzan="0.0123,0.0456,0.0789"
maxnum=1500
work="$E2E_TMP/work"
data="$work/data"
log="$E2E_TMP/rs.log"
ctl="$E2E_TMP/ctl"
mounted=0
trap 'cleanup_recsim; [ "$mounted" = 1 ] && umount -l "$data"; e2e_cleanup' EXIT

# Sample lines in the CSV files of a folder (six header lines per file).
lines_in() {
  local files=("$1"/*.csv) total=0
  [ -e "${files[0]}" ] || { echo 0; return; }
  total=$(cat "${files[@]}" | wc -l)
  echo $((total - 6 * ${#files[@]}))
}
text_is() { [ "$(ui text "$hwnd" "$1")" = "$2" ]; }
logged() { ui list "$hwnd" 1052 >"$E2E_TMP/log.txt"; grep -qx -- "$1" "$E2E_TMP/log.txt"; }
lines_at_least() { [ "$(lines_in "$1")" -ge "$2" ]; }
# centre ID: screen position of the middle of control ID, as "x y".
centre() {
  local l t r b
  IFS=, read -r l t r b < <(ui children "$hwnd" | awk -F'\t' -v id="$1" '$1 == id { print $3 }')
  echo $(( (l + r) / 2 )) $(( (t + b) / 2 ))
}
# lamp PNG ID: the colour of the lamp placed at hidden label ID (1041 record, 1042 trigger).
lamp() { pixel "$1" $(centre "$2"); }
# press ID: the operator's mouse click on control ID (real input through the X server).
press() { xdotool mousemove $(centre "$1") click 1; }
red() { [[ "$1" =~ ^srgb\(([0-9]+),([0-9]+),([0-9]+)\)$ ]] && [ "${BASH_REMATCH[1]}" -ge 150 ] && [ "${BASH_REMATCH[3]}" -le 100 ]; }
# set_aside NAME: moves the checked files out of the data folder.
set_aside() { mkdir -p "$work/$1"; mv "$data"/*.csv "$work/$1/"; }

mkdir -p "$data"
hide_com1
# The data folder is a small disk of its own, so that it can be filled mid-recording (as root).
if mount -t tmpfs -o size=16m quorvel-data "$data"; then mounted=1; fi
"$recsim" --paused --idle-tm 1.5 --bit 16 --rate 100 --lowpass 20 --axis x:amp=800,freq=2 --axis y:noise=400 \
  --axis z:noise=50 --link "$WINEPREFIX/dosdevices/com3" --keep-link --control "$ctl" --log "$log" \
  >"$E2E_TMP/rs.out" 2>&1 &
rs_pid=$!
wait_for 10 has_line "$log" ' EV LINK' || fail "simulator did not link COM3"

{ printf '[TRIG]\nTRIG_MODE=0\nBEFOR_TIME=1.0\nAFTER_TIME=1.0\nVAL_X=100\nVAL_Y=100\nVAL_Z=100\n'
  printf '[SPEC]\nCOM=COM3\nSAVE_DIRECTORY=%s\nLOG_LIST=1\nBIT=16\nKANZAN=%s\nSAVEDATA_MAXNUM=%s\n' \
    "$(winpath "$data")" "$kanzan" "$maxnum"; } | to_cp932 >"$work/Quorvel.ini"
start_quorvel "$work" || e2e_finish

ui click "$hwnd" 1038
wait_equal 20 1 ui enabled "$hwnd" 1004 && pass "record button enabled while measuring" \
  || fail "record button not enabled: $WAIT_VALUE"

# The receive loop takes the first line after opening the port to find a line end; while the
# stream pauses, time reports keep the line from falling silent (which would open it again).
sync_link

# --- 60 s at 100 samples/s into parts of 1500 lines; started with the mouse, ended with the
# keyboard (the clicked button keeps the focus: Space presses it).
press 1004
wait_for 10 text_is 1004 "記録停止" && pass "record button reads 記録停止" || fail "caption: $(ui text "$hwnd" 1004)"
first=$(sent)
stream 3000
screenshot "$shots/recording-manual.png"
guide_shot rec-manual "$hwnd"
c=$(lamp "$shots/recording-manual.png" 1041); red "$c" && pass "record lamp lit: $c" || fail "record lamp while recording: $c"
# A slow print holds the user-interface thread: 10 s without a message handled, while records and
# time reports keep coming into a port whose queue holds 4 KiB (about 2 s), as a real port's does.
# Not one record may be lost.
echo "overrun 4096" >"$ctl"
echo "tm-every 1" >"$ctl"
target=$(( $(sent) + 3000 ))
echo "send 3000" >"$ctl"
ui suspend "$hwnd" 10000 || fail "the user-interface thread could not be held"
echo "tm-every 0" >"$ctl"
wait_for 120 sent_at_least "$target" || fail "simulator sent $(sent) of $target samples"
echo "overrun 0" >"$ctl"
dropped=$(grep -c ' DROP ' "$log")
[ "$dropped" = 0 ] && pass "user-interface thread held 10 s: the port's queue never overflowed" \
  || fail "the port's queue overflowed $dropped times while the user-interface thread was held"
sync_link
xdotool key space
wait_for 10 text_is 1004 "記録" || fail "Space on the record button did not end the recording: $(ui text "$hwnd" 1004)"
logged SAVE-START && logged SAVE-END && pass "SAVE-START and SAVE-END logged" || fail "log: $(tr '\n' '|' <"$E2E_TMP/log.txt")"
if out=$($check manual "$log" "$data" "$kanzan" "$maxnum" "$first" 6000); then pass "100/s: $out"; else fail "100/s: $out"; fi
set_aside manual-100

# --- 20 s at the line's limit (606 records/s with 16-bit records).
echo "rate 0" >"$ctl"
ui click "$hwnd" 1004
wait_for 10 text_is 1004 "記録停止" || fail "second recording did not start"
first=$(sent)
stream 12120
sync_link
ui click "$hwnd" 1004
wait_for 10 text_is 1004 "記録" || fail "second recording did not end"
if out=$($check manual "$log" "$data" "$kanzan" "$maxnum" "$first" 12120); then pass "line's limit: $out"; else fail "line's limit: $out"; fi
set_aside manual-max
echo "rate 100" >"$ctl"

# --- A first file that cannot be opened (a folder holds the name): the recording does not start.
for i in $(seq 0 30); do mkdir -p "$data/$(date -d "+$i sec" +%Y%m%d_%H%M%S).csv"; done
starts=$(ui list "$hwnd" 1052 | grep -cx SAVE-START)
press 1004
msg=$(ui msgbox --timeout 20000)
[ "$msg" = "FILE OPEN ERROR" ] && pass "unopenable file: $msg" || fail "unopenable file message: '$msg'"
ui answer 1
[ "$(ui text "$hwnd" 1004)" = "記録" ] && [ "$(ui list "$hwnd" 1052 | grep -cx SAVE-START)" = "$starts" ] \
  && pass "recording not started" || fail "recording started without a file: $(ui text "$hwnd" 1004)"
rmdir "$data"/*.csv

# --- The data disk fills mid-recording: one message, one log row, the lines before it intact.
if [ "$mounted" = 1 ]; then
  ui click "$hwnd" 1004
  wait_for 10 text_is 1004 "記録停止" || fail "third recording did not start"
  stream 300
  wait_for 30 lines_at_least "$data" 290 || fail "data folder holds $(lines_in "$data") of 300 lines"
  dd if=/dev/zero of="$data/filler" bs=64k >/dev/null 2>&1  # until the disk is full
  stream 200
  msg=$(ui msgbox --timeout 30000 | tr '\n' '|')
  [[ "$msg" == "ファイルの書き込みに失敗しました。|この記録のこれ以降のデータは保存されません。|Z:"*".csv|" ]] \
    && pass "full disk message: $msg" || fail "full disk message: '$msg'"
  screenshot "$shots/recording-disk-full.png"
  guide_box msg-write-failed
  ui answer 1
  stream 200
  text_is 1053 "受信中" && pass "still receiving after the failed write" || fail "status: $(ui text "$hwnd" 1053)"
  ui click "$hwnd" 1004
  wait_for 10 text_is 1004 "記録" || fail "recording did not end after the failed write"
  ui msgbox --timeout 3000 >/dev/null && fail "a second message for the same recording"
  ui list "$hwnd" 1052 >"$E2E_TMP/log.txt"
  [ "$(grep -cx SAVE-ERR "$E2E_TMP/log.txt")" = 1 ] && pass "SAVE-ERR logged once" \
    || fail "SAVE-ERR rows: $(grep -cx SAVE-ERR "$E2E_TMP/log.txt")"
  rm -f "$data/filler"
  file=$(ls "$data"/*.csv)
  if out=$($check prefix "$log" "$file" "$kanzan" 290); then pass "written before the failure: $out"; else fail "after the failure: $out"; fi
  set_aside disk-full
else
  not_run "the full data disk: no tmpfs could be mounted for the data folder (needs root)"
fi

# --- Trigger recording: two bursts on Y, the second during the first one's after-time.
press 1100
wait_equal 10 1 ui enabled "$hwnd" 1101 && pass "level fields enabled with trigger recording on" || fail "level fields disabled"
echo start >"$ctl"
wait_for 30 sent_at_least $(( $(sent) + 150 )) || fail "stream did not restart"
printf 'burst y 4000 40\nburst y 4000 30 100\n' >"$ctl"
wait_for 30 logged TRIG-START || fail "no TRIG-START"
screenshot "$shots/recording-trigger.png"
guide_shot rec-trigger "$hwnd"
c=$(lamp "$shots/recording-trigger.png" 1042); red "$c" && pass "trigger lamp lit: $c" || fail "trigger lamp while triggered: $c"
wait_for 60 logged TRIG-END && pass "trigger recording ended" || fail "no TRIG-END: $(tr '\n' '|' <"$E2E_TMP/log.txt")"
if out=$($check trigger "$log" "$data/Trig.dt" "$kanzan" "$maxnum" 100,100,100 100 100) && [[ "$out" == *" 2 bursts"* ]]; then
  pass "trigger file: $out"
else
  fail "trigger file: $out"
fi
[ "$(grep -cx TRIG-START "$E2E_TMP/log.txt")" = 1 ] || fail "TRIG-START rows: $(grep -cx TRIG-START "$E2E_TMP/log.txt")"

# --- A stop ends both recordings: TRIG-END before SAVE-END before RCV-END.
ui click "$hwnd" 1004
wait_for 10 text_is 1004 "記録停止" || fail "recording before the stop did not start"
echo "burst x 9000 400" >"$ctl"
wait_for 30 eval '[ "$(ui list "$hwnd" 1052 | grep -cx TRIG-START)" = 2 ]' || fail "no second TRIG-START"
ui click "$hwnd" 1038
wait_for 20 text_is 1053 "待機中" || fail "measurement did not stop"
ui list "$hwnd" 1052 | grep -E '^(TRIG-END|SAVE-END|RCV-END)$' | tail -3 | tr '\n' ' ' >"$E2E_TMP/order"
[ "$(cat "$E2E_TMP/order")" = "TRIG-END SAVE-END RCV-END " ] && pass "stop ends both recordings in order" \
  || fail "end order: $(cat "$E2E_TMP/order")"
[ "$(ui text "$hwnd" 1004)" = "記録" ] && [ "$(ui enabled "$hwnd" 1004)" = 0 ] && pass "record button reset by the stop" \
  || fail "record button after the stop: $(ui text "$hwnd" 1004) $(ui enabled "$hwnd" 1004)"
screenshot "$shots/recording-stopped.png"
c=$(lamp "$shots/recording-stopped.png" 1042); red "$c" && fail "trigger lamp still lit after the stop: $c"
c=$(lamp "$shots/recording-stopped.png" 1041); red "$c" && fail "record lamp still lit after the stop: $c"

# --- The first file of the 100/s recording loads back through the CSV import: its samples and
# its DATE_MAKE time in the review, from the first sample and 5 s on.
loaded=$(ls "$work/manual-100"/*.csv | grep -v -- '-[0-9]*\.csv$' | head -n 1)
ui click "$hwnd" 1011
if dlg=$(ui find --class '#32770' --child 1148 --timeout 20000); then
  ui settext "$dlg" 1148 "$(winpath "$loaded")"
  ui click "$dlg" 1
  name=$(basename "$loaded")
  wait_match 20 "\\\\${name}\\]\$" ui text "$hwnd" && pass "recording loaded: $name" \
    || fail "title after loading the recording: '$WAIT_VALUE'"
  wave_values "$loaded" >"$E2E_TMP/loaded.values"
  labels=$(date_make_labels "$loaded")
  review_check "recording in review at 0" "$E2E_TMP/loaded.values" 0 "$labels"
  review_check "recording in review at 500" "$E2E_TMP/loaded.values" 500 "$(labels_after "$labels" 5)"
  screenshot "$shots/recording-loaded.png"
else
  fail "no file dialog for the CSV import"
fi

close_quorvel
e2e_finish
