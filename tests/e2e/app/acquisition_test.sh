#!/usr/bin/env bash
# A measurement end to end: Quorvel under Wine receives the simulated recorder on a COM port.
# Start and stop with the button and from another program, status texts and log, low-pass field,
# refused close, missing data folder, a port that cannot be opened, the window title; Escape and
# Enter do nothing while Alt+F4 follows the close rule; a start requested again during the port
# search is ignored; a pulled and replugged adapter; an exit while the link searches for a port.
# Usage: acquisition_test.sh WINDOWS_BIN_DIR NATIVE_BIN_DIR
source "$(dirname "$0")/../lib.sh" "$1"
need_recsim "$2"
shots="$E2E_SHOTS"
toggle="C501B7B2-C574-4932-9F54-A50D2464AD46"
trap 'let_com1_show; cleanup_recsim; e2e_cleanup' EXIT

status() { ui text "$hwnd" 1053; }
log_rows() { ui list "$hwnd" 1052; }
# log_count TEXT: rows of the event log that are exactly TEXT.
log_count() { ui list "$hwnd" 1052 | grep -cxF -- "$1"; }
# The port search dialog is the top-level window with its progress bar (id 1097).
search_child=1097

keep_com1_hidden
"$recsim" --paused --bit 16 --rate 100 --lowpass 20 --tm-every 1 --axis x:amp=800,freq=2 \
  --axis y:amp=400,freq=5 --axis z:noise=50 --link "$WINEPREFIX/dosdevices/com3" --keep-link \
  --control "$E2E_TMP/ctl" --log "$E2E_TMP/rs.log" >"$E2E_TMP/rs.out" 2>&1 &
rs_pid=$!
wait_for 10 has_line "$E2E_TMP/rs.log" ' EV LINK' || fail "simulator did not link COM3"
echo start >"$E2E_TMP/ctl"

work="$E2E_TMP/work"
mkdir -p "$work/data"
write_ini() {  # write_ini SAVE_DIRECTORY COM
  { printf '[SPEC]\nCOM=%s\nSAVE_DIRECTORY=%s\nLOG_LIST=1\nBIT=16\nTITLE=振動試験\n' "$2" "$1"; } | to_cp932 >"$work/Quorvel.ini"
}

# --- A missing data folder: its message, and nothing changes.
write_ini "$(winpath "$work/missing")" COM3
if start_quorvel "$work"; then
  ui click "$hwnd" 1038
  msg=$(ui msgbox --timeout 20000 | tr '\n' '|')
  [ "$msg" = "データ保存フォルダが存在しません。|設定画面で設定してください。|" ] && pass "missing data folder message" \
    || fail "missing folder message: '$msg'"
  box=$(ui find --class "#32770" --timeout 5000)
  ui answer 1
  # The click handler has returned once its box is gone; nothing may have changed.
  [ -n "$box" ] && ui gone "$box" --timeout 10000
  wait_text "$hwnd" 1053 "待機中" 5 && pass "status unchanged" || fail "status: $WAIT_VALUE"
  [ "$(ui enabled "$hwnd" 1005)" = 1 ] && pass "settings button still enabled" || fail "buttons changed"
  close_quorvel
fi

# --- A measurement against the simulator.
write_ini "$(winpath "$work/data")" COM3
if start_quorvel "$work"; then
  title=$(ui text "$hwnd")
  [[ "$title" =~ ^振動試験\ Ver\ [0-9.]+\ HELDRIC$ ]] && pass "title: $title" || fail "title: '$title'"
  wait_text "$hwnd" 1053 "待機中" 5 && pass "idle status" || fail "idle status: $WAIT_VALUE"
  screenshot "$shots/quorvel-idle.png"

  # Escape and Enter on focused panel buttons go through the dialog manager and do nothing (Enter
  # on the trigger check box, which is no push button that Enter would press). The start posted
  # after them is handled after them, so the window must still be there to start.
  ui key "$hwnd" 1038 escape
  ui key "$hwnd" 1100 escape return
  ui post "$hwnd" "$toggle"
  wait_text "$hwnd" 1053 "受信中" 10 && pass "Escape and Enter left the window; receiving after start" \
    || fail "status after Escape, Enter and start: '$WAIT_VALUE'"
  kill -0 "$q_pid" 2>/dev/null || fail "Escape or Enter ended Quorvel"
  wait_text "$hwnd" 1098 "  20.0" 5 && pass "low-pass field shows 20 Hz" || fail "low-pass: '$WAIT_VALUE'"
  [ "$(ui enabled "$hwnd" 1005)" = 0 ] && [ "$(ui enabled "$hwnd" 1010)" = 1 ] && pass "buttons while running" \
    || fail "button enabling while running"
  wait_match 10 $'(^|\n)TM[^\n]*\nPC[0-9]{12}(\n|$)' log_rows || fail "no time report in the log"
  screenshot "$shots/quorvel-running.png"

  # Alt+F4 keeps the close rule: refused while measuring.
  ui key "$hwnd" 1038 alt+f4
  msg=$(ui msgbox --timeout 20000)
  [ "$msg" = "計測実行中はウィンドウを閉じることはできません。" ] && pass "Alt+F4 refused while measuring" \
    || fail "close message: '$msg'"
  ui answer 1
  kill -0 "$q_pid" 2>/dev/null && pass "still running after refused close" || fail "closed while measuring"

  echo "silence 4000" >"$E2E_TMP/ctl"
  wait_text "$hwnd" 1053 "受信 ｴﾗｰ" 10 && pass "silence shows 受信 ｴﾗｰ" || fail "silence status: $WAIT_VALUE"
  wait_text "$hwnd" 1053 "受信中" 20 && pass "receiving again after silence" || fail "after silence: $WAIT_VALUE"

  echo "bit 12" >"$E2E_TMP/ctl"
  wait_text "$hwnd" 1053 "ﾃﾞｰﾀｴﾗｰ" 10 && pass "wrong record format shows ﾃﾞｰﾀｴﾗｰ" || fail "bit status: $WAIT_VALUE"
  echo "bit 16" >"$E2E_TMP/ctl"
  wait_text "$hwnd" 1053 "受信中" 10 || fail "not receiving after the format came back: $WAIT_VALUE"

  ui post "$hwnd" "$toggle"
  wait_text "$hwnd" 1053 "待機中" 10 && pass "stopped by the registered message" || fail "stop by message: $WAIT_VALUE"
  ui list "$hwnd" 1052 >"$E2E_TMP/log.txt"
  grep -qx 'RCV-START' "$E2E_TMP/log.txt" && pass "log has RCV-START" || fail "no RCV-START in log"
  grep -qx 'RCV-END' "$E2E_TMP/log.txt" && pass "log has RCV-END" || fail "no RCV-END in log"
  grep -A1 '^TM' "$E2E_TMP/log.txt" | grep -qE '^PC[0-9]{12}$' && pass "time report logged with PC stamp" \
    || fail "no TM line with PC stamp: $(head -20 "$E2E_TMP/log.txt" | tr '\n' '|')"
  grep -qE '^ [0-9]{2}\.[0-9]{2}_[0-9]{2}:[0-9]{2}:[0-9]{2}$' "$E2E_TMP/log.txt" && pass "event stamps" || fail "no event stamp"
  grep -qx '受信ｴﾗｰ' "$E2E_TMP/log.txt" && pass "link error logged" || fail "受信ｴﾗｰ not logged"

  ui post "$hwnd" "$toggle"
  wait_text "$hwnd" 1053 "受信中" 10 && pass "started by the registered message" || fail "start by message: $WAIT_VALUE"
  ui click "$hwnd" 1038
  wait_text "$hwnd" 1053 "待機中" 10 && pass "stopped by the button" || fail "stop by button: $WAIT_VALUE"
  # Idle, Alt+F4 closes the program.
  ui key "$hwnd" 1038 alt+f4
  wait_pid "$q_pid" 30
  [ "$E2E_RC" != timeout ] && pass "Alt+F4 closes Quorvel when idle" || { fail "Alt+F4 did not close Quorvel"; kill "$q_pid"; }
fi

# --- Start requests that arrive while the start's port search is up are ignored: one start, one
# receive thread, and it keeps receiving. Three toggles are queued at once: the first starts, the
# others reach the window through the search dialog's message loop.
write_ini "$(winpath "$work/data")" COM9
if start_quorvel "$work"; then
  ui post "$hwnd" "$toggle" --repeat 3
  dlg=$(ui find --child $search_child --timeout 30000) && ui gone "$dlg" --timeout 30000
  wait_text "$hwnd" 1053 "受信中" 20 && pass "receiving after starts requested during the search" \
    || fail "status after nested starts: $WAIT_VALUE"
  holds 3 "受信中" status && pass "keeps receiving" || fail "status changed to '$WAIT_VALUE'"
  n=$(log_count "RCV-START")
  [ "$n" = 1 ] && pass "one RCV-START" || fail "RCV-START logged $n times"
  ui click "$hwnd" 1038
  wait_text "$hwnd" 1053 "待機中" 10 || fail "stop after nested start: $WAIT_VALUE"
  n=$(log_count "RCV-END")
  [ "$n" = 1 ] && pass "one RCV-END" || fail "RCV-END logged $n times"
  close_quorvel
  grep -qx 'COM=COM3' < <(tr -d '\r' <"$work/Quorvel.ini") && pass "the start's search stored COM3" \
    || fail "COM after the start's search: $(tr -d '\r' <"$work/Quorvel.ini" | grep '^COM=')"
fi

# --- The recorder's USB adapter is pulled for 6 s and plugged in again: the port vanishes and a new
# device appears under the same name. COM1 (the host's port, silent) is usable meanwhile, so the
# re-opening's search finds it; the link must come back to COM3 and COM3 must stay in the INI.
let_com1_show
write_ini "$(winpath "$work/data")" COM3
if start_quorvel "$work"; then
  ui click "$hwnd" 1038
  wait_text "$hwnd" 1053 "受信中" 10 || fail "not receiving before the unplug: $WAIT_VALUE"
  ptys=$(grep -c ' EV PTY' "$E2E_TMP/rs.log")
  echo "hangup 6000" >"$E2E_TMP/ctl"
  wait_text "$hwnd" 1053 "受信 ｴﾗｰ" 15 && pass "unplug shows 受信 ｴﾗｰ" || fail "unplug status: $WAIT_VALUE"
  wait_for 20 bash -c "[ \$(grep -c ' EV PTY' '$E2E_TMP/rs.log') -gt $ptys ]" || fail "recsim did not plug in again"
  back=$SECONDS
  # One re-open cycle: about 4 s of silence, the port search, and the opening.
  wait_text "$hwnd" 1053 "受信中" 30 && pass "receiving again $((SECONDS - back)) s after the replug" \
    || fail "no recovery after the replug: $WAIT_VALUE"
  screenshot "$shots/quorvel-replugged.png"
  n=$(log_count "受信ｴﾗｰ")
  [ "$n" = 1 ] && pass "the loss is logged once" || fail "受信ｴﾗｰ logged $n times"

  # The adapter is pulled again and the operator stops and closes while the link is searching:
  # the search ends, the program ends, and COM stays COM3.
  echo "hangup 60000" >"$E2E_TMP/ctl"
  # The stop is posted the moment the re-opening's search dialog appears.
  ui post "$hwnd" "$toggle" --after-child $search_child --timeout 30000 || fail "no search after the second unplug"
  wait_text "$hwnd" 1053 "待機中" 10 || fail "stop during the search: $WAIT_VALUE"
  ui close "$hwnd"
  wait_pid "$q_pid" 30
  [ "$E2E_RC" != timeout ] && pass "Quorvel ends while the link was searching" || { fail "Quorvel did not end"; kill "$q_pid"; }
  grep -qx 'COM=COM3' < <(tr -d '\r' <"$work/Quorvel.ini") && pass "COM3 kept in the INI" \
    || fail "COM after the unplugs: $(tr -d '\r' <"$work/Quorvel.ini" | grep '^COM=')"
fi

# --- A port that cannot be opened, and no other usable port.
cleanup_recsim
keep_com1_hidden
write_ini "$(winpath "$work/data")" COM3
if start_quorvel "$work"; then
  ui click "$hwnd" 1038
  msg=$(ui msgbox --timeout 60000)
  [ "$msg" = "使用可能な通信ポートが見つかりません。" ] && pass "no usable port message" || fail "no-port message: '$msg'"
  guide_shot msg-no-port "$(ui find --class "#32770" --timeout 5000)"
  # The start is still under way while its box (which has no owner) is up: 設定, ＳＤ読み込み and
  # データ読み込み are refused as while measuring, and come back when the start has failed.
  loads() { echo "$(ui enabled "$hwnd" 1005)$(ui enabled "$hwnd" 1012)$(ui enabled "$hwnd" 1011)"; }
  [ "$(loads)" = 000 ] && pass "settings and imports refused during the start" || fail "enabled during the start: $(loads)"
  ui answer 1
  wait_text "$hwnd" 1053 "OPEN ｴﾗｰ" 20 && pass "OPEN ｴﾗｰ shown" || fail "open error status: $WAIT_VALUE"
  wait_equal 5 111 loads && pass "settings and imports back after the failed start" || fail "enabled after the start: $WAIT_VALUE"
  # The one-second status timer must not overwrite it: watched over two ticks.
  holds 2 "OPEN ｴﾗｰ" status || fail "OPEN ｴﾗｰ overwritten by '$WAIT_VALUE'"
  close_quorvel
fi

e2e_finish
