#!/usr/bin/env bash
# Quorvel start-up and shutdown end to end: the INI written at exit, values corrected on load, the
# INI following the working folder, and the single-instance rule. Usage: startup_test.sh WINDOWS_BIN_DIR
source "$(dirname "$0")/../lib.sh" "$1"
shots="$E2E_SHOTS"

# --- First run in an empty folder writes every key with its default at exit.
first="$E2E_TMP/first"
mkdir -p "$first"
cp "$E2E_BUILD/Quorvel.exe" "$first/"
start_quorvel "$first" && screenshot "$shots/quorvel-startup.png" && close_quorvel
ini="$first/Quorvel.ini"
if [ -f "$ini" ]; then
  pass "INI written at exit"
  sections=$(tr -d '\r' <"$ini" | grep '^\[' | tr '\n' ' ')
  [ "$sections" = "[WNDPLACEMENT] [TRIG] [SPEC] [SCALE] [PSD] [COLOR] [SHIKI] " ] && pass "sections in walk order" \
    || fail "sections: $sections"
  text=$(iconv -f CP932 -t UTF-8 <"$ini" | tr -d '\r')
  for kv in "BEFOR_TIME=1.0" "KANZAN=0.125,0.125,0.125" "ACC_TABLE_1=2.0,0.5" "GRAPH_BACK=0,0,128" \
            "TITLE=OSKAMO 振動波形解析プログラム" "BIT=16" "COM=COM1" "RING_BUF_MIN_SIZE=6000"; do
    grep -qxF "$kv" <<<"$text" && pass "$kv" || fail "missing $kv"
  done
  grep -q $'\r$' "$ini" && pass "CRLF line ends" || fail "INI lines do not end in CRLF"
  grep -q '^MAIN_WNDPLACEMENT=' <<<"$text" && pass "main window placement stored" || fail "no MAIN_WNDPLACEMENT"
else
  fail "no INI written in $first"
fi

# --- Values corrected on load: BIT=14 becomes 12, a wrong-length ACC list becomes the default.
# Everything else stays as the operator wrote it: a TIME list of one value (the other display
# times are then 0), and a ring size no process can allocate, which the rings fall back from and
# the event log names.
fix="$E2E_TMP/fix"
mkdir -p "$fix"
printf '[SPEC]\r\nBIT=14\r\nLOG_LIST=1\r\nRING_BUF_MIN_SIZE=2147483647\r\n[SCALE]\r\nACC=1,2,3\r\nTIME=3\r\nTIME_SEL=1\r\n' >"$fix/Quorvel.ini"
if start_quorvel "$fix"; then
  wait_match 10 'ﾘﾝｸﾞﾊﾞｯﾌｧ 4000000 \(縮小\)' ui list "$hwnd" 1052 \
    && pass "ring size that cannot be had is logged" || fail "log: $(tr '\n' '|' <<<"$WAIT_VALUE")"
  screenshot "$shots/quorvel-ring-fallback.png"
  close_quorvel
fi
text=$(tr -d '\r' <"$fix/Quorvel.ini")
grep -qx 'BIT=12' <<<"$text" && pass "BIT=14 comes back as 12" || fail "BIT: $(grep '^BIT=' <<<"$text")"
grep -qx 'ACC=2.0,5.0,10.0,20.0,50.0,100.0,300.0,999.0' <<<"$text" && pass "short ACC list replaced by the default" \
  || fail "ACC: $(grep '^ACC=' <<<"$text")"
grep -qx 'RING_BUF_MIN_SIZE=2147483647' <<<"$text" && pass "RING_BUF_MIN_SIZE kept as written" \
  || fail "RING_BUF_MIN_SIZE: $(grep '^RING_BUF_MIN_SIZE=' <<<"$text")"
grep -qx 'TIME=3.0,0.0,0.0,0.0' <<<"$text" && pass "TIME=3 keeps the other display times at 0" \
  || fail "TIME: $(grep '^TIME=' <<<"$text")"

# --- The INI follows the working folder, not the program's folder.
other="$E2E_TMP/other"
mkdir -p "$other"
printf '[SPEC]\r\nTITLE=Other folder\r\n' >"$other/Quorvel.ini"
start_win -C "$other" "$first/Quorvel.exe"
q_pid=$E2E_LAST_PID
hwnd=$(ui find --prop "$QUORVEL_PROP" --timeout 30000)
wait_match 10 '^Other folder Ver [0-9]+\.[0-9]+\.[0-9]+\.0 HELDRIC$' ui text "$hwnd" \
  && pass "settings read from the working folder's INI" || fail "title from other folder: $WAIT_VALUE"

# --- The About box from the system menu.
ui post "$hwnd" 0x0112 16  # WM_SYSCOMMAND with the appended About command
about=$(ui find --class '#32770' --title "バージョン情報 Quorvel" --timeout 20000)
if [ -n "$about" ]; then
  pass "About box opens from the system menu"
  screenshot "$shots/quorvel-about.png"
  ui click "$about" 1
  ui gone "$about" --timeout 10000 || fail "About box did not close"
else
  fail "no About box"
fi

# --- A second start brings the first forward, says so, and leaves the first running.
start_win -C "$other" "$first/Quorvel.exe"
pid2=$E2E_LAST_PID
msg=$(ui msgbox --timeout 30000)
[ "$msg" = "既に起動されています。" ] && pass "second start shows its message" || fail "second start message: '$msg'"
screenshot "$shots/quorvel-second-instance.png"
ui answer 1
wait_pid "$pid2" 30
[ "$E2E_RC" != timeout ] && pass "second instance exits" || fail "second instance still running"
kill -0 "$q_pid" 2>/dev/null && pass "first instance keeps running" || fail "first instance ended"
close_quorvel
# Written in full at exit (keys the script did not write), and the program's own folder left alone.
text=$(tr -d '\r' <"$other/Quorvel.ini")
grep -qx 'TITLE=Other folder' <<<"$text" && grep -qx 'BEFOR_TIME=1.0' <<<"$text" && ! grep -q 'Other folder' "$ini" \
  && pass "INI saved in the working folder" || fail "working folder's INI at exit: $(tr '\n' '|' <<<"$text")"

e2e_finish
