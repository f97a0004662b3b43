#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the benchmarks need (skipped when they
# are all present). Needs root or sudo.
set -euo pipefail
packages=(g++ cmake ninja-build libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev
          qt6-base-dev-tools qt6-serialport-dev libjpeg-dev xvfb xauth imagemagick poppler-utils
          socat lame sox python3-mutagen eyed3 mpg123 dbus dbus-x11 clang libclang-rt-14-dev
          clang-format libtag1-dev procps)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
