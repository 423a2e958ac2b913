#!/usr/bin/env bash
# End-to-end test of the COM port search dialog under wine64: the link's port is missing, two
# simulated recorders serve COM4 and COM7, and linktest.exe falls back through the real dialog.
# Checks the full search, a cancel in the middle, the close box, the "no port" message and that
# the chosen port then delivers the recorder's records.
# Usage: port_search_e2e.sh <win64 bin dir with linktest.exe and uiauto.exe> <native build dir with bin/recsim>
# A prefix of its own: the test hides COM1 from Wine and must not share a server (bound to another
# run's X display) with other tests. Created once per build tree.
export QUORVEL_WINEPREFIX=${PORT_SEARCH_PREFIX:-$(cd "$1/.." && pwd)/wineprefix-port-search}
source "$(dirname "$0")/../lib.sh" "$1"
need_recsim "${2:?native build dir}/bin"
linktest=$E2E_BUILD/linktest.exe
[ -f "$linktest" ] || { echo "missing $linktest"; exit 1; }
shots="$E2E_SHOTS"
work=$E2E_TMP
dosdev="$WINEPREFIX/dosdevices"
com1_saved=$(readlink "$dosdev/com1" 2>/dev/null || true)
rs_pids=()

cleanup() {
  for p in "${rs_pids[@]}"; do kill "$p" 2>/dev/null; wait "$p" 2>/dev/null; done
  for p in "${E2E_PIDS[@]}"; do kill "$p" 2>/dev/null; wait "$p" 2>/dev/null; done
  # Leave COM1 as Wine made it.
  rm -f "$dosdev/com1"
  [[ "$com1_saved" == /dev/* ]] && ln -s "$com1_saved" "$dosdev/com1"
  # The server is this test's own and bound to its X display, which goes now.
  wineserver -k 2>/dev/null
  e2e_cleanup
}
trap cleanup EXIT

line_of() { grep -m1 -- "$2" "$1" 2>/dev/null | tr -d '\r'; }
count() { grep -c -- "$2" "$1" 2>/dev/null; }

# COM1 is the host's first serial port, which always opens under Wine: hidden, so only the
# simulated recorders count. A waiting uiauto keeps the system processes up between the test's programs.
start_win "$E2E_BUILD/uiauto.exe" find --class QuorvelNoSuchWindow --timeout 600000
ui find --class QuorvelNoSuchWindow --timeout 10 >/dev/null
keep_com1_hidden
[ -e "$dosdev/com9" ] && { fail "com9 exists in the prefix; the test needs it missing"; e2e_finish; }

# start_recsim <comN> <name>: a paused simulator linked as the port, with its control FIFO.
start_recsim() {
  "$recsim" --paused --rate 100 --axis x:amp=900,freq=3 --axis y:noise=200 --link "$dosdev/$1" --keep-link \
    --control "$work/$2.ctl" --log "$work/$2.log" >"$work/$2.out" 2>&1 &
  rs_pids+=($!)
  wait_for 10 has_line "$work/$2.log" " EV LINK" || fail "recsim did not link $1"
}
ctl() { echo "$2" >"$work/$1.ctl"; }

# start_linktest <name> <args...>: linktest on the missing COM9 with the dialog fallback.
start_linktest() {
  local name=$1; shift
  lt_out="$work/$name.txt"
  start_win "$linktest" COM9 --dialog --out "$(winpath "$lt_out")" "$@"
  lt_pid=$E2E_LAST_PID
}
# The search dialog: found by class (uiauto's --title does not match Japanese titles) and checked
# by its caption.
find_dialog() {
  local h
  h=$(ui find --class "#32770" --timeout 30000) || return 1
  wait_equal 5 "COMポート検索" ui text "$h" || { echo "unexpected window '$WAIT_VALUE'" >&2; return 1; }
  echo "$h"
}
# The number in "COMn ..." of the dialog's status text (0 while it is empty).
status_port() {
  local t
  t=$(ui text "$1" 1067)
  t=${t#COM}
  t=${t%% *}
  [[ "$t" =~ ^[0-9]+$ ]] && echo "$t" || echo 0
}

start_recsim com4 rs4
start_recsim com7 rs7

# --- A full search selects the lowest usable port, which then delivers the records.
# 30 probes of 250 ms keep the dialog up for about 8 s: long enough to read its texts on a busy machine.
start_linktest full --probe-ms 250 --records 99 --seconds 60
dlg=$(find_dialog)
if [ -n "$dlg" ]; then
  pass "search dialog shown for the missing COM9"
  # The texts first, while the dialog is surely up; the pictures after.
  # The text changes with every probe: one read decides and is reported.
  wait_match 10 '^COM[0-9]+ (を調べています・・・|使用不可能|使用可能)$' ui text "$dlg" 1067 \
    && pass "status text reads '$WAIT_VALUE'" || fail "status text '$WAIT_VALUE'"
  wait_equal 5 "キャンセル" ui text "$dlg" 2 && pass "cancel button" || fail "button text '$WAIT_VALUE'"
  wait_for 10 has_line "$lt_out" "^PROBE COM5" || fail "full: the search did not reach COM5"
  screenshot "$shots/port-search-dialog.png"
  guide_shot port-search "$dlg"
  ui gone "$dlg" --timeout 20000 && pass "dialog closes at the end of the search" || fail "dialog still open"
else
  fail "no search dialog"
fi
wait_for 20 has_line "$lt_out" "^SEARCH" || fail "full: no search result"
[ "$(line_of "$lt_out" "^SEARCH")" = "SEARCH COM4,COM7" ] && pass "found COM4 and COM7" \
  || fail "full: $(line_of "$lt_out" "^SEARCH")"
[ "$(count "$lt_out" "^PROBE")" -eq 30 ] && [ "$(grep '^PROBE' "$lt_out" | tail -1)" = "PROBE COM30" ] \
  && pass "probed COM1 to COM30" || fail "full: probed $(count "$lt_out" "^PROBE") ports"
[ "$(line_of "$lt_out" "^PORT")" = "PORT COM4" ] && pass "link switched to COM4" || fail "full: $(line_of "$lt_out" "^PORT")"
ctl rs4 "send 100"
wait_pid "$lt_pid" 40
[ "$E2E_RC" = 0 ] && pass "linktest ended" || fail "full: linktest result $E2E_RC"
sent_rows() { awk '$2 == "S" { print $4, $5, $6 }' "$1"; }
received() { awk '$1 == "S" { print $2, $3, $4 }' "$1"; }
# The first record is skipped while the receiver looks for its first line feed.
if diff <(sent_rows "$work/rs4.log" | tail -n +2) <(received "$lt_out") >"$work/full.diff"; then
  pass "99 records from the recorder on COM4 arrived"
else
  fail "full: received samples differ from COM4's"; head "$work/full.diff"
fi
[ "$(count "$work/rs7.log" " S ")" -eq 0 ] || fail "COM7's recorder was asked for data"

# --- A cancel while a port beyond COM4 is probed keeps what was found so far.
start_linktest cancel --probe-ms 400 --records 49 --seconds 60
dlg=$(find_dialog) || fail "cancel: no search dialog"
n=0
end=$((SECONDS + 20))
while [ -n "$dlg" ] && [ "$n" -le 4 ] && [ $SECONDS -lt $end ]; do n=$(status_port "$dlg"); done
screenshot "$shots/port-search-cancel.png"
ui click "$dlg" 2
echo "cancel pressed while the status named COM$n"
ui gone "$dlg" --timeout 10000 && pass "dialog closes after キャンセル" || fail "cancel: dialog still open"
wait_for 10 has_line "$lt_out" "^SEARCH" || fail "cancel: no search result"
last=$(grep '^PROBE' "$lt_out" | tail -1 | tr -d '\r')
last=${last#PROBE COM}
expect="SEARCH COM4"
[ "${last:-0}" -ge 7 ] && expect="SEARCH COM4,COM7"
[ "${last:-0}" -gt 4 ] && [ "${last:-0}" -lt 30 ] && pass "search stopped after COM$last" || fail "cancel: last probe COM$last"
[ "$(line_of "$lt_out" "^SEARCH")" = "$expect" ] && pass "after cancel: $expect" || fail "cancel: $(line_of "$lt_out" "^SEARCH"), expected $expect"
[ "$(line_of "$lt_out" "^PORT")" = "PORT COM4" ] && pass "cancelled search still opens COM4" || fail "cancel: $(line_of "$lt_out" "^PORT")"
ctl rs4 "send 50"
wait_pid "$lt_pid" 40
[ "$(received "$lt_out" | wc -l)" -eq 49 ] && pass "records arrive after a cancelled search" \
  || fail "cancel: $(received "$lt_out" | wc -l) records"

# --- No usable port: the close box ends the search, the message box says so once, and the
# re-openings inside the receive loop search again without a message box.
for name in rs4 rs7; do ctl $name quit; done
for p in "${rs_pids[@]}"; do wait "$p" 2>/dev/null; done
rs_pids=()
start_linktest none --probe-ms 100 --seconds 12
dlg=$(find_dialog) || fail "none: no search dialog"
wait_for 10 has_line "$lt_out" "^PROBE COM3" || fail "none: the search did not start"
ui close "$dlg"
ui gone "$dlg" --timeout 10000 && pass "close box ends the search" || fail "none: dialog still open after close"
msg=$(ui msgbox --timeout 20000)
[ "$msg" = "使用可能な通信ポートが見つかりません。" ] && pass "no-port message shown" || fail "none: message '$msg'"
screenshot "$shots/port-search-no-port.png"
[ "$(count "$lt_out" "^PROBE")" -lt 30 ] && pass "close box stopped the probing" || fail "none: probed all ports"
ui answer 1
wait_for 20 has_line "$lt_out" "^NO_PORT" || fail "none: NO_PORT not logged"
wait_for 20 bash -c "[ \$(grep -c '^SEARCH' '$lt_out') -ge 2 ]" && pass "re-opening searches again" \
  || fail "none: no second search"
wait_pid "$lt_pid" 40
[ "$E2E_RC" = 0 ] && pass "linktest ended" || fail "none: linktest result $E2E_RC"
[ "$(count "$lt_out" "^NO_PORT")" -eq 1 ] && pass "message shown once (re-openings are not interactive)" \
  || fail "none: NO_PORT $(count "$lt_out" "^NO_PORT") times"
grep -v '^SEARCH $' "$lt_out" | grep -q '^SEARCH' && fail "none: a search found $(grep '^SEARCH' "$lt_out" | sort -u)"

e2e_finish
