#!/usr/bin/env bash
# Installs the Debian packages Halvorra needs to build, run and test, when missing.
set -euo pipefail
PACKAGES=(
  build-essential cmake ninja-build ccache pkg-config clang-format git
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-charts-dev libqt6opengl6-dev
  libsqlcipher-dev sqlcipher libxlsxwriter-dev libpq-dev postgresql libargon2-dev libssl-dev
  libzip-dev libfreexl-dev libheif-dev
  fonts-noto-cjk fonts-arphic-ukai
  qt6-translations-l10n qt6-qpa-plugins
  qt6-image-formats-plugins
  xvfb xauth python3 python3-openpyxl python3-xlwt poppler-utils
)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "安装缺少的软件包: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
