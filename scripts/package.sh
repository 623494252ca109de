#!/usr/bin/env bash
# Builds the programs without the tests in build-package and makes the Debian package of them:
# build-package/sorrel_<version>_<arch>.deb, installed with `apt-get install ./sorrel_….deb`.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSORREL_BUILD_TESTS=OFF >/dev/null
cmake --build build-package
(cd build-package && cpack -G DEB)
# The waiters' server is built only where cpp-httplib is installed: the package must hold it and
# its service file.
deb=$(ls -t build-package/sorrel_*.deb | head -n 1)
for path in ./opt/sorrel/bin/sorrel-waiter ./usr/bin/sorrel-waiter ./lib/systemd/system/sorrel-waiter.service; do
    if ! dpkg-deb --contents "$deb" | awk '{print $6}' | grep -qx "$path"; then
        echo "package.sh: $deb lacks $path" >&2
        exit 1
    fi
done
ls -l build-package/sorrel_*.deb
