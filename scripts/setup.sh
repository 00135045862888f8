#!/usr/bin/env bash
# Installs the Debian 12 packages that the build, the tests and the benchmarks
# need. Idempotent: does nothing when everything is there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-image-formats-plugins qt6-svg-dev libqt6svg6 qt6-translations-l10n
  libexiv2-dev zlib1g-dev libsqlite3-dev libgtest-dev libgmock-dev libbenchmark-dev libglib2.0-dev libxcb1-dev
  libheif-dev libjxl-dev libraw-dev
  libheif-examples libavif-bin libjxl-tools
  desktop-file-utils appstream dpkg-dev
  xvfb xauth dbus-daemon imagemagick
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then
  sudo_cmd=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
