#!/usr/bin/env bash
# The trigger history end to end: recordings in Trig.dt listed with their peaks and intensities
# from the system menu (by message and by keys), sorting by a column with the mouse, Escape and
# Alt+F4, the CSV export, the same rows after a restart from the index, and a deleted or damaged
# index rebuilt. Then live: bursts of the simulated recorder become trigger recordings whose rows
# appear while measuring; loading one is refused while measuring, and after the stop a double-click
# or Enter loads it for review (title, date and time labels, value fields). Keys and clicks go through the X server (xdotool), as an operator's
# would. Usage: history_test.sh WINDOWS_BIN_DIR NATIVE_BIN_DIR
source "$(dirname "$0")/../lib.sh" "$1"
need_recsim "$2"
shots="$E2E_SHOTS"
list_id=1600

work="$E2E_TMP/work"
trig="$work/data/Trig.dt"
mkdir -p "$trig"
printf '[SPEC]\r\nSAVE_DIRECTORY=%s\r\n' "$(winpath "$work/data")" >"$work/Quorvel.ini"

# trigger_file NAME STAMP AXIS AMPLITUDE FROM TO: a trigger file with samples FROM..TO-1 of a 1 Hz
# cosine of AMPLITUDE gal on AXIS (0, 1, 2) and 0 on the others, as the recorder's writer lays it out.
trigger_file() {
  { printf 'COMMENT_1:TRIG DATA\r\nDATE_MAKE:%s\r\nCLOCK:10.000000 ( msec )\r\nDATA:\r\n' "$2"
    printf '\x82\x77,\x82\x78,\x82\x79\r\ngal,gal,gal\r\n'
    awk -v axis="$3" -v a="$4" -v from="$5" -v to="$6" 'BEGIN {
      for (i = from; i < to; i++) { v[0] = 0; v[1] = 0; v[2] = 0; v[axis] = a * cos(2 * 3.141592653589793 * i / 100)
        printf "%f,%f,%f\r\n", v[0], v[1], v[2] } }'
  } >"$trig/$1"
}
# 30 s of whole periods, crests on samples: the level a is A·G(1 Hz) = A·0.99637, so 100 gal gives
# I = 4.937 (4.9, 5弱), 300 gal 5.891 (5.8, 6弱), 10 gal 2.937 (2.9, 3). The 300 gal recording is
# split in two files; the last is too short (0.2 s) for an intensity.
trigger_file 20240506_120000.csv 2024.05.06_12:00:00 0 100 0 3000
trigger_file 20240506_130000.csv 2024.05.06_13:00:00 1 300 0 2000
trigger_file 20240506_130000-1.csv 2024.05.06_13:00:20 1 300 2000 3000
trigger_file 20240506_140000.csv 2024.05.06_14:00:00 2 10 0 3000
trigger_file 20240506_150000.csv 2024.05.06_15:00:00 0 50 0 20

captions=$'開始日時 ▼\t継続時間(s)\tファイル\t最大Ｘ(gal)\t最大Ｙ(gal)\t最大Ｚ(gal)\t合成最大(gal)\t計測震度\t震度階級'
expected_rows=$'2024/05/06 15:00:00\t0.20\t20240506_150000.csv\t50.00\t0.00\t0.00\t50.00\t-\t-
2024/05/06 14:00:00\t30.00\t20240506_140000.csv\t0.00\t0.00\t10.00\t10.00\t2.9\t3
2024/05/06 13:00:00\t30.00\t20240506_130000.csv (+1)\t0.00\t300.00\t0.00\t300.00\t5.8\t6弱
2024/05/06 12:00:00\t30.00\t20240506_120000.csv\t100.00\t0.00\t0.00\t100.00\t4.9\t5弱'

# open_history: the system menu's item; sets $hist.
open_history() {
  ui post "$hwnd" 0x0112 0x30  # WM_SYSCOMMAND, the history's command
  hist=$(ui find --class '#32770' --title "トリガ履歴" --timeout 20000) || { fail "no history window"; return 1; }
}
# check_rows WHAT: the list shows the four recordings newest first (waits for the reading to end).
check_rows() {
  if ! wait_equal 60 "4 件" ui text "$hist" 1601; then
    fail "$1: status '$WAIT_VALUE'"
  elif wait_equal 10 "$captions"$'\n'"$expected_rows" ui lvrows "$hist" $list_id; then
    pass "$1"
  else
    fail "$1: rows:"$'\n'"$WAIT_VALUE"
  fi
}
index="$trig/TrigHistory.idx"
index_sum() { md5sum <"$index"; }

# --- First start: the history is read in the background and kept in the index.
if start_quorvel "$work" && open_history; then
  check_rows "rows with peaks and intensities, newest first"
  wait_for 10 test -s "$index" && head -c 25 "$index" | grep -q '^QUORVEL TRIGGER HISTORY 1' \
    && pass "index written" || fail "no index in Trig.dt"
  screenshot "$shots/history.png"

  # A click on a column heading sorts by it, largest first; a second click turns the order.
  # (The second click lands 8 pixels beside the first, so it is no double click.)
  read -r l t r b < <(ui lvcolumn "$hist" $list_id 7)
  xdotool mousemove $(((l + r) / 2 - 4)) $(((t + b) / 2)) click 1
  sorted() { ui lvrows "$hist" $list_id | cut -f8 | tr '\n' ' '; }
  wait_equal 10 "計測震度 ▼ 5.8 4.9 2.9 - " sorted && pass "sorted by intensity" || fail "intensity sort: $WAIT_VALUE"
  xdotool mousemove $(((l + r) / 2 + 4)) $(((t + b) / 2)) click 1
  wait_equal 10 "計測震度 ▲ - 2.9 4.9 5.8 " sorted && pass "order turned" || fail "second click: $WAIT_VALUE"
  screenshot "$shots/history-sorted.png"

  # The export: a file name in the save dialog; UTF-8 with BOM and the rows as shown.
  ui click "$hist" 1604
  save=$(ui find --class '#32770' --title "名前を付けて保存" --timeout 20000)
  if [ -n "$save" ]; then
    ui settext "$save" 1148 "$(winpath "$E2E_TMP/export.csv")"
    ui click "$save" 1
    if wait_for 20 test -s "$E2E_TMP/export.csv"; then
      head -c 3 "$E2E_TMP/export.csv" | od -An -tx1 | grep -q 'ef bb bf' && pass "export starts with a BOM" || fail "no BOM"
      body=$(tail -c +4 "$E2E_TMP/export.csv" | tr -d '\r')
      first=$(head -n1 <<<"$body")
      [ "$first" = "開始日時,継続時間(s),ファイル,最大Ｘ(gal),最大Ｙ(gal),最大Ｚ(gal),合成最大(gal),計測震度,震度階級" ] \
        && pass "export captions in UTF-8" || fail "export captions: $first"
      [ "$(sed -n 2p <<<"$body")" = "2024/05/06 15:00:00,0.20,20240506_150000.csv,50.00,0.00,0.00,50.00,-,-" ] \
        && pass "export rows in the list's order" || fail "export row: $(sed -n 2p <<<"$body")"
    else
      fail "no export written"
    fi
  else
    fail "no save dialog"
  fi

  # Escapes in the history's own system menu belong to the menu: the first closes it, the second
  # leaves the menu mode (as everywhere in Windows), and the window stays. Then Escape closes the
  # window, not the program.
  xdotool key alt+space
  if menu=$(ui find --class '#32768' --timeout 10000); then
    xdotool key Escape
    ui gone "$menu" --timeout 10000 || fail "Escape left the system menu open"
    xdotool key Escape
    holds 1 "トリガ履歴" ui text "$hist" && pass "Escapes in the system menu keep the window" \
      || fail "the window went with the menu's Escapes: '$WAIT_VALUE'"
  else
    fail "no system menu on Alt+Space"
  fi
  xdotool key Escape
  ui gone "$hist" --timeout 10000 && pass "Escape closes the history" || fail "Escape left the history open"
  kill -0 "$q_pid" 2>/dev/null && pass "the program stays" || fail "program ended"
  close_quorvel
fi

# --- A restart shows the same rows at once, from the index, which stays as it was. The window
# opens from the system menu by keys this time, and Alt+F4 closes it, not the program.
before=$(index_sum)
if start_quorvel "$work"; then
  xdotool key alt+space h
  if hist=$(ui find --class '#32770' --title "トリガ履歴" --timeout 20000); then
    pass "Alt+Space, H opens the history"
    check_rows "same rows after a restart"
    [ "$(index_sum)" = "$before" ] && pass "index unchanged" || fail "index rewritten"
    xdotool key alt+F4
    ui gone "$hist" --timeout 10000 && pass "Alt+F4 closes the history" || fail "Alt+F4 left the history open"
    kill -0 "$q_pid" 2>/dev/null && pass "the program stays after Alt+F4" || fail "Alt+F4 ended the program"
  else
    fail "no history window from the system menu's keys"
  fi
  close_quorvel
fi

# --- A deleted index, then a damaged one: rebuilt from the files.
for damage in deleted damaged; do
  if [ $damage = deleted ]; then rm -f "$index"; else head -c 200 "$index" >"$E2E_TMP/cut" && mv "$E2E_TMP/cut" "$index"; fi
  if start_quorvel "$work" && open_history; then
    check_rows "rows after a $damage index"
    wait_equal 10 "$before" index_sum && pass "$damage index rebuilt" || fail "$damage index not rebuilt: $WAIT_VALUE"
    close_quorvel
  fi
done

# --- Live: two bursts of 10 s at 5 Hz from the simulator, 2000 counts on Y (250 gal) and then 400
# on X (50 gal), 16-bit at 0.125 gal per count. Crests fall on samples, so the level is A·G(5 Hz)
# = A·0.41005: 102.51 gal, I = 4.962 (4.9, 5弱), and 20.50 gal, I = 3.564 (3.5, 4).
trap 'cleanup_recsim; e2e_cleanup' EXIT
hide_com1
"$recsim" --paused --bit 16 --rate 600 --link "$WINEPREFIX/dosdevices/com3" --keep-link \
  --control "$E2E_TMP/ctl" --log "$E2E_TMP/rs.log" >"$E2E_TMP/rs.out" 2>&1 &
rs_pid=$!
wait_for 10 has_line "$E2E_TMP/rs.log" ' EV LINK' || fail "simulator did not link COM3"
echo start >"$E2E_TMP/ctl"
live="$E2E_TMP/live"
mkdir -p "$live/data"
{ printf '[TRIG]\nTRIG_MODE=1\nBEFOR_TIME=1.0\nAFTER_TIME=1.0\nVAL_X=20\nVAL_Y=20\nVAL_Z=20\n'
  printf '[SPEC]\nCOM=COM3\nSAVE_DIRECTORY=%s\nLOG_LIST=1\nBIT=16\n' "$(winpath "$live/data")"; } | to_cp932 >"$live/Quorvel.ini"
trig_ends() { ui list "$hwnd" 1052 | grep -cx TRIG-END; }
# live_rows: peaks X, Y, vector peak, intensity and class of each row, newest first.
live_rows() { ui lvrows "$hist" $list_id | tail -n +2 | cut -f4,5,7,8,9 | tr '\t\n' ' |'; }
# row_of TEXT: the row whose Y peak is TEXT (0 = the first).
row_of() { ui lvrows "$hist" $list_id | tail -n +2 | awk -F'\t' -v y="$1" '$5 == y { print NR - 1; exit }'; }
# double_click ROW: the operator's double-click in the middle of a row.
double_click() {
  local l t r b sel
  read -r l t r b sel < <(ui lvrect "$hist" $list_id "$1")
  xdotool mousemove $(((l + r) / 2)) $(((t + b) / 2)) click --repeat 2 --delay 80 1
}
if start_quorvel "$live" && open_history; then
  ui click "$hwnd" 1038
  wait_equal 20 "受信中" ui text "$hwnd" 1053 || fail "measurement did not start: $WAIT_VALUE"
  echo "burst y 2000 1000" >"$E2E_TMP/ctl"
  wait_equal 60 1 trig_ends || fail "first trigger recording did not end: $WAIT_VALUE TRIG-END rows"
  echo "burst x 400 1000" >"$E2E_TMP/ctl"
  wait_equal 60 2 trig_ends || fail "second trigger recording did not end: $WAIT_VALUE TRIG-END rows"
  if wait_equal 30 "50.00 0.00 50.00 3.5 4|0.00 250.00 250.00 4.9 5弱|" live_rows; then
    pass "rows of the bursts while measuring"
  else
    fail "live rows: $WAIT_VALUE"
  fi
  # 1 s before the trigger, the 10 s burst, 1 s after-time: about 12 s.
  wait_match 10 '^1[12]\.[0-9]{2}$' eval 'ui lvrows "$hist" $list_id | sed -n 2p | cut -f2' \
    && pass "duration of the X recording: $WAIT_VALUE s" || fail "duration: $WAIT_VALUE"
  xdotool mousemove 5 5  # no heading lit by the pointer in the pictures
  screenshot "$shots/history-live.png"
  guide_shot history "$hist"

  # Loading while measuring is refused with a message; after the stop it loads.
  double_click "$(row_of 250.00)"
  msg=$(ui msgbox --timeout 20000)
  [ "$msg" = "計測実行中はファイルを読み込めません。" ] && pass "no loading while measuring" || fail "message while measuring: '$msg'"
  ui answer 1
  ui click "$hwnd" 1038
  wait_equal 20 "待機中" ui text "$hwnd" 1053 || fail "measurement did not stop: $WAIT_VALUE"
  y_file=$(ui lvrows "$hist" $list_id | awk -F'\t' '$5 == "250.00" { print $3 }')
  x_file=$(ui lvrows "$hist" $list_id | awk -F'\t' '$4 == "50.00" { print $3 }')
  double_click "$(row_of 250.00)"
  wait_match 30 "\\\\Trig\\.dt\\\\${y_file}\\]\$" ui text "$hwnd" \
    && pass "double-click loads $y_file for review" || fail "title after the double-click: $WAIT_VALUE"
  # The review shows that recording: its first window's extremes, dated by its DATE_MAKE line.
  wave_values "$live/data/Trig.dt/$y_file" >"$E2E_TMP/y.values"
  review_check "review of $y_file" "$E2E_TMP/y.values" 0 "$(date_make_labels "$live/data/Trig.dt/$y_file")"
  # Enter on a row selected with the mouse loads that one.
  read -r l t r b sel < <(ui lvrect "$hist" $list_id "$(row_of 0.00)")
  xdotool mousemove $(((l + r) / 2)) $(((t + b) / 2)) click 1
  wait_equal 10 1 eval 'ui lvrect "$hist" $list_id "$(row_of 0.00)" | cut -d" " -f5' || fail "row not selected"
  xdotool key Return
  wait_match 30 "\\\\Trig\\.dt\\\\${x_file}\\]\$" ui text "$hwnd" \
    && pass "Enter loads $x_file" || fail "title after Enter: $WAIT_VALUE"
  wave_values "$live/data/Trig.dt/$x_file" >"$E2E_TMP/x.values"
  review_check "review of $x_file" "$E2E_TMP/x.values" 0 "$(date_make_labels "$live/data/Trig.dt/$x_file")"
  screenshot "$shots/history-loaded.png"
  ui close "$hist"
  ui gone "$hist" --timeout 10000 && screenshot "$shots/history-review.png" || fail "history window did not close"
  close_quorvel
fi

e2e_finish
