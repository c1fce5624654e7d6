#!/usr/bin/env bash
# Installs the Debian packages that the build, the program and the tests need,
# but only those that are missing (a machine that has them all is not touched).
set -euo pipefail
PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-translations-l10n libqt6printsupport6
  libsqlite3-dev sqlite3
  lhasa
  googletest libgtest-dev
  fonts-ipafont-gothic fonts-ipafont-mincho fontconfig
  poppler-utils
)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
