#!/usr/bin/env bash
# The printed report and the saved picture end to end, in one run of Quorvel receiving the simulated
# recorder: the print dialog through a private CUPS with PDF queues (cancelled with Escape and with
# its キャンセル button, two copies as two one-page jobs, the last printer preselected, 600 dpi chosen
# in the printer's properties), the page as PNG against a reference, and "画像保存..." from the system menu
# (reached from the keyboard) writing a PNG of the window into the data folder.
# Usage: print_test.sh WINDOWS_BIN_DIR NATIVE_BIN_DIR
source "$(dirname "$0")/../lib.sh" "$1"
source "$E2E_ROOT/tests/e2e/cups.sh"
recsim="$2/recsim"
[ -x "$recsim" ] || { echo "missing $recsim (native tree)"; exit 77; }
shots="$E2E_BUILD/screenshots"
mkdir -p "$shots"
reference="$(dirname "$0")/print_reference.png"
prop="Quorvel.exe 2A217156-E4D9-4f05-B856-5ED6F5C867BE"
rs_pid=""
q_pid=""

finish_all() {
  [ -n "$q_pid" ] && kill "$q_pid" 2>/dev/null
  [ -n "$rs_pid" ] && { kill "$rs_pid" 2>/dev/null; wait "$rs_pid" 2>/dev/null; }
  rm -f "$WINEPREFIX/dosdevices/com1" "$WINEPREFIX/dosdevices/com3"
  cups_stop
  e2e_cleanup
}
trap finish_all EXIT

cups_start "$E2E_TMP/cups" || { fail "private CUPS could not be started"; e2e_finish; }
cups_add_pdf_printer QuorvelPDF && cups_add_pdf_printer QuorvelPDF2 || { fail "PDF queues"; e2e_finish; }

# The recorder on COM3; COM1 (/dev/ttyS0 here) hidden behind an empty folder.
mkdir -p "$E2E_TMP/no-com1"
ln -sfn "$E2E_TMP/no-com1" "$WINEPREFIX/dosdevices/com1"
# Paused: the page shows a fixed number of samples, whenever the dialogs let it be printed.
"$recsim" --paused --seed 1 --bit 16 --rate 600 --lowpass 20 --axis x:amp=800,freq=2 --axis y:amp=400,freq=5 --axis z:noise=50 \
  --link "$WINEPREFIX/dosdevices/com3" --keep-link --control "$E2E_TMP/ctl" --log "$E2E_TMP/rs.log" >"$E2E_TMP/rs.out" 2>&1 &
rs_pid=$!
wait_for 10 has_line "$E2E_TMP/rs.log" ' EV LINK' || fail "simulated recorder did not link"

work="$E2E_TMP/work"
mkdir -p "$work/data"
{ printf '[SPEC]\nCOM=COM3\nSAVE_DIRECTORY=%s\nLOG_LIST=1\nBIT=16\nTITLE=振動試験\n' "$(winpath "$work/data")"
  printf '[PSD]\nFLG=1\nHIPASSFILTER_FLG=1\nHIPASSFILTER=0.5\n'; } | to_cp932 >"$work/Quorvel.ini"
start_win -C "$work" "$E2E_BUILD/Quorvel.exe"
q_pid=$E2E_LAST_PID
hwnd=$(ui find --prop "$prop" --timeout 30000) || { fail "main window did not appear"; e2e_finish; }

status_is() { [ "$(ui text "$hwnd" 1053)" = "$1" ]; }
print_dialog() {  # opens the print dialog from the panel's button; its handle in $dlg
  ui click "$hwnd" 1013
  dlg=$(ui find --class '#32770' --title 印刷 --timeout 15000)
}
printer_is() { [ "$(ui text "$dlg" 1139)" = "$1" ]; }
jobs_are() { [ "$(cups_job_count)" = "$1" ]; }
pdf_ready() { [ -n "$(cups_pdf "$1")" ]; }

sent() { [ "$(grep -c ' S ' "$E2E_TMP/rs.log")" -ge "$1" ]; }
ui click "$hwnd" 1038
wait_for 15 eval '! status_is "待機中"' || fail "did not start"
# 12 s of samples: a wrapped sweep and full spectra; then the recorder falls silent.
echo "send 1200" >"$E2E_TMP/ctl"
wait_for 30 sent 1200 && wait_for 15 status_is "受信 ｴﾗｰ" && pass "measuring, recorder silent after 1200 samples" \
  || fail "status after the samples: $(ui text "$hwnd" 1053)"

# --- Cancelled dialogs print nothing; two copies are two one-page documents.
if print_dialog; then
  printer_is QuorvelPDF && pass "default printer preselected" || fail "first printer: $(ui text "$dlg" 1139)"
  ui keys "$dlg" ESCAPE
  ui gone "$dlg" && pass "Escape closes the print dialog" || fail "dialog still open after Escape"
else
  fail "print dialog did not open"
fi
if print_dialog; then
  ui select "$dlg" 1139 QuorvelPDF2
  wait_for 5 printer_is QuorvelPDF2 || fail "could not choose QuorvelPDF2"
  ui click "$dlg" 2
  ui gone "$dlg" && pass "キャンセル closes the print dialog" || fail "dialog still open after キャンセル"
fi
if print_dialog; then
  ui select "$dlg" 1139 QuorvelPDF2
  wait_for 5 printer_is QuorvelPDF2 || fail "could not choose QuorvelPDF2"
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
    # The queue's default 300 dpi: the fixed-size rows run off the page.
    pdftoppm -r 100 -png -singlefile "$(cups_pdf 1)" "$shots/print-300dpi"
  else
    fail "no PDF for two copies: $(lpstat -W all -o | tr '\n' ' ')"
  fi
fi

# --- The reference page: the first printer again, 600 dpi chosen in its properties.
if print_dialog; then
  printer_is QuorvelPDF2 && pass "the last report's printer is preselected" || fail "kept printer: $(ui text "$dlg" 1139)"
  ui select "$dlg" 1139 QuorvelPDF
  wait_for 5 printer_is QuorvelPDF || fail "could not choose QuorvelPDF"
  ui click "$dlg" 1025
  props=$(ui find --class '#32770' --title オプション --timeout 15000) || fail "printer properties did not open"
  ui select "$props" 112 "600" || fail "no 600 dpi in the printer's properties"
  ui keys "$props" RETURN
  ui gone "$props" || fail "properties still open"
  screenshot "$shots/print-dialog.png"
  ui keys "$dlg" RETURN
  if wait_for 60 pdf_ready 3; then
    page="$shots/print-600dpi.png"
    pdftoppm -r 150 -png -singlefile "$(cups_pdf 3)" "${page%.png}"
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
    # Tolerant: both at a third of the size, where the date, the log and the folder name hardly count
    # (a wrong layout or a missing picture differs by 0.3 and more).
    /usr/bin/convert "$page" -resize '585x413!' "$E2E_TMP/page-small.png"
    /usr/bin/convert "$reference" -resize '585x413!' "$E2E_TMP/reference-small.png"
    diff=$(/usr/bin/compare -metric RMSE "$E2E_TMP/page-small.png" "$E2E_TMP/reference-small.png" null: 2>&1 | sed 's/.*(\(.*\))/\1/')
    awk "BEGIN{exit !($diff < 0.04)}" && pass "page matches the reference ($diff)" \
      || fail "page differs from $reference: RMSE $diff (see $page)"
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
    /usr/bin/convert "$E2E_TMP/before-save.png" -crop "$((wr - wl))x$((wb - wt))+$wl+$wt" +repage "$E2E_TMP/window.png"
    diff=$(/usr/bin/compare -metric RMSE "$saved" "$E2E_TMP/window.png" null: 2>&1 | sed 's/.*(\(.*\))/\1/')
    awk "BEGIN{exit !($diff < 0.02)}" && pass "picture shows the window as the screen does ($diff)" \
      || fail "picture differs from the screen: $diff"
    cp "$saved" "$shots/saved-picture.png"
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
ui close "$hwnd"
wait_pid "$q_pid" 30
[ "$E2E_RC" = timeout ] && fail "Quorvel did not end"
q_pid=""
grep -q 'MAIN_WNDPLACEMENT' "$work/Quorvel.ini" && [ ! -e "$work/data/Quorvel.ini" ] \
  && pass "INI written in the working folder" || fail "INI not in the working folder"
e2e_finish
