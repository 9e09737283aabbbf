#!/usr/bin/env bash
# Installs the given Debian packages that are not installed yet; touches apt only when one is
# missing, and then needs root.
#   scripts/ensure-packages.sh PACKAGE...
set -euo pipefail

is_installed() {
    [[ "$(dpkg-query -W -f='${db:Status-Status}' "$1" 2>/dev/null)" == installed ]]
}

missing=()
for package in "$@"; do
    is_installed "$package" || missing+=("$package")
done

if ((${#missing[@]} == 0)); then
    echo "packages: all $# present"
    exit 0
fi

if ((EUID != 0)); then
    echo "packages: missing ${missing[*]}; run this as root to install them" >&2
    exit 1
fi

echo "packages: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
