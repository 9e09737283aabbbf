#!/usr/bin/env bash
# Installs the Debian packages needed to build Varnel, cross-build it and test it under Wine.
# Touches apt only when something is missing.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

packages=(
    cmake ninja-build g++ libgtest-dev libgmock-dev python3 clang libclang-rt-14-dev
    g++-mingw-w64-i686-posix mingw-w64-i686-dev
    wine wine32:i386
    xvfb openbox xdotool imagemagick fonts-nanum x11-utils libxfixes3
)

# wine32 is a 32-bit package: the i386 architecture must be known before apt reads its lists.
# Without root, ensure-packages.sh reports what is missing.
if ((EUID == 0)) && ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
fi
bash "$here/ensure-packages.sh" "${packages[@]}"
