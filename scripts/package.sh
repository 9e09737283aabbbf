#!/usr/bin/env bash
# Builds the release Varnel.exe and packs it with the user guides (Korean and English) as
# dist/Varnel-<version>-win32.zip; the version is CMake's project version.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/ensure-packages.sh cmake ninja-build python3 g++-mingw-w64-i686-posix mingw-w64-i686-dev
cmake -S . -B build/win32 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release \
    --no-warn-unused-cli
cmake --build build/win32 --parallel 2
python3 scripts/package.py build/win32/Varnel.exe dist
