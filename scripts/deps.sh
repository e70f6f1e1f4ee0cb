#!/usr/bin/env bash
# Installs the Debian packages Kodexa needs to build, run and test; quick when all are there.
set -euo pipefail
PKGS=(build-essential cmake ninja-build pkg-config ccache
      qt6-base-dev qt6-base-dev-tools libqt6svg6 qt6-image-formats-plugins qt6-translations-l10n
      qt6-qpa-plugins libqscintilla2-qt6-dev libgl-dev
      libsqlite3-dev sqlite3 libgtest-dev libgmock-dev libbenchmark-dev
      xvfb xauth xdotool imagemagick fonts-liberation fonts-dejavu-core xdg-utils adwaita-icon-theme
      poppler-utils)
missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
fi
