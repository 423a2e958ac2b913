# Shared helpers of the end-to-end tests. Source it with the Windows tree's bin folder as $1.
# Starts Xvfb when no display is given, keeps one wineserver up, and cleans up on exit.
set -u
E2E_BUILD=$(cd "$1" && pwd)
E2E_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
if file -b "$E2E_BUILD/Launcher.exe" | grep -q x86-64; then _arch=win64; else _arch=win32; fi
source "$E2E_ROOT/tools/wine-env.sh" "$_arch"
source "$E2E_ROOT/tests/e2e/wait.sh"
quorvel_wine_prefix >/dev/null || exit 1

E2E_TMP=$(mktemp -d /tmp/quorvel-e2e.XXXXXX)
E2E_PIDS=()
E2E_XVFB=""
E2E_FAILED=0

e2e_cleanup() {
  for p in "${E2E_PIDS[@]}"; do kill "$p" 2>/dev/null; done
  # Our own display goes, and with it the wineserver started on it (it would linger for good).
  [ -n "$E2E_XVFB" ] && { wineserver -k >/dev/null 2>&1; kill "$E2E_XVFB" 2>/dev/null; }
  [ "${E2E_KEEP:-0}" = 1 ] || rm -rf "$E2E_TMP"
}
trap e2e_cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
  # A wineserver left running keeps its desktop on the display it was started with; windows
  # cannot be created once that X server is gone.
  wineserver -k >/dev/null 2>&1
  for n in $(seq 90 130); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
    Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >"$E2E_TMP/xvfb.log" 2>&1 &
    E2E_XVFB=$!
    export DISPLAY=:$n
    break
  done
  for _ in $(seq 1 100); do [ -e /tmp/.X11-unix/X${DISPLAY#:} ] && break; sleep 0.1; done
fi
wineserver -p >/dev/null 2>&1 </dev/null

# The main window's instance property, by which tests find Quorvel's main window.
QUORVEL_PROP="Quorvel.exe 2A217156-E4D9-4f05-B856-5ED6F5C867BE"
# Screenshots of the tests, kept in the Windows tree.
E2E_SHOTS="$E2E_BUILD/screenshots"
mkdir -p "$E2E_SHOTS"

# need_recsim NATIVE_BIN_DIR: sets $recsim, or skips the test (exit 77) without the native tree.
need_recsim() {
  recsim="$1/recsim"
  [ -x "$recsim" ] || { echo "missing $recsim (native tree)"; exit 77; }
}

fail() { echo "FAIL: $*"; E2E_FAILED=1; }
pass() { echo "ok: $*"; }
# not_run WHAT: a step this machine cannot do; the summary names it and ctest shows the test as skipped.
E2E_NOT_RUN=()
not_run() { echo "NOT RUN: $*"; E2E_NOT_RUN+=("$*"); }

# ui ARGS...: runs uiauto; its output goes through a file (see wine-run.sh for why). uiauto itself
# exits with 0, 1 or 2; any other code means Wine did not run it (the launch failed or was killed),
# so it is run again, and each such run is reported on stderr with what Wine said. What uiauto
# itself says on stderr passes through.
ui() {
  local out="$E2E_TMP/ui.$$.$RANDOM" rc try
  for try in 1 2 3; do
    "$QUORVEL_WINE" "$E2E_BUILD/uiauto.exe" "$@" >"$out" 2>"$out.err" </dev/null
    rc=$?
    [ $rc -le 2 ] && break
    { echo "uiauto $* exited with $rc (try $try):"; head -c 2000 "$out.err"; } >&2
  done
  tr -d '\r' <"$out"
  cat "$out.err" >&2
  rm -f "$out" "$out.err"
  return $rc
}

# start_win [-C DIR] EXE [ARGS...]: starts a Windows program in the background, in DIR or the
# current folder; its pid is in $E2E_LAST_PID.
start_win() {
  local dir=.
  if [ "$1" = -C ]; then dir=$2; shift 2; fi
  (cd "$dir" && exec "$QUORVEL_WINE" "$@" >>"$E2E_TMP/wine.log" 2>&1 </dev/null) &
  E2E_LAST_PID=$!
  E2E_PIDS+=("$E2E_LAST_PID")
}

# start_quorvel DIR: starts Quorvel with DIR as its working folder and waits for its main window;
# sets $q_pid and $hwnd.
start_quorvel() {
  start_win -C "$1" "$E2E_BUILD/Quorvel.exe"
  q_pid=$E2E_LAST_PID
  hwnd=$(ui find --prop "$QUORVEL_PROP" --timeout 30000) || { fail "main window did not appear"; return 1; }
}
# close_quorvel: closes the main window and waits for the program to end.
close_quorvel() {
  ui close "$hwnd"
  wait_pid "$q_pid" 30
  [ "$E2E_RC" = timeout ] && { fail "Quorvel did not end"; kill "$q_pid"; }
}

# wait_pid PID TIMEOUT_S: waits for a background program; sets E2E_RC to its exit code, or to
# "timeout". Not for $(...): only this shell can collect its own children.
wait_pid() {
  local pid=$1 limit=$(( $2 * 10 ))
  E2E_RC=timeout
  for _ in $(seq 1 $limit); do
    if ! kill -0 "$pid" 2>/dev/null; then wait "$pid"; E2E_RC=$?; return 0; fi
    sleep 0.1
  done
}

# wait_file PATH TIMEOUT_S: waits until a file exists and is not empty.
wait_file() {
  local limit=$(( $2 * 10 ))
  for _ in $(seq 1 $limit); do [ -s "$1" ] && return 0; sleep 0.1; done
  return 1
}

# screenshot PNG: captures the whole X screen (PrintWindow gives black images under Wine).
screenshot() {
  /usr/bin/import -display "$DISPLAY" -window root "$1" 2>/dev/null
}

# guide_shot NAME HWND: the window as the operator sees it, cut from the screen, for the operator
# guide (screenshots/guide/NAME.png; tools/guide-shots.sh copies them into docs/guide/images).
guide_shot() {
  local dir="$E2E_BUILD/screenshots/guide" full="$E2E_TMP/guide-screen.png" l t r b
  mkdir -p "$dir"
  read -r _ l t r b < <(ui rect "$2" | grep '^window') || return 1
  screenshot "$full" && /usr/bin/convert "$full" -crop "$((r - l))x$((b - t))+$l+$t" +repage "$dir/$1.png"
}

# guide_box NAME: the message box on the screen, for the guide.
guide_box() { guide_shot "$1" "$(ui find --class '#32770' --child 65535 --timeout 10000)"; }
# guide_image NAME PNG WIDTH: a picture a test made (a printed page), WIDTH pixels wide, for the guide.
guide_image() {
  mkdir -p "$E2E_BUILD/screenshots/guide"
  /usr/bin/convert "$2" -resize "$3x" -colors 128 "PNG8:$E2E_BUILD/screenshots/guide/$1.png"
}

# colours PNG X Y W H: number of distinct colours in a rectangle of a screenshot.
colours() {
  /usr/bin/convert "$1" -crop "${4}x${5}+${2}+${3}" +repage -format '%k' info: 2>/dev/null
}

# pixel PNG X Y: the colour at one point, as srgb(r,g,b).
pixel() {
  /usr/bin/convert "$1" -format "%[pixel:p{$2,$3}]" info: 2>/dev/null
}

# Windows form of a Linux path (drive Z: is the root folder).
winpath() { printf 'Z:%s' "$1" | tr '/' '\\'; }

# to_cp932 < utf8 > cp932 with CRLF line ends: how an operator's editor saves INI files.
to_cp932() { sed 's/$/\r/' | iconv -f UTF-8 -t CP932; }

# graph_rect AXIS [N]: client rectangle "left top width height" of Quorvel's graph of an axis in
# main window $hwnd: N 1 (default) the time graph, 2 the spectrum.
graph_rect() {
  ui children "$hwnd" | awk -F'\t' -v id=$((1000 + $1)) -v n="${2:-1}" '$1 == id && $2 == "QuorvelGraph" && ++k == n {
    split($3, r, ","); print r[1] + 1, r[2] + 1, r[3] - r[1] - 2, r[4] - r[2] - 2 }'
}
# peak_text AXIS N: the PSD monitor's peak field of an axis, N 1 the frequency, 2 the value (the
# time monitor's field of the same id comes first).
peak_text() { ui children "$hwnd" | awk -F'\t' -v id=$((2000 + $1)) -v n="$2" '$1 == id && $2 == "QuorvelNumCtrl" && ++k == n + 1 { print $5 }'; }
# bbox PNG "L T W H" COLOUR: bounding box "w h x y" (relative to the rectangle) of a colour in it.
bbox() {
  local r=($2)
  /usr/bin/convert "$1" -crop "${r[2]}x${r[3]}+${r[0]}+${r[1]}" +repage -fill black +opaque "$3" \
    -format '%@' info: 2>/dev/null | tr 'x+' '  '
}

# wait_text HWND ID TEXT SECONDS: waits until a control shows TEXT; says what it showed if not.
wait_text() {
  wait_equal "$4" "$3" ui text "$1" "$2" && return 0
  echo "  (control $2 shows '$WAIT_VALUE', expected '$3')"
  return 1
}

# Review checks of the time monitor in main window $hwnd, for a display window of REVIEW_WINDOW
# samples (1000 by default: 10 s) and values within ±999 gal (16-bit field texts, "%6.1f").
# wave_values CSV: the samples of a waveform CSV file, one "x y z" line each.
wave_values() { tail -n +7 "$1" | tr -d '\r' | tr ',' ' '; }
# date_make_labels CSV: the review's date and time labels of the file's first DATE_MAKE line.
date_make_labels() {
  tr -d '\r' <"$1" | sed -n 's/^DATE_MAKE:\(....\)\.\(..\)\.\(..\)_\(..\):\(..\):\(..\)$/\1年\2月\3日 \4時\5分\6秒/p' | head -n 1
}
# labels_after LABELS SECONDS: the date and time labels that many seconds later.
labels_after() {
  local t
  t=$(sed 's/^\(....\)年\(..\)月\(..\)日 \(..\)時\(..\)分\(..\)秒$/\1-\2-\3 \4:\5:\6/' <<<"$1")
  date -d "@$(( $(date -d "$t" +%s) + $2 ))" '+%Y年%m月%d日 %H時%M分%S秒'
}
# review_expected VALUES POS LABELS: what review position POS should show, as the labels ("DATE
# TIME") and then the largest and smallest value of X, Y and Z in the display window from POS of
# VALUES ("x y z" lines): "date|time|max X|min X|max Y|min Y|max Z|min Z|".
review_expected() {
  awk -v f="$2" -v n="${REVIEW_WINDOW:-1000}" -v labels="$3" 'NR > f && NR <= f + n {
      for (c = 1; c <= 3; c++) { v = $c + 0; if (NR == f + 1 || v > hi[c]) hi[c] = v; if (NR == f + 1 || v < lo[c]) lo[c] = v } }
    END { split(labels, l, " "); printf "%s|%s|", l[1], l[2]; for (c = 1; c <= 3; c++) printf "%6.1f|%6.1f|", hi[c], lo[c] }' "$1"
}
review_shown() { ui text "$hwnd" 2046 2044 2000 2100 2001 2101 2002 2102 | tr '\n' '|'; }
# review_check WHAT VALUES POS LABELS: the thumb dragged to POS (left where it is for 0, as an import
# sets it), then the date, time and value fields must show that window of VALUES.
review_check() {
  local want
  want=$(review_expected "$2" "$3" "$4")
  [ "$3" -gt 0 ] && ui scroll "$hwnd" 1068 5 "$3"
  if wait_equal 15 "$want" review_shown; then pass "$1: $WAIT_VALUE"; else fail "$1: shows '$WAIT_VALUE', expected '$want'"; fi
}

# The paused stream of a simulated recorder started with --paused, --control $E2E_TMP/ctl and
# --log $E2E_TMP/rs.log, received by Quorvel's main window $hwnd.
# sent: sample records the simulator has sent so far.
sent() { local n; n=$(grep -c ' S ' "$E2E_TMP/rs.log" 2>/dev/null); echo "${n:-0}"; }
sent_at_least() { [ "$(sent)" -ge "$1" ]; }
# stream N: sends N more samples and waits until the simulator has sent them all.
stream() {
  local target=$(( $(sent) + $1 ))
  echo "send $1" >"$E2E_TMP/ctl"
  wait_for $(( $1 / 50 + 60 )) sent_at_least "$target" || fail "simulator sent $(sent) of $target samples"
}
# sync_link: a time report through the paused stream; once one more is logged, the program has
# taken every sample sent before it (the record button then writes what is still queued).
tm_rows() { ui list "$hwnd" 1052 | grep -c '^TM'; }
sync_link() {
  local before
  before=$(tm_rows)
  echo tm >"$E2E_TMP/ctl"
  wait_for 30 eval '[ "$(tm_rows)" -gt '"$before"' ]' || fail "time report not logged"
}

# cleanup_recsim: ends the simulated recorder whose pid is in $rs_pid (control FIFO $E2E_TMP/ctl)
# and removes the COM links the scripts made.
rs_pid=""
cleanup_recsim() {
  [ -n "$rs_pid" ] && { echo quit >"$E2E_TMP/ctl" & sleep 0.2; kill "$rs_pid" 2>/dev/null; wait "$rs_pid" 2>/dev/null; }
  rs_pid=""
  rm -f "$WINEPREFIX/dosdevices/com1" "$WINEPREFIX/dosdevices/com3"
}

# COM1 would open /dev/ttyS0, which exists here: a link to an empty folder hides it (a missing
# target would not: Wine then falls back to the device). Wine's mount manager links COM1 to the
# host's port again whenever its services start, so keep_com1_hidden keeps re-hiding it until
# let_com1_show.
hide_com1() { mkdir -p "$E2E_TMP/no-com1"; ln -sfn "$E2E_TMP/no-com1" "$WINEPREFIX/dosdevices/com1"; }
E2E_HIDER=""
keep_com1_hidden() {
  hide_com1
  ( while :; do
      [ "$(readlink "$WINEPREFIX/dosdevices/com1")" = "$E2E_TMP/no-com1" ] || hide_com1
      sleep 0.1
    done ) &
  E2E_HIDER=$!
  E2E_PIDS+=("$E2E_HIDER")
}
let_com1_show() {
  [ -n "$E2E_HIDER" ] && { kill "$E2E_HIDER" 2>/dev/null; wait "$E2E_HIDER" 2>/dev/null; }
  E2E_HIDER=""
  rm -f "$WINEPREFIX/dosdevices/com1"
}

e2e_finish() {
  if [ "$E2E_FAILED" = 0 ] && [ ${#E2E_NOT_RUN[@]} = 0 ]; then echo "all checks passed"; exit 0; fi
  if [ "$E2E_FAILED" = 0 ]; then printf 'checks passed, but NOT RUN: %s\n' "${E2E_NOT_RUN[@]}"; exit 77; fi
  E2E_KEEP=1
  echo "kept $E2E_TMP for inspection"
  exit 1
}
