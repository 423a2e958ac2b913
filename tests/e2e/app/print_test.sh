#!/usr/bin/env bash
# The printed report and the saved picture end to end, in one run of Quorvel that has received 11 s
# of the simulated recorder: the print dialog through a private CUPS with PDF queues (cancelled with
# Escape and with its キャンセル button, two copies as two one-page jobs, the last printer preselected,
# 600 dpi chosen in the printer's properties), the page as PNG against a reference, every row of the
# tables on the queue's 300 dpi page, and "画像保存..." from the system menu (reached from the
# keyboard) writing a PNG of the window into the data folder, with the graph's background, grid and
# trace where the graph's layout puts them.
# Usage: print_test.sh WINDOWS_BIN_DIR NATIVE_BIN_DIR
source "$(dirname "$0")/../lib.sh" "$1"
source "$E2E_ROOT/tests/e2e/cups.sh"
need_recsim "$2"
shots="$E2E_SHOTS"
reference="$(dirname "$0")/print_reference.png"
trap 'cleanup_recsim; cups_stop; e2e_cleanup' EXIT

cups_start "$E2E_TMP/cups" || { fail "private CUPS could not be started"; e2e_finish; }
cups_add_pdf_printer QuorvelPDF && cups_add_pdf_printer QuorvelPDF2 || { fail "PDF queues"; e2e_finish; }

# The recorder on COM3; COM1 (/dev/ttyS0 here) hidden.
hide_com1
# A fixed number of samples, so every page shows the same traces and spectra; time reports keep
# the paused line alive.
"$recsim" --paused --idle-tm 1 --seed 1 --bit 16 --rate 100 --lowpass 20 --axis x:amp=800,freq=2 --axis y:amp=400,freq=5 \
  --axis z:noise=50 --link "$WINEPREFIX/dosdevices/com3" --keep-link --control "$E2E_TMP/ctl" --log "$E2E_TMP/rs.log" \
  >"$E2E_TMP/rs.out" 2>&1 &
rs_pid=$!
wait_for 10 has_line "$E2E_TMP/rs.log" ' EV LINK' || fail "simulated recorder did not link"

work="$E2E_TMP/work"
mkdir -p "$work/data"
{ printf '[SPEC]\nCOM=COM3\nSAVE_DIRECTORY=%s\nLOG_LIST=1\nBIT=16\nTITLE=振動試験\n' "$(winpath "$work/data")"
  printf '[PSD]\nFLG=1\nHIPASSFILTER_FLG=1\nHIPASSFILTER=0.5\n'; } | to_cp932 >"$work/Quorvel.ini"
start_quorvel "$work" || e2e_finish

status_is() { [ "$(ui text "$hwnd" 1053)" = "$1" ]; }
print_dialog() {  # opens the print dialog from the panel's button; its handle in $dlg
  ui click "$hwnd" 1013
  dlg=$(ui find --class '#32770' --title 印刷 --timeout 15000)
}
printer_is() { [ "$(ui text "$dlg" 1139)" = "$1" ]; }
# A dialog may still be filling its list when it is found: the choice is made again until it shows.
choose() { ui select "$dlg" 1139 "$1" >/dev/null; printer_is "$1"; }
dpi_600() { ui select "$props" 112 600 >/dev/null && [[ "$(ui text "$props" 112)" == 600* ]]; }
jobs_are() { [ "$(cups_job_count)" = "$1" ]; }
pdf_ready() { [ -n "$(cups_pdf "$1")" ]; }

ui click "$hwnd" 1038
wait_for 15 status_is "受信中" && pass "measuring" || fail "status after start: $(ui text "$hwnd" 1053)"
# 11 s: the sweep wraps and the 10 s spectra are there; the last X sample in the current field
# says the program has taken them all.
echo "send 1100" >"$E2E_TMP/ctl"
wait_for 60 eval '[ "$(grep -c " S " "$E2E_TMP/rs.log")" = 1100 ]' || fail "simulator did not send 1100 samples"
last_x=$(awk '$2 == "S" { v = $4 } END { printf "%6.1f", v * 0.125 }' "$E2E_TMP/rs.log")
wait_for 20 eval '[ "$(peak_text 0 1 | tr -d " ")" = 2.0 ]' && wait_text "$hwnd" 2200 "$last_x" 10 \
  && pass "all samples shown, X spectrum peak at 2.0 Hz" || fail "spectrum peak '$(peak_text 0 1)', X now '$(ui text "$hwnd" 2200)'"

# --- Cancelled dialogs print nothing; two copies are two one-page documents.
if print_dialog; then
  printer_is QuorvelPDF && pass "default printer preselected" || fail "first printer: $(ui text "$dlg" 1139)"
  ui keys "$dlg" ESCAPE
  ui gone "$dlg" && pass "Escape closes the print dialog" || fail "dialog still open after Escape"
else
  fail "print dialog did not open"
fi
if print_dialog; then
  wait_for 10 choose QuorvelPDF2 || fail "could not choose QuorvelPDF2"
  ui click "$dlg" 2
  ui gone "$dlg" && pass "キャンセル closes the print dialog" || fail "dialog still open after キャンセル"
fi
if print_dialog; then
  wait_for 10 choose QuorvelPDF2 || fail "could not choose QuorvelPDF2"
  ui settext "$dlg" 1154 2
  ui keys "$dlg" RETURN
  ui gone "$dlg" || fail "dialog still open after Enter"
  if wait_for 60 pdf_ready 2; then
    jobs_are 2 && pass "two copies gave two jobs and the cancelled dialogs none" || fail "jobs: $(lpstat -W all -o)"
    for job in 1 2; do
      pdfinfo "$(cups_pdf $job)" >"$E2E_TMP/info$job" 2>&1
      grep -q '^Title: *QUORVEL$' "$E2E_TMP/info$job" && grep -q '^Pages: *1$' "$E2E_TMP/info$job" \
        && grep -q '^Page rot: *90$' "$E2E_TMP/info$job" && pass "job $job: one landscape page named QUORVEL" \
        || fail "job $job: $(tr '\n' ' ' <"$E2E_TMP/info$job")"
    done
    # The queue's default 300 dpi: the layout scaled to it holds both tables whole. In table 1's
    # value column, below the picture (which ends at 73 % of the page's height), lie the seven
    # lines of its frame: top, one between each two rows, bottom.
    low="$shots/print-300dpi.png"
    pdftoppm -r 100 -png -singlefile "$(cups_pdf 1)" "${low%.png}"
    read -r _ lh < <(identify -format '%w %h' "$low")
    y0=$((lh * 73 / 100 + 3))
    read -r frame_lines last_line < <(/usr/bin/convert "$low" -crop "340x$((lh - y0))+320+$y0" +repage \
      -colorspace gray -scale "1x$((lh - y0))!" -depth 8 txt:- \
      | awk -F'[(,:]' -v y0="$y0" 'NR > 1 { dark = $4 + 0 < 150; if (dark && !was) { n++; last = y0 + $2 } was = dark }
                                  END { print n + 0, last + 0 }')
    [ "$frame_lines" = 7 ] && [ "$last_line" -lt $((lh - 20)) ] \
      && pass "300 dpi page holds every row: 7 frame lines, the last at y $last_line of $lh" \
      || fail "300 dpi page: $frame_lines frame lines, the last at y $last_line of $lh (see $low)"
  else
    fail "no PDF for two copies: $(lpstat -W all -o | tr '\n' ' ')"
  fi
fi

# --- The reference page: the first printer again, 600 dpi chosen in its properties.
if print_dialog; then
  wait_for 5 printer_is QuorvelPDF2 && pass "the last report's printer is preselected" || fail "kept printer: $(ui text "$dlg" 1139)"
  wait_for 10 choose QuorvelPDF || fail "could not choose QuorvelPDF"
  ui click "$dlg" 1025
  props=$(ui find --class '#32770' --title オプション --timeout 15000) || fail "printer properties did not open"
  wait_for 10 dpi_600 || fail "no 600 dpi in the printer's properties"
  ui keys "$props" RETURN
  ui gone "$props" || fail "properties still open"
  screenshot "$shots/print-dialog.png"
  guide_shot print-dialog "$dlg"
  ui keys "$dlg" RETURN
  if wait_for 60 pdf_ready 3; then
    page="$shots/print-600dpi.png"
    pdftoppm -r 150 -png -singlefile "$(cups_pdf 3)" "${page%.png}"
    guide_image print-page "$page" 900
    read -r w h < <(identify -format '%w %h' "$page")
    [ $((w - 1754)) -ge -2 ] && [ $((w - 1754)) -le 2 ] && [ $((h - 1240)) -ge -2 ] && [ $((h - 1240)) -le 2 ] \
      && pass "A4 landscape page" || fail "page size: $w x $h"
    # The tables' frame: table 1's left edge at x 702 of 7016 device units (175 at 150 dpi) runs
    # from y 3668 to 4448 (917 to 1112); the picture's caption bar lies above the tables.
    edge=$(/usr/bin/convert "$page" -crop 3x150+174+950 +repage -colorspace gray -format '%[fx:minima]' info:)
    awk "BEGIN{exit !($edge < 0.3)}" && pass "table frame where the geometry puts it" || fail "no frame at x 175: $edge"
    # The picture starts at (702, 148): the window's active caption bar is blue there.
    blue=$(/usr/bin/convert "$page" -format '%[fx:p{575,50}.b - p{575,50}.r]' info:)
    awk "BEGIN{exit !($blue > 0.2)}" && pass "picture of the window above the tables" || fail "no caption at the picture's top: $blue"
    # The reference is the program's own earlier page, so it only detects drift; what the page must
    # hold is checked above by the layout (page size, the tables' frame, the picture's place).
    # Tolerant: both at a third of the size, where the date and the folder name hardly count. The
    # window picture holds the same samples every run but not the same log rows and clock, so it is
    # masked for the comparison of frames and tables, and checked on its own: graphs fill about a fifth of it.
    /usr/bin/convert "$page" -resize '585x413!' "$E2E_TMP/page-small.png"
    /usr/bin/convert "$reference" -resize '585x413!' "$E2E_TMP/reference-small.png"
    mask=(-fill black -draw 'rectangle 55,10 530,300')
    /usr/bin/convert "$E2E_TMP/page-small.png" "${mask[@]}" "$E2E_TMP/page-masked.png"
    /usr/bin/convert "$E2E_TMP/reference-small.png" "${mask[@]}" "$E2E_TMP/reference-masked.png"
    diff=$(/usr/bin/compare -metric RMSE "$E2E_TMP/page-masked.png" "$E2E_TMP/reference-masked.png" null: 2>&1 | sed 's/.*(\(.*\))/\1/')
    awk "BEGIN{exit !($diff < 0.04)}" && pass "frames and tables match the reference ($diff)" \
      || fail "page differs from $reference outside the picture: RMSE $diff (see $page)"
    navy=$(/usr/bin/convert "$E2E_TMP/page-small.png" -crop 475x290+55+10 +repage -fuzz 20% -fill '#ff00ff' -opaque navy \
      -fill black +opaque '#ff00ff' -fill white -opaque '#ff00ff' -colorspace gray -format '%[fx:mean]' info:)
    awk "BEGIN{exit !($navy > 0.12 && $navy < 0.35)}" && pass "graphs in the window picture ($navy of it)" \
      || fail "graph background covers $navy of the picture (see $page)"
  else
    fail "no PDF at 600 dpi: $(lpstat -W all -o | tr '\n' ' ')"
  fi
fi

# --- The window saved as a picture, with the measurement stopped so the screen holds still.
ui click "$hwnd" 1038
wait_for 15 status_is "待機中" || fail "status after stop: $(ui text "$hwnd" 1053)"
read -r _ wl wt wr wb < <(ui rect "$hwnd" | head -n 1)
screenshot "$E2E_TMP/before-save.png"
# From the keyboard: Alt+Space opens the system menu, Up wraps round to its last item.
ui keys "$hwnd" ALT+SPACE UP RETURN
if save=$(ui find --class '#32770' --title 名前を付けて保存 --timeout 15000); then
  name=$(ui text "$save" 1148)
  [[ "$name" =~ ^[0-9]{8}_[0-9]{6}\.png$ ]] && pass "default file name $name" || fail "default name: '$name'"
  ui keys "$save" RETURN
  ui gone "$save" || fail "save dialog still open"
  saved="$work/data/$name"
  if wait_file "$saved" 15; then
    size=$(identify -format '%w %h' "$saved")
    [ "$size" = "$((wr - wl)) $((wb - wt))" ] && pass "picture has the window's size ($size)" || fail "picture size $size"
    # The log list is left out: the receive thread's last read after the stop may still log a
    # time report.
    IFS=, read -r ll lt lr lb < <(ui children "$hwnd" | awk -F'\t' '$1 == 1052 { print $3 }')
    mask=(-fill black -draw "rectangle $((ll - wl)),$((lt - wt)) $((lr - wl)),$((lb - wt))")
    /usr/bin/convert "$E2E_TMP/before-save.png" -crop "$((wr - wl))x$((wb - wt))+$wl+$wt" +repage "${mask[@]}" "$E2E_TMP/window.png"
    /usr/bin/convert "$saved" "${mask[@]}" "$E2E_TMP/saved.png"
    diff=$(/usr/bin/compare -metric RMSE "$E2E_TMP/saved.png" "$E2E_TMP/window.png" null: 2>&1 | sed 's/.*(\(.*\))/\1/')
    awk "BEGIN{exit !($diff < 0.02)}" && pass "picture shows the window as the screen does ($diff)" \
      || fail "picture differs from the screen: $diff"
    cp "$saved" "$shots/saved-picture.png"
    # The Y graph in review shows samples 0 … 999: a 50 gal sine on the automatic scale of ±100 gal
    # (grid every 20 gal), 1 s lines dark, 5 s lines light. The plot is the client area shrunk by
    # one pixel; places in picture coordinates by the graph's transform.
    read -r cl ct cw ch <<<"$(graph_rect 1)"
    px() { echo $(( cl + 1 - wl + $1 * (cw - 3) / 10000 )); }  # x of a time in ms
    py() { awk -v v="$1" -v t=$((ct + 1 - wt)) -v h=$((ch - 3)) 'BEGIN { printf "%d", t + h - int((v + 100) * h / 200) }'; }
    while read -r t v colour what; do
      got=$(pixel "$saved" "$(px "$t")" "$(py "$v")")
      [ "$got" = "$colour" ] && pass "$what at ($(px "$t"),$(py "$v")): $got" || fail "$what at ($(px "$t"),$(py "$v")): $got, expected $colour"
    done <<'EOF'
500 70 srgb(0,0,128) graph background
500 80 srgb(192,192,200) grid line at 80 gal
1000 70 srgb(64,64,164) 1 s line
5000 70 srgb(192,192,200) 5 s line
EOF
    # The trace: red from +50 to -50 gal, the 2-pixel pen's round ends one row beyond each.
    read -r _ bh _ by < <(bbox "$saved" "$((cl - wl)) $((ct - wt)) $((cw - 4)) $ch" "rgb(255,0,0)")
    top=$(( $(py 50) - (ct - wt) - 1 )); bottom=$(( $(py -50) - (ct - wt) + 1 ))
    d1=$(( ${by:-0} - top )); d2=$(( ${by:-0} + ${bh:-0} - 1 - bottom ))
    [ "${d1#-}" -le 1 ] && [ "${d2#-}" -le 1 ] && pass "Y trace in rows $by … $((by + bh - 1)) (expected $top … $bottom)" \
      || fail "Y trace in rows ${by:-?} … $((${by:-0} + ${bh:-0} - 1)), expected $top … $bottom"
  else
    fail "no picture in the data folder"
  fi
else
  fail "save dialog did not open"
fi
# Escape in the save dialog saves nothing.
ui sysmenu "$hwnd" 0x20
if save=$(ui find --class '#32770' --title 名前を付けて保存 --timeout 15000); then
  ui keys "$save" ESCAPE
  ui gone "$save" && pass "Escape cancels the save dialog" || fail "save dialog still open after Escape"
  [ "$(ls "$work/data" | grep -c '\.png$')" = 1 ] && pass "cancelled save wrote nothing" || fail "files: $(ls "$work/data")"
fi

# The dialogs leave the working folder alone: the INI is written where the program started.
close_quorvel
grep -q 'MAIN_WNDPLACEMENT' "$work/Quorvel.ini" && [ ! -e "$work/data/Quorvel.ini" ] \
  && pass "INI written in the working folder" || fail "INI not in the working folder"
e2e_finish
