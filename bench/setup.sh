#!/usr/bin/env bash
# Installs what the benchmarks need - Qt 5 (the peer they are measured against) and Google
# Benchmark - and builds them without sanitizers, optimised, in build/bench. The tests do not
# need any of this.
#   bench/setup.sh [BUILD_DIR] [TARGET]     (TARGET: varnel_bench unless given)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build/bench}"

bash "$root/scripts/ensure-packages.sh" qtbase5-dev libbenchmark-dev cmake ninja-build g++

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVARNEL_SANITIZE=OFF \
    -DVARNEL_BENCH=ON -DVARNEL_FUZZ=OFF
cmake --build "$build" --parallel 2 --target "${2:-varnel_bench}"
