#!/usr/bin/env bash
# Launcher end to end: no INI, three buttons of equal width, Tab and Enter, programs started in their
# own folders, background picture and its absence, exit codes. Usage: launcher_test.sh WINDOWS_BIN_DIR
source "$(dirname "$0")/../lib.sh" "$1"
shots="$E2E_SHOTS"

# Copies the launcher into a fresh folder and prints that folder.
prepare() {
  local dir="$E2E_TMP/$1"
  mkdir -p "$dir"
  cp "$E2E_BUILD/Launcher.exe" "$dir/"
  echo "$dir"
}

# --- No INI: one "Exit" button that closes the launcher with exit code 0.
dir=$(prepare noini)
cd "$dir"
start_win "$dir/Launcher.exe"
pid=$E2E_LAST_PID
hwnd=$(ui find --class LAUNCHER --timeout 20000) || fail "no-INI launcher window did not appear"
if [ -n "${hwnd:-}" ]; then
  ui children "$hwnd" >"$E2E_TMP/children.txt"
  buttons=$(grep -c $'\tButton\t' "$E2E_TMP/children.txt")
  [ "$buttons" = 1 ] && pass "no INI: one button" || fail "no INI: expected one button, got $buttons"
  grep -q $'^1001\tButton\t.*\tExit$' "$E2E_TMP/children.txt" && pass "no INI: button 1001 reads Exit" \
    || fail "no INI: button text: $(cat "$E2E_TMP/children.txt")"
  ui rect "$hwnd" >"$E2E_TMP/rect.txt"
  read -r _ cl ct cr cb < <(grep client "$E2E_TMP/rect.txt")
  screenshot "$shots/launcher-noini.png"
  # Below the button lies the bottom margin: erased with the class background, one plain colour.
  n=$(colours "$shots/launcher-noini.png" "$cl" $((cb - 30)) $((cr - cl)) 28)
  [ "$n" = 1 ] && pass "no INI: client area erased" || fail "no INI: bottom margin shows $n colours"
  ui click "$hwnd" 1001
  wait_pid "$pid" 20; rc=$E2E_RC
  [ "$rc" = 0 ] && pass "no INI: Exit closes with code 0" || fail "no INI: exit code $rc"
fi

# --- Three buttons, relative and absolute programs, a close button, a missing background.
dir=$(prepare three)
mkdir -p "$dir/sub" "$E2E_TMP/abs"
cp "$E2E_BUILD/cwdprobe.exe" "$dir/sub/"
cp "$E2E_BUILD/cwdprobe.exe" "$E2E_TMP/abs/"
to_cp932 >"$dir/Launcher.ini" <<INI
[SPEC]
TITLE=振動記録ランチャー
BACK_IMAGE=missing.bmp
BTN_COUNT=3
[BTN1]
TEXT=短い
EXE=sub\\cwdprobe.exe
[BTN2]
TEXT=ずっと長いボタンの名前 (absolute)
EXE=$(winpath "$E2E_TMP/abs/cwdprobe.exe")
[BTN3]
TEXT=終了
INI
cd /
start_win "$dir/Launcher.exe"
pid=$E2E_LAST_PID
hwnd=$(ui find --class LAUNCHER --timeout 20000) || fail "three-button launcher did not appear"
if [ -n "${hwnd:-}" ]; then
  wait_equal 10 "振動記録ランチャー" ui text "$hwnd" && pass "title in Japanese" || fail "title: $WAIT_VALUE"
  ui children "$hwnd" >"$E2E_TMP/children.txt"
  widths=$(awk -F'\t' '$2=="Button"{split($3,r,","); print r[3]-r[1]}' "$E2E_TMP/children.txt" | sort -u)
  heights=$(awk -F'\t' '$2=="Button"{split($3,r,","); print r[4]-r[2]}' "$E2E_TMP/children.txt" | sort -u)
  count=$(grep -c $'\tButton\t' "$E2E_TMP/children.txt")
  [ "$count" = 3 ] && pass "three buttons" || fail "expected 3 buttons, got $count"
  [ "$(echo "$widths" | wc -l)" = 1 ] && pass "equal widths ($widths)" || fail "widths differ: $widths"
  [ "$(echo "$heights" | wc -l)" = 1 ] && pass "equal heights ($heights)" || fail "heights differ: $heights"
  ids=$(awk -F'\t' '$2=="Button"{print $1}' "$E2E_TMP/children.txt" | tr '\n' ' ')
  [ "$ids" = "1001 1002 1003 " ] && pass "ids 1001..1003" || fail "ids: $ids"

  ui rect "$hwnd" >"$E2E_TMP/rect.txt"
  read -r _ cl ct cr cb < <(grep client "$E2E_TMP/rect.txt")
  screenshot "$shots/launcher-three.png"
  n=$(colours "$shots/launcher-three.png" "$cl" "$ct" 30 $((cb - ct)))
  [ "$n" = 1 ] && pass "missing bitmap: left margin plain" || fail "missing bitmap: left margin shows $n colours"

  ui click "$hwnd" 1001
  if wait_file "$dir/sub/cwdprobe.out" 30; then
    got=$(tr -d '\r' <"$dir/sub/cwdprobe.out")
    [ "${got,,}" = "$(winpath "$dir/sub" | tr 'A-Z' 'a-z')" ] && pass "relative EXE runs in its own folder" \
      || fail "relative EXE working folder: $got"
  else
    fail "relative EXE did not start"
  fi
  # From the keyboard: the focus is on a button, Tab moves it to the next one, Enter presses that.
  wait_equal 10 1001 ui focus "$hwnd" && pass "first button has the focus" || fail "focus on '$WAIT_VALUE'"
  ui key "$hwnd" 0 tab
  wait_equal 10 1002 ui focus "$hwnd" && pass "Tab moves to the second button" || fail "after Tab the focus is on '$WAIT_VALUE'"
  ui key "$hwnd" 0 return
  if wait_file "$E2E_TMP/abs/cwdprobe.out" 30; then
    got=$(tr -d '\r' <"$E2E_TMP/abs/cwdprobe.out")
    [ "${got,,}" = "$(winpath "$E2E_TMP/abs" | tr 'A-Z' 'a-z')" ] && pass "absolute EXE runs in its own folder" \
      || fail "absolute EXE working folder: $got"
  else
    fail "absolute EXE did not start"
  fi
  kill -0 "$pid" 2>/dev/null && pass "launcher stays open after starting programs" || fail "launcher ended"
  ui click "$hwnd" 1003
  wait_pid "$pid" 20; rc=$E2E_RC
  [ "$rc" = 0 ] && pass "button without EXE closes with code 0" || fail "close exit code $rc"
fi

# --- A background bitmap smaller than the window is drawn unscaled at the top-left corner.
dir=$(prepare picture)
/usr/bin/convert -size 40x30 xc:'#ff0000' BMP3:"$dir/back.bmp"
to_cp932 >"$dir/Launcher.ini" <<'INI'
[SPEC]
TITLE=背景
BACK_IMAGE=back.bmp
[BTN1]
TEXT=終了
INI
start_win "$dir/Launcher.exe"
pid=$E2E_LAST_PID
hwnd=$(ui find --class LAUNCHER --timeout 20000) || fail "picture launcher did not appear"
if [ -n "${hwnd:-}" ]; then
  ui rect "$hwnd" >"$E2E_TMP/rect.txt"
  read -r _ cl ct cr cb < <(grep client "$E2E_TMP/rect.txt")
  screenshot "$shots/launcher-picture.png"
  [ "$(pixel "$shots/launcher-picture.png" $((cl + 5)) $((ct + 5)))" = "srgb(255,0,0)" ] \
    && pass "bitmap drawn at the top-left" || fail "top-left pixel $(pixel "$shots/launcher-picture.png" $((cl + 5)) $((ct + 5)))"
  [ "$(pixel "$shots/launcher-picture.png" $((cl + 39)) $((ct + 29)))" = "srgb(255,0,0)" ] \
    && pass "bitmap unscaled (last pixel red)" || fail "bitmap corner not red"
  [ "$(pixel "$shots/launcher-picture.png" $((cl + 41)) $((ct + 5)))" != "srgb(255,0,0)" ] \
    && pass "bitmap not stretched" || fail "red beyond the bitmap's width"
  ui click "$hwnd" 1001
  wait_pid "$pid" 20; rc=$E2E_RC
  [ "$rc" = 0 ] || fail "picture launcher exit code $rc"
fi

e2e_finish
