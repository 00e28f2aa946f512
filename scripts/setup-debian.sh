#!/bin/sh
# Installs the Debian 12 packages that building, running and testing the game need.
# Idempotent: packages already present are left alone. Run as root or with sudo.
set -eu

PACKAGES="
  build-essential cmake ninja-build pkg-config ccache git
  libsdl2-dev libsdl2-ttf-dev libfontconfig-dev libopenmpt-dev
  libcurl4-openssl-dev libpng-dev libcairo2-dev libpango1.0-dev
  libmicrohttpd-dev libcpp-httplib-dev libsqlite3-dev libpq-dev postgresql apache2-utils
  zlib1g-dev bubblewrap gettext
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xauth xdotool x11-apps x11-utils openbox netpbm sox python3
  desktop-file-utils appstream man-db xdg-utils shared-mime-info libglib2.0-bin
  chromium
  debhelper devscripts lintian dpkg-dev fakeroot
  fonts-dejavu-core fonts-jura fonts-dseg fonts-liberation2 fonts-play
"

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done

if [ -z "$missing" ]; then
  echo "setup: all packages present"
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
echo "setup: installing$missing"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
# shellcheck disable=SC2086
$SUDO apt-get install -y -q --no-install-recommends $missing
