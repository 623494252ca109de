#!/usr/bin/env bash
# Puts every Debian package that building, testing, packaging (dpkg-shlibdeps) and running Sorrel
# needs on this machine.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config ccache
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libsqlcipher-dev sqlcipher
    libpq-dev postgresql
    libjpeg-dev
    libcpp-httplib-dev
    libgtest-dev googletest libbenchmark-dev
    fonts-wqy-microhei
    xvfb xauth poppler-utils
    chromium chromium-driver python3-selenium
    libcups2-dev cups printer-driver-cups-pdf
    dpkg-dev file openssl
    libxlsxwriter-dev python3-openpyxl
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO="sudo"
    $SUDO apt-get update -qq
    $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
