#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need; does nothing when
# they are all present. Uses sudo only when not already root.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  libsdl2-dev libsdl2-mixer-dev
  libpng-dev libjpeg62-turbo-dev zlib1g-dev libcurl4-openssl-dev
  libcairo2-dev libfreetype-dev fonts-dejavu-core libvorbis-dev libogg-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libcpp-httplib-dev libsqlite3-dev chromium
  appstream desktop-file-utils
  xvfb xdotool x11-utils openbox libx11-dev
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

# Ubuntu names the libjpeg-turbo headers package differently.
if [[ " ${missing[*]-} " == *" libjpeg62-turbo-dev "* ]] && ! apt-cache show libjpeg62-turbo-dev >/dev/null 2>&1; then
  missing=("${missing[@]/libjpeg62-turbo-dev/libjpeg-turbo8-dev}")
fi

[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
