#!/usr/bin/env bash
# The installer and the portable zip end to end, in a Wine prefix made afresh for each run: silent
# install, the Start-menu shortcuts, Quorvel started from its shortcut measures the simulated
# recorder and writes its INI in the operator's folder, the installed Launcher starts Quorvel there
# too, the uninstaller refuses while Quorvel runs and later removes the programs and shortcuts but
# keeps the operator's INI and data; the zip's programs start from the unpacked folder.
# With "first-start" the test ends once the installed Quorvel has measured and written its INI
# (the shipped programs' short check where they run emulated).
# Usage: installer_test.sh WINDOWS_BIN_DIR NATIVE_BIN_DIR SETUP_EXE ZIP [first-start]
bin=$(cd "$1" && pwd)
recsim="$2/recsim"
setup=$3
zip=$4
first_start_only=0
[ "${5:-}" = first-start ] && first_start_only=1
[ -x "$recsim" ] || { echo "missing $recsim (native tree)"; exit 77; }
for f in "$setup" "$zip"; do [ -f "$f" ] || { echo "missing $f"; exit 1; }; done

# A prefix of its own, new every run, and a home of its own: Wine links the user's Documents and
# Desktop into $HOME, and nothing of this test may land in the real one.
prefix=$(cd "$bin/.." && pwd)/wineprefix-installer
WINEPREFIX=$prefix wineserver -k 2>/dev/null
rm -rf "$prefix" "$prefix-home"
mkdir -p "$prefix-home/Documents"
export HOME=$prefix-home QUORVEL_WINEPREFIX=$prefix
source "$(dirname "$0")/../lib.sh" "$bin"
cleanup() {
  cleanup_recsim
  for p in "${E2E_PIDS[@]}"; do kill "$p" 2>/dev/null; wait "$p" 2>/dev/null; done
  wineserver -k 2>/dev/null  # this prefix's own server
  e2e_cleanup
}
trap cleanup EXIT

user=$(id -un)
instdir="$WINEPREFIX/drive_c/Program Files/Quorvel"
instdir_win='C:\Program Files\Quorvel'
userdir="$HOME/Documents/Quorvel"
userdir_win="C:\\users\\$user\\Documents\\Quorvel"
menu="$WINEPREFIX/drive_c/users/$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Quorvel"
menu_win="C:\\users\\$user\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Quorvel"
uninst_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvel'

# win PROGRAM ARGS...: runs a Windows program to its end; output in $E2E_TMP/win.out, code in $win_rc.
win() {
  "$QUORVEL_WINE" "$@" >"$E2E_TMP/win.out" 2>&1 </dev/null
  win_rc=$?
  tr -d '\r' <"$E2E_TMP/win.out" >"$E2E_TMP/win.txt"
}
text_is() { [ "$(ui text "$1" "$2")" = "$3" ]; }
lower() { tr 'A-Z' 'a-z'; }
ini_utf8() { iconv -f CP932 -t UTF-8 "$1" | tr -d '\r'; }
# shortcut_is NAME TARGET FOLDER: a Start-menu shortcut points at TARGET and starts in FOLDER.
shortcut_is() {
  win "$bin/instprobe.exe" lnk "$menu_win\\$1.lnk"
  local want got
  want=$(printf 'target=%s\nfolder=%s\nargs=\n' "$2" "$3" | lower)
  got=$(lower <"$E2E_TMP/win.txt")
  [ "$win_rc" = 0 ] && [ "$got" = "$want" ] && pass "shortcut $1: $2 in $3" || fail "shortcut $1: rc $win_rc, $(tr '\n' ' ' <"$E2E_TMP/win.txt")"
}
# quorvel_window: waits for Quorvel's main window and prints its handle.
quorvel_window() { ui find --prop "$QUORVEL_PROP" --timeout 30000; }
# close_started HWND: closes a Quorvel started through the shell (no pid of ours) and waits until its
# process has ended (its INI is written).
quorvel_ended() { ! "$QUORVEL_WINE" "$bin/instprobe.exe" mutex "$QUORVEL_PROP" >/dev/null 2>&1 </dev/null; }
close_started() {
  ui close "$1"
  wait_for 30 quorvel_ended || fail "Quorvel did not end"
}

# --- Silent install.
win "$setup" /S
[ "$win_rc" = 0 ] && pass "silent install exits with 0" || fail "silent install exit code $win_rc"
for f in Quorvel.exe Launcher.exe Launcher.ini Uninstall.exe guide/index.html; do
  [ -f "$instdir/$f" ] || fail "not installed: $f"
done
ini_utf8 "$instdir/Launcher.ini" >"$E2E_TMP/launcher.ini"
grep -qx 'TEXT=振動波形解析 Quorvel' "$E2E_TMP/launcher.ini" && grep -qx 'EXE=Quorvel.lnk' "$E2E_TMP/launcher.ini" \
  && pass "Launcher.ini (code page 932): first button opens Quorvel's shortcut" || fail "Launcher.ini: $(tr '\n' ' ' <"$E2E_TMP/launcher.ini")"
grep -q $'\r$' "$instdir/Launcher.ini" && pass "Launcher.ini has CRLF lines" || fail "Launcher.ini without CRLF"
win reg query "$uninst_key" /v QuietUninstallString
grep -qF "\"$instdir_win\\Uninstall.exe\" /S" "$E2E_TMP/win.txt" && pass "uninstaller registered in the program list" \
  || fail "uninstall entry: $(cat "$E2E_TMP/win.txt")"

shortcut_is Quorvel "$instdir_win\\Quorvel.exe" "$userdir_win"
shortcut_is ランチャー "$instdir_win\\Launcher.exe" "$userdir_win"
shortcut_is 操作説明書 "$instdir_win\\guide\\index.html" "$userdir_win"
ini_utf8 "$userdir/Quorvel.ini" >"$E2E_TMP/first.ini"
[ "$(cat "$E2E_TMP/first.ini")" = "$(printf '[SPEC]\nSAVE_DIRECTORY=%s\\Data' "$userdir_win")" ] && [ -d "$userdir/Data" ] \
  && pass "operator's folder with a first INI pointing at its Data folder" || fail "first INI: $(cat "$E2E_TMP/first.ini")"

# --- Quorvel from its Start-menu shortcut measures the simulated recorder on COM3 (the operator
# picked the port), started from an unrelated folder.
printf 'COM=COM3\r\n' >>"$userdir/Quorvel.ini"
"$recsim" --bit 16 --rate 100 --axis x:amp=800,freq=2 --axis y:amp=300,freq=7 --axis z:noise=50 \
  --link "$WINEPREFIX/dosdevices/com3" --keep-link --log "$E2E_TMP/rs.log" >"$E2E_TMP/rs.out" 2>&1 &
rs_pid=$!
wait_for 10 has_line "$E2E_TMP/rs.log" " EV LINK" || fail "recsim did not link COM3"
cd "$E2E_TMP"
win start "$menu_win\\Quorvel.lnk"
if hwnd=$(quorvel_window); then
  wait_for 5 text_is "$hwnd" 1053 "待機中" && guide_shot main-idle "$hwnd"
  ui click "$hwnd" 1038
  wait_for 15 text_is "$hwnd" 1053 "受信中" && pass "installed Quorvel receives the recorder" \
    || fail "status after start: $(ui text "$hwnd" 1053)"
  guide_shot main-running "$hwnd"
  ui click "$hwnd" 1038
  wait_for 15 text_is "$hwnd" 1053 "待機中" || fail "status after stop: $(ui text "$hwnd" 1053)"
  close_started "$hwnd"
  has_line "$userdir/Quorvel.ini" '^\[WNDPLACEMENT\]' && pass "INI written in the operator's folder" \
    || fail "INI not written in $userdir"
  ini_utf8 "$userdir/Quorvel.ini" | grep -qxF "SAVE_DIRECTORY=$userdir_win\\Data" && pass "data folder kept in the INI" \
    || fail "SAVE_DIRECTORY: $(ini_utf8 "$userdir/Quorvel.ini" | grep SAVE_DIRECTORY)"
else
  fail "Quorvel from its shortcut did not appear"
fi
[ ! -e "$instdir/Quorvel.ini" ] && [ ! -e "$E2E_TMP/Quorvel.ini" ] && pass "no INI beside the programs or in the caller's folder" \
  || fail "an INI landed outside the operator's folder"
[ "$first_start_only" = 1 ] && e2e_finish

# --- The installed Launcher from its shortcut starts Quorvel in the operator's folder.
ini_utf8 "$userdir/Quorvel.ini" | grep -v '^\[WNDPLACEMENT\]\|_WNDPLACEMENT=' | sed 's/^TITLE=.*/TITLE=インストール試験/' \
  | to_cp932 >"$E2E_TMP/q.ini" && mv "$E2E_TMP/q.ini" "$userdir/Quorvel.ini"
win start "$menu_win\\ランチャー.lnk"
if launcher=$(ui find --class LAUNCHER --timeout 20000); then
  [ "$(ui text "$launcher" 1001)" = "振動波形解析 Quorvel" ] && pass "installed menu's first button" \
    || fail "first button: $(ui text "$launcher" 1001)"
  guide_shot launcher "$launcher"
  ui click "$launcher" 1001
  if hwnd=$(quorvel_window); then
    [[ "$(ui text "$hwnd")" == "インストール試験 Ver "* ]] && pass "Quorvel from the Launcher reads the operator's INI" \
      || fail "title from the Launcher: $(ui text "$hwnd")"
    # Its files cannot be removed while it runs: the uninstaller says so and stops. "_?=" runs it in
    # place so its exit code can be seen; it takes the rest of the command line, spaces and all.
    win "$instdir/Uninstall.exe" /S '_?=C:\Program' 'Files\Quorvel'
    [ "$win_rc" = 2 ] && [ -f "$instdir/Launcher.ini" ] && [ -f "$menu/Quorvel.lnk" ] && pass "uninstall refused while Quorvel runs" \
      || fail "uninstall while running: exit code $win_rc"
    close_started "$hwnd"
    has_line "$userdir/Quorvel.ini" '^\[WNDPLACEMENT\]' && pass "Launcher's Quorvel wrote the operator's INI" \
      || fail "INI not written after the Launcher's start"
  else
    fail "Quorvel did not start from the Launcher"
  fi
  [ ! -e "$instdir/Quorvel.ini" ] || fail "INI written beside the programs"
  ui click "$launcher" 1003
  ui gone "$launcher" --timeout 20000 || fail "Launcher did not close"
else
  fail "installed Launcher did not appear"
fi

# --- Silent uninstall: programs, shortcuts and the program-list entry go; the operator's INI and
# data stay.
printf '2026/01/05 09:07:03\r\n' >"$userdir/Data/recorded.csv"
win "$instdir/Uninstall.exe" /S
gone() { [ ! -e "$instdir" ] && [ ! -e "$menu" ]; }
wait_for 60 gone && pass "program files and shortcuts removed" \
  || fail "left after uninstall: $(ls "$instdir" "$menu" 2>&1 | tr '\n' ' ')"
win reg query "$uninst_key"
[ "$win_rc" != 0 ] && pass "program-list entry removed" || fail "uninstall entry still there"
[ -f "$userdir/Data/recorded.csv" ] && has_line "$userdir/Quorvel.ini" '^TITLE=' && pass "operator's INI and data kept" \
  || fail "operator's folder: $(ls -R "$userdir" 2>&1 | tr '\n' ' ')"

# --- The portable zip: its Launcher starts Quorvel in the unpacked folder, which keeps the INI.
mkdir -p "$E2E_TMP/zip"
unzip -q "$zip" -d "$E2E_TMP/zip"
portable=$(find "$E2E_TMP/zip" -mindepth 1 -maxdepth 1 -type d)
[ "$(basename "$portable")" = "$(basename "$zip" .zip)" ] && pass "zip unpacks to $(basename "$portable")" \
  || fail "zip folders: $(ls "$E2E_TMP/zip")"
ini_utf8 "$portable/Launcher.ini" | grep -qx 'EXE=Quorvel.exe' || fail "portable Launcher.ini does not start Quorvel.exe"
[ -f "$portable/guide/index.html" ] || fail "zip lacks the guide"
start_win -C / "$portable/Launcher.exe"
if launcher=$(ui find --class LAUNCHER --timeout 20000); then
  ui click "$launcher" 1001
  if hwnd=$(quorvel_window); then
    pass "portable Quorvel starts from the portable Launcher"
    close_started "$hwnd"
    has_line "$portable/Quorvel.ini" '^\[SPEC\]' && pass "portable INI in the unpacked folder" \
      || fail "no Quorvel.ini in $portable"
  else
    fail "portable Quorvel did not start"
  fi
  ui click "$launcher" 1003
  wait_pid "$E2E_LAST_PID" 20
  [ "$E2E_RC" = 0 ] || fail "portable Launcher exit code $E2E_RC"
else
  fail "portable Launcher did not appear"
fi

e2e_finish
