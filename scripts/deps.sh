#!/usr/bin/env bash
# Installs the Debian packages needed to build Varnel, cross-build it and test it under Wine.
# Touches apt only when something is missing.
set -euo pipefail

packages=(
    cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev python3 clang libclang-rt-14-dev
    g++-mingw-w64-i686-posix mingw-w64-i686-dev
    wine wine32:i386
    xvfb openbox xdotool imagemagick fonts-nanum x11-utils
)

is_installed() {
    [[ "$(dpkg-query -W -f='${db:Status-Status}' "$1" 2>/dev/null)" == installed ]]
}

missing=()
for package in "${packages[@]}"; do
    is_installed "$package" || missing+=("$package")
done

if ((${#missing[@]} == 0)); then
    echo "deps: all ${#packages[@]} packages present"
    exit 0
fi

if ((EUID != 0)); then
    echo "deps: missing ${missing[*]}; run this script as root to install them" >&2
    exit 1
fi

echo "deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# wine32 is a 32-bit package: the i386 architecture must be known before apt reads its lists.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
fi
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
