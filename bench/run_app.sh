#!/usr/bin/env bash
# Builds the main form's benchmarks (bench/setup.sh's build, optimised, no sanitizers), runs
# them once and prints each figure beside its baseline from that run as a ratio. With
# --benchmark_repetitions=N each figure is the mean of its N repetitions.
#   bench/run_app.sh [BUILD_DIR] [extra benchmark arguments...]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build="${1:-$here/../build/bench}"
shift || true
bash "$here/setup.sh" "$build" varnel_bench_app >/dev/null
results="$build/bench_app_results.json"
"$build/bench/varnel_bench_app" --benchmark_out="$results" --benchmark_out_format=json "$@"
python3 "$here/ratios.py" "$results"
