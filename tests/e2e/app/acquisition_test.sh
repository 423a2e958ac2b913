#!/usr/bin/env bash
# A measurement end to end: Quorvel under Wine receives the simulated recorder on a COM port.
# Start and stop with the button and from another program, status texts and log, low-pass field,
# refused close, missing data folder, a port that cannot be opened, the window title.
# Usage: acquisition_test.sh WINDOWS_BIN_DIR NATIVE_BIN_DIR
source "$(dirname "$0")/../lib.sh" "$1"
recsim="$2/recsim"
[ -x "$recsim" ] || { echo "missing $recsim (native tree)"; exit 77; }
shots="$E2E_BUILD/screenshots"
mkdir -p "$shots"
prop="Quorvel.exe 2A217156-E4D9-4f05-B856-5ED6F5C867BE"
toggle="C501B7B2-C574-4932-9F54-A50D2464AD46"

trap 'cleanup_recsim; e2e_cleanup' EXIT


# COM1 would open /dev/ttyS0, which exists here: a link to an empty folder hides it (a missing
# target would not: Wine then falls back to the device).
mkdir -p "$E2E_TMP/no-com1"
ln -sfn "$E2E_TMP/no-com1" "$WINEPREFIX/dosdevices/com1"
"$recsim" --paused --bit 16 --rate 100 --lowpass 20 --tm-every 1 --axis x:amp=800,freq=2 \
  --axis y:amp=400,freq=5 --axis z:noise=50 --link "$WINEPREFIX/dosdevices/com3" --keep-link \
  --control "$E2E_TMP/ctl" --log "$E2E_TMP/rs.log" >"$E2E_TMP/rs.out" 2>&1 &
rs_pid=$!
for _ in $(seq 1 100); do grep -q ' EV LINK' "$E2E_TMP/rs.log" 2>/dev/null && break; sleep 0.1; done
echo start >"$E2E_TMP/ctl"

work="$E2E_TMP/work"
mkdir -p "$work/data"
write_ini() {  # write_ini SAVE_DIRECTORY COM
  { printf '[SPEC]\nCOM=%s\nSAVE_DIRECTORY=%s\nLOG_LIST=1\nBIT=16\nTITLE=振動試験\n' "$2" "$1"; } | to_cp932 >"$work/Quorvel.ini"
}
start_quorvel() {
  start_win -C "$work" "$E2E_BUILD/Quorvel.exe"
  q_pid=$E2E_LAST_PID
  hwnd=$(ui find --prop "$prop" --timeout 30000) || { fail "main window did not appear"; return 1; }
}
close_quorvel() {
  ui close "$hwnd"
  wait_pid "$q_pid" 30
  [ "$E2E_RC" = timeout ] && { fail "Quorvel did not end"; kill "$q_pid"; }
}

# --- A missing data folder: its message, and nothing changes.
write_ini "$(winpath "$work/missing")" COM3
if start_quorvel; then
  ui click "$hwnd" 1038
  msg=$(ui msgbox --timeout 20000 | tr '\n' '|')
  [ "$msg" = "データ保存フォルダが存在しません。|設定画面で設定してください。|" ] && pass "missing data folder message" \
    || fail "missing folder message: '$msg'"
  ui answer 1
  sleep 0.5  # nothing must happen; there is no condition to wait for
  [ "$(ui text "$hwnd" 1053)" = "待機中" ] && pass "status unchanged" || fail "status: $(ui text "$hwnd" 1053)"
  [ "$(ui enabled "$hwnd" 1005)" = 1 ] && pass "settings button still enabled" || fail "buttons changed"
  close_quorvel
fi

# --- A measurement against the simulator.
write_ini "$(winpath "$work/data")" COM3
if start_quorvel; then
  title=$(ui text "$hwnd")
  [[ "$title" =~ ^振動試験\ Ver\ [0-9.]+\ HELDRIC$ ]] && pass "title: $title" || fail "title: '$title'"
  [ "$(ui text "$hwnd" 1053)" = "待機中" ] && pass "idle status" || fail "idle status: $(ui text "$hwnd" 1053)"
  screenshot "$shots/quorvel-idle.png"

  ui click "$hwnd" 1038
  wait_text "$hwnd" 1053 "受信中" 10 && pass "receiving after start" || fail "status after start: $(ui text "$hwnd" 1053)"
  wait_text "$hwnd" 1098 "  20.0" 5 && pass "low-pass field shows 20 Hz" || fail "low-pass: '$(ui text "$hwnd" 1098)'"
  [ "$(ui enabled "$hwnd" 1005)" = 0 ] && [ "$(ui enabled "$hwnd" 1010)" = 1 ] && pass "buttons while running" \
    || fail "button enabling while running"
  sleep 1.5  # let a time report or two arrive for the log
  screenshot "$shots/quorvel-running.png"

  ui close "$hwnd"
  msg=$(ui msgbox --timeout 20000)
  [ "$msg" = "計測実行中はウィンドウを閉じることはできません。" ] && pass "close refused while measuring" \
    || fail "close message: '$msg'"
  ui answer 1
  kill -0 "$q_pid" 2>/dev/null && pass "still running after refused close" || fail "closed while measuring"

  echo "silence 4000" >"$E2E_TMP/ctl"
  wait_text "$hwnd" 1053 "受信 ｴﾗｰ" 10 && pass "silence shows 受信 ｴﾗｰ" || fail "silence status: $(ui text "$hwnd" 1053)"
  wait_text "$hwnd" 1053 "受信中" 20 && pass "receiving again after silence" || fail "after silence: $(ui text "$hwnd" 1053)"

  echo "bit 12" >"$E2E_TMP/ctl"
  wait_text "$hwnd" 1053 "ﾃﾞｰﾀｴﾗｰ" 10 && pass "wrong record format shows ﾃﾞｰﾀｴﾗｰ" || fail "bit status: $(ui text "$hwnd" 1053)"
  echo "bit 16" >"$E2E_TMP/ctl"
  wait_text "$hwnd" 1053 "受信中" 10 || fail "not receiving after the format came back"

  ui post "$hwnd" "$toggle"
  wait_text "$hwnd" 1053 "待機中" 10 && pass "stopped by the registered message" || fail "stop by message: $(ui text "$hwnd" 1053)"
  ui list "$hwnd" 1052 >"$E2E_TMP/log.txt"
  grep -qx 'RCV-START' "$E2E_TMP/log.txt" && pass "log has RCV-START" || fail "no RCV-START in log"
  grep -qx 'RCV-END' "$E2E_TMP/log.txt" && pass "log has RCV-END" || fail "no RCV-END in log"
  grep -A1 '^TM' "$E2E_TMP/log.txt" | grep -qE '^PC[0-9]{12}$' && pass "time report logged with PC stamp" \
    || fail "no TM line with PC stamp: $(head -20 "$E2E_TMP/log.txt" | tr '\n' '|')"
  grep -qE '^ [0-9]{2}\.[0-9]{2}_[0-9]{2}:[0-9]{2}:[0-9]{2}$' "$E2E_TMP/log.txt" && pass "event stamps" || fail "no event stamp"
  grep -qx '受信ｴﾗｰ' "$E2E_TMP/log.txt" && pass "link error logged" || fail "受信ｴﾗｰ not logged"

  ui post "$hwnd" "$toggle"
  wait_text "$hwnd" 1053 "受信中" 10 && pass "started by the registered message" || fail "start by message: $(ui text "$hwnd" 1053)"
  ui click "$hwnd" 1038
  wait_text "$hwnd" 1053 "待機中" 10 && pass "stopped by the button" || fail "stop by button"
  close_quorvel
fi

# --- A port that cannot be opened, and no other usable port.
cleanup_recsim
ln -sfn "$E2E_TMP/no-com1" "$WINEPREFIX/dosdevices/com1"
write_ini "$(winpath "$work/data")" COM3
if start_quorvel; then
  ui click "$hwnd" 1038
  msg=$(ui msgbox --timeout 60000)
  [ "$msg" = "使用可能な通信ポートが見つかりません。" ] && pass "no usable port message" || fail "no-port message: '$msg'"
  ui answer 1
  wait_text "$hwnd" 1053 "OPEN ｴﾗｰ" 20 && pass "OPEN ｴﾗｰ shown" || fail "open error status: $(ui text "$hwnd" 1053)"
  sleep 1.5  # the status timer must not overwrite it
  [ "$(ui text "$hwnd" 1053)" = "OPEN ｴﾗｰ" ] || fail "OPEN ｴﾗｰ overwritten"
  close_quorvel
fi

e2e_finish
