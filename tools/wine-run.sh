#!/usr/bin/env bash
# Runs a Windows program in the project's Wine prefix and returns its exit code. Output goes through
# a file: Wine's helper processes can keep an inherited pipe open for minutes after the program ends.
# The architecture comes from QUORVEL_WINE_ARCH or the program's PE header.
source "$(dirname "$0")/wine-env.sh" "${QUORVEL_WINE_ARCH:-$(file -b "$1" | grep -q 'x86-64' && echo win64 || echo win32)}"
quorvel_wine_prefix >/dev/null || exit 1
out=$(mktemp)
"$QUORVEL_WINE" "$@" >"$out" 2>&1 </dev/null
rc=$?
cat "$out"
rm -f "$out"
exit $rc
