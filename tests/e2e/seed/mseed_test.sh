#!/usr/bin/env bash
# The live miniSEED archive and the CSV export end to end, proved with two readers others wrote:
# Debian's libmseed (msdump, built in the native tree) and the npm package seisplotjs under node.
# Quorvel runs on a simulated clock (Debian's libfaketime, in its process only) that passes UTC
# midnight while it records the simulated recorder with the archive switched on in its dialog, a
# manual CSV recording and a trigger recording; the recorder is unplugged for 3 s in between.
# Both readers must agree record for record, and seedcheck.py holds their output against the CSV
# and the recorder's log. Then the trigger CSV is exported from the dialog and read back, and a
# file cut short is refused. What the run wrote stays in <bin>/mseed-sample/.
# Usage: mseed_test.sh WINDOWS_BIN_DIR NATIVE_BIN_DIR
source "$(dirname "$0")/../lib.sh" "$1"
need_recsim "$2"
msdump="$2/msdump"
readers="$E2E_ROOT/build/seed-readers"
[ -x "$msdump" ] || { echo "missing $msdump (native tree with libmseed-dev)"; exit 77; }
[ -f "$readers/node_modules/seisplotjs/package.json" ] || { echo "missing seisplotjs in $readers (tools/install-deps.sh)"; exit 77; }
# libfaketime reaches the x86_64 Wine loader; the i686 one reads the clock through glibc's 64-bit-time
# calls, which Debian's i386 libfaketime does not catch, so it gets a small library of our own.
if [ "$QUORVEL_WINE_ARCH" = win32 ]; then
  faketime="$E2E_TMP/fakeclock32.so"
  gcc -m32 -O2 -fPIC -ffreestanding -fno-stack-protector -shared -nostdlib -o "$faketime" \
    "$(dirname "$0")/fakeclock32.c" 2>"$E2E_TMP/fakeclock32.err" \
    || { echo "NOT RUN: gcc -m32 could not build the i686 clock: $(head -c 300 "$E2E_TMP/fakeclock32.err")"; exit 77; }
else
  faketime=/usr/lib/x86_64-linux-gnu/faketime/libfaketimeMT.so.1
  [ -f "$faketime" ] || { echo "missing $faketime (faketime)"; exit 77; }
fi
check="python3 $(dirname "$0")/seedcheck.py"
cp "$(dirname "$0")/msdump.mjs" "$readers/"  # node finds seisplotjs beside the script
kanzan="0.0123,0.0456,0.0789"
tz=Asia/Tokyo
work="$E2E_TMP/work"
data="$work/data"
sds="$data/SDS"
log="$E2E_TMP/rs.log"
ctl="$E2E_TMP/ctl"
sample="$E2E_BUILD/mseed-sample"
trap 'cleanup_recsim; e2e_cleanup' EXIT
mkdir -p "$data"
keep_com1_hidden

sent_after_hangup() { awk '/ EV HANGUP/ { h = 1 } h && / S / { n++ } END { print n + 0 }' "$log"; }
logged() { ui list "$hwnd" 1052 | grep -qx -- "$1"; }
text_is() { [ "$(ui text "$hwnd" "$1")" = "$2" ]; }
# Quorvel's clock: real time plus an offset that libfaketime reads from a file at every call.
fake_file="$E2E_TMP/faketime"
set_fake() {  # set_fake EPOCH: Quorvel's clock reads EPOCH now
  fake_offset=$(( $1 - $(date +%s) ))
  echo "$fake_offset" >"$fake_file.tmp" && mv "$fake_file.tmp" "$fake_file"
}
fake_now() { echo $(( $(date +%s) + fake_offset )); }
fake_after() { [ "$(fake_now)" -ge "$1" ]; }
# dump NAME FILES...: both readers' text of the files; stderr must stay empty (libmseed warns
# there of a Steim-2 frame whose last sample disagrees).
dump() {
  local name=$1; shift
  ASAN_OPTIONS=detect_leaks=0 "$msdump" "$@" >"$E2E_TMP/$name.c" 2>"$E2E_TMP/$name.c.err" || fail "libmseed: $(head -c 300 "$E2E_TMP/$name.c.err")"
  node "$readers/msdump.mjs" "$@" >"$E2E_TMP/$name.js" 2>"$E2E_TMP/$name.js.err" || fail "seisplotjs: $(head -c 300 "$E2E_TMP/$name.js.err")"
  [ -s "$E2E_TMP/$name.c.err" ] && fail "libmseed warned: $(head -c 300 "$E2E_TMP/$name.c.err")"
  return 0
}
# export_file CSV: the dialog's export of CSV; prints the message box's text.
export_file() {
  local dlg fd
  ui post "$hwnd" 0x0112 0x40
  dlg=$(ui find --class '#32770' --title miniSEED --timeout 20000) || { fail "no miniSEED dialog"; return 1; }
  ui click "$dlg" 1709
  fd=$(ui find --class '#32770' --child 1148 --timeout 20000) || { fail "no file dialog for the export"; return 1; }
  ui settext "$fd" 1148 "$(winpath "$1")"
  ui click "$fd" 1
  ui msgbox --timeout 30000 | tr '\n' '|'
  ui answer 1
  ui click "$dlg" 2
  ui gone "$dlg" --timeout 10000 >/dev/null
}

"$recsim" --paused --idle-tm 1.5 --bit 16 --rate 100 --lowpass 20 --axis x:amp=800,freq=2,noise=30 \
  --axis y:noise=400 --axis z:noise=50 --link "$WINEPREFIX/dosdevices/com3" --keep-link --control "$ctl" \
  --log "$log" >"$E2E_TMP/rs.out" 2>&1 &
rs_pid=$!
E2E_PIDS+=("$rs_pid")
wait_for 10 has_line "$log" ' EV LINK' || fail "simulator did not link COM3"

{ printf '[TRIG]\nTRIG_MODE=1\nBEFOR_TIME=1.0\nAFTER_TIME=1.0\nVAL_X=300\nVAL_Y=100\nVAL_Z=300\n'
  printf '[SPEC]\nCOM=COM3\nSAVE_DIRECTORY=%s\nLOG_LIST=1\nBIT=16\nKANZAN=%s\n' "$(winpath "$data")" "$kanzan"; } \
  | to_cp932 >"$work/Quorvel.ini"

# Quorvel's local time is Japan's; its clock starts ten minutes before UTC midnight and is set
# to 15 s before it right before the measurement starts (however long the start-up took).
midnight=$(date -d '2024-05-07 00:00:00 UTC' +%s)
set_fake $(( midnight - 600 ))
(cd "$work" && exec env TZ=$tz LD_PRELOAD=$faketime FAKETIME_TIMESTAMP_FILE="$fake_file" FAKETIME_NO_CACHE=1 \
  FAKETIME_DONT_FAKE_MONOTONIC=1 "$QUORVEL_WINE" "$E2E_BUILD/Quorvel.exe" >>"$E2E_TMP/wine.log" 2>&1 </dev/null) &
q_pid=$!
E2E_PIDS+=("$q_pid")
hwnd=$(ui find --prop "$QUORVEL_PROP" --timeout 30000) || { fail "main window did not appear"; e2e_finish; }
echo "main window after ${SECONDS} s"

# --- The archive switched on in the dialog of the system menu.
ui post "$hwnd" 0x0112 0x40
if dlg=$(ui find --class '#32770' --title miniSEED --timeout 20000); then
  [ "$(ui text "$dlg" 1703 1704 1705 1706 1707 1708 | tr '\n' ' ')" = "XX QRV01 00 HNE HNN HNZ " ] \
    && pass "dialog shows the default codes" || fail "codes: $(ui text "$dlg" 1703 1704 1705 1706 1707 1708 | tr '\n' ' ')"
  ui press "$dlg" 1700
  wait_equal 10 1 ui checked "$dlg" 1700 || fail "archive box not ticked"
  guide_shot mseed-dialog "$dlg"
  ui click "$dlg" 1
  ui gone "$dlg" --timeout 10000 >/dev/null || fail "dialog did not close on OK"
else
  fail "no miniSEED dialog from the system menu"
fi

# --- Measure: a manual recording from the start, the recorder unplugged for 3 s, UTC midnight.
set_fake $(( midnight - 15 ))
ui click "$hwnd" 1038
wait_equal 20 1 ui enabled "$hwnd" 1004 || fail "measurement did not start"
before=$(ui list "$hwnd" 1052 | grep -c '^TM')
wait_for 30 eval '[ "$(ui list "$hwnd" 1052 | grep -c "^TM")" -gt '"$before"' ]' || fail "time report not logged"
echo start >"$ctl"
wait_for 20 sent_at_least 300 || fail "stream did not start"
ui click "$hwnd" 1004
wait_for 10 text_is 1004 "記録停止" || fail "manual recording did not start"
wait_for 20 sent_at_least $(( $(sent) + 500 )) || fail "simulator stalled"
echo "hangup 3000" >"$ctl"
wait_for 10 has_line "$log" ' EV HANGUP' || fail "no hangup"
wait_for 40 eval '[ "$(sent_after_hangup)" -ge 300 ]' || fail "stream did not come back"
wait_for 90 fake_after $(( midnight + 6 )) || fail "the simulated clock did not pass midnight"
echo "burst y 4000 50" >"$ctl"
wait_for 30 logged TRIG-START || fail "no TRIG-START"
wait_for 30 logged TRIG-END || fail "no TRIG-END"
ui click "$hwnd" 1004
wait_for 10 text_is 1004 "記録" || fail "manual recording did not end"
ui click "$hwnd" 1038
wait_for 20 text_is 1053 "待機中" || fail "measurement did not stop"
ui list "$hwnd" 1052 | grep -q MSEED-ERR && fail "the archive reported a failure"
echo "measurement done after ${SECONDS} s"

# --- The archive through both readers.
mapfile -t days < <(find "$sds" -type f -name 'XX.QRV01.00.*' | sort)
dump archive "${days[@]}"
if out=$($check archive "$E2E_TMP/archive.c" "$E2E_TMP/archive.js" "$sds" "$data" "$kanzan" "$log" "$tz"); then
  pass "archive: $(tr '\n' ';' <<<"$out")"
else
  fail "archive: $(tr '\n' ';' <<<"$out")"
fi

# --- The trigger recording exported from the dialog, and a file cut short refused.
trig=$(ls "$data/Trig.dt"/*.csv | head -n 1)
msg=$(export_file "$trig")
[ "$msg" = "miniSEED ファイルを書き出しました。|$(winpath "${trig%.csv}.mseed")|" ] && pass "export: $msg" || fail "export message: '$msg'"
dump export "${trig%.csv}.mseed"
if out=$($check export "$E2E_TMP/export.c" "$E2E_TMP/export.js" "$trig" "$tz"); then pass "$out"; else fail "export: $out"; fi
head -c -7 "$trig" >"$work/cut.csv"
msg=$(export_file "$work/cut.csv")
[[ "$msg" == "ファイルが途中で切れているため、変換できません。|"*"cut.csv ("*" 行目)|" ]] && pass "cut file refused: $msg" \
  || fail "cut file: '$msg'"
[ -e "$work/cut.mseed" ] || [ -e "$work/cut.mseed.part" ] && fail "a file was left for the cut CSV"

ui close "$hwnd"
wait_pid "$q_pid" 30
[ "$E2E_RC" = timeout ] && { fail "Quorvel did not end"; kill "$q_pid"; }
grep -q '^ARCHIVE=1' <(tr -d '\r' <"$work/Quorvel.ini") && pass "[MSEED] ARCHIVE=1 saved" || fail "archive setting not saved"

rm -rf "$sample" && mkdir -p "$sample" && cp -r "$sds" "$data"/*.csv "$data/Trig.dt" "$sample/" && rm -f "$sample/Trig.dt/TrigHistory.idx"
echo "sample: $sample (after ${SECONDS} s)"
e2e_finish
