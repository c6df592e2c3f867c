#!/usr/bin/env bash
# Installs the Debian packages the project builds, tests and runs with.
# Skips apt entirely when everything is already there.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config ccache
    libgtest-dev libgmock-dev libbenchmark-dev
    libplist-dev libplist++-dev dpkg-dev
    libcurl4-openssl-dev
    libglib2.0-dev libcairo2-dev libpango1.0-dev libpng-dev fonts-inter
    fonts-noto-color-emoji fonts-noto-core fonts-noto-cjk
    libgdk-pixbuf-2.0-dev librsvg2-dev
    libcpp-httplib-dev libssl-dev openssl
    nlohmann-json3-dev libcli11-dev
    clang libfuzzer-14-dev libclang-rt-14-dev
    python3 python3-kiwisolver python3-cairo
    chromium chromium-driver python3-selenium
    locales
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
