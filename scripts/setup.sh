#!/usr/bin/env bash
# Installs every Debian package the project builds, tests and runs with.
# Idempotent: quiet when everything is present; runs apt-get update at most once.
set -euo pipefail

packages=(
  cmake ninja-build g++ ccache pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-declarative-dev qt6-declarative-dev-tools qt6-tools-dev
  qt6-svg-dev qt6-image-formats-plugins qt6-qpa-plugins qt6-wayland qt6-l10n-tools
  qml6-module-qtquick qml6-module-qtquick-controls qml6-module-qtquick-layouts
  qml6-module-qtquick-window qml6-module-qtquick-templates qml6-module-qtquick-dialogs
  qml6-module-qtqml-workerscript qml6-module-qttest
  libgl-dev libvulkan-dev libxkbcommon-dev
  libsqlite3-dev libsqlitecpp-dev
  libzip-dev zipcmp zipmerge ziptool
  libplist-dev libglib2.0-dev libglib2.0-bin
  libboost-dev libbenchmark-dev
  wordnet-dev wordnet-base
  libx11-dev libxcb1-dev libxcb-keysyms1-dev
  xvfb xauth xdotool x11-utils imagemagick xcompmgr xdg-utils dbus-daemon
  fonts-material-design-icons-iconfont
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "setup: need root (or sudo) to install: ${missing[*]}" >&2; exit 1; }
  SUDO="sudo"
fi
echo "setup: installing ${#missing[@]} package(s): ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
