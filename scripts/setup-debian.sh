#!/usr/bin/env bash
# Installs every Debian package that building, testing and running Sorvanta needs.
# Idempotent: packages already installed are skipped, and apt is not touched at all
# when nothing is missing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config clang-format
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6
    libssl-dev libglib2.0-dev zlib1g-dev libminizip-dev
    libgtest-dev libgmock-dev
    pkexec coreutils dbus-daemon
    fonts-liberation fonts-inter locales
    qt6-image-formats-plugins libpoppler-qt6-dev libffmpegthumbnailer-dev
    ffmpeg  # the preview tests make their short video fixture with it
    # The desktop files are checked by the install test; `make package` builds and checks
    # the Debian package (CPack finds the libraries' packages with dpkg-shlibdeps and file).
    desktop-file-utils appstream dpkg-dev file lintian
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    "${sudo_cmd[@]}" apt-get update -qq
    "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The size-text tests also run under a C library locale whose decimal separator is a comma.
if ! locale -a 2>/dev/null | grep -qiE '^de_DE\.utf-?8$'; then
    "${sudo_cmd[@]}" sed -i 's/^# *\(de_DE\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen ||
        echo 'de_DE.UTF-8 UTF-8' | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
    "${sudo_cmd[@]}" locale-gen >/dev/null
fi
