#!/usr/bin/env bash
# Copies the operator guide's pictures, taken from the real programs by the end-to-end tests of the
# last ./test.sh run (guide_shot in tests/e2e/lib.sh), into docs/guide/images/, and names pictures
# the guide shows that no test took. Run it after ./test.sh when a window changed; commit the images.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
src=$(ls -dt "$root"/build/win*/bin/screenshots/guide 2>/dev/null | head -n 1 || true)
[ -n "$src" ] || { echo "guide-shots: no screenshots/guide folder in build/win*/bin; run ./test.sh first"; exit 1; }
mkdir -p "$root/docs/guide/images"
cp "$src"/*.png "$root/docs/guide/images/"
echo "guide-shots: copied $(ls "$src"/*.png | wc -l) pictures from $src"
missing=0
for img in $(grep -o 'images/[A-Za-z0-9_-]*\.png' "$root/docs/guide/index.html" | sort -u); do
  [ -f "$root/docs/guide/$img" ] || { echo "guide-shots: the guide shows $img, which no test took"; missing=1; }
done
exit $missing
