#!/usr/bin/env bash
# Installs the Debian packages Ravelo builds with (only those missing), then
# configures and builds into ./build. Safe to run again at any time.
#   scripts/setup.sh            install what is missing, configure, build
#   BUILD_DIR=dir scripts/setup.sh   build elsewhere
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(
  build-essential cmake pkg-config
  libcurl4-openssl-dev libjsoncpp-dev libsqlite3-dev zlib1g-dev libminizip-dev
  qt6-base-dev libsdl2-dev libx11-dev libcpp-httplib-dev fonts-wqy-microhei
  curl unzip libssl-dev libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth
  xdotool trayer desktop-file-utils gettext appstream systemd lintian dpkg-dev
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

BUILD_DIR=${BUILD_DIR:-build}
# CI turns warnings into errors; other runs keep whatever the build folder was configured with, so
# running the tests and then the program does not rebuild everything with other flags.
WERROR=()
[ -n "${CI:-}" ] && WERROR=(-DRAVELO_WERROR=ON)
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${WERROR[@]}" >/dev/null
cmake --build "$BUILD_DIR" -j"$(nproc)"
