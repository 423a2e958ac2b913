#!/usr/bin/env bash
# The settings dialog end to end: Quorvel under Wine with the simulated recorder on COM3.
# Both forms, the recorder's clock and thresholds (any order, echo, delay, silence), every range
# message, the threshold inputs' rounding, Tab, Enter, Escape and Alt+F4, the port list, the folder
# browser and the version dialog, the defaults undone by キャンセル, OK taken over at exit, and the
# panes after OK.
# Usage: settings_test.sh WINDOWS_BIN_DIR NATIVE_BIN_DIR
source "$(dirname "$0")/../lib.sh" "$1"
need_recsim "$2"
shots="$E2E_SHOTS"
ctl="$E2E_TMP/ctl"
rslog="$E2E_TMP/rs.log"
trap 'let_com1_show; cleanup_recsim; e2e_cleanup' EXIT

# With COM1 hidden the recorder on COM3 is the only usable port.
keep_com1_hidden
"$recsim" --paused --bit 16 --link "$WINEPREFIX/dosdevices/com3" --keep-link --control "$ctl" \
  --log "$rslog" >"$E2E_TMP/rs.out" 2>&1 &
rs_pid=$!
wait_for 10 has_line "$rslog" ' EV LINK' || fail "recsim did not link COM3"

work="$E2E_TMP/work"
mkdir -p "$work/data"
ini="$work/Quorvel.ini"

# --- helpers -------------------------------------------------------------------------------------

# expect_text HWND ID TEXT [SECONDS]: waits until a control shows TEXT; reports what it showed.
expect_text() {
  wait_equal "${4:-10}" "$3" ui text "$1" "$2" && pass "$2 shows '$3'" || fail "$2 shows '$WAIT_VALUE', expected '$3'"
}
# expect_state WHAT HWND ID VALUE: enabled/checked state of a control (0 or 1).
expect_state() {
  local got
  got=$(ui "$1" "$2" "$3")
  [ "$got" = "$4" ] && pass "$3 $1=$4" || fail "$3 $1=$got, expected $4"
}
no_box() { ! ui msgbox --timeout 0 >/dev/null; }
# expect_box TEXT [BUTTON [TIMEOUT [GUIDE]]]: waits for a message box (lines joined by |), compares,
# takes the guide's picture GUIDE of it, presses BUTTON.
expect_box() {
  local got
  got=$(ui msgbox --timeout "${3:-30000}" | tr '\n' '|')
  got=${got%|}
  [ "$got" = "$1" ] && pass "message: $1" || fail "message '$got', expected '$1'"
  [ -n "${4:-}" ] && guide_box "$4"
  ui answer "${2:-1}" >/dev/null
  wait_for 10 no_box || fail "message box stayed"
}
focus_is() { [ "$(ui focus "$1")" = "$2" ]; }
# RX bytes the recorder received, as one hex string.
rx_hex() { awk '$2 == "RX" { printf "%s", $3 }' "$rslog"; }
hex() { printf '%s' "$1" | od -An -tx1 | tr -d ' \n'; }
cmd_count() { grep -c " CMD $1" "$rslog"; }
ini_value() {  # ini_value SECTION KEY
  iconv -f CP932 -t UTF-8 "$ini" | tr -d '\r' |
    awk -v s="[$1]" -v k="$2" '/^\[/ { in_s = ($0 == s) } in_s && index($0, k "=") == 1 { print substr($0, length(k) + 2); exit }'
}
expect_ini() {
  local got
  got=$(ini_value "$1" "$2")
  [ "$got" = "$3" ] && pass "[$1] $2=$3" || fail "[$1] $2='$got', expected '$3'"
}

open_settings() {
  ui click "$hwnd" 1005
  dlg=$(ui find --class "#32770" --child 1023 --timeout 20000) || { fail "settings dialog did not open"; return 1; }
  [ "$(ui text "$dlg")" = "設定" ] || fail "settings caption '$(ui text "$dlg")'"
}
dialog_gone() { ui gone "$dlg" --timeout 20000 || fail "settings dialog did not close"; }
width_of() { ui rect "$1" | awk '/^window/ { print $4 - $2 }'; }
# A PSD pane laid out with no room: the main window's child dialog of width 0.
empty_panes() { ui children "$hwnd" | awk -F'\t' '$2 == "#32770" { split($3, r, ","); if (r[3] == r[1]) n++ } END { print n + 0 }'; }

# --- Session 1: thresholds editable, detailed form -----------------------------------------------
{ printf '[SPEC]\nCOM=com3\nSAVE_DIRECTORY=%s\nBIT=16\nTITLE=振動試験\nKANZAN=0.25,0.5,1.0\nSETTING_WINDOW_TYPE=1\n' \
    "$(winpath "$work/data")"
  printf '[TRIG]\nVAL_X=12.5\nVAL_Y=12.5\nVAL_Z=7.5\n[SCALE]\nACC_AUTO=0\nACC_SEL=3\n[COLOR]\nGRAPH_BACK=1,2,3\n'
  printf '[SHIKI]\nP=2.5\nN1=11\nN2=22\nN3=33\nVAL_CHANGE=1\n'; } | to_cp932 >"$ini"

if start_quorvel "$work" && open_settings; then
  expect_text "$dlg" 1023 "＜＜簡易"
  expect_text "$dlg" 1043 "12.5"
  expect_text "$dlg" 1104 "2.5"
  expect_text "$dlg" 1101 "[16 bit]"
  expect_text "$dlg" 1053 "0.25"
  expect_text "$dlg" 1077 "変更する場合は  Quorvel.Ini [SPEC]KANZAN=999,999,999 の値を変更してください。"
  expect_state checked "$dlg" 1031 1
  expect_state enabled "$dlg" 1053 0
  expect_state enabled "$dlg" 1127 0
  clock=$(ui text "$dlg" 1015)
  [[ "$clock" =~ ^[0-9]{4}\.[0-9]{2}\.[0-9]{2}_[0-9]{2}:[0-9]{2}:[0-9]{2}$ ]] && pass "PC clock $clock" \
    || fail "PC clock field '$clock'"
  full_width=$(width_of "$dlg")
  screenshot "$shots/settings-detailed.png"
  guide_shot settings-detailed "$dlg"

  # Clock transfer: 17 bytes, no line end, the time of the PC.
  ui click "$dlg" 1018
  msg=$(ui msgbox --timeout 30000)
  guide_box msg-clock
  ui answer 1 >/dev/null
  wait_for 10 no_box
  sent=$(sed -n 's/^時刻転送しました。 \[\(.*\)\]$/\1/p' <<<"$msg")
  if [[ "$sent" =~ ^[0-9]{2}-[0-9]{2}-[0-9]{2}-[0-9]{2}-[0-9]{2}-[0-9]{2}$ ]]; then
    pass "clock message: $msg"
    off=$(( $(date +%s) - $(date -d "20${sent:0:8} ${sent:9:2}:${sent:12:2}:${sent:15:2}" +%s) ))
    [ "${off#-}" -le 30 ] && pass "clock is the PC's (${off} s ago)" || fail "clock $sent is $off s off"
    wait_for 10 has_line "$rslog" " CMD CLOCK $sent" && pass "recorder got the clock" || fail "recorder log has no CLOCK $sent"
    [ "$(rx_hex)" = "$(hex "$sent")" ] && pass "clock bytes exactly '$sent'" || fail "bytes sent: $(rx_hex)"
  else
    fail "clock message '$msg'"
  fi

  # Writing before any read is refused, whatever the values.
  ui click "$dlg" 1026
  expect_box "転送前に必ずモニターをしてください。"
  [ "$(cmd_count 'P=')" = 0 ] && pass "nothing written before a read" || fail "a threshold write went out"

  # Read: the lines come late, in another order, after an echo of the request.
  printf 'order N2,P,N3,N1\necho on\ndelay 3000\n' >"$ctl"
  wait_for 10 has_line "$rslog" 'CTL delay 3000' || fail "recsim did not take its commands"
  ui click "$dlg" 1027
  expect_text "$dlg" 1112 "1.5" 40
  expect_text "$dlg" 1114 "10"
  expect_text "$dlg" 1115 "20"
  expect_text "$dlg" 1116 "30"
  grep ' REPLY ' "$rslog" | head -1 | grep -q " REPLY $(hex $'THR\r\nN2,020\r\nP-,015')" \
    && pass "reply was echo, then N2, P, ..." || fail "reply: $(grep ' REPLY ' "$rslog" | head -1)"
  no_box && pass "no message after a good read" || fail "a message box after a good read"

  # Write: a cancelled question sends nothing; OK sends the command and reads back.
  printf 'echo off\ndelay 0\n' >"$ctl"
  for pair in 1104:3.5 1106:44 1108:55 1110:66; do ui settext "$dlg" "${pair%%:*}" "${pair#*:}"; done
  ui click "$dlg" 1026
  expect_box "装置の閾値：P= 1.5 N1= 10 N2= 20 N3= 30|新しい閾値：P= 3.5 N1= 44 N2= 55 N3= 66||新しい閾値に書き換えます。よろしいですか？" 2
  [ "$(cmd_count 'P=')" = 0 ] && pass "cancelled write sends nothing" || fail "a cancelled write went out"
  ui click "$dlg" 1026
  expect_box "装置の閾値：P= 1.5 N1= 10 N2= 20 N3= 30|新しい閾値：P= 3.5 N1= 44 N2= 55 N3= 66||新しい閾値に書き換えます。よろしいですか？" 1 30000 msg-threshold-write
  expect_text "$dlg" 1112 "3.5" 30
  expect_text "$dlg" 1114 "44"
  expect_text "$dlg" 1116 "66"
  [[ "$(rx_hex)" == *"$(hex $'P-,035\r\nN1,044\r\nN2,055\r\nN3,066\r\n')$(hex $'THR\r')" ]] \
    && pass "32-byte write, then a read" || fail "bytes after the write: $(rx_hex | tail -c 120)"

  ui settext "$dlg" 1104 "100.0"
  ui click "$dlg" 1026
  expect_box "閾値 Ｐ波値は 0.0 ～ 99.9 (gal) です。"
  [ "$(cmd_count 'P=')" = 1 ] && pass "P=100.0 is not sent" || fail "P=100.0 went out"
  ui settext "$dlg" 1104 "3.5"

  # A silent recorder: the read gives up after about 20 s; the fields keep their values.
  echo "mute on" >"$ctl"
  wait_for 10 has_line "$rslog" 'CTL mute on'
  start=$SECONDS
  ui click "$dlg" 1027
  expect_box "閾値　モニタエラー" 1 90000 msg-monitor-error
  took=$((SECONDS - start))
  [ "$took" -ge 19 ] && pass "silent recorder given up after $took s" || fail "gave up after only $took s"
  expect_text "$dlg" 1112 "3.5"
  echo "mute off" >"$ctl"

  # Tab walks the controls in layout order; leaving a threshold input rounds it.
  ui settext "$dlg" 1104 "12.34"
  ui settext "$dlg" 1106 "7.5"
  ui setfocus "$dlg" 1036
  wait_for 5 focus_is "$dlg" 1036 || fail "focus not on the data folder"
  order=1036  # as just seen: a second reading could only add a chance to fail
  for _ in $(seq 1 40); do
    before=$(ui focus "$dlg")
    ui key "$dlg" 0 tab
    wait_for 5 eval '! focus_is "$dlg" "$before"' || { fail "Tab did not move from $before"; break; }
    now=$(ui focus "$dlg")
    [ "$now" = "${order%% *}" ] && break
    order="$order $now"
  done
  # Into a radio group Tab goes to its ticked radio; disabled own-value edits are passed over.
  expected="1036 1000 1009 1019 1031 1014 1128 1037 1040 1043 1048 1018 1104 1106 1108 1110 1027 1026 1001 1002 1046 1024 1058 1017 1054 1023 1066 1067 1 2"
  [ "$order" = "$expected" ] && pass "Tab order follows the layout" || fail "Tab order: $order"
  expect_text "$dlg" 1104 "12.3"
  expect_text "$dlg" 1106 "8"

  # The port list: it starts with the setting's text; its first drop-down searches and selects
  # the found port that begins with it (in any case), the second does not search again.
  [ "$(ui combo "$dlg" 1001 | tr '\n' '|')" = "sel 0|com3|" ] || fail "port list before the search: $(ui combo "$dlg" 1001 | tr '\n' '|')"
  ui dropdown "$dlg" 1001 1
  wait_for 60 eval '[ "$(ui combo "$dlg" 1001 | tr "\n" "|")" = "sel 0|COM3|" ]' && pass "search filled the list: COM3, selected" \
    || fail "port list after the search: $(ui combo "$dlg" 1001 | tr '\n' '|')"
  wait_for 10 eval '[ "$(ui dropped "$dlg" 1001)" = 1 ]' || fail "list did not drop down"
  ui dropdown "$dlg" 1001 0
  wait_for 10 eval '[ "$(ui dropped "$dlg" 1001)" = 0 ]'
  # With the recorder's port gone for a while, a second search would find nothing and say so.
  echo "hangup 4000" >"$ctl"
  wait_for 10 has_line "$rslog" 'EV HANGUP' || fail "recsim did not hang up"
  ui dropdown "$dlg" 1001 1
  wait_for 10 eval '[ "$(ui dropped "$dlg" 1001)" = 1 ]' || fail "list did not drop down again"
  no_box && [ "$(ui combo "$dlg" 1001 | tr '\n' '|')" = "sel 0|COM3|" ] && pass "second drop-down does not search" \
    || fail "second drop-down searched: $(ui combo "$dlg" 1001 | tr '\n' '|')"
  ui dropdown "$dlg" 1001 0
  wait_for 10 eval '[ "$(grep -c " EV LINK" "$rslog")" -ge 2 ]' || fail "recsim did not come back"

  # デフォルト設定 fills the defaults; Escape is キャンセル and undoes them.
  ui click "$dlg" 1067
  expect_box "デフォルト値に戻します。よろしいですか？"
  expect_text "$dlg" 1043 "100.0"
  expect_text "$dlg" 1104 "0.0"
  expect_text "$dlg" 1053 "0.125"
  expect_state checked "$dlg" 1019 1
  ui key "$dlg" 0 escape
  dialog_gone
fi

# Re-opened: the values from before the defaults; every range refused just outside.
if [ -n "${hwnd:-}" ] && open_settings; then
  expect_text "$dlg" 1043 "12.5"
  expect_text "$dlg" 1053 "0.25"
  expect_text "$dlg" 1104 "2.5"
  for id in 1010 1006 1014; do ui press "$dlg" $id; done
  for id in 1051 1127 1128; do
    wait_for 10 eval '[ "$(ui enabled "$dlg" $id)" = 1 ]' && pass "$id enabled by its radio" || fail "$id not enabled by its radio"
  done
  while read -r id bad good message; do
    ui settext "$dlg" "$id" "$bad" || fail "$id did not take '$bad'"
    ui click "$dlg" 1
    expect_box "$message"
    ui settext "$dlg" "$id" "$good" || fail "$id did not take '$good'"
  done <<'EOF'
1051 50.1 50.0 表示時間　任意値は 1.0 ～ 50.0 (sec) です。
1051 0.9 1.0 表示時間　任意値は 1.0 ～ 50.0 (sec) です。
1127 1.9 2.0 スケール　加速度の任意値は 2.0 ～ 999.0 (gal) です。
1128 999.1 999.0 スケール　加速度Ｚの任意値は 2.0 ～ 999.0 (gal) です。
1037 10.1 10.0 トリガ点の前は 0.0 ～ 10.0 (sec) です。
1040 300.1 300.0 トリガ点の後は 0.0 ～ 300.0 (sec) です。
1043 0.05 0.1 トリガ値　ＸＹは 0.1 ～ 400.0 (gal) です。
1048 400.1 400.0 トリガ値　Ｚは 0.1 ～ 400.0 (gal) です。
1104 100.0 99.9 閾値 Ｐ波値は 0.0 ～ 99.9 (gal) です。
1106 1000 999 閾値 Ｎ１波値は 0 ～ 999 (gal) です。
1108 -1 0 閾値 Ｎ２波値は 0 ～ 999 (gal) です。
1110 999.6 999 閾値 Ｎ３波値は 0 ～ 999 (gal) です。
1058 1.1 1.0 ハイパスフィルタは 0.0 ～ 1.0 (Hz) です。
EOF
  # Every value now at an end of its range: Enter in an edit is OK, with no message.
  ui settext "$dlg" 1037 "0.0"
  ui key "$dlg" 1037 return
  dialog_gone
  no_box && pass "values at the ends of their ranges are accepted" || fail "a message for values in range"
  close_quorvel
  expect_ini SCALE TIME "5.0,8.0,10.0,1.0"
  expect_ini SCALE TIME_SEL 3
  expect_ini SCALE ACC "2.0,5.0,10.0,20.0,50.0,100.0,300.0,2.0"
  expect_ini SCALE ACCZ "2.0,5.0,10.0,20.0,50.0,100.0,300.0,999.0"
  expect_ini SCALE ACC_SEL 7
  expect_ini TRIG BEFOR_TIME "0.0"
  expect_ini TRIG AFTER_TIME "300.0"
  expect_ini TRIG VAL_X "0.1"
  expect_ini TRIG VAL_Y "0.1"
  expect_ini TRIG VAL_Z "400.0"
  expect_ini SHIKI P "99.9"
  expect_ini SHIKI N2 "0.0"
  expect_ini PSD HIPASSFILTER "1.0"
  # Settings the dialog does not show: back to the file's after キャンセル undid the defaults.
  expect_ini SPEC TITLE "振動試験"
  expect_ini SPEC KANZAN "0.25,0.5,1.0"
  expect_ini COLOR GRAPH_BACK "1,2,3"
  expect_ini SPEC COM com3  # not searched in that opening: the setting stays as it was
  [[ "$(ini_value WNDPLACEMENT SETTING_WNDPLACEMENT)" =~ ^[0-9]+(,-?[0-9]+){8}$ ]] && pass "dialog placement stored" \
    || fail "SETTING_WNDPLACEMENT '$(ini_value WNDPLACEMENT SETTING_WNDPLACEMENT)'"
fi

# --- Session 2: thresholds locked, simple form -----------------------------------------------------
{ printf '[SPEC]\nCOM=com3\nSAVE_DIRECTORY=%s\nSETTING_WINDOW_TYPE=0\nRING_BUF_MIN_SIZE=100\n' "$(winpath "$work/data")"
  printf '[PSD]\nFLG=1\n[SHIKI]\nP=1.5\nVAL_CHANGE=0\n'; } | to_cp932 >"$ini"
if start_quorvel "$work" && open_settings; then
  expect_text "$dlg" 1023 "詳細＞＞"
  w=$(width_of "$dlg")
  [ -n "${full_width:-}" ] && [ "$w" = $((full_width - 440)) ] && pass "simple form is 440 pixels narrower ($w)" \
    || fail "simple width $w, detailed ${full_width:-?}"
  wait_for 10 eval '[ -n "$(ui text "$dlg" 1015)" ]'
  screenshot "$shots/settings-simple.png"
  guide_shot settings-simple "$dlg"
  for id in 1104 1106 1108 1110 1026 1027; do expect_state enabled "$dlg" $id 0; done
  ui settext "$dlg" 1104 "100.0"
  ui click "$dlg" 1
  expect_box "閾値 Ｐ波値は 0.0 ～ 99.9 (gal) です。"
  ui settext "$dlg" 1104 "1.5"

  # 参照: the folder browser (its tree is control 14145) with the dialog disabled meanwhile; a
  # cancelled browser changes nothing and leaves the main window disabled under the modal dialog.
  folder=$(ui text "$dlg" 1036)
  ui click "$dlg" 1000
  if browser=$(ui find --class "#32770" --child 14145 --timeout 20000); then
    [ "$(ui text "$browser" 14146)" = "データ保存フォルダの選択" ] && pass "folder browser with its title" \
      || fail "browser title '$(ui text "$browser" 14146)'"
    [ "$(ui enabled "$dlg")" = 0 ] && pass "dialog disabled while browsing" || fail "dialog enabled while browsing"
    ui key "$browser" 0 escape
    ui gone "$browser" --timeout 20000 || fail "browser did not close"
    wait_for 10 eval '[ "$(ui enabled "$dlg")" = 1 ]' || fail "dialog not enabled after browsing"
    [ "$(ui enabled "$hwnd")" = 0 ] && pass "main window still disabled" || fail "main window enabled under the dialog"
    [ "$(ui text "$dlg" 1036)" = "$folder" ] && pass "cancelled browser keeps the folder" || fail "folder now '$(ui text "$dlg" 1036)'"
  else
    fail "no folder browser"
  fi
  # バージョン情報: the version dialog, closed with Escape.
  ui click "$dlg" 1066
  if version=$(ui find --class "#32770" --child 1068 --timeout 20000); then
    [ "$(ui text "$version" 1067)" = "Quorvel.exe" ] && pass "version dialog" || fail "version dialog shows '$(ui text "$version" 1067)'"
    ui key "$version" 0 escape
    ui gone "$version" --timeout 20000 || fail "version dialog did not close"
  else
    fail "no version dialog"
  fi
  ui click "$dlg" 1023
  expect_text "$dlg" 1023 "＜＜簡易"
  w=$(width_of "$dlg")
  [ "$w" = "${full_width:-}" ] && pass "detailed again ($w)" || fail "detailed width $w"
  ui key "$dlg" 0 alt+f4
  dialog_gone
fi
if [ -n "${hwnd:-}" ] && open_settings; then
  expect_text "$dlg" 1023 "＜＜簡易"  # the form switch survives キャンセル
  # Another program starts a measurement while the dialog is open: the measurement owns the port.
  ui post "$hwnd" "C501B7B2-C574-4932-9F54-A50D2464AD46"
  wait_for 20 eval '[ "$(ui text "$hwnd" 1053)" != "待機中" ]' || fail "the measurement did not start"
  ui click "$dlg" 1018
  expect_box "時刻転送に失敗しました。"
  ui post "$hwnd" "C501B7B2-C574-4932-9F54-A50D2464AD46"
  expect_text "$hwnd" 1053 "待機中" 20
  [ "$(empty_panes)" = 0 ] || fail "a pane without room before the change"
  ui press "$dlg" 1002
  wait_for 10 eval '[ "$(ui enabled "$dlg" 1046)" = 0 ]' && pass "PSD off disables its controls" \
    || fail "window list still enabled"
  ui dropdown "$dlg" 1001 1
  wait_for 60 eval '[ "$(ui combo "$dlg" 1001 | tr "\n" "|")" = "sel 0|COM3|" ]' || fail "no search in the second session"
  ui dropdown "$dlg" 1001 0
  ui click "$dlg" 1
  dialog_gone
  wait_for 10 eval '[ "$(empty_panes)" = 1 ]' && pass "PSD pane gives up its room after OK" \
    || fail "panes after OK: $(ui children "$hwnd" | grep '#32770')"
fi
# OK brings a longer display time into a measurement another program started meanwhile: the rings
# grow with it (here from 2000 samples to two windows of 20 s), so the review scrolls past one window.
if [ -n "${hwnd:-}" ] && open_settings; then
  ui post "$hwnd" "C501B7B2-C574-4932-9F54-A50D2464AD46"
  wait_for 20 eval '[ "$(ui text "$hwnd" 1053)" != "待機中" ]' || fail "the measurement did not start"
  ui press "$dlg" 1010
  ui settext "$dlg" 1051 "20.0"
  ui click "$dlg" 1
  dialog_gone
  sent=$(grep -c " S " "$rslog")
  printf 'rate 600\nsend 4500\n' >"$ctl"
  wait_for 60 eval '[ "$(grep -c " S " "$rslog")" -ge $((sent + 4500)) ]' || fail "the recorder did not send its samples"
  ui post "$hwnd" "C501B7B2-C574-4932-9F54-A50D2464AD46"
  expect_text "$hwnd" 1053 "待機中" 20
  oldest=$(ui text "$hwnd" 2044)
  ui scroll "$hwnd" 1068 7  # SB_RIGHT
  wait_match 10 '.' eval '[ "$(ui text "$hwnd" 2044)" != "$oldest" ] && ui text "$hwnd" 2044' \
    && pass "review reaches past the first window ($oldest to $WAIT_VALUE)" \
    || fail "review stays at $oldest: the rings kept their size"
  close_quorvel
  expect_ini SPEC SETTING_WINDOW_TYPE 1
  expect_ini PSD FLG 0
  expect_ini SHIKI VAL_CHANGE 0
  expect_ini SPEC COM COM3  # the entry of the searched list
fi

e2e_finish
