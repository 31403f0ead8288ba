#!/usr/bin/env bash
# Installs the Debian packages Glimmerbook needs to build, test and benchmark.
# Safe to run again: packages already present are not touched.
set -euo pipefail

packages=(
    g++ make cmake pkg-config time
    qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite qt6-image-formats-plugins
    libvips-dev libexiv2-dev libcurl4-openssl-dev
    fonts-dejavu-core
    python3 python3-pyftpdlib
    sqlite3 libvips-tools libjpeg-turbo-progs
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
