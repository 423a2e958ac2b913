#!/usr/bin/env bash
# The imports end to end: Quorvel under Wine loads a CSV file and an SD-card file made by the
# simulated recorder through the file dialog (mouse and keyboard), shows the path in its title and
# the file's samples and times in the review, keeps everything on cancel, names a missing or
# locked file, and stores the SD folder in the INI.
# Usage: import_test.sh WINDOWS_BIN_DIR NATIVE_BIN_DIR
source "$(dirname "$0")/../lib.sh" "$1"
need_recsim "$2"
VK_RETURN=13
VK_ESCAPE=27

work="$E2E_TMP/work"
data="$work/data"
mkdir -p "$data/sd"
kanzan="0.0625,0.25,0.5"
{ printf '[SPEC]\nSAVE_DIRECTORY=%s\nLOG_LIST=1\nBIT=16\nKANZAN=%s\nTITLE=振動試験\n' "$(winpath "$data")" "$kanzan"; } \
  | to_cp932 >"$work/Quorvel.ini"

# A CSV file in the writer's format, and an SD-card file of the simulated recorder.
{
  printf 'COMMENT_1:\r\nDATE_MAKE:2024.05.06_12:34:56\r\nCLOCK:10.000000 ( msec )\r\nDATA:\r\n'
  printf '\x82\x77,\x82\x78,\x82\x79\r\ngal,gal,gal\r\n'
  awk 'BEGIN { for (i = 0; i < 2000; i++) printf "%.6f,%.6f,%.6f\r\n", 0.4 * i + 0.03, -0.3 * i - 0.06, (i % 7) * 0.11 }'
} >"$data/rec.csv"
# 30 s of 16-bit samples with a time line every 10 s, as "x y z" in gal by the KANZAN factors too.
"$recsim" --sd-file "$data/sd/card.txt" --bit 16 --sd-seconds 30 --tm-every 10 --clock 2024-05-06-12-00-00 \
  --axis x:amp=800,freq=2 --axis y:amp=400,freq=5 --axis z:noise=100 >"$E2E_TMP/recsim.out" 2>&1 \
  || fail "recsim could not write the SD-card file"
tr -d '\r' <"$data/sd/card.txt" | awk -v k="$kanzan" 'BEGIN { split(k, f, ",") } length($0) == 17 {
  printf "%.17g %.17g %.17g\n", (substr($0, 1, 5) - 32768) * f[1], (substr($0, 7, 5) - 32768) * f[2], (substr($0, 13, 5) - 32768) * f[3] }' \
  >"$E2E_TMP/card.values"
[ "$(grep -c '^TM' "$data/sd/card.txt")" = 3 ] && [ "$(wc -l <"$E2E_TMP/card.values")" = 3000 ] \
  || fail "SD-card file: $(grep -c '^TM' "$data/sd/card.txt") time lines, $(wc -l <"$E2E_TMP/card.values") samples"

# close_and_check: ends the program; the INI must be written where it was started, nowhere else.
close_and_check() {
  close_quorvel
  stray=$(find "$data" -name Quorvel.ini)
  [ -z "$stray" ] && pass "settings written in the start folder only" || fail "settings written to $stray"
}
ini_value() { iconv -f CP932 -t UTF-8 "$work/Quorvel.ini" | tr -d '\r' | sed -n "s/^$1=//p"; }
title_is() { got_title=$(ui text "$hwnd"); [ "$got_title" = "$1" ]; }
# open_dialog BUTTON: presses a panel button and sets $dlg to the file dialog it opens.
open_dialog() {
  ui click "$hwnd" "$1"
  dlg=$(ui find --class '#32770' --child 1148 --timeout 20000) || { fail "no file dialog after button $1"; return 1; }
}
dialog_gone() { ui gone "$dlg" --timeout 20000 || fail "file dialog still open"; }
# Once a dialog or box is gone, the title is read only after the panel's handler has returned:
# a message sent from another program is handled in the main loop, not in the middle of code.
no_box() { ! ui find --class '#32770' --child 65535 --timeout 0 >/dev/null; }
answer_box() { ui answer 1; wait_for 20 no_box || fail "message box still open"; }

# === First run: imports that change nothing.
start_quorvel "$work" || e2e_finish
title0=$(ui text "$hwnd")
[[ "$title0" =~ ^振動試験\ Ver\ [0-9.]+\ HELDRIC$ ]] && pass "standard title: $title0" || fail "standard title: '$title0'"

# --- Cancel, with Escape and with the button: the title stays, and LAST_SD_DIR (checked below).
if open_dialog 1012; then
  items=$(ui items "$dlg" 1136 | tr '\n' '|')
  [ "$items" = "ＳＤファイル (*.txt)|全てのファイル (*.*)|" ] && pass "SD filter entries" || fail "SD filter: '$items'"
  ui settext "$dlg" 1148 "$(winpath "$data/sd/card.txt")"
  ui key "$dlg" 1148 $VK_ESCAPE
  dialog_gone
  title_is "$title0" && pass "Escape keeps the title" || fail "title after Escape: '$got_title'"
fi
if open_dialog 1011; then
  ui settext "$dlg" 1148 "rec.csv"
  ui click "$dlg" 2
  dialog_gone
  title_is "$title0" && pass "Cancel keeps the title" || fail "title after Cancel: '$got_title'"
fi

# --- A missing file: its message names it; the title stays.
if open_dialog 1011; then
  missing=$(winpath "$data/missing.csv")
  ui settext "$dlg" 1148 "$missing"
  ui key "$dlg" 1148 $VK_RETURN
  msg=$(ui msgbox --timeout 20000)
  [ "$msg" = "$missing が見つかりませんでした。" ] && pass "missing file message" || fail "missing file message: '$msg'"
  answer_box
  title_is "$title0" && pass "a missing file keeps the title" || fail "title after missing file: '$got_title'"
fi

# --- A file another program holds without sharing: the sharing violation names it.
cp "$data/rec.csv" "$data/held.csv"
held=$(winpath "$data/held.csv")
start_win "$E2E_BUILD/holdfile.exe" "$held" "$(winpath "$E2E_TMP/held.marker")"
hold_pid=$E2E_LAST_PID
if wait_for 30 test -e "$E2E_TMP/held.marker" && open_dialog 1011; then
  ui settext "$dlg" 1148 "$held"
  ui click "$dlg" 1
  msg=$(ui msgbox --timeout 20000)
  [ "$msg" = "$held へのアクセス中に共有違反が発生しました。" ] && pass "locked file message" || fail "locked file message: '$msg'"
  screenshot "$E2E_SHOTS/import-locked.png"
  answer_box
  title_is "$title0" && pass "a locked file keeps the title" || fail "title after locked file: '$got_title'"
else
  fail "the file could not be held"
fi
touch "$E2E_TMP/held.marker.release"
wait_pid "$hold_pid" 20

close_and_check
sd_dir=$(ini_value LAST_SD_DIR)
[ -z "$sd_dir" ] && pass "LAST_SD_DIR untouched by a cancel" || fail "LAST_SD_DIR after cancel: '$sd_dir'"

# === Second run: a CSV file by the mouse, an SD-card file by the keyboard.
start_quorvel "$work" || e2e_finish

# --- CSV: the filter, the data folder as the start, a name typed relative to it.
if open_dialog 1011; then
  items=$(ui items "$dlg" 1136 | tr '\n' '|')
  [ "$items" = "読み込みファイル (*.csv)|全てのファイル (*.*)|" ] && pass "CSV filter entries" || fail "CSV filter: '$items'"
  folder=$(ui text "$dlg" 1137)
  [ "$folder" = "data" ] && pass "CSV dialog starts in the data folder" || fail "CSV dialog folder: '$folder'"
  screenshot "$E2E_SHOTS/import-dialog.png"
  guide_shot import-dialog "$dlg"
  ui settext "$dlg" 1148 "rec.csv"
  ui click "$dlg" 1
  dialog_gone
  expected="$title0 [$(winpath "$data/rec.csv")]"
  wait_for 20 title_is "$expected" && pass "title after the CSV import: $got_title" || fail "title after CSV: '$got_title'"
  # The review from the first sample, dated by DATE_MAKE, and 10 s on.
  wave_values "$data/rec.csv" >"$E2E_TMP/rec.values"
  review_check "CSV review at 0" "$E2E_TMP/rec.values" 0 "2024年05月06日 12時34分56秒"
  screenshot "$E2E_SHOTS/import-csv-review.png"
  review_check "CSV review at 1000" "$E2E_TMP/rec.values" 1000 "2024年05月06日 12時35分06秒"
fi

# --- SD card: the panel button pressed with Space, the name confirmed with Enter.
ui key "$hwnd" 1012 32
if dlg=$(ui find --class '#32770' --child 1148 --timeout 20000); then
  card=$(winpath "$data/sd/card.txt")
  ui settext "$dlg" 1148 "$card"
  ui key "$dlg" 1148 $VK_RETURN
  dialog_gone
  wait_for 20 title_is "$title0 [$card]" && pass "title after the SD import: $got_title" || fail "title after SD: '$got_title'"
  # Every label shows the time of its own first sample, though the file's last time line is 20 s in.
  review_check "SD review at 0" "$E2E_TMP/card.values" 0 "2024年05月06日 12時00分00秒"
  review_check "SD review at 1500" "$E2E_TMP/card.values" 1500 "2024年05月06日 12時00分15秒"
  review_check "SD review at 2000" "$E2E_TMP/card.values" 2000 "2024年05月06日 12時00分20秒"
  # The next SD import starts in that folder.
  if open_dialog 1012; then
    folder=$(ui text "$dlg" 1137)
    [ "$folder" = "sd" ] && pass "SD dialog starts in the last SD folder" || fail "SD dialog folder: '$folder'"
    ui click "$dlg" 2
    dialog_gone
  fi
else
  fail "Space on the SD button opened no file dialog"
fi
screenshot "$E2E_SHOTS/import-sd.png"
guide_shot import-review "$hwnd"

close_and_check
sd_dir=$(ini_value LAST_SD_DIR)
[ "$sd_dir" = "$(winpath "$data/sd")" ] && pass "LAST_SD_DIR stored: $sd_dir" || fail "LAST_SD_DIR: '$sd_dir'"

e2e_finish
