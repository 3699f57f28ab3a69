#!/usr/bin/env bash
# Installs every Debian 12 package that building, running and testing Tarnwick needs.
set -euo pipefail

packages=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-base-dev-tools qtkeychain-qt6-dev libqt6sql6-sqlite
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev valgrind
    xvfb xauth xdotool x11-utils trayer twm imagemagick
    fonts-wine fontconfig
    desktop-file-utils appstream dpkg-dev man-db lintian systemd
    gnome-keyring gcr libsecret-1-0 libsecret-tools dbus-daemon dbus-x11 libglib2.0-bin
)

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)

export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null
echo "packages installed"
