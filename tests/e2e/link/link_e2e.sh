#!/usr/bin/env bash
# End-to-end test of the serial link under Wine: recsim serves a pseudo terminal linked as a COM
# port of the project's Wine prefix, linktest.exe runs the receive loop on it, and the samples and
# reports it logs are compared with what recsim says it sent.
# Usage: link_e2e.sh <native build dir with bin/recsim> <Windows build dir with bin/linktest.exe>
# Environment: LINK_E2E_LONG=1 adds the long runs (60 s at 100/s, 10 s at the line's limit);
#              LINK_E2E_COM=comN chooses the port (default com17).
set -u
native=${1:?native build dir}
win=${2:?Windows build dir}
root=$(cd "$(dirname "$0")/../../.." && pwd)
recsim=$native/bin/recsim
linktest=$win/bin/linktest.exe
[ -x "$recsim" ] || { echo "missing $recsim (build the recsim target of the native tree)"; exit 77; }
[ -f "$linktest" ] || { echo "missing $linktest"; exit 1; }

# The Wine of the tree: wine64 for x86_64 programs, the 32-bit loader for i686 ones.
if file -b "$linktest" | grep -q x86-64; then source "$root/tools/wine-env.sh" win64; else source "$root/tools/wine-env.sh" win32; fi
quorvel_wine_prefix >/dev/null || exit 1
com=${LINK_E2E_COM:-com17}
COM=${com^^}
work=$(mktemp -d /tmp/link-e2e.XXXXXX)
rs_pid=""
lt_pid=""
failures=0

cleanup() {
  [ -n "$lt_pid" ] && kill "$lt_pid" 2>/dev/null
  if [ -n "$rs_pid" ]; then
    kill "$rs_pid" 2>/dev/null
    wait "$rs_pid" 2>/dev/null
  fi
  rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

source "$root/tests/e2e/wait.sh"
rs_event() { grep -q " EV $1" "$work/rs.log" 2>/dev/null; }

# The server must be up before the link is made: its start removes com links.
wineserver -p 30

# start_recsim <args...>: a fresh simulator with its control FIFO, linked as the test port.
start_recsim() {
  rm -f "$work/rs.log" "$work/ctl"
  "$recsim" --paused --link "$WINEPREFIX/dosdevices/$com" --keep-link --control "$work/ctl" \
    --log "$work/rs.log" "$@" >"$work/rs.out" 2>&1 &
  rs_pid=$!
  wait_for 10 rs_event "LINK" || { fail "recsim did not link $com"; cat "$work/rs.out"; return 1; }
}
stop_recsim() {
  echo quit >"$work/ctl"
  wait "$rs_pid" 2>/dev/null
  rs_pid=""
}
ctl() { echo "$*" >"$work/ctl"; }

# start_linktest <name> <args...>: linktest in the background; waits until the port is open.
start_linktest() {
  local name=$1; shift
  lt_out="$work/$name.txt"
  rm -f "$lt_out"
  "$root/tools/wine-run.sh" "$linktest" "$COM" --out "Z:${lt_out//\//\\}" "$@" >"$work/$name.wine" 2>&1 &
  lt_pid=$!
  wait_for 30 has_line "$lt_out" "^STATE 3" || { fail "$name: linktest did not open $COM"; cat "$work/$name.wine"; return 1; }
}
finish_linktest() {
  local limit=$1
  wait_for "$limit" has_line "$lt_out" "^END" || fail "linktest did not end in ${limit}s"
  wait "$lt_pid" 2>/dev/null
  lt_pid=""
}

sent() { awk '$2 == "S" { print $4, $5, $6 }' "$work/rs.log"; }
received() { awk '$1 == "S" { print $2, $3, $4 }' "$lt_out"; }
count() { grep -c -- "$2" "$1"; }

# complete_run <name> <bit> <rate> <records> <seconds>: every record after the first (which the
# receiver skips while it looks for the first line feed) arrives once and in order.
complete_run() {
  local name=$1 bit=$2 rate=$3 n=$4 secs=$5
  start_recsim --bit "$bit" --rate "$rate" --axis x:amp=900,freq=3 --axis y:noise=200 \
    --axis z:burst=700,burstperiod=2000,burstms=300 --tm-every 1 || return
  start_linktest "$name" --bit "$bit" --records $((n - 1)) --seconds $((secs + 20)) || return
  ctl "send $n"
  wait_for $((secs + 20)) rs_event "DONE" || fail "$name: recsim did not finish"
  finish_linktest 10
  if ! diff <(sent | tail -n +2) <(received) >"$work/$name.diff"; then
    fail "$name: received samples differ from the sent ones"
    head -20 "$work/$name.diff"
  fi
  local tms
  tms=$(grep -c ' T ' "$work/rs.log")
  [ "$(count "$lt_out" '^R1 TM')" -eq "$tms" ] || fail "$name: time reports $(count "$lt_out" '^R1 TM') of $tms"
  [ "$(count "$lt_out" '^R0 DATA_ERR')" -eq 0 ] || fail "$name: unexpected data error"
  stop_recsim
  echo "ok $name: $((n - 1)) samples"
}

lost_byte() {
  start_recsim --bit 12 --rate 100 --axis x:amp=900,freq=3 || return
  start_linktest lost --bit 12 --records 197 --seconds 30 || return
  ctl "send 100"
  wait_for 10 rs_event "DONE" || fail "lost: first part"
  ctl "lose 1"
  ctl "send 100"
  wait_for 10 has_line "$work/rs.log" " LOST " || fail "lost: no byte lost"
  finish_linktest 30
  [ "$(count "$lt_out" '^R0 DATA_ERR')" -eq 1 ] || fail "lost: DATA_ERR count $(count "$lt_out" '^R0 DATA_ERR')"
  # The damaged record and the one its read ran into are lost; nothing else.
  local lost
  lost=$(awk '$2 == "LOST" { print $3 }' "$work/rs.log")
  diff <(awk -v l="$lost" '$2 == "S" && $3 != 0 && $3 != l + 1 { print $4, $5, $6 }' "$work/rs.log") \
    <(received) >"$work/lost.diff" || { fail "lost: samples differ"; head "$work/lost.diff"; }
  stop_recsim
  echo "ok lost byte"
}

# The adapter is pulled for 6 s (the port vanishes; a new device appears under the same name): the
# re-openings meanwhile stand in with whatever port the search finds (the host's COM1 here) without
# storing it, and the first re-opening after the replug is back on the port. The silence is
# reported once; every record sent after the replug arrives except the one the receiver
# synchronises on.
hang_up() {
  start_recsim --bit 16 --rate 100 --axis y:amp=3000,freq=1 || return
  start_linktest hangup --bit 16 --seconds 60 --records 299 || return
  ctl "send 100"
  wait_for 10 rs_event "DONE" || fail "hangup: first part"
  wait_for 10 bash -c "[ \$(grep -c '^S ' '$lt_out') -ge 99 ]" || fail "hangup: first part not received"
  ctl "hangup 6000"
  wait_for 10 has_line "$lt_out" "^R0 RECV_ERR" || fail "hangup: loss not reported"
  wait_for 20 bash -c "[ \$(grep -c ' EV LINK' '$work/rs.log') -ge 2 ]" || fail "hangup: no relink"
  ctl "start"
  finish_linktest 40
  [ "$(count "$lt_out" '^R0 RECV_ERR')" -eq 1 ] || fail "hangup: RECV_ERR reported $(count "$lt_out" '^R0 RECV_ERR') times"
  [ "$(count "$lt_out" '^R0 DATA_ERR')" -eq 0 ] || fail "hangup: unexpected data error"
  [ "$(count "$lt_out" '^PORT')" -eq 0 ] || fail "hangup: a stand-in port was stored: $(grep '^PORT' "$lt_out" | tr '\n' ' ')"
  grep -q '^SEARCH' "$lt_out" && echo "hangup: the re-openings searched ($(grep -m1 '^SEARCH' "$lt_out" | tr -d '\r'))"
  # Sent: records 0..99 before the unplug, then 100.. after the start; received: 99 + 200.
  python3 - "$work/rs.log" "$lt_out" <<'PY' || fail "hangup: samples lost beyond the gap"
import sys
sent = [l.split()[2:6] for l in open(sys.argv[1]) if l.split()[1:2] == ["S"]]
sent = [" ".join(f[1:]) for f in sent]
recv = [" ".join(l.split()[1:4]) for l in open(sys.argv[2]) if l.startswith("S ")]
expect = sent[1:100] + sent[101:]
if len(recv) < 299 or recv != expect[:len(recv)]:
    print("received %d, expected %d; first difference at %s" % (len(recv), len(expect),
          next((i for i, (a, b) in enumerate(zip(recv, expect)) if a != b), min(len(recv), len(expect)))))
    sys.exit(1)
PY
  stop_recsim
  echo "ok unplug and replug"
}

wrong_format() {
  start_recsim --bit 12 --rate 100 || return
  start_linktest wrongbit --bit 16 --seconds 10 || return
  ctl "send 300"
  wait_for 10 rs_event "DONE" || fail "wrongbit: recsim"
  finish_linktest 20
  [ "$(count "$lt_out" '^R0 DATA_ERR')" -eq 1 ] || fail "wrongbit: DATA_ERR count $(count "$lt_out" '^R0 DATA_ERR')"
  [ "$(received | wc -l)" -eq 0 ] || fail "wrongbit: samples accepted"
  stop_recsim
  echo "ok 12-bit stream read as 16-bit"
}

complete_run rate100 12 100 500 5
complete_run linemax16 16 0 1800 3
lost_byte
hang_up
wrong_format
if [ "${LINK_E2E_LONG:-0}" = 1 ]; then
  complete_run long100 12 100 6000 60
  complete_run longmax12 12 0 7200 10
fi

[ $failures -eq 0 ] && echo "link e2e: all passed" || echo "link e2e: $failures failure(s)"
[ $failures -eq 0 ]
