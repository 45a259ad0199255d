#!/usr/bin/env bash
# Builds the Debian package of Ravelo (build-package/ravelo_<version>_<arch>.deb) with CPack, in a
# build folder of its own configured for /usr, and checks it with lintian when lintian is there.
#   scripts/package.sh
#   BUILD_DIR=dir scripts/package.sh
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build-package}

cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
  -DRAVELO_BUILD_TESTS=OFF -DRAVELO_BUILD_BENCH=OFF >/dev/null
cmake --build "$BUILD_DIR" -j"$(nproc)"
(cd "$BUILD_DIR" && cpack -G DEB)
package=$(ls -t "$BUILD_DIR"/ravelo_*.deb | head -n 1)
echo "package: $package"
if command -v lintian >/dev/null; then
  lintian --fail-on error "$package"
fi
