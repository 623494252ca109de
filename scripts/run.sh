#!/usr/bin/env bash
# Builds everything, puts a demo database beside the programs when none is there, and starts
# the front desk on it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
bin=build/bin
if [ ! -f "$bin/data/VozezOzarev.mdb" ] && [ ! -f "$bin/data/server.conf" ]; then
    mkdir -p "$bin/data"
    "$bin/sorrel-db" demo "$bin/data/VozezOzarev.mdb"
fi
"$bin/sorrel-db" check "$bin/data/VozezOzarev.mdb" >/dev/null
if [ -x "$bin/Sorrel_W" ]; then
    exec "$bin/Sorrel_W" "$@"
fi
echo "Demo database ready: $(realpath "$bin/data/VozezOzarev.mdb")"
