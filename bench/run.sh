#!/usr/bin/env bash
# Builds the benchmarks (bench/setup.sh), runs them once and prints each figure beside its
# Qt peer as a ratio, from that one run. With --benchmark_repetitions=N each figure is the mean
# of its N repetitions.
#   bench/run.sh [BUILD_DIR] [extra benchmark arguments...]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build="${1:-$here/../build/bench}"
shift || true
bash "$here/setup.sh" "$build" >/dev/null
results="$build/bench_results.json"
"$build/bench/varnel_bench" --benchmark_out="$results" --benchmark_out_format=json "$@"
python3 "$here/ratios.py" "$results"
