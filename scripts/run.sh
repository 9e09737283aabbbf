#!/usr/bin/env bash
# Builds Varnel.exe and runs it under Wine (32-bit prefix build/wine).
# With $DISPLAY set, Varnel runs there until it is closed. Without one it runs on a private Xvfb
# desktop, and build/run-screenshot.png is saved once its main form is up; then, when stdin is
# a terminal, it keeps running until Ctrl+C, else it is closed and the script ends.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/deps.sh
cmake -S . -B build/win32 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake --no-warn-unused-cli
cmake --build build/win32 --parallel 2
PYTHONPATH=tests/e2e exec python3 -m varnel_e2e run
