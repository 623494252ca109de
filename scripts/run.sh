#!/usr/bin/env bash
# Builds the two programs and sorrel-db (not the tests), puts a demo database beside the programs
# when none is there, and starts the front desk on it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# The compiler cache keys each file by its paths inside the checkout, so a clone in another folder
# (CI's) compiles only what changed.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSORREL_BUILD_TESTS=OFF >/dev/null
cmake --build build --target Sorrel_W Sorrel_S sorrel-db
bin=build/bin
if [ ! -f "$bin/data/VozezOzarev.mdb" ] && [ ! -f "$bin/data/server.conf" ]; then
    mkdir -p "$bin/data"
    "$bin/sorrel-db" demo "$bin/data/VozezOzarev.mdb"
fi
# The programs use the server that data/server.conf names, when there is one.
database="$bin/data/VozezOzarev.mdb"
[ -f "$bin/data/server.conf" ] && database="$bin/data/server.conf"
"$bin/sorrel-db" check "$database" >/dev/null
if [ -x "$bin/Sorrel_W" ]; then
    exec "$bin/Sorrel_W" "$@"
fi
echo "Database ready: $(realpath "$database")"
