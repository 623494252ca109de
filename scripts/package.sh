#!/usr/bin/env bash
# Builds the programs without the tests in build-package and makes the Debian package of them:
# build-package/sorrel_<version>_<arch>.deb, installed with `apt-get install ./sorrel_….deb`.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSORREL_BUILD_TESTS=OFF >/dev/null
cmake --build build-package
(cd build-package && cpack -G DEB)
ls -l build-package/sorrel_*.deb
