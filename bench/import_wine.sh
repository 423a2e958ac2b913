#!/usr/bin/env bash
# Times the import of 24 hours of data under Wine with the program's own import code
# (tools/importtime: the Win32 file, both passes, the rings taking the samples over): an SD-card
# file of the simulated recorder (8.64 M lines, 16-bit, a time line every minute) and a CSV file in
# the writer's format. Needs the native tree (recsim) and a Windows tree (importtime.exe), as
# ./test.sh leaves them. Prints one line per run: time, throughput, peak memory over the buffers.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-3}
tree=$root/build/win64
file -b "$tree/bin/importtime.exe" 2>/dev/null | grep -q PE32 || tree=$root/build/win32
[ -x "$root/build/native/bin/recsim" ] && [ -f "$tree/bin/importtime.exe" ] || { echo "run ./test.sh first"; exit 1; }
work=$(mktemp -d /tmp/quorvel-import-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT

"$root/build/native/bin/recsim" --sd-file "$work/day.txt" --bit 16 --sd-seconds 86400 --tm-every 60 \
  --clock 2024-05-06-00-00-00 --axis x:amp=800,freq=2 --axis y:noise=100 --axis z:amp=50,freq=7
awk 'BEGIN {
  printf "COMMENT_1:\r\nDATE_MAKE:2024.05.06_00:00:00\r\nCLOCK:10.000000 ( msec )\r\nDATA:\r\nX,Y,Z\r\ngal,gal,gal\r\n"
  for (i = 0; i < 8640000; i++) printf "%f,%f,%f\r\n", 100 * sin(i / 50.0), (i % 2001 - 1000) / 8.0, -0.125 * (i % 7)
}' >"$work/day.csv"

for kind in sd csv; do
  ext=$([ $kind = sd ] && echo txt || echo csv)
  for _ in $(seq 1 "$runs"); do
    "$root/tools/wine-run.sh" "$tree/bin/importtime.exe" "Z:${work//\//\\}\\day.$ext" $kind 16
  done
done
