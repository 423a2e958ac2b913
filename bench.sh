#!/usr/bin/env bash
# Builds the native Release tree build/bench and runs the benchmarks: the transform (our time and
# FFTW's side by side per length), then the stream decoder, the sample pipeline, the waveform writer,
# the importers, the seismic intensity of a trigger event, the time graphs and the miniSEED archive. Extra arguments go to
# the transform benchmark; ./bench.sh --fft-only skips the others.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
build="$root/build/bench"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVEL_SANITIZE=OFF -DQUORVEL_BENCH=ON >/dev/null
ninja -C "$build" -j2 fft_bench device_bench pipeline_bench wavefile_bench import_bench intensity_bench graph_bench seed_bench
others=1
if [ "${1:-}" = "--fft-only" ]; then others=0; shift; fi
json="$build/fft_bench.json"
"$build/bin/fft_bench" --benchmark_out="$json" --benchmark_out_format=json "$@"
python3 - "$json" <<'PY'
import json, sys
runs = json.load(open(sys.argv[1]))["benchmarks"]
times = {}
for r in runs:
    if r.get("run_type", "iteration") != "iteration":
        continue
    name, n = r["name"].split("/")[:2]
    scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3}[r["time_unit"]]
    times[(name, int(n))] = r["cpu_time"] * scale  # CPU time: the machine may be shared
print()
print("%6s %12s %12s %7s %16s %12s" % ("N", "ours (us)", "FFTW (us)", "ratio", "spectrum (us)", "plan (us)"))
for n in sorted({n for _, n in times}):
    ours = times.get(("BM_OurTransform", n))
    fftw = times.get(("BM_FftwTransform", n))
    spec = times.get(("BM_ComputeSpectrum", n))
    plan = times.get(("BM_OurPlan", n))
    ratio = ours / fftw if ours and fftw else float("nan")
    fmt = lambda v: "%.2f" % v if v is not None else "-"
    print("%6d %12s %12s %7.2f %16s %12s" % (n, fmt(ours), fmt(fftw), ratio, fmt(spec), fmt(plan)))
PY

if [ "$others" = 1 ]; then
  echo
  "$build/bin/device_bench"
  echo
  "$build/bin/pipeline_bench"
  echo
  "$build/bin/wavefile_bench"
  echo
  "$build/bin/import_bench"
  echo
  "$build/bin/intensity_bench"
  echo
  "$build/bin/graph_bench"
  echo
  "$build/bin/seed_bench"
fi
