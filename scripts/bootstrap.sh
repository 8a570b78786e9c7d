#!/bin/sh
# Installs every Debian package Tevrako needs to build, test and run.
# Idempotent: packages already present are left alone.
set -eu

PACKAGES="
g++ cmake make pkg-config git ccache
libgtest-dev libgmock-dev libbenchmark-dev
libmagickwand-6.q16-dev
libcjson-dev
libssl-dev openssl ca-certificates
ffmpeg libswscale-dev
qt6-base-dev qt6-qpa-plugins qt6-translations-l10n
libsdl2-dev libmpg123-dev
libfontconfig-dev fonts-wqy-microhei fonts-noto-cjk
xdg-utils
"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

if [ -n "$missing" ]; then
    SUDO=""
    if [ "$(id -u)" != "0" ]; then SUDO="sudo"; fi
    echo "bootstrap: installing$missing"
    $SUDO apt-get update -qq || true
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
fi
