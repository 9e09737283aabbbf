#!/usr/bin/env bash
# The node figures on the shipped target: cross-builds bench/wine/bench_nodes.cpp as a 32-bit
# Windows program, runs it under Wine and prints the mean of each figure over the repetitions.
# With --baseline REF the same program is also built against the framework and tree list of
# git revision REF, and the two run alternately in one session, so that each figure comes with
# its ratio to the baseline measured beside it.
#   bench/run-wine.sh [--baseline REF] [--repetitions N] [BUILD_DIR]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
baseline=""
repetitions=3
build="$root/build/bench-wine"
while (($#)); do
    case "$1" in
    --baseline) baseline="$2"; shift 2 ;;
    --repetitions) repetitions="$2"; shift 2 ;;
    *) build="$1"; shift ;;
    esac
done

bash "$root/scripts/deps.sh" >/dev/null

configure_and_build() { # build dir, source tree
    cmake -S "$root/bench/wine" -B "$1" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DVARNEL_SOURCE="$2" >/dev/null
    cmake --build "$1" --parallel 2 >/dev/null
}

configure_and_build "$build/current" "$root"
programs=("current=$build/current/varnel_bench_nodes.exe")
if [[ -n "$baseline" ]]; then
    source_dir="$build/baseline-src"
    rm -rf "$source_dir"
    mkdir -p "$source_dir"
    git -C "$root" archive "$baseline" framework treelist | tar -x -C "$source_dir"
    configure_and_build "$build/baseline" "$source_dir"
    programs=("baseline=$build/baseline/varnel_bench_nodes.exe" "${programs[@]}")
fi

# A prefix of its own, so that a run never meets the end-to-end tests' Wine server.
export WINEPREFIX="$build/wine" WINEARCH=win32 WINEDEBUG=-all
results="$build/results.txt"
: >"$results"
for ((i = 1; i <= repetitions; i++)); do
    for entry in "${programs[@]}"; do
        name="${entry%%=*}"
        wine "${entry#*=}" 2>/dev/null | tr -d '\r' | sed "s/^/$name /" >>"$results"
    done
done
wineserver -w 2>/dev/null || true

python3 - "$results" <<'EOF'
import collections, sys
values = collections.defaultdict(list)
for line in open(sys.argv[1]):
    name, figure, value = line.split()
    values[(name, figure)].append(float(value))
figures = list(dict.fromkeys(f for _, f in values))
has_baseline = any(n == "baseline" for n, _ in values)
header = f"{'figure (mean of runs)':36} {'runs':>4} {'current':>10}"
if has_baseline:
    header += f" {'baseline':>10} {'baseline / current':>19}"
print(header)
for figure in figures:
    cur = values[("current", figure)]
    mean = sum(cur) / len(cur)
    row = f"{figure:36} {len(cur):4d} {mean:10.2f}"
    if has_baseline and values[("baseline", figure)]:
        base = values[("baseline", figure)]
        base_mean = sum(base) / len(base)
        row += f" {base_mean:10.2f} {base_mean / mean:18.2f}x"
    print(row)
EOF
