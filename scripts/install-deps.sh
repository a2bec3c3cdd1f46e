#!/usr/bin/env bash
# Installs what pagoro needs on Debian 12, by sets:
#   scripts/install-deps.sh [SET...]     (every set when none is named)
#   run      building and running the reader (make build, make run, make install)
#   test     the tests, the benchmarks, the fuzzers and the linters (make test,
#            make lint, make fuzz, make bench, make soak)
#   release  the packages and their checks (make deb, make dist, make package)
# A set holds the run set. Idempotent and quick when everything is there.
set -euo pipefail
cd "$(dirname "$0")/.."

run_packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-webengine-dev qt6-webchannel-dev libgl-dev
  zlib1g-dev liblzma-dev libzstd-dev zstd
  qt6-l10n-tools qt6-translations-l10n
  qt6-wayland fonts-wqy-microhei
)
test_packages=(
  clang clang-tidy cppcheck libclang-rt-14-dev shellcheck
  libgtest-dev libgmock-dev libbenchmark-dev locales python3
  xvfb xauth openbox xdotool wmctrl x11-utils imagemagick dbus-daemon gdb
  weston zip unzip
  desktop-file-utils libglib2.0-bin shared-mime-info
  pulseaudio pulseaudio-utils sox ffmpeg
)
release_packages=(
  git lintian file fakeroot debhelper dpkg-dev devscripts appstream openssl
  desktop-file-utils libglib2.0-bin shared-mime-info
)

sets=("$@")
[ ${#sets[@]} -gt 0 ] || sets=(run test release)
packages=("${run_packages[@]}")
npm_dev=0
for set in "${sets[@]}"; do
  case "$set" in
    run) ;;
    test) packages+=("${test_packages[@]}"); npm_dev=1 ;;
    release) packages+=("${release_packages[@]}") ;;
    *) echo "install-deps: no set $set (run, test, release)" >&2; exit 2 ;;
  esac
done

missing=()
for p in $(printf '%s\n' "${packages[@]}" | sort -u); do
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

# Ruffle, pinned by package-lock.json; the test set adds the JavaScript
# linter (the lock's development packages).
stamp=node_modules/.pagoro-lock
dev_stamp=node_modules/.pagoro-dev
if [ ! -f "$stamp" ] || ! cmp -s package-lock.json "$stamp" || { [ "$npm_dev" = 1 ] && [ ! -f "$dev_stamp" ]; }; then
  if [ "$npm_dev" = 1 ]; then
    echo "install-deps: installing npm packages from package-lock.json"
    npm ci --no-audit --no-fund --loglevel=error
    touch "$dev_stamp"
  else
    echo "install-deps: installing Ruffle from package-lock.json"
    npm ci --omit=dev --no-audit --no-fund --loglevel=error
  fi
  cp package-lock.json "$stamp"
fi
