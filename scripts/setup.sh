#!/bin/sh
# Installs every Debian package the program, its tests and its benchmarks need.
# Runs apt-get only when something is missing, so a second run costs nothing.
set -e
PACKAGES="build-essential cmake ninja-build ccache pkg-config git
qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libqt6sql6-psql qt6-tools-dev qt6-l10n-tools
qt6-charts-dev qt6-translations-l10n qt6-gtk-platformtheme libqt6svg6 libxlsxwriter-dev libsqlite3-dev sqlite3 libgl1-mesa-dev
googletest libgtest-dev fonts-noto-cjk fonts-wqy-microhei adwaita-icon-theme
xvfb xauth poppler-utils python3 python3-openpyxl xdg-utils"

missing=""
for p in $PACKAGES; do
  dpkg -s "$p" >/dev/null 2>&1 || missing="$missing $p"
done
if [ -n "$missing" ]; then
  SUDO=""
  if [ "$(id -u)" != "0" ]; then SUDO="sudo"; fi
  echo "Installing:$missing"
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  # shellcheck disable=SC2086
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $missing
fi
