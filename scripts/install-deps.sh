#!/usr/bin/env bash
# Installs what building, running and testing pagoro needs on Debian 12.
# Idempotent and quick when everything is already present.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  build-essential cmake ninja-build pkg-config git
  clang clang-tidy cppcheck libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev zlib1g-dev liblzma-dev libzstd-dev zstd
  qt6-base-dev qt6-webengine-dev qt6-webchannel-dev libgl-dev
  qt6-l10n-tools qt6-translations-l10n locales
  xvfb xauth openbox xdotool wmctrl x11-utils imagemagick dbus-daemon gdb
  weston qt6-wayland
  fonts-wqy-microhei zip unzip
  lintian file fakeroot debhelper dpkg-dev devscripts appstream openssl
  desktop-file-utils libglib2.0-bin shared-mime-info
  pulseaudio pulseaudio-utils sox ffmpeg
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

# Node.js may come from another packaging than Debian's (which splits npm
# out); only ask for Debian's when there is no npm at all.
command -v npm >/dev/null 2>&1 || missing+=(nodejs npm)

if [ ${#missing[@]} -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Ruffle, pinned by package-lock.json.
stamp=node_modules/.pagoro-lock
if [ ! -f "$stamp" ] || ! cmp -s package-lock.json "$stamp"; then
  echo "install-deps: installing npm packages from package-lock.json"
  npm ci --no-audit --no-fund --loglevel=error
  cp package-lock.json "$stamp"
fi
