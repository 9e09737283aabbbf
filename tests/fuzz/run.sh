#!/usr/bin/env bash
# Builds the node stream fuzzer with clang and runs it for a while.
#   tests/fuzz/run.sh [--built] [SECONDS [BUILD_DIR [CLANGXX]]]
#                                      (defaults: 20, build/fuzz, clang++)
# --built runs what the main build made in BUILD_DIR without building it here.
# The corpus grows in BUILD_DIR/corpus; findings (crash-*, leak-*, timeout-*) land in
# BUILD_DIR/findings. The exit code is the fuzzer's: 0 when it found nothing.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build_here=1
if [[ "${1:-}" == --built ]]; then
    build_here=0
    shift
fi
seconds="${1:-20}"
build="${2:-$root/build/fuzz}"
clangxx="${3:-clang++}"

if ((build_here)); then
    cmake -S "$here/project" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER="$clangxx" >/dev/null
    cmake --build "$build" --parallel 2
fi

mkdir -p "$build/seeds" "$build/corpus" "$build/findings"
"$build/make_node_stream_seeds" "$build/seeds"
exec "$build/fuzz_node_stream" "$build/corpus" "$build/seeds" \
    -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$build/findings/" -print_final_stats=1
