#!/usr/bin/env bash
# Builds the importers' libFuzzer targets with Debian's clang (AddressSanitizer and UBSan, the
# libraries instrumented too) in build/fuzz and runs each for the given seconds (default 10).
# The corpus grows in build/fuzz/corpus-<target>, seeded from tests/fuzz/corpus. Exits non-zero
# when a target finds a crash, a hang (over 10 s for one input) or memory over 2 GB; the input
# is kept as build/fuzz/crash-* for reproduction: build/fuzz/bin/fuzz_<Target> <file>.
#   tools/fuzz.sh          short run (test.sh)
#   tools/fuzz.sh 3600     long run: an hour per target
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-10}
build="$root/build/fuzz"
if [ ! -f "$build/build.ninja" ]; then
  mkdir -p "$build"
  CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUORVEL_FUZZ=ON -DQUORVEL_SANITIZE=ON -DQUORVEL_BENCH=OFF -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link \
    >"$build.configure.log" 2>&1 || { cat "$build.configure.log"; exit 1; }
fi
targets=(CsvImport SdImport ReadDouble)
corpus=(csv sd number)
ninja -C "$build" "${targets[@]/#/fuzz_}" >"$build.build.log" 2>&1 || { tail -n 40 "$build.build.log"; exit 1; }
# The targets run side by side (each is one process on one core) and are reported in order.
pids=()
for i in "${!targets[@]}"; do
  t=${targets[$i]}
  work="$build/corpus-$t"
  mkdir -p "$work"
  (cd "$build" && exec "$build/bin/fuzz_$t" "$work" "$root/tests/fuzz/corpus/${corpus[$i]}" -max_total_time="$seconds" \
      -timeout=10 -rss_limit_mb=2048 -max_len=8192 -print_final_stats=1 >"$build/fuzz_$t.log" 2>&1) &
  pids+=($!)
done
rc=0
for i in "${!targets[@]}"; do
  t=${targets[$i]}
  if wait "${pids[$i]}"; then
    echo "fuzz_$t: $(grep -Eo 'stat::number_of_executed_units: *[0-9]+' "$build/fuzz_$t.log" | grep -Eo '[0-9]+$') runs, no failure"
  else
    echo "fuzz_$t: FAILED (log: $build/fuzz_$t.log)"
    grep -E 'ERROR|SUMMARY|Test unit written' "$build/fuzz_$t.log" | head -n 5
    rc=1
  fi
done
exit $rc
