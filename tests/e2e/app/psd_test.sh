#!/usr/bin/env bash
# The PSD monitor end to end: sines of 2, 5 and 12.5 Hz on X, Y and Z from the simulated recorder.
# The peak fields read their frequencies and amplitudes once a window is full; the logarithmic axis
# with its decade labels, then a linear axis chosen from the frequency-axis menu (keyboard). With
# [PSD] FLG=0 the monitor takes no room and the time monitor has the width.
# Usage: psd_test.sh WINDOWS_BIN_DIR NATIVE_BIN_DIR
source "$(dirname "$0")/../lib.sh" "$1"
need_recsim "$2"
shots="$E2E_SHOTS"
trap 'cleanup_recsim; e2e_cleanup' EXIT

hide_com1
"$recsim" --paused --idle-tm 1 --bit 16 --rate 100 --axis x:amp=800,freq=2 --axis y:amp=400,freq=5 \
  --axis z:amp=200,freq=12.5 --link "$WINEPREFIX/dosdevices/com3" --keep-link --control "$E2E_TMP/ctl" \
  --log "$E2E_TMP/rs.log" >"$E2E_TMP/rs.out" 2>&1 &
rs_pid=$!
wait_for 10 has_line "$E2E_TMP/rs.log" ' EV LINK' || fail "simulator did not link"
sent_is() { [ "$(grep -c ' S ' "$E2E_TMP/rs.log")" = "$1" ]; }

work="$E2E_TMP/work"
mkdir -p "$work/data"
write_ini() {  # write_ini FLG
  printf '[WNDPLACEMENT]\nMAIN_WNDPLACEMENT=1,0,0,1270,820,0,0,0,0\n[SPEC]\nCOM=COM3\nSAVE_DIRECTORY=%s\nBIT=16\n[SCALE]\nTIME_SEL=2\n[PSD]\nFLG=%s\nXTYPE=0\n' \
    "$(winpath "$work/data")" "$1" | to_cp932 >"$work/Quorvel.ini"
}
# The PSD monitor's labels share their ids with the time monitor's, which come first.
psd_text() { ui children "$hwnd" | awk -F'\t' -v id="$1" '$1 == id { t = $5 } END { print t }'; }
psd_text_is() { [ "$(psd_text "$1")" = "$2" ]; }
wait_psd_text() {  # wait_psd_text ID TEXT SECONDS
  wait_for "$3" psd_text_is "$1" "$2" && return 0
  echo "  (PSD control $1 shows '$(psd_text "$1")', expected '$2')"
  return 1
}
# number_near TEXT VALUE TOLERANCE
number_near() { awk -v t="$1" -v v="$2" -v d="$3" 'BEGIN { x = t + 0; exit !(t ~ /[0-9]/ && x - v <= d && v - x <= d) }'; }

# --- Spectra on, logarithmic axis.
write_ini 1
start_quorvel "$work" || e2e_finish
wait_psd_text 2051 "   0.1(Hz)" 10 && wait_psd_text 2041 "  50.0" 5 \
  && pass "logarithmic axis labels 0.1 … 50 Hz" || fail "frequency labels"
[ "$(ui children "$hwnd" | awk -F'\t' '$1 == 2047 { print $4 }' | head -1)" = 1 ] \
  && [ "$(ui children "$hwnd" | awk -F'\t' '$1 == 2044 && $5 == "10.0" { print $4 }' | head -1)" = 1 ] \
  && pass "decade labels 1.0 and 10.0 shown" || fail "decade labels not shown"
ui click "$hwnd" 1038
wait_text "$hwnd" 1053 "受信中" 10 || fail "receive thread not up"  # time reports read
echo "send 900" >"$E2E_TMP/ctl"
wait_for 30 sent_is 900 || fail "simulator did not send"
# Fields stay empty until the 10 s window is full.
[ -z "$(peak_text 0 1)" ] && pass "no peak before the window is full" || fail "peak field early: '$(peak_text 0 1)'"
echo "send 200" >"$E2E_TMP/ctl"
freqs=("2.0" "5.0" "12.5"); amps=(100 50 25)
for axis in 0 1 2; do
  # The time monitor's three fields come first among the fields of this id; then frequency, value.
  # Both fields from one wait: the spectra are still being redrawn while the last samples arrive.
  has_peak() {
    hz=$(peak_text $axis 1); gal=$(peak_text $axis 2)
    [ "$(tr -d ' ' <<<"$hz")" = "${freqs[$axis]}" ] && number_near "$gal" "${amps[$axis]}" 0.5
  }
  wait_for 30 has_peak && pass "axis $axis: peak at $hz Hz of $gal gal" \
    || fail "axis $axis peak: '$hz' Hz, '$gal' gal"
done
# The line of a 100 gal sine comes out a hair under 100 (whole AD counts): the scale row is 100.
wait_psd_text 1081 "100.0" 5 && [ "$(psd_text 1091)" = "0.0" ] && pass "X spectrum scale 0 … 100" \
  || fail "X spectrum scale"
screenshot "$shots/psd-log.png"
guide_shot psd-monitor "$hwnd"

# --- The frequency-axis menu from the keyboard: the pointer opens it on its first item, four
# steps down is "リニアスケール 20(Hz)".
read -r gl gt gw gh <<<"$(graph_rect 0 2)"
xdotool mousemove $((gl + gw / 3)) $((gt + gh / 2)) click 3
ui find --class '#32768' --timeout 10000 >/dev/null || fail "the frequency-axis menu did not open"
guide_shot psd-menu "$hwnd"
xdotool mousemove $((gl + gw / 3 + 20)) $((gt + gh / 2 + 8)) key Down Down Down Down Return
wait_psd_text 2041 "  20.0" 10 && wait_psd_text 2051 "   0.0(Hz)" 5 && wait_psd_text 2043 "  20.0" 5 \
  && pass "menu: linear axis up to 20 Hz on all three graphs" || fail "linear axis labels"
[ "$(ui children "$hwnd" | awk -F'\t' '$1 == 2047 && $4 == 1' | wc -l)" = 0 ] \
  && pass "decade labels hidden on the linear axis" || fail "decade labels still shown"
screenshot "$shots/psd-linear.png"
ui click "$hwnd" 1038
wait_text "$hwnd" 1053 "待機中" 15 || fail "did not stop"
psd_width=$(graph_rect 0 | awk '{ print $3 }')
close_quorvel
grep -q '^XTYPE=4' "$work/Quorvel.ini" && pass "XTYPE=4 saved" || fail "XTYPE not saved"

# --- Spectra off: no room for the PSD monitor, the time graphs take its width.
write_ini 0
start_quorvel "$work" || e2e_finish
wide=$(graph_rect 0 | awk '{ print $3 }')
[ "$wide" -gt "$psd_width" ] && pass "time graph $wide pixels wide without spectra ($psd_width with)" \
  || fail "time graph width $wide without spectra, $psd_width with"
zero=$(ui children "$hwnd" | awk -F'\t' '$2 == "#32770" { split($3, r, ","); if (r[3] == r[1]) print "yes" }' | head -1)
[ "$zero" = yes ] && pass "the PSD monitor has no width" || fail "no zero-width pane"
screenshot "$shots/psd-off.png"
close_quorvel

e2e_finish
