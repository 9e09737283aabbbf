#!/usr/bin/env bash
# Installs what the benchmarks need - Qt 5 (the peer they are measured against) and Google
# Benchmark - and builds them without sanitizers, optimised, in build/bench. The tests do not
# need any of this.
#   bench/setup.sh [BUILD_DIR]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build/bench}"

packages=(qtbase5-dev libbenchmark-dev cmake ninja-build g++)
missing=()
for package in "${packages[@]}"; do
    [[ "$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null)" == installed ]] ||
        missing+=("$package")
done
if ((${#missing[@]} > 0)); then
    if ((EUID != 0)); then
        echo "bench: missing ${missing[*]}; run this script as root to install them" >&2
        exit 1
    fi
    echo "bench: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVARNEL_SANITIZE=OFF \
    -DVARNEL_BENCH=ON -DVARNEL_FUZZ=OFF
cmake --build "$build" --parallel 2 --target varnel_bench
