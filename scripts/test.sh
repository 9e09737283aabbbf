#!/usr/bin/env bash
# Builds everything and runs every test once: the native unit tests (with sanitizers) and the
# end-to-end tests, which run build/win32/Varnel.exe under Wine on a private Xvfb desktop.
# The exit code is CTest's.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/deps.sh
cmake -S . -B build/native -G Ninja -DVARNEL_E2E=ON
cmake --build build/native --parallel 2
cmake -S . -B build/win32 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake --no-warn-unused-cli
cmake --build build/win32 --parallel 2
exec ctest --test-dir build/native --output-on-failure
